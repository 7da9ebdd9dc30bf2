// Small complete levels written on the fly: terrain meshes from a height function, two ground
// images and the level file, in a program folder's worlds/ (or addons/) folder.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/terrain.h"
#include "support/engine_fixture.h"

namespace vallorn::test {

struct TestLevel {
    std::string name = "Test";
    // Ground height of the world point of cell (i, j), i and j in 0..512, in world units.
    std::function<float(int i, int j)> height = [](int, int) { return 10.0f; };
    // Names the mesh files. Meshes are built once for each height function and Y scale and
    // kept under the build tree, where every later test process finds them.
    std::string meshKey = "flat10";
    float scaleXZ = 4.0f;
    float scaleY = 2.0f;
    std::string blockThreshold = "3";
    std::string maxCrowded = "1";
    int textureSize = 64;
    std::map<int, std::string> rows;  // LevelBasicBlocked, by row
    std::vector<TSKIHouse> houses;
    // Extra text appended to the level file (other sections, hand-written house keys, ...).
    std::string extraText;
    bool writeMeshes = true;
    bool writeTextures = true;
};

// File names the level file names (the mesh stem is "<meshKey>.bmp", as the game's default
// naming would give).
std::string MeshStem(const TestLevel& level);
std::string SnowTextureName(const TestLevel& level);
std::string GroundTextureName(const TestLevel& level);

// Writes the level into `folder` (a program folder's worlds/ or addons/).
void WriteTestLevel(const std::filesystem::path& folder, const TestLevel& level);

// An engine in a fresh program folder that loads test levels.
class LevelFixture : public EngineFixture {
public:
    std::filesystem::path Worlds() const { return engine->Folders.Worlds; }
    std::filesystem::path Addons() const { return engine->Folders.Addons; }
    // Writes the level into worlds/ (or addons/) and loads it.
    TSKILevelLoadResult WriteAndLoad(const TestLevel& level, bool addons = false);
};

// Height functions used by several tests.
float Flat10(int i, int j);
// 10, with the square of cells 100..139 x 100..139 raised to 20 (a plateau with a cliff).
float Plateau(int i, int j);
// A smooth slope: 0.25 per row.
float Ramp(int i, int j);

}  // namespace vallorn::test
