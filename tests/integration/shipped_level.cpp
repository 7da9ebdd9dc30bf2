#include "shipped_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

#include "base/terrain_mesh.h"
#include "support/test_support.h"

namespace vallorn::test {

namespace fs = std::filesystem;

bool TShippedLevel::Complete() const {
    if (rows.size() != 512 || heights.size() != 512 * 512) return false;
    for (const std::string& row : rows)
        if (row.size() != 512) return false;
    return std::none_of(heights.begin(), heights.end(), [](float h) { return h < -1e8f; });
}

float TShippedLevel::MaxStep(int i, int j) const {
    const float h = H(i, j);
    float step = 0;
    if (i > 0) step = std::max(step, std::fabs(H(i - 1, j) - h));
    if (i < 511) step = std::max(step, std::fabs(H(i + 1, j) - h));
    if (j > 0) step = std::max(step, std::fabs(H(i, j - 1) - h));
    if (j < 511) step = std::max(step, std::fabs(H(i, j + 1) - h));
    return step;
}

bool TShippedLevel::NearHouse(int i, int j, int radius) const {
    for (const TSKIHouse& house : houses) {
        int hi, hj;
        NearestCell(house.Position, hi, hj);
        if (std::abs(hi - i) <= radius && std::abs(hj - j) <= radius) return true;
    }
    return false;
}

void NearestCell(const TSKIVector& p, int& i, int& j) {
    i = int(std::floor(-p.x / 4 + 0.5f));
    j = int(std::floor(p.z / 4 + 0.5f));
}

namespace {

std::unique_ptr<TShippedLevel> ReadLevel(const std::string& name) {
    auto level = std::make_unique<TShippedLevel>();
    level->name = name;
    const fs::path worlds = BuildRoot() / "worlds";
    level->file = TIniFile(worlds / (name + ".skil"));
    EXPECT_TRUE(level->file.Exists()) << name << ".skil was not generated";
    level->scaleY = float(level->file.ReadFloat("LevelData", "LevelScaleY", 0));
    level->blockThreshold = float(level->file.ReadFloat("LevelData", "LevelBlockThreshold", 0));
    for (int i = 0; i < 512; ++i)
        level->rows.push_back(level->file.ReadString("LevelBasicBlocked", std::to_string(i)));

    const std::string stem = level->file.ReadString("LevelData", "LevelElevationFile");
    TSKITerrainMesh surface;
    std::string error;
    EXPECT_TRUE(surface.Load(worlds / (stem + "H.3ds"), level->scaleY, &error)) << error;
    level->heights.assign(512 * 512, -1e9f);
    int missed = 0;
    for (int i = 0; i < 512 && !surface.Empty(); ++i) {
        for (int j = 0; j < 512; ++j) {
            float y = 0;
            if (surface.CastDown(-4.0f * i - 0.5f, 4.0f * j - 0.5f, y))
                level->heights[size_t(i) * 512 + j] = y;
            else
                ++missed;
        }
    }
    EXPECT_EQ(missed, 0) << "cell points of " << name << " outside its surface mesh";

    for (const std::string& key : level->file.SectionKeys("SKIHouses")) {
        std::vector<uint8_t> bytes;
        level->file.ReadBinary("SKIHouses", key, bytes);
        if (bytes.size() == 36) {
            TSKIHouse house;
            float v[8];
            std::memcpy(&house.Tag, bytes.data(), 4);
            std::memcpy(v, bytes.data() + 4, 32);
            house.Position = TSKIVector(v[0], v[1], v[2], v[3]);
            house.Direction = TSKIVector(v[4], v[5], v[6], v[7]);
            level->houses.push_back(house);
        }
        level->houseBytes.push_back(std::move(bytes));
    }
    return level;
}

}  // namespace

const TShippedLevel& ShippedLevel(const std::string& name) {
    static std::map<std::string, std::unique_ptr<TShippedLevel>> cache;
    auto& slot = cache[name];
    if (!slot) slot = ReadLevel(name);
    return *slot;
}

}  // namespace vallorn::test
