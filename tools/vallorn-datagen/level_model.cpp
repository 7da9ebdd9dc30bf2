#include "level_model.h"

#include <algorithm>
#include <cmath>

namespace vallorn::datagen {
namespace {

template <typename Sampler>
double Bilinear(double ci, double cj, Sampler sample) {
    ci = std::clamp(ci, 0.0, double(kVerts - 1));
    cj = std::clamp(cj, 0.0, double(kVerts - 1));
    const int i0 = std::min(int(ci), kVerts - 2), j0 = std::min(int(cj), kVerts - 2);
    const double fi = ci - i0, fj = cj - j0;
    const double a = sample(i0, j0), b = sample(i0 + 1, j0);
    const double c = sample(i0, j0 + 1), d = sample(i0 + 1, j0 + 1);
    return (a * (1 - fi) + b * fi) * (1 - fj) + (c * (1 - fi) + d * fi) * fj;
}

}  // namespace

double TLevel::HeightAt(double ci, double cj) const {
    return Bilinear(ci, cj, [this](int i, int j) { return double(H(i, j)); });
}

double TLevel::Slope(int i, int j) const {
    const int ia = std::max(i - 1, 0), ib = std::min(i + 1, kVerts - 1);
    const int ja = std::max(j - 1, 0), jb = std::min(j + 1, kVerts - 1);
    const double di = (H(ib, j) - H(ia, j)) / ((ib - ia) * kCellWorld);
    const double dj = (H(i, jb) - H(i, ja)) / ((jb - ja) * kCellWorld);
    return std::sqrt(di * di + dj * dj);
}

double TLevel::SlopeAt(double ci, double cj) const {
    const double d = 0.5;
    const double di = (HeightAt(ci + d, cj) - HeightAt(ci - d, cj)) / (2 * d * kCellWorld);
    const double dj = (HeightAt(ci, cj + d) - HeightAt(ci, cj - d)) / (2 * d * kCellWorld);
    return std::sqrt(di * di + dj * dj);
}

double TLevel::MaxStep(int i, int j) const {
    const double h = H(i, j);
    double step = 0;
    if (i > 0) step = std::max(step, std::fabs(H(i - 1, j) - h));
    if (i + 1 < kVerts) step = std::max(step, std::fabs(H(i + 1, j) - h));
    if (j > 0) step = std::max(step, std::fabs(H(i, j - 1) - h));
    if (j + 1 < kVerts) step = std::max(step, std::fabs(H(i, j + 1) - h));
    return step;
}

double TLevel::RoadDistanceAt(double ci, double cj) const {
    if (roadDistance.empty()) return 1e9;
    return Bilinear(ci, cj,
                    [this](int i, int j) { return double(roadDistance[size_t(i) * kVerts + j]); });
}

}  // namespace vallorn::datagen
