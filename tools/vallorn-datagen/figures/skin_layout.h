// The layout of a figure skin (the skier skins kind + "c" + n + ".jpg" and avatar.jpg): a
// 128 x 128 atlas of 4 x 4 swatches of 32 pixels, one per part of the figure. A figure's mesh
// maps each part into the middle half of its swatch, so any skin of the same layout can be
// bound to any figure.
#pragma once

namespace vallorn::datagen::figures {

constexpr int kSkinSize = 128;
constexpr int kSkinSwatch = 32;

enum class TSkinPart : int {
    Jacket = 0,
    Accent,  // shoulder yoke and cuffs
    Trousers,
    Helmet,
    Face,
    Goggles,
    Gloves,
    Boots,
    Skis,
    Board,
    Poles,
    Hair,
};
constexpr int kSkinParts = 12;

// The texture coordinates of the middle of a part's swatch, with v = 0 at the top row of the
// picture (flipped for the 3DS convention by the mesh writer's caller if needed).
struct TSkinUv {
    float u0, v0, u1, v1;  // the middle half of the swatch
};
inline TSkinUv SkinUv(TSkinPart part) {
    const int k = int(part), col = k % 4, row = k / 4;
    const float s = 1.0f / 4;
    return {(col + 0.25f) * s, (row + 0.25f) * s, (col + 0.75f) * s, (row + 0.75f) * s};
}

}  // namespace vallorn::datagen::figures
