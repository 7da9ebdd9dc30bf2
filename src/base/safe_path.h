// Names that the game turns into file paths: level, mesh and image names stored in level and
// saved-game files, names typed by the player (saved games, profiles, levels of the editor).
// Every such name goes through PathInFolder, so no stored or typed name reaches a file outside
// the folder it belongs to.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vallorn {

// Longest name accepted, in bytes (leaves room for the suffixes and temporary-file names that
// the game adds within the file system's 255-byte limit).
constexpr size_t kMaxFileNameLength = 128;

// Why `name` cannot name a file inside a folder, or nothing when it can. Refused: an empty
// name, a name longer than kMaxFileNameLength, path separators ("/" and "\"), control
// characters, and names that begin with "." (".", "..", hidden and temporary files).
std::optional<std::string> FileNameProblem(std::string_view name);

// `folder` / (name + suffix) when `name` passes FileNameProblem; otherwise nothing, with a
// one-line reason naming the name in `reason` (when given).
std::optional<std::filesystem::path> PathInFolder(const std::filesystem::path& folder,
                                                  std::string_view name,
                                                  std::string_view suffix = {},
                                                  std::string* reason = nullptr);

}  // namespace vallorn
