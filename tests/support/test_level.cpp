#include "support/test_level.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "base/image_io.h"
#include "base/ini_file.h"
#include "base/terrain_mesh_builder.h"
#include "engine/level_file.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace vallorn::test {
namespace {

// Meshes are slow to build, and ctest runs each test case in a process of its own: each mesh
// is built once and kept under the build tree for every later process (SharedTestFolder),
// named by a digest of its heights and Y scale; their caches go to the shared mesh cache.
//
// The folder holding the meshes of `level`, built there first when missing. The meshes are
// built in a folder of their own and renamed into place whole, so a concurrent process sees
// both files or none.
fs::path CachedMeshes(const TestLevel& level) {
    THeightField field;
    field.Heights.resize(size_t(field.Side) * field.Side);
    uint64_t digest = 14695981039346656037ull;  // FNV-1a over the heights and the Y scale
    auto mix = [&](const void* data, size_t size) {
        for (size_t k = 0; k < size; ++k) {
            digest ^= static_cast<const unsigned char*>(data)[k];
            digest *= 1099511628211ull;
        }
    };
    for (int i = 0; i < field.Side; ++i)
        for (int j = 0; j < field.Side; ++j)
            field.Heights[size_t(i) * field.Side + j] = level.height(i, j);
    mix(field.Heights.data(), field.Heights.size() * sizeof(float));
    mix(&level.scaleY, sizeof level.scaleY);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest));
    const fs::path cache = SharedTestFolder() / (level.meshKey + "-" + hex);
    if (fs::exists(cache)) return cache;

    static int builds = 0;
    const fs::path building = SharedTestFolder() / (".building-" + std::to_string(getpid()) + "-" +
                                                    std::to_string(builds++));
    std::string error;
    if (!BuildTerrainMeshes(field, level.scaleY, -50.0f, building, MeshStem(level), &error,
                            SharedMeshCache()))
        throw std::runtime_error("cannot build test meshes: " + error);
    std::error_code ec;
    fs::rename(building, cache, ec);  // fails when another process was first: its copy is used
    if (ec) fs::remove_all(building, ec);
    if (!fs::exists(cache))
        throw std::runtime_error("cannot keep test meshes in " + cache.string());
    return cache;
}

// Cached files are linked, not copied: a test replaces a placed file, never edits it in place.
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
        const fs::path cache = CachedMeshes(level);
        for (const char* file : {"H.3ds", "Side.3ds"})
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
    return LoadLevelFile(*engine, level.name, addons);
}

}  // namespace vallorn::test
