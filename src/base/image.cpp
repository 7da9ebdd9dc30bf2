#include "base/image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/huge_pages.h"

namespace vallorn {

void TSKIImage::Resize(int width, int height, TSKIColor fill) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    const size_t bytes = size_t(width_) * size_t(height_) * 3;
    ReserveLarge(pixels_, bytes);
    pixels_.assign(bytes, 0);
    if (!(fill == TSKIColor{})) Fill(fill);
}

TSKIColor TSKIImage::Get(int x, int y) const {
    if (!Contains(x, y)) return {};
    const size_t o = (size_t(y) * size_t(width_) + size_t(x)) * 3;
    return {pixels_[o], pixels_[o + 1], pixels_[o + 2]};
}

void TSKIImage::Set(int x, int y, TSKIColor c) {
    if (!Contains(x, y)) return;
    const size_t o = (size_t(y) * size_t(width_) + size_t(x)) * 3;
    pixels_[o] = c.r;
    pixels_[o + 1] = c.g;
    pixels_[o + 2] = c.b;
}

void TSKIImage::Fill(TSKIColor c) {
    const size_t n = size_t(width_) * size_t(height_);
    uint8_t* p = pixels_.data();
    if (c.r == c.g && c.g == c.b) {  // black, white and greys: every byte the same
        std::memset(p, c.r, 3 * n);
        return;
    }
    for (size_t k = 0; k < n; ++k, p += 3) {
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
}

void TSKIImage::FillCircle(int cx, int cy, int radius, TSKIColor c) {
    if (radius < 0) return;
    const int r2 = radius * radius;
    const int y0 = std::max(0, cy - radius), y1 = std::min(height_ - 1, cy + radius);
    for (int y = y0; y <= y1; ++y) {
        const int dy = y - cy;
        const int x0 = std::max(0, cx - radius), x1 = std::min(width_ - 1, cx + radius);
        for (int x = x0; x <= x1; ++x) {
            const int dx = x - cx;
            if (dx * dx + dy * dy <= r2) Set(x, y, c);
        }
    }
}

void TSKIImage::DrawLine(int x0, int y0, int x1, int y1, TSKIColor c, int width) {
    // Bresenham through the centre line; a wider pen stamps a square of `width` pixels
    // centred on every point of it.
    const int w = std::max(1, width);
    const int lo = -(w - 1) / 2, hi = w / 2;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (w == 1) {
            Set(x0, y0, c);
        } else {
            for (int oy = lo; oy <= hi; ++oy)
                for (int ox = lo; ox <= hi; ++ox) Set(x0 + ox, y0 + oy, c);
        }
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

}  // namespace vallorn
