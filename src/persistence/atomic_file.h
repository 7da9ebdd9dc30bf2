// Every file the game writes goes to a temporary name first and is renamed into place, so a
// crash in the middle of a save never leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vallorn {

// Writes `content` to `path` through a temporary file in the same folder. Creates missing
// parent folders. Returns false and fills `error` (if given) when anything fails; the old
// file is then left as it was.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string* error = nullptr);

// Reads a whole file; returns false when it cannot be opened.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out);

}  // namespace vallorn
