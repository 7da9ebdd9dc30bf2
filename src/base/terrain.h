// The terrain grid, its cells, the level settings and the decorative houses.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/types.h"

namespace vallorn {

// A navigation link or nearby entry: (section index, point index); point -2 is a lift's gate.
struct TSKINavLink {
    int32_t Section = -1;
    int32_t Point = -1;
};

struct TerrainCell {
    uint8_t Kind = kCellFree;
    float Height = 0;
    float Steepness = 0;
    int16_t GridI = 0, GridJ = 0;
    uint8_t Crowd = 1;
    int32_t Section = -1;         // the section on the cell: index in the section list, -1 none
    int32_t NearestSection = -1;  // index in the section list, -1 none
    TSKIVector WalkTarget{0, 0, 0, 0};
    std::array<TSKINavLink, 9> NavLinks{};
    uint8_t NavLinkCount = 0;
    std::array<TSKINavLink, 5> Nearby{};
    uint8_t NearbyCount = 0;
    bool UnderLift = false;
    bool Blocked = false;
    bool Tree = false;
    bool ArtificialSnow = false;
    bool Groomed = false;
    bool NaturalSnow = false;
    TSKIVector TreePosition{0, 0, 0, 0};
    TSKIVector TreeScale{0, 0, 0, 0};
    float TreeTurn = 0;
    bool NearCamera = false;
    int32_t Building = -1;  // index in the building list, -1 none
    uint8_t NavClass = 0;
    uint8_t Variant = 0;
    bool InView = false;
};

struct TSKILevelData {
    std::string LevelName;
    uint16_t GridSize = kGridSize;
    uint16_t TextureSize = 0;
    uint16_t MaxCrowded = 1;
    float WorldSize = kGridSize * 4.0f;
    float BlockThreshold = 3.0f;
    std::string ElevationFile;
    std::string TextureSnow;
    std::string TextureGround;
    float HalfScale = 2.0f;
    TSKIVector Scale{4, 2, 4, 0};
    int32_t TreeCount = 0;
    float MaxHeight = 0;
    // Where the level was loaded from (the worlds or the add-ons folder) and which.
    std::filesystem::path Folder;
    bool FromAddons = false;
};

// A decorative house placed by the level author. Stored in level files as 36 bytes:
// tag (int32), position (4 floats), direction (4 floats), little-endian.
struct TSKIHouse {
    int32_t Tag = 0;
    TSKIVector Position{0, 0, 0, 0};
    TSKIVector Direction{0, 0, 0, 0};
};

// Outcome of loading a level.
struct TSKILevelLoadResult {
    enum Status { Loaded, Missing, Failed };
    Status status = Failed;
    std::string error;  // a one-line reason when not loaded
    bool ok() const { return status == Loaded; }
};

}  // namespace vallorn
