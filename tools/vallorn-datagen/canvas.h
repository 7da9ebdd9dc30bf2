// Drawing in code for the generated pictures: an RGB canvas of doubles, shapes as signed
// distance fields painted with one pixel of anti-aliased edge, and 24-bit BMP output.
#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/image.h"
#include "noise.h"

namespace vallorn::datagen::paint {

constexpr double kPi = 3.14159265358979323846;

struct TRgb {
    double r, g, b;
};

inline TRgb Mix(const TRgb& a, const TRgb& b, double t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)};
}

// An RGB picture in doubles, painted with coverage-weighted colours.
class TCanvas {
public:
    TCanvas(int width, int height, TRgb fill)
        : width_(width), height_(height), pixels_(size_t(width) * height, fill) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    TRgb& At(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
    void Blend(int x, int y, const TRgb& c, double alpha) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
        TRgb& p = At(x, y);
        p = Mix(p, c, std::min(alpha, 1.0));
    }
    TSKIImage ToImage() const {
        TSKIImage image(width_, height_);
        auto channel = [](double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 255.0))); };
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const TRgb& p = pixels_[size_t(y) * width_ + x];
                image.Set(x, y, {channel(p.r), channel(p.g), channel(p.b)});
            }
        return image;
    }

private:
    int width_, height_;
    std::vector<TRgb> pixels_;
};

// Shapes as signed distance fields in pixels: negative inside, positive outside. Painting
// covers a pixel by 0.5 - distance, which gives one pixel of anti-aliased edge.
using TSdf = std::function<double(double, double)>;

struct TPoint {
    double x, y;
};

inline double SegmentDistance(double px, double py, const TPoint& a, const TPoint& b) {
    const double ex = b.x - a.x, ey = b.y - a.y, wx = px - a.x, wy = py - a.y;
    const double len2 = ex * ex + ey * ey;
    const double t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0, 1.0) : 0.0;
    return Length(wx - ex * t, wy - ey * t);
}

inline TSdf Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return Length(x - cx, y - cy) - r; };
}

// Axis-aligned box of half sizes hw x hh with rounded corners of radius `round`.
inline TSdf Box(double cx, double cy, double hw, double hh, double round = 0) {
    return [=](double x, double y) {
        const double qx = std::abs(x - cx) - hw + round, qy = std::abs(y - cy) - hh + round;
        return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
               round;
    };
}

// A stroke of half width `hw` along the points, with round ends and joints.
inline TSdf Stroke(std::vector<TPoint> points, double hw) {
    return [points = std::move(points), hw](double x, double y) {
        double d = 1e9;
        for (size_t k = 0; k + 1 < points.size(); ++k)
            d = std::min(d, SegmentDistance(x, y, points[k], points[k + 1]));
        return d - hw;
    };
}

// A filled polygon (any simple polygon).
inline TSdf Polygon(std::vector<TPoint> v) {
    return [v = std::move(v)](double x, double y) {
        double d = 1e18, s = 1;
        for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            d = std::min(d, SegmentDistance(x, y, v[i], v[j]));
            const bool a = y >= v[i].y, b = y < v[j].y;
            const bool c = (v[j].x - v[i].x) * (y - v[i].y) > (v[j].y - v[i].y) * (x - v[i].x);
            if ((a && b && c) || (!a && !b && !c)) s = -s;
        }
        return s * d;
    };
}

inline TSdf Union(std::vector<TSdf> parts) {
    return [parts = std::move(parts)](double x, double y) {
        double d = 1e9;
        for (const TSdf& p : parts) d = std::min(d, p(x, y));
        return d;
    };
}
inline TSdf Subtract(TSdf from, TSdf cut) {
    return [=](double x, double y) { return std::max(from(x, y), -cut(x, y)); };
}
inline TSdf Intersect(TSdf a, TSdf b) {
    return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}
inline TSdf Shifted(TSdf shape, double dx, double dy) {
    return [=](double x, double y) { return shape(x - dx, y - dy); };
}

// Points on an arc around (cx, cy), angles in degrees counter-clockwise from the right with
// the picture's y axis pointing down.
inline std::vector<TPoint> Arc(double cx, double cy, double rx, double ry, double from, double to,
                               int steps) {
    std::vector<TPoint> points;
    for (int k = 0; k <= steps; ++k) {
        const double a = (from + (to - from) * k / steps) * kPi / 180;
        points.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return points;
}

struct TArea {
    int x0, y0, x1, y1;  // pixels, x1 and y1 excluded
};

inline void Paint(TCanvas& canvas, const TSdf& shape, const TRgb& color, double opacity = 1,
                  TArea area = {0, 0, 1 << 20, 1 << 20}) {
    for (int y = std::max(0, area.y0); y < std::min(canvas.Height(), area.y1); ++y)
        for (int x = std::max(0, area.x0); x < std::min(canvas.Width(), area.x1); ++x) {
            const double cover = std::clamp(0.5 - shape(x + 0.5, y + 0.5), 0.0, 1.0);
            canvas.Blend(x, y, color, cover * opacity);
        }
}

// Writes a picture as a 24-bit BMP through a temporary file.
bool WriteBmp(const std::filesystem::path& path, const TSKIImage& image, std::string* error);

}  // namespace vallorn::datagen::paint
