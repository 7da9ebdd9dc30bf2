// The pictures of the scene's figures and surroundings: tree billboards and leaf clusters, the
// ground shadow, the sky domes and the reflection cube map, the low-detail building atlas, the
// skier and avatar skins and the imprint icons of lifts and buildings. All drawn in code from
// fixed seeds, so two runs give the same bytes.
#pragma once

#include <filesystem>
#include <string>

#include "base/image.h"
#include "canvas.h"

namespace vallorn::datagen::figures {

// A picture with an alpha channel: colour and coverage painted side by side.
struct TRgbaCanvas {
    paint::TCanvas color, alpha;  // alpha in the red channel, 0..255
    TRgbaCanvas(int width, int height, paint::TRgb background)
        : color(width, height, background), alpha(width, height, {0, 0, 0}) {}
    // Paints `shape` in `rgb` and makes it opaque by the same coverage.
    void Paint(const paint::TSdf& shape, const paint::TRgb& rgb, double opacity = 1,
               paint::TArea area = {0, 0, 1 << 20, 1 << 20});
};

// Writes a 32-bit TGA (RGBA) through a temporary file.
bool WriteTga(const std::filesystem::path& path, const TRgbaCanvas& picture, std::string* error);

// Trees: treeMask.tga, treeMaskL.tga, shadow.tga, treeLeafWhite.tga, treeLeafGreen.tga.
bool WriteTreeImages(const std::filesystem::path& dataFolder, std::string* error);
// Skies: dome0..5.jpg and the cube map cm_left/right/top/bottom/back/front.jpg.
bool WriteSkyImages(const std::filesystem::path& dataFolder, std::string* error);
// Skins: kind + "c" + n + ".jpg" for Skier, Board, SkierF and n = 0..8, and avatar.jpg.
bool WriteSkinImages(const std::filesystem::path& dataFolder, std::string* error);
// Icons lghtLift0..6.bmp, lghtBuilds.bmp, lghtHouses.bmp and the atlas LTEX.jpg.
bool WriteIconImages(const std::filesystem::path& dataFolder, std::string* error);

// All of the above.
bool WriteFigureImages(const std::filesystem::path& dataFolder, std::string* error);

}  // namespace vallorn::datagen::figures
