// Reading and writing the JPEG pictures of levels, and reading grey height-map pictures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/image.h"

namespace vallorn {

// Largest picture file read, and largest width or height of a picture: the terrain's texture
// is at most 2048 pixels across, and no picture the game draws is larger. A file that declares
// a larger picture is refused from its header, before any pixel is decoded.
constexpr uint64_t kMaxImageFileBytes = uint64_t(64) << 20;
constexpr int kMaxImageSide = 2048;
// Largest side of the grey height-map picture the editor builds a level from.
constexpr int kMaxHeightMapSide = 8192;

// Reads a JPEG into an RGB image. Never aborts the program on a bad file: returns false and
// a one-line reason in `error`.
bool LoadJpeg(const std::filesystem::path& path, TSKIImage& out, std::string* error = nullptr);
// Reads only the size of a JPEG (any size).
bool JpegSize(const std::filesystem::path& path, int& width, int& height,
              std::string* error = nullptr);
// Writes an RGB image as JPEG (through a temporary file renamed into place).
bool SaveJpeg(const std::filesystem::path& path, const TSKIImage& image, int quality = 90,
              std::string* error = nullptr);

// A grey picture: Width x Height values from 0 (black) to 1 (white), row by row from the top.
struct TGreyImage {
    int Width = 0, Height = 0;
    std::vector<float> Values;
    float At(int x, int y) const { return Values[size_t(y) * size_t(Width) + size_t(x)]; }
};

// Reads an 8-bit or 16-bit grey PNG, BMP or JPEG picture (a colour picture is turned grey by
// its luminance). Never aborts on a bad file: returns false with a one-line reason.
bool LoadGreyImage(const std::filesystem::path& path, TGreyImage& out,
                   std::string* error = nullptr);

}  // namespace vallorn
