// Every file the game writes goes to a temporary name first and is renamed into place, so a
// crash in the middle of a save never leaves a half-written file behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vallorn {

// Writes `content` to `path` through a temporary file ".NAME.tmp-..." in the same folder,
// renamed over the file when complete. Creates missing parent folders. What stands at the path
// is respected: a symbolic link keeps pointing to its file, which is the one replaced; a
// device or a pipe is written in place (a pipe only while a program reads from it); a folder,
// a socket or a read-only file is refused. Temporary files that a killed save left behind are
// removed. Returns false and fills `error` (if given) with a one-line reason when anything
// fails; the old file is then left as it was.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string* error = nullptr);

// Whether each write waits until the file and its new name are on the disk (the default). A
// program that makes only files it can make again (the data generator) may stop waiting: the
// files still go through a temporary name and a rename.
void SetWaitForDisk(bool wait);

// Largest file a reader takes unless it names its own limit.
constexpr uint64_t kMaxReadBytes = uint64_t(256) << 20;

// Reads a whole regular file of at most `maxBytes`. Returns false with a one-line reason in
// `error` (when given) when the file is missing, is not a regular file (a device, a pipe or a
// folder is never read) or is larger than the limit; `out` is then empty.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out,
                   std::string* error = nullptr, uint64_t maxBytes = kMaxReadBytes);

}  // namespace vallorn
