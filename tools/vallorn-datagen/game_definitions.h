// Starting games from their definitions: assets/sandbox/*.ini and assets/campaign/*.ini each
// become worlds/<file stem>.ski.
//
//   [Mission]
//   Level=Mission01            ; a level in worlds/
//   Actions=Mission01.actions  ; optional, beside the definition: builds the starting resort
//   [SKIPark]                  ; optional park keys as saved games write them
//   [SKIObjectives]            ; optional, as saved games write it
//
// The level is loaded into a core engine, the action script (the runner's language) replayed
// on it, the park saved with the camera on the road's end; then the definition's park keys
// are set over the saved ones and its objectives replace the saved ones, and the result must
// load back.
#pragma once

#include <filesystem>
#include <string>

namespace vallorn::datagen {

// Makes the game of one definition under `root`/worlds (whose levels must be there). Returns
// "" or why it could not, as "FILE: reason"; a game that does not load back is removed.
std::string BuildGameFromDefinition(const std::filesystem::path& definition,
                                    const std::filesystem::path& root);

// The games of `assets`/sandbox and `assets`/campaign, in name order, and the hand-written
// campaign files of `assets`/worlds (*.txt, *.ini) copied into `root`/worlds, made on
// `threads` threads. Two definitions of one stem are refused. Prints a line per folder.
bool BuildDefinedGames(const std::filesystem::path& assets, const std::filesystem::path& root,
                       int threads, std::string* error);

}  // namespace vallorn::datagen
