#include "noise.h"

#include <cmath>

#include "base/random.h"

namespace vallorn::datagen {
namespace {

double Fade(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

}  // namespace

TNoise2D::TNoise2D(uint64_t seed) {
    TSKIRandom random(seed);
    std::array<uint16_t, 256> p{};
    for (int k = 0; k < 256; ++k) p[k] = uint16_t(k);
    for (int k = 255; k > 0; --k) {
        const int other = random.Below(k + 1);
        std::swap(p[k], p[other]);
    }
    for (int k = 0; k < 512; ++k) perm_[k] = p[k & 255];
    // Sixteen evenly spread directions, each lattice point picking one through the hash,
    // give isotropic noise without the axis bias of random unit vectors.
    for (int k = 0; k < 256; ++k) {
        const double angle = (double(k % 16) + 0.5) * (2.0 * M_PI / 16.0);
        gradX_[k] = std::cos(angle);
        gradY_[k] = std::sin(angle);
        values_[k] = random.Uniform();
    }
}

int TNoise2D::Hash(int x, int y) const {
    return perm_[perm_[x & 255] + (y & 255)];
}

double TNoise2D::Gradient(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double dx = x - fx, dy = y - fy;
    auto dot = [&](int cx, int cy, double ox, double oy) {
        const int h = Hash(ix + cx, iy + cy);
        return gradX_[h] * ox + gradY_[h] * oy;
    };
    const double n00 = dot(0, 0, dx, dy), n10 = dot(1, 0, dx - 1, dy);
    const double n01 = dot(0, 1, dx, dy - 1), n11 = dot(1, 1, dx - 1, dy - 1);
    const double u = Fade(dx), v = Fade(dy);
    // The raw range of 2D gradient noise is about +-0.7; scale it to about +-1.
    return 1.4 * Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v);
}

double TNoise2D::Fbm(double x, double y, int octaves, double gain) const {
    double sum = 0, amplitude = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * Gradient(x, y);
        norm += amplitude;
        amplitude *= gain;
        // A slight rotation between octaves hides the lattice alignment.
        const double rx = 1.6 * x - 1.2 * y + 17.3, ry = 1.2 * x + 1.6 * y - 8.9;
        x = rx;
        y = ry;
    }
    return sum / norm;
}

double TNoise2D::Ridged(double x, double y, int octaves) const {
    double sum = 0, amplitude = 1, norm = 0, weight = 1;
    for (int o = 0; o < octaves; ++o) {
        double signal = 1.0 - std::fabs(Gradient(x, y));
        signal *= signal;
        signal *= weight;
        weight = Clamp01(signal * 1.6);
        sum += signal * amplitude;
        norm += amplitude;
        amplitude *= 0.5;
        const double rx = 1.6 * x - 1.2 * y + 31.7, ry = 1.2 * x + 1.6 * y + 5.3;
        x = rx;
        y = ry;
    }
    return Clamp01(sum / norm);
}

double TNoise2D::Value(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double u = Fade(x - fx), v = Fade(y - fy);
    const double a = values_[Hash(ix, iy)], b = values_[Hash(ix + 1, iy)];
    const double c = values_[Hash(ix, iy + 1)], d = values_[Hash(ix + 1, iy + 1)];
    return Lerp(Lerp(a, b, u), Lerp(c, d, u), v);
}

double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

double Clamp01(double x) {
    return x < 0 ? 0 : (x > 1 ? 1 : x);
}

}  // namespace vallorn::datagen
