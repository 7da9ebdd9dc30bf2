// The levels the build generated into VALLORN_BUILD_ROOT/worlds, read back the way the game
// reads them: the level file through TIniFile, the heights by casting rays down on the
// surface mesh at every cell's world point.
#pragma once

#include <string>
#include <vector>

#include "base/terrain.h"
#include "base/ini_file.h"

namespace vallorn::test {

struct TShippedLevel {
    std::string name;
    TIniFile file;
    std::vector<std::string> rows;  // LevelBasicBlocked "0".."511" (empty when missing)
    std::vector<float> heights;     // 512 x 512 cell heights, world units
    std::vector<std::vector<uint8_t>> houseBytes;  // the SKIHouses records as stored
    std::vector<TSKIHouse> houses;                 // the records that hold 36 bytes, decoded
    float scaleY = 0, blockThreshold = 0;

    // Every row holds 512 characters and every cell has a height.
    bool Complete() const;
    char At(int i, int j) const { return rows[size_t(i)][size_t(j)]; }
    float H(int i, int j) const { return heights[size_t(i) * 512 + size_t(j)]; }
    bool Road(int i, int j) const { return At(i, j) == 'R'; }
    bool Snow(int i, int j) const { return !Road(i, j) && ((At(i, j) - '0') & 1); }
    bool Tree(int i, int j) const { return !Road(i, j) && ((At(i, j) - '0') & 2); }
    bool Blocked(int i, int j) const { return !Road(i, j) && ((At(i, j) - '0') & 4); }
    // Largest height difference to a four-neighbour inside the map.
    float MaxStep(int i, int j) const;
    // Cells within `radius` cells (square) of any house.
    bool NearHouse(int i, int j, int radius) const;
};

// Reads a shipped level once per test program; later calls return the same record.
// Fails the calling test (and returns an empty record) when the files are missing.
const TShippedLevel& ShippedLevel(const std::string& name);

// The cell (i, j) whose world point is nearest to a world position.
void NearestCell(const TSKIVector& p, int& i, int& j);

}  // namespace vallorn::test
