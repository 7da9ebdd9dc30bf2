// Saved games: writing, loading and closing a running game.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace vallorn {

class TIniFile;

// Writes the running game into `path` (kept sections of an existing file stay). False
// with a reason in `error` when it cannot be written; the old file is then untouched.
bool SaveGameFile(const TSKIEngine& engine, const std::filesystem::path& path,
                  std::string* error = nullptr);
// The text SaveGameFile writes into a new file: equal texts mean equal saved parks.
std::string SaveGameText(const TSKIEngine& engine);
// Loads a saved game into the engine emptied by CloseGame: its level first, then the park.
// A file that is missing, names no level, or holds a value out of range or a line that
// does not parse leaves the engine empty and not busy, with the reason in LoadError. A
// damaged skier, building or vehicle record is left out with a line in LoadWarnings.
bool LoadGameFile(TSKIEngine& engine, const std::filesystem::path& path);
// The SKIObjectives section of `file` from the objective list (skip -1: all) and back.
void WriteObjectives(const TSKIEngine& engine, TIniFile& file, int skip = -1);
bool ReadObjectives(TSKIEngine& engine, const TIniFile& file);
// The saved line of a slope or lift; rebuilding one from its line and block (false when
// the line does not parse; a section that cannot be laid on the terrain is dropped).
std::string SaveLine(const TSKIEngine& engine, const TSKISection& section);
bool RestoreSection(TSKIEngine& engine, const std::string& line, const std::vector<uint8_t>& block);
// Offers the auto-save of a running mission ("Save game on exit?"), then empties the
// engine: entities, objectives, level and both park records.
void CloseGame(TSKIEngine& engine);

}  // namespace vallorn
