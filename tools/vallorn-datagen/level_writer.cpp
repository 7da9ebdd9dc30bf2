#include "level_writer.h"

#include <cstring>

#include "base/image_io.h"
#include "base/terrain_mesh_builder.h"
#include "textures.h"

namespace fs = std::filesystem;

namespace vallorn::datagen {
namespace {

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
    const auto u = uint32_t(value);
    for (int k = 0; k < 4; ++k) out.push_back(uint8_t(u >> (8 * k)));
}

void PutFloat(std::vector<uint8_t>& out, float value) {
    uint32_t u = 0;
    std::memcpy(&u, &value, 4);
    PutInt32(out, int32_t(u));
}

// The 36-byte house record: tag, position (x, y, z, 1), direction (x, 0, z, 0), little
// endian. World x runs against the cell row i: x = -4i - 0.5, z = 4j - 0.5.
std::vector<uint8_t> HouseRecord(const TLevel& level, const THouse& house) {
    std::vector<uint8_t> out;
    out.reserve(36);
    PutInt32(out, house.tag);
    PutFloat(out, float(-kCellWorld * house.i - 0.5));
    PutFloat(out, float(level.HeightAt(house.i, house.j)));
    PutFloat(out, float(kCellWorld * house.j - 0.5));
    PutFloat(out, 1.0f);
    PutFloat(out, float(-house.dirI));
    PutFloat(out, 0.0f);
    PutFloat(out, float(house.dirJ));
    PutFloat(out, 0.0f);
    return out;
}

}  // namespace

char CellCharacter(uint8_t flags) {
    if (flags & kFlagRoad) return 'R';
    return char('0' + 4 * ((flags & kFlagBlocked) != 0) + 2 * ((flags & kFlagTree) != 0) +
                ((flags & kFlagSnow) != 0));
}

TIniFile LevelFileContent(const TLevel& level) {
    TIniFile ini;
    const char* data = "LevelData";
    ini.WriteString(data, "LevelElevationFile", level.name);
    ini.WriteString(data, "LevelTextureSnow", level.name + "MAP.jpg");
    ini.WriteString(data, "LevelTextureGround", level.name + "MAPs.jpg");
    ini.WriteFloat(data, "LevelBlockThreshold", level.blockThreshold);
    ini.WriteInteger(data, "LevelMaxCrowded", 1);
    ini.WriteFloat(data, "LevelScaleXZ", kCellWorld);
    ini.WriteFloat(data, "LevelScaleY", level.scaleY);
    std::string row(kCells, '0');
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) row[size_t(j)] = CellCharacter(level.F(i, j));
        ini.WriteString("LevelBasicBlocked", std::to_string(i), row);
    }
    if (level.houses.empty()) {
        // An empty section still marks the level as one without houses.
        ini.WriteString("SKIHouses", "dummy", "");
        ini.DeleteKey("SKIHouses", "dummy");
    }
    for (size_t k = 0; k < level.houses.size(); ++k) {
        const std::vector<uint8_t> record = HouseRecord(level, level.houses[k]);
        ini.WriteBinary("SKIHouses", std::to_string(k), record.data(), record.size());
    }
    return ini;
}

bool WriteLevel(const TLevel& level, const fs::path& worlds, std::string* error) {
    THeightField field;
    field.Side = kVerts;
    field.Heights = level.heights;
    // The meshes ship without their binary caches: the game makes them on a level's first load,
    // where the player can write. A cache an older generator left beside them goes.
    if (!BuildTerrainMeshes(field, level.scaleY, level.skirtBottom, worlds, level.name, error))
        return false;
    for (const char* part : {"H.vmesh", "Side.vmesh"}) {
        std::error_code ec;
        fs::remove(worlds / (level.name + part), ec);
    }
    TSKIImage snow, ground;
    PaintTextures(level, &snow, &ground);
    if (!SaveJpeg(worlds / (level.name + "MAP.jpg"), snow, 90, error)) return false;
    if (!SaveJpeg(worlds / (level.name + "MAPs.jpg"), ground, 90, error)) return false;
    return LevelFileContent(level).SaveToFile(worlds / (level.name + ".skil"), error);
}

}  // namespace vallorn::datagen
