// CPU images: the overlay images painted onto the terrain and the pictures read from files.
#pragma once

#include <cstdint>
#include <vector>

namespace vallorn {

struct TSKIColor {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const TSKIColor&) const = default;
};

// An 8-bit RGB image, rows top to bottom. Pixel (x, y): for the per-cell overlays x is the
// cell's i and y its j.
class TSKIImage {
public:
    TSKIImage() = default;
    TSKIImage(int width, int height, TSKIColor fill = {}) { Resize(width, height, fill); }

    void Resize(int width, int height, TSKIColor fill = {});
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    TSKIColor Get(int x, int y) const;
    void Set(int x, int y, TSKIColor c);  // ignored outside the image
    void Fill(TSKIColor c);
    void FillCircle(int cx, int cy, int radius, TSKIColor c);
    // Line of the given pen width (1 = one pixel) between two points, ends included.
    void DrawLine(int x0, int y0, int x1, int y1, TSKIColor c, int width = 1);

    const std::vector<uint8_t>& Pixels() const { return pixels_; }
    std::vector<uint8_t>& Pixels() { return pixels_; }

private:
    int width_ = 0, height_ = 0;
    std::vector<uint8_t> pixels_;  // RGB, 3 bytes per pixel
};

}  // namespace vallorn
