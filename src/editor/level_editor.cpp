// The level editor's level work: levels from height maps, ground pictures, start values and
// saving the mission.
#include "editor/level_editor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/atomic_file.h"
#include "base/number_format.h"
#include "base/safe_path.h"
#include "base/types.h"
#include "editor/ground_pictures.h"
#include "engine/blocked.h"
#include "engine/level_file.h"
#include "persistence/saved_game.h"

namespace fs = std::filesystem;

namespace vallorn {
namespace {

constexpr float kSkirtDepth = 40.0f;  // world units from the lowest point down to the skirt

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool CopyFile(const fs::path& from, const fs::path& to, std::string* error) {
    std::string bytes;
    return ReadWholeFile(from, bytes, error) && WriteFileAtomically(to, bytes, error);
}

// Saves the loaded level into addons/ under `name`, loads it back from there and derives its
// blocked terrain, which is saved with it.
bool SaveReloadAndBlock(TSKIEngine& engine, const std::string& name, std::string* error) {
    if (!SaveLevelFile(engine, name, error)) return false;
    const TSKILevelLoadResult loaded = LoadLevelFile(engine, name, true, TSKIDisplayOnLoad::Keep);
    if (loaded.status != TSKILevelLoadResult::Loaded) return Fail(error, loaded.error);
    ComputeBlocked(engine, kEditorBlockedGrain);
    return SaveLevelFile(engine, name, error);
}

// The step between a picture's grey levels: 1/255 when every value is one of 256 levels (an
// 8-bit picture, or a 16-bit one that uses no more), 1/65535 otherwise.
float GreyStep(const TGreyImage& picture) {
    for (const float v : picture.Values) {
        const float level = v * 255.0f;
        if (std::fabs(level - std::round(level)) > 1e-3f) return 1.0f / 65535.0f;
    }
    return 1.0f / 255.0f;
}

// Builds the terrain meshes of `picture` into addons/ as the level `name`'s elevation, from
// its heights without the steps of its grey levels: an 8-bit picture would otherwise give
// terraces a grey level high. The heights built are left in `field`.
bool BuildFromPicture(TSKIEngine& engine, const TGreyImage& picture, const std::string& name,
                      THeightField& field, std::string* error) {
    const float step = GreyStep(picture) * kHeightMapTop * engine.Level.Scale.y;
    field = SmoothHeightSteps(HeightFieldFromPicture(picture, engine.Level.Scale.y), step);
    const float lowest = *std::min_element(field.Heights.begin(), field.Heights.end());
    if (!BuildTerrainMeshes(field, engine.Level.Scale.y, lowest - kSkirtDepth,
                            engine.Folders.Addons, name, error, engine.Folders.Cache))
        return false;
    engine.Level.ElevationFile = name;
    return true;
}

}  // namespace

THeightField HeightFieldFromPicture(const TGreyImage& picture, float scaleY) {
    THeightField field;
    field.Side = kGridSide;
    field.Heights.assign(size_t(kGridSide) * kGridSide, 0.0f);
    if (picture.Width <= 0 || picture.Height <= 0) return field;
    const float top = kHeightMapTop * scaleY;
    // Pixel (x, y) lies on cell (x, y), as in the ground and overlay pictures.
    const float sx = float(picture.Width - 1) / float(kGridSide - 1);
    const float sy = float(picture.Height - 1) / float(kGridSide - 1);
    for (int i = 0; i < kGridSide; ++i) {
        const float x = float(i) * sx;
        const int x0 = std::min(int(x), picture.Width - 1);
        const int x1 = std::min(x0 + 1, picture.Width - 1);
        const float fx = x - float(x0);
        for (int j = 0; j < kGridSide; ++j) {
            const float y = float(j) * sy;
            const int y0 = std::min(int(y), picture.Height - 1);
            const int y1 = std::min(y0 + 1, picture.Height - 1);
            const float fy = y - float(y0);
            const float a = picture.At(x0, y0) + (picture.At(x1, y0) - picture.At(x0, y0)) * fx;
            const float b = picture.At(x0, y1) + (picture.At(x1, y1) - picture.At(x0, y1)) * fx;
            field.Heights[size_t(i) * kGridSide + size_t(j)] = (a + (b - a) * fy) * top;
        }
    }
    return field;
}

bool NewLevelFromHeightMap(TSKIEngine& engine, const fs::path& picture, const std::string& name,
                           std::string* error) {
    std::string why;
    if (!PathInFolder(engine.Folders.Addons, name, ".skil", &why))
        return Fail(error, "cannot make level: " + why);
    TGreyImage heights;
    if (!LoadGreyImage(picture, heights, error)) return false;
    const TSKILevelLoadResult blank = LoadLevelFile(engine, kBlankLevel, false);
    if (blank.status != TSKILevelLoadResult::Loaded)
        return Fail(error, "cannot make level: the blank level does not load: " + blank.error);
    THeightField field;
    if (!BuildFromPicture(engine, heights, name, field, error)) return false;
    // The new level's own ground pictures, painted from the heights its mesh was built from.
    const TGroundPictures pictures = PaintGroundPictures(field);
    for (const bool snow : {true, false}) {
        const std::string own = name + (snow ? "MAP.jpg" : "MAPs.jpg");
        const auto to = PathInFolder(engine.Folders.Addons, own, {}, &why);
        if (!to) return Fail(error, "cannot make level: " + why);
        if (!SaveJpeg(*to, snow ? pictures.Snow : pictures.Ground, 90, error)) return false;
        (snow ? engine.Level.TextureSnow : engine.Level.TextureGround) = own;
    }
    return SaveReloadAndBlock(engine, name, error);
}

bool ChangeHeightMap(TSKIEngine& engine, const fs::path& picture, std::string* error) {
    if (!engine.HasGrid()) return Fail(error, "no level is loaded");
    TGreyImage heights;
    if (!LoadGreyImage(picture, heights, error)) return false;
    const std::string name = engine.Level.LevelName;
    THeightField field;
    if (!BuildFromPicture(engine, heights, name, field, error)) return false;
    return SaveReloadAndBlock(engine, name, error);
}

bool ChangeGroundPicture(TSKIEngine& engine, const fs::path& picture, bool snow,
                         std::string* error) {
    if (!engine.HasGrid()) return Fail(error, "no level is loaded");
    TSKIImage check;
    if (!LoadJpeg(picture, check, error)) return false;
    const std::string file = picture.filename().string();
    std::string why;
    const auto to = PathInFolder(engine.Folders.Addons, file, {}, &why);
    if (!to) return Fail(error, "cannot use the picture: " + why);
    std::error_code ec;
    fs::create_directories(engine.Folders.Addons, ec);
    if (!fs::equivalent(picture, *to, ec) && !CopyFile(picture, *to, error)) return false;
    (snow ? engine.Level.TextureSnow : engine.Level.TextureGround) = file;
    const std::string name = engine.Level.LevelName;
    if (!SaveLevelFile(engine, name, error)) return false;
    const TSKILevelLoadResult loaded = LoadLevelFile(engine, name, true, TSKIDisplayOnLoad::Keep);
    return loaded.status == TSKILevelLoadResult::Loaded || Fail(error, loaded.error);
}

void SetEditorValue(TSKIEngine& engine, TEditorValue which, const std::string& text) {
    auto integer = [&](int32_t def) {
        const auto v = ParseInteger(text);
        return v && *v >= std::numeric_limits<int32_t>::min() &&
                       *v <= std::numeric_limits<int32_t>::max()
                   ? int32_t(*v)
                   : def;
    };
    // The ranges a level file accepts: a scale above 0 up to 100, a threshold 0 to 1e6.
    auto real = [&](double def, double lo, bool aboveLo, double hi) {
        const auto v = ParseReal(text);
        if (!v || !std::isfinite(*v) || *v < lo || (aboveLo && *v == lo) || *v > hi)
            return float(def);
        return float(*v);
    };
    TSKIParkData& park = engine.Park;
    switch (which) {
        case TEditorValue::Cash:
            park.ParkCash = integer(30000);
            break;
        case TEditorValue::Time:
            park.ParkTime = integer(0);
            break;
        case TEditorValue::SpawnSpeed:
            park.ParkSpawnSpeed = integer(20);
            break;
        case TEditorValue::MaxSkiers:
            park.ParkMaxSkiers = integer(30000);
            break;
        case TEditorValue::ScaleXZ:
            engine.Level.Scale.x = engine.Level.Scale.z = real(4, 0, true, 100);
            break;
        case TEditorValue::ScaleY:
            engine.Level.Scale.y = real(2, 0, true, 100);
            break;
        case TEditorValue::BlockThreshold:
            engine.Level.BlockThreshold = real(3, 0, false, 1e6);
            break;
    }
}

bool SaveMission(TSKIEngine& engine, const std::string& name, std::string* error) {
    if (!engine.HasGrid()) return Fail(error, "no level is loaded");
    const fs::path folder = engine.Level.FromAddons ? engine.Folders.Addons : engine.Folders.Worlds;
    std::string why;
    const auto path = PathInFolder(folder, name, ".ski", &why);
    if (!path) return Fail(error, "cannot save game: " + why);
    if (engine.Level.FromAddons) engine.Park.ParkMissionIndex = kMissionAddon;
    return SaveGameFile(engine, *path, error);
}

}  // namespace vallorn
