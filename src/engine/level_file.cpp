// Level files ("<name>.skil"): loading a level into the engine and saving it back.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <system_error>
#include <vector>

#include "base/atomic_file.h"
#include "base/huge_pages.h"
#include "base/image_io.h"
#include "base/ini_file.h"
#include "base/number_format.h"
#include "base/safe_path.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/level_grid.h"
#include "engine/overlays.h"
#include "engine/snow.h"

namespace fs = std::filesystem;

namespace vallorn {
namespace {

constexpr const char* kLevelData = "LevelData";
constexpr const char* kBasicBlocked = "LevelBasicBlocked";
constexpr const char* kBRB = "LevelBRB";
constexpr const char* kHouses = "SKIHouses";
constexpr size_t kHouseBytes = 36;
constexpr double kMaxLevelScale = 100;      // LevelScaleXZ and LevelScaleY
constexpr double kMaxLevelThreshold = 1e6;  // LevelBlockThreshold
constexpr uint64_t kMaxLevelFileBytes = uint64_t(4) << 20;

// A load that cannot go on; the message names the cause.
struct LevelLoadError {
    std::string message;
};

void Fail(const std::string& message) {
    throw LevelLoadError{message};
}

// A real setting of the level: its default when missing or not a number; a number outside
// lo..hi (above lo when `aboveLo`) abandons the load, as the value cannot be what was meant.
float LevelReal(const TIniFile& ini, const fs::path& file, const char* key, double def, double lo,
                bool aboveLo, double hi) {
    const double v = ini.ReadFloat(kLevelData, key, def);
    if (v < lo || (aboveLo && v == lo) || v > hi) {
        Fail(std::string(key) + " " + ini.ReadString(kLevelData, key) + " in " + file.string() +
             " is out of range: it must be " + (aboveLo ? "above " : "at least ") + FormatReal(lo) +
             " and at most " + FormatReal(hi));
    }
    return float(v);
}

// A terrain mesh is read whole: a file that is not a plain file or is too large is refused
// before it is read (a missing one is told by the mesh loader).
void CheckMeshFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return;
    if (!fs::is_regular_file(status))
        Fail("terrain mesh " + path.string() + " is not a regular file");
    if (fs::file_size(path, ec) > kMaxReadBytes)
        Fail("terrain mesh " + path.string() + " is larger than " +
             std::to_string(kMaxReadBytes >> 20) + " MB");
}

bool Finite(const TSKIVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

// Applies one character of a LevelBasicBlocked row to a cell.
void ApplyRowCharacter(TSKIEngine& engine, int i, int j, char c) {
    TerrainCell& cell = engine.Cell(i, j);
    if (c >= '0' && c <= '7') {
        const int bits = c - '0';
        cell.Blocked = (bits & 4) != 0;
        cell.NaturalSnow = (bits & 1) != 0;
        if (bits & 2) {
            // Counted even when the cell declines the tree.
            ++engine.Level.TreeCount;
            engine.PlantTree(i, j, 0);
        } else {
            cell.Tree = false;
        }
    } else if (c == 'R') {
        cell.Blocked = false;
        cell.Tree = false;
        cell.NaturalSnow = false;
        cell.Kind = kCellRoad;
    }
}

char RowCharacter(const TerrainCell& cell) {
    if (cell.Kind == kCellRoad) return 'R';
    return char('0' + 4 * int(cell.Blocked) + 2 * int(cell.Tree) + int(cell.NaturalSnow));
}

TSKIHouse DecodeHouse(const std::vector<uint8_t>& bytes) {
    TSKIHouse h;
    float v[8];
    std::memcpy(&h.Tag, bytes.data(), 4);
    std::memcpy(v, bytes.data() + 4, sizeof v);
    h.Position = TSKIVector(v[0], v[1], v[2], v[3]);
    h.Direction = TSKIVector(v[4], v[5], v[6], v[7]);
    return h;
}

void EncodeHouse(const TSKIHouse& h, uint8_t* out) {
    const float v[8] = {h.Position.x,  h.Position.y,  h.Position.z,  h.Position.w,
                        h.Direction.x, h.Direction.y, h.Direction.z, h.Direction.w};
    std::memcpy(out, &h.Tag, 4);
    std::memcpy(out + 4, v, sizeof v);
}

// Copies `from` to `to` through a temporary file renamed into place.
bool CopyAtomically(const fs::path& from, const fs::path& to, std::string* error) {
    std::string bytes, why = "cannot read it";
    if (!ReadWholeFile(from, bytes) || !WriteFileAtomically(to, bytes, &why)) {
        if (error) *error = "cannot copy " + from.string() + " to " + to.string() + ": " + why;
        return false;
    }
    return true;
}

// A file the level names, inside the level's folder; a name that would reach elsewhere fails
// the load.
fs::path LevelPart(const fs::path& folder, const std::string& key, const std::string& name,
                   std::string_view suffix = {}) {
    std::string why;
    auto path = PathInFolder(folder, name, suffix, &why);
    if (!path) Fail(key + " " + why);
    return *path;
}

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

}  // namespace

TSKILevelLoadResult LoadLevelFile(TSKIEngine& engine, const std::string& name, bool fromAddons,
                                  TSKIDisplayOnLoad display, TSKIOverlaysOnLoad overlays) {
    TSKILevelLoadResult result;
    const fs::path folder = fromAddons ? engine.Folders.Addons : engine.Folders.Worlds;
    std::string badName;
    const auto checked = PathInFolder(folder, name, ".skil", &badName);
    if (!checked) {
        // A name that cannot be a file of the folder is not looked for anywhere else.
        result.status = TSKILevelLoadResult::Missing;
        result.error = "level " + badName;
        return result;
    }
    const fs::path file = *checked;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        result.status = TSKILevelLoadResult::Missing;
        result.error = "level file " + file.string() + " not found";
        return result;
    }

    try {
        // A level file holds its settings, 512 rows of cells and a few houses (about 270 KB):
        // a far larger one is refused before it is parsed.
        if (fs::file_size(file, ec) > kMaxLevelFileBytes)
            Fail("level file " + file.string() + " is larger than " +
                 std::to_string(kMaxLevelFileBytes >> 20) + " MB");
        const TIniFile ini(file);
        if (!ini.Exists()) Fail(ini.ReadError());
        engine.Running = false;
        // The old level goes first: the containers then have no cells to let go of.
        ClearLevel(engine);
        engine.ClearContainers();
        // Before any overlay is drawn: they follow the display flags.
        if (display == TSKIDisplayOnLoad::Reset) ResetDisplayChoices(engine);

        // Settings. Reals are plain decimals read with a decimal comma; text that does not
        // parse gives the default.
        TSKILevelData level;
        level.LevelName = name;
        level.Folder = folder;
        level.FromAddons = fromAddons;
        level.ElevationFile = ini.ReadString(kLevelData, "LevelElevationFile", name + ".bmp");
        level.TextureSnow = ini.ReadString(kLevelData, "LevelTextureSnow", name + "MAP.jpg");
        level.TextureGround = ini.ReadString(kLevelData, "LevelTextureGround", name + "MAPs.jpg");
        // Ranges that keep every height and distance of the terrain finite as a 32-bit float.
        level.BlockThreshold =
            LevelReal(ini, file, "LevelBlockThreshold", 3.0, 0.0, false, kMaxLevelThreshold);
        const int64_t maxCrowded = ini.ReadInteger(kLevelData, "LevelMaxCrowded", 1);
        if (maxCrowded < 0 || maxCrowded > 65535) {
            Fail("LevelMaxCrowded " + std::to_string(maxCrowded) + " in " + file.string() +
                 " is out of range 0..65535");
        }
        level.MaxCrowded = uint16_t(maxCrowded);
        const float scaleXZ = LevelReal(ini, file, "LevelScaleXZ", 4.0, 0.0, true, kMaxLevelScale);
        const float scaleY = LevelReal(ini, file, "LevelScaleY", 2.0, 0.0, true, kMaxLevelScale);
        level.Scale = TSKIVector(scaleXZ, scaleY, scaleXZ, 0);

        engine.ResetParkData();

        // Ground images.
        std::string error;
        const fs::path snowFile = LevelPart(folder, "LevelTextureSnow", level.TextureSnow);
        const fs::path groundFile = LevelPart(folder, "LevelTextureGround", level.TextureGround);
        const fs::path surfaceFile =
            LevelPart(folder, "LevelElevationFile", level.ElevationFile, "H.3ds");
        const fs::path skirtFile =
            LevelPart(folder, "LevelElevationFile", level.ElevationFile, "Side.3ds");
        if (!LoadJpeg(snowFile, engine.SnowTexture, &error)) Fail(error);
        if (!LoadJpeg(groundFile, engine.GroundTexture, &error)) Fail(error);
        level.GridSize = kGridSize;
        level.TextureSize = uint16_t(std::min(engine.SnowTexture.Width(), 65535));
        level.WorldSize = float(kGridSize) * scaleXZ;
        level.HalfScale = scaleXZ * 0.5f;

        // Terrain meshes.
        CheckMeshFile(surfaceFile);
        CheckMeshFile(skirtFile);
        if (!engine.Surface.Load(surfaceFile, scaleY, &error, engine.Folders.Cache)) Fail(error);
        // The skirt is only drawn: no height is cast on it.
        if (!engine.Skirt.Load(skirtFile, scaleY, &error, engine.Folders.Cache, false)) Fail(error);
        engine.Level = level;

        // The grid: heights from the mesh, trees drawn in a fixed order of random numbers.
        TakeGridStorage(engine.Grid);
        ReserveLarge(engine.Grid, size_t(kGridSide) * kGridSide);
        engine.CrowdedCells.clear();  // every crowd counter starts at 1
        if (std::string bad = FreshGrid(engine, surfaceFile); !bad.empty()) Fail(bad);

        // Blocked terrain, trees, natural snow and roads, one row per key.
        engine.Level.TreeCount = 0;
        for (int i = 0; i < kGridSize; ++i) {
            const std::string* row = ini.FindValue(kBasicBlocked, std::to_string(i));
            if (!row) continue;
            const int n = int(std::min<size_t>(row->size(), kGridSize));
            for (int j = 0; j < n; ++j) ApplyRowCharacter(engine, i, j, (*row)[j]);
        }

        // Houses: 36 bytes each; shorter or malformed values and numbers that are not finite
        // are skipped.
        for (const std::string& key : ini.SectionKeys(kHouses)) {
            std::vector<uint8_t> bytes;
            if (!ini.ReadBinary(kHouses, key, bytes) || bytes.size() < kHouseBytes) continue;
            TSKIHouse house = DecodeHouse(bytes);
            if (!Finite(house.Position) || !Finite(house.Direction)) continue;
            house.Position.y = engine.TerrainHeight(house.Position);
            engine.Houses.push_back(house);
        }

        // Every overlay shows the new level; the snow makers' reach is spread now or, when the
        // caller builds the park first, by its own rebuild afterwards.
        for (size_t k = 0; k < TSKIOverlays::kCount; ++k) engine.Overlays.Touch(TSKIOverlay(k));
        if (overlays == TSKIOverlaysOnLoad::Draw) SpreadArtificialSnow(engine);
        RefreshTerrainView(engine);
        engine.Running = true;
        result.status = TSKILevelLoadResult::Loaded;
        return result;
    } catch (const LevelLoadError& e) {
        result.error = e.message;
    } catch (const std::exception& e) {
        result.error = "cannot load level " + name + ": " + e.what();
    }
    // A failed load leaves no level behind.
    ClearLevel(engine);
    engine.ClearContainers();
    engine.Running = false;
    result.status = TSKILevelLoadResult::Failed;
    return result;
}

void ClearLevel(TSKIEngine& engine) {
    KeepGridStorage(engine.Grid);
    engine.CrowdedCells.clear();  // they index the grid that is gone
    engine.Houses.clear();
    engine.Surface.Clear();
    engine.Skirt.Clear();
    engine.SnowTexture = TSKIImage();
    engine.GroundTexture = TSKIImage();
    for (size_t k = 0; k < TSKIOverlays::kCount; ++k) engine.Overlays.Touch(TSKIOverlay(k));
    ++engine.Overlays.ViewRevision;
    engine.Level = TSKILevelData{};
}

bool SaveLevelFile(TSKIEngine& engine, const std::string& name, std::string* error) {
    auto fail = [&](const std::string& message) {
        if (error) *error = message;
        return false;
    };
    std::string why;
    const auto checked = PathInFolder(engine.Folders.Addons, name, ".skil", &why);
    if (!checked) return fail("cannot save level: " + why);
    if (!engine.HasGrid()) return fail("no level is loaded");
    try {
        std::error_code ec;
        fs::create_directories(engine.Folders.Addons, ec);
        const fs::path target = *checked;

        // The meshes and images the level names must be found beside the level file.
        if (!engine.Level.Folder.empty() &&
            !SameFolder(engine.Level.Folder, engine.Folders.Addons)) {
            struct Part {
                const std::string& name;
                const char* suffix;
            };
            for (const Part& part :
                 {Part{engine.Level.ElevationFile, "H.3ds"},
                  Part{engine.Level.ElevationFile, "Side.3ds"}, Part{engine.Level.TextureSnow, ""},
                  Part{engine.Level.TextureGround, ""}}) {
                const auto to = PathInFolder(engine.Folders.Addons, part.name, part.suffix, &why);
                const auto from = PathInFolder(engine.Level.Folder, part.name, part.suffix, &why);
                if (!to || !from) return fail("cannot save level " + name + ": " + why);
                if (fs::exists(*to, ec)) continue;
                if (!fs::is_regular_file(*from, ec)) {
                    return fail("cannot save level " + name + ": " + from->string() +
                                " is missing");
                }
                // The copy's meshes find the original's caches: they are named by the bytes.
                if (!CopyAtomically(*from, *to, error)) return false;
            }
        }

        TIniFile ini(target);
        for (const char* section : {kLevelData, kBasicBlocked, kBRB, kHouses})
            ini.EraseSection(section);

        ini.WriteString(kLevelData, "LevelElevationFile", engine.Level.ElevationFile);
        ini.WriteString(kLevelData, "LevelTextureSnow", engine.Level.TextureSnow);
        ini.WriteString(kLevelData, "LevelTextureGround", engine.Level.TextureGround);
        ini.WriteFloat(kLevelData, "LevelBlockThreshold", double(engine.Level.BlockThreshold));
        ini.WriteInteger(kLevelData, "LevelMaxCrowded", engine.Level.MaxCrowded);
        ini.WriteFloat(kLevelData, "LevelScaleXZ", double(engine.Level.Scale.x));
        ini.WriteFloat(kLevelData, "LevelScaleY", double(engine.Level.Scale.y));

        std::string row(kGridSize, '0');
        for (int i = 0; i < kGridSize; ++i) {
            for (int j = 0; j < kGridSize; ++j) row[size_t(j)] = RowCharacter(engine.Cell(i, j));
            ini.WriteString(kBasicBlocked, std::to_string(i), row);
        }

        uint8_t bytes[kHouseBytes];
        for (size_t k = 0; k < engine.Houses.size(); ++k) {
            EncodeHouse(engine.Houses[k], bytes);
            ini.WriteBinary(kHouses, std::to_string(k), bytes, kHouseBytes);
        }

        std::string saveError;
        if (!ini.SaveToFile(target, &saveError)) return fail(saveError);
        return true;
    } catch (const std::exception& e) {
        return fail("cannot save level " + name + ": " + e.what());
    }
}

}  // namespace vallorn
