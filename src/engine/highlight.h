// The highlight markers of the display window's "Highlight" palette: one vertical beam per
// lift or building that the chosen mode selects, coloured and sized by the mode.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/engine.h"

namespace vallorn {

// The modes of the highlight palette, as the engine's HighlightMode holds them.
enum : uint8_t {
    kHighlightNothing = 0,
    kHighlightClosed = 1,       // closed lifts and buildings
    kHighlightSnowCannons = 2,  // snow cannons and their range
    kHighlightSnowcats = 3,     // the snowcat garages' areas of operation
    kHighlightRestaurants = 4,  // stalls, snow bars, kiosks and self-service restaurants
    kHighlightCots = 5,
    kHighlightShelters = 6,
    kHighlightMedical = 7,  // ski patrols, rescue stations and hospitals
    kHighlightParking = 8,
    kHighlightServiceQuality = 9,  // colour by service quality
    kHighlightProfit = 10,         // red at a loss, green in profit
    kHighlightTooExpensive = 11,   // colour by the share of customers who found it too dear
    kHighlightNoCustomers = 12,    // nobody served yet
    kHighlightPrice = 13,          // width by price
    kHighlightQueues = 14,         // width by queue length
};
constexpr int kHighlightModes = kHighlightQueues + 1;
constexpr float kHighlightBeamHeight = 4000.0f;
constexpr float kHighlightBeamAlpha = 0.2f;

using TSKIHighlightBeam = TSKIEngine::TSKIHighlightBeam;

// The beams of the engine's highlight mode (0..14) as the park stands now.
std::vector<TSKIHighlightBeam> HighlightBeams(const TSKIEngine& engine);

// Rebuilds the engine's beam cache for its highlight mode. Called when the mode changes, when
// an information window opens, closes or upgrades a lift or building, when construction
// creates or removes lifts, slopes or buildings, and by the periodic tick in the queues mode;
// the view draws the cache.
void RefreshHighlight(TSKIEngine& engine);

}  // namespace vallorn
