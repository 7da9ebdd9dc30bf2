// The game's small text lists beside the program: the loading tips (data/tips.txt) and the
// music tracks (data/music.txt). One entry a line; a missing or unreadable file is an empty
// list. And the line breaks of the game's texts as the screen shows them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/random.h"

namespace vallorn {

// The non-blank lines of a text file, trimmed of surrounding blanks (and a Windows line end).
// A missing file reads as no lines; at most `maxLines` lines of at most `maxLength` bytes are
// kept, so a huge or binary file cannot swamp the game.
std::vector<std::string> ReadTextLines(const std::filesystem::path& file, size_t maxLines = 4096,
                                       size_t maxLength = 1024);

// The music tracks of a list: each line names an MP3 file inside the data folder; a line that
// would leave the folder is skipped.
std::vector<std::filesystem::path> MusicTracks(const std::filesystem::path& dataFolder,
                                               const std::vector<std::string>& lines);

// The game's texts break their lines with a carriage return alone ("Skier 3\rHappiness:..."),
// as its files may with a Windows line end: each of "\r", "\r\n" and "\n" becomes one "\n",
// the only break ImGui draws.
std::string LineBreaks(std::string text);

// One entry at random, or nothing for an empty list.
template <typename T>
std::optional<T> PickRandom(const std::vector<T>& list, TSKIRandom& rng) {
    if (list.empty()) return std::nullopt;
    return list[size_t(rng.Below(int32_t(list.size())))];
}

}  // namespace vallorn
