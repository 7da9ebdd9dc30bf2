// The level editor's level work: a level made from a grey height-map picture, a new height
// map or ground picture for the loaded level, the park's start values, and saving the
// authored mission. Levels the editor makes or changes are written into the add-ons folder.
#pragma once

#include <filesystem>
#include <string>

#include "base/image_io.h"
#include "base/terrain_mesh_builder.h"
#include "engine/engine.h"

namespace vallorn {

// Terrain height, in mesh units before the level's Y scale, of a white pixel (black is 0).
constexpr float kHeightMapTop = 255.0f;
// The grain of the blocked-terrain mask after a new level or a new height map.
constexpr int kEditorBlockedGrain = 12;
// The level a new level starts from (its settings).
inline constexpr const char* kBlankLevel = "blank";

// The 513 x 513 world heights of a height-map picture of any size, sampled bilinearly so that
// the picture's corners fall on the map's corners: value v gives v * kHeightMapTop * scaleY.
THeightField HeightFieldFromPicture(const TGreyImage& picture, float scaleY);

// "New level": loads the blank level, builds the terrain meshes of `picture` with the data
// generator's builder into addons/ as "<name>H.3ds" and "<name>Side.3ds" (from its heights
// smoothed within half a grey level, so that an 8-bit picture gives no terraces), paints the
// level's ground pictures from them as "<name>MAP.jpg" and "<name>MAPs.jpg", saves it as
// "<name>.skil", loads it back from addons/ and derives its blocked terrain (grain 12), which
// is saved with it. False with a reason (and no level half made under the name's files) when
// the picture, the name or a write fails.
bool NewLevelFromHeightMap(TSKIEngine& engine, const std::filesystem::path& picture,
                           const std::string& name, std::string* error = nullptr);
// "change" beside the elevation file: the loaded level's terrain is rebuilt from `picture`
// under the level's name, saved into addons/, loaded back and its blocked terrain derived.
bool ChangeHeightMap(TSKIEngine& engine, const std::filesystem::path& picture,
                     std::string* error = nullptr);
// "change" beside a ground picture: the JPEG is copied beside the level (addons/) under its
// own file name, named in the level, and the level is saved and loaded back.
bool ChangeGroundPicture(TSKIEngine& engine, const std::filesystem::path& picture, bool snow,
                         std::string* error = nullptr);

// The values of the "Level" page that an input box changes.
enum class TEditorValue { Cash, Time, SpawnSpeed, MaxSkiers, ScaleXZ, ScaleY, BlockThreshold };
// Sets the value from the input box's text; a text that is not a number (or a number the
// field cannot hold, or a scale or threshold a level file would refuse) gives the field's
// default: cash 30000, time 0, spawn speed 20, max skiers 30000, scale XZ 4, scale Y 2,
// blocking threshold 3.
void SetEditorValue(TSKIEngine& engine, TEditorValue which, const std::string& text);

// "Save game": writes the park, objectives included, as "<name>.ski" into the folder of the
// loaded level, so that a mission on an add-on level plays from the add-ons list (its mission
// index becomes the add-on one) and one on a shipped level sits beside it in worlds/.
bool SaveMission(TSKIEngine& engine, const std::string& name, std::string* error = nullptr);

}  // namespace vallorn
