// Writes a generated level into a worlds folder: "<name>.skil", the meshes "<name>H.3ds" and
// "<name>Side.3ds", and the pictures "<name>MAP.jpg" (snow) and "<name>MAPs.jpg" (ground).
#pragma once

#include <filesystem>
#include <string>

#include "level_model.h"
#include "base/ini_file.h"

namespace vallorn::datagen {

// The level file's content: sections LevelData, LevelBasicBlocked and SKIHouses.
TIniFile LevelFileContent(const TLevel& level);

// One character of a LevelBasicBlocked row.
char CellCharacter(uint8_t flags);

// Writes every file of the level. Returns false with a reason in `error` on failure.
bool WriteLevel(const TLevel& level, const std::filesystem::path& worlds, std::string* error);

}  // namespace vallorn::datagen
