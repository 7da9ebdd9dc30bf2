// The program's icon for the desktop: a snowy peak under a winter sky with a chairlift
// crossing it, on a rounded square with transparent corners. Drawn in code at any size
// (each size painted afresh, not scaled from another), so 16 px stays as crisp as 256 px.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vallorn::datagen {

// The sizes the desktop's icon theme looks for, in pixels.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon as RGBA rows, size x size x 4 bytes, top row first.
std::vector<uint8_t> PaintAppIcon(int size);

// Writes OUT/vallorn-SIZE.png for every size of kIconSizes, each through a temporary file.
bool WriteAppIcons(const std::filesystem::path& out, std::string* error);

}  // namespace vallorn::datagen
