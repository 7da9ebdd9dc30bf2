// Procedural noise for the level generator: 2D gradient noise with its fractal sums (fBm and
// ridged multifractal) and a small value-noise hash for texture grain. Every table is filled
// from TSKIRandom with a caller-given seed, so the same seed always gives the same terrain.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

namespace vallorn::datagen {

class TNoise2D {
public:
    explicit TNoise2D(uint64_t seed);

    // Gradient noise, about -1..1, zero on the integer lattice.
    double Gradient(double x, double y) const;
    // Fractal sum of `octaves` gradient-noise layers, each twice the frequency and `gain`
    // times the amplitude of the previous; normalised to about -1..1.
    double Fbm(double x, double y, int octaves, double gain = 0.5) const;
    // Ridged multifractal: sharp crests where the noise crosses zero, rougher high up.
    // About 0..1.
    double Ridged(double x, double y, int octaves) const;
    // Cheap per-lattice-point hash in 0..1, smoothly interpolated (value noise).
    double Value(double x, double y) const;

private:
    int Hash(int x, int y) const;

    std::array<uint16_t, 512> perm_{};
    std::array<double, 256> gradX_{}, gradY_{};
    std::array<double, 256> values_{};
};

// Smooth Hermite step, 0 below `edge0`, 1 above `edge1`.
double SmoothStep(double edge0, double edge1, double x);
double Lerp(double a, double b, double t);
double Clamp01(double x);
// Length of a 2D vector (plain square root: std::hypot is several times slower).
inline double Length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

}  // namespace vallorn::datagen
