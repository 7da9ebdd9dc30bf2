// What the two drawings of vallorn-contact-sheet share: a little vector arithmetic and the
// pictures of the data folder, read once each (rows top first, RGBA).
#pragma once

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vallorn::sheet {

struct TVec {
    float x, y, z;
};
inline TVec operator-(TVec a, TVec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline float Dot(TVec a, TVec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline TVec Cross(TVec a, TVec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// The unit vector along `a`; `fallback` for a zero vector.
inline TVec Norm(TVec a, TVec fallback = {0, 1, 0}) {
    const float l = std::sqrt(Dot(a, a));
    return l > 0 ? TVec{a.x / l, a.y / l, a.z / l} : fallback;
}

struct TTexture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* Texel(int x, int y) const { return &rgba[(size_t(y) * w + x) * 4]; }
};

// The picture at `file`, or nullptr when it cannot be read (asked once per path).
const TTexture* LoadTexture(const std::filesystem::path& file);

// The two drawings: pictures of single figures, and a sheet of every model of a folder.
int RenderFigures(int argc, char** argv);
int DrawModelSheet(int argc, char** argv);

}  // namespace vallorn::sheet
