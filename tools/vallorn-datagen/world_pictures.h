// The pictures of the campaign and sandbox windows: the painted campaign map with the spots of
// the mission panels, the sandbox maps' thumbnails and the difficulty buttons.
#pragma once

#include <filesystem>
#include <string>

#include "base/image.h"
#include "level_model.h"

namespace vallorn::datagen {

constexpr int kCampaignWidth = 1024, kCampaignHeight = 768;
constexpr int kPanelWidth = 123, kPanelHeight = 74;
constexpr int kThumbWidth = 160, kThumbHeight = 120;

// Top left corner of mission `index`'s panel (0..14) on the campaign map: three rows of five,
// in snake order (the middle row runs right to left).
void CampaignPanelSpot(int index, int* left, int* top);

// Mountains, valleys, forests and a river seen from above, a trail joining the panel spots in
// mission order; the ground under each spot is calm.
TSKIImage PaintCampaignMap();
// A level from above: shaded relief coloured by snow, forest, rock, road and houses.
TSKIImage PaintThumbnail(const TLevel& level);
// A difficulty button: `stars` stars (1..5), or the unlimited sign for 0.
TSKIImage PaintStarButton(int stars, bool lit);

// data/campaign.bmp and data/star0..5.bmp, data/starOFF0..5.bmp.
bool WriteWorldPictures(const std::filesystem::path& dataFolder, std::string* error);

}  // namespace vallorn::datagen
