#include "support/test_level.h"

#include <cstring>
#include <stdexcept>

#include "base/image_io.h"
#include "base/ini_file.h"
#include "base/terrain_mesh_builder.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace vallorn::test {
namespace {

// Meshes are slow to build; each key is built once per test program and linked after that.
const fs::path& MeshCache() {
    static TempDir cache;
    return cache.Path();
}

void PlaceFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::remove(to, ec);
    fs::create_hard_link(from, to, ec);
    if (ec) fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

}  // namespace

std::string MeshStem(const TestLevel& level) {
    return level.meshKey + ".bmp";
}
std::string SnowTextureName(const TestLevel& level) {
    return level.name + "MAP.jpg";
}
std::string GroundTextureName(const TestLevel& level) {
    return level.name + "MAPs.jpg";
}

float Flat10(int, int) {
    return 10.0f;
}
float Plateau(int i, int j) {
    return (i >= 100 && i < 140 && j >= 100 && j < 140) ? 20.0f : 10.0f;
}
float Ramp(int i, int) {
    return 0.25f * float(i);
}

void WriteTestLevel(const fs::path& folder, const TestLevel& level) {
    fs::create_directories(folder);
    const std::string stem = MeshStem(level);
    if (level.writeMeshes) {
        const fs::path cache = MeshCache() / (level.meshKey + "@" + std::to_string(level.scaleY));
        const fs::path cached = cache / (stem + "H.3ds");
        if (!fs::exists(cached)) {
            THeightField field;
            field.Heights.resize(size_t(field.Side) * field.Side);
            for (int i = 0; i < field.Side; ++i)
                for (int j = 0; j < field.Side; ++j)
                    field.Heights[size_t(i) * field.Side + j] = level.height(i, j);
            std::string error;
            if (!BuildTerrainMeshes(field, level.scaleY, -50.0f, cache, stem, &error))
                throw std::runtime_error("cannot build test meshes: " + error);
        }
        for (const char* file : {"H.3ds", "Side.3ds", "H.vmesh", "Side.vmesh"})
            PlaceFile(cache / (stem + file), folder / (stem + file));
    }
    if (level.writeTextures) {
        TSKIImage snow(level.textureSize, level.textureSize, {240, 240, 250});
        TSKIImage ground(level.textureSize, level.textureSize, {90, 110, 70});
        std::string error;
        if (!SaveJpeg(folder / SnowTextureName(level), snow, 90, &error) ||
            !SaveJpeg(folder / GroundTextureName(level), ground, 90, &error))
            throw std::runtime_error("cannot write test textures: " + error);
    }

    TIniFile ini;
    ini.WriteString("LevelData", "LevelElevationFile", stem);
    ini.WriteString("LevelData", "LevelTextureSnow", SnowTextureName(level));
    ini.WriteString("LevelData", "LevelTextureGround", GroundTextureName(level));
    ini.WriteString("LevelData", "LevelBlockThreshold", level.blockThreshold);
    ini.WriteString("LevelData", "LevelMaxCrowded", level.maxCrowded);
    ini.WriteFloat("LevelData", "LevelScaleXZ", level.scaleXZ);
    ini.WriteFloat("LevelData", "LevelScaleY", level.scaleY);
    for (const auto& [row, text] : level.rows)
        ini.WriteString("LevelBasicBlocked", std::to_string(row), text);
    for (size_t k = 0; k < level.houses.size(); ++k) {
        const TSKIHouse& h = level.houses[k];
        uint8_t bytes[36];
        const float v[8] = {h.Position.x,  h.Position.y,  h.Position.z,  h.Position.w,
                            h.Direction.x, h.Direction.y, h.Direction.z, h.Direction.w};
        std::memcpy(bytes, &h.Tag, 4);
        std::memcpy(bytes + 4, v, sizeof v);
        ini.WriteBinary("SKIHouses", std::to_string(k), bytes, sizeof bytes);
    }
    WriteText(folder / (level.name + ".skil"), ini.ToText() + level.extraText);
}

TSKILevelLoadResult LevelFixture::WriteAndLoad(const TestLevel& level, bool addons) {
    WriteTestLevel(addons ? Addons() : Worlds(), level);
    return engine->LoadLevelFile(level.name, addons);
}

}  // namespace vallorn::test
