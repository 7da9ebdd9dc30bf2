// The figure skins: for each kind ("Skier", "Board", "SkierF") nine outfits from one palette,
// kind + "c" + n + ".jpg", and the free-ride avatar's race outfit, avatar.jpg. The layout of
// the swatches is that of skin_layout.h.
#include <cmath>

#include "base/image_io.h"
#include "figure_images.h"
#include "noise.h"
#include "skin_layout.h"

namespace vallorn::datagen::figures {
namespace {

using namespace paint;

// The resort's outfit palette: saturated jackets that read against snow, darker trousers.
constexpr TRgb kJackets[] = {{206, 38, 44},  {34, 96, 196},  {242, 188, 30},
                             {30, 148, 92},  {236, 112, 28}, {120, 60, 168},
                             {22, 160, 170}, {226, 70, 140}, {236, 238, 240}};
constexpr TRgb kTrousers[] = {{36, 40, 54},    {26, 28, 32}, {72, 78, 88},
                              {40, 62, 48},    {60, 46, 36}, {30, 44, 90},
                              {120, 124, 130}, {48, 36, 60}, {150, 30, 40}};
constexpr TRgb kHelmets[] = {{240, 240, 240}, {28, 30, 34},   {206, 38, 44},
                             {34, 96, 196},   {242, 188, 30}, {236, 238, 240},
                             {30, 148, 92},   {28, 30, 34},   {226, 70, 140}};
constexpr TRgb kSkins[] = {{232, 188, 160}, {198, 148, 112}, {142, 98, 70}};
constexpr TRgb kHairs[] = {{92, 60, 34}, {206, 168, 96}, {34, 26, 22}, {140, 70, 40}};

struct TOutfit {
    TRgb jacket, accent, trousers, helmet, face, goggles, gloves, boots, skis, board, hair;
};

TOutfit Outfit(int kind, int n) {
    // Each kind walks the palette with its own stride, so the same n differs between kinds.
    const int j = (n * (kind == 1 ? 4 : kind == 2 ? 7 : 1) + kind * 2) % 9;
    TOutfit o;
    o.jacket = kJackets[j];
    o.accent = j == 8 ? kJackets[(n + 1) % 8] : Mix(kJackets[j], {255, 255, 255}, 0.55);
    o.trousers = kind == 1 ? Mix(kTrousers[(n + 3) % 9], kJackets[(j + 4) % 9], 0.35)
                           : kTrousers[(n + kind) % 9];
    o.helmet = kHelmets[(n * 5 + kind) % 9];
    o.face = kSkins[(n + kind) % 3];
    o.goggles = n % 2 ? TRgb{236, 140, 40} : TRgb{60, 120, 200};
    o.gloves = n % 3 ? TRgb{30, 30, 34} : o.jacket;
    o.boots = Mix({34, 36, 40}, o.jacket, 0.25);
    o.skis = Mix(kJackets[(j + 3) % 8], {250, 250, 250}, 0.15);
    o.board = kJackets[(j + 5) % 8];
    o.hair = kHairs[(n + kind * 3) % 4];
    return o;
}

void Swatch(TCanvas& canvas, TSkinPart part, const TRgb& base, const TNoise2D& grain,
            double sheen) {
    const int k = int(part), x0 = (k % 4) * kSkinSwatch, y0 = (k / 4) * kSkinSwatch;
    for (int y = 0; y < kSkinSwatch; ++y)
        for (int x = 0; x < kSkinSwatch; ++x) {
            const double g = grain.Value((x0 + x) * 0.35, (y0 + y) * 0.35) - 0.5;
            const double shade = 1.06 - 0.12 * y / kSkinSwatch + 0.035 * g;
            TRgb c{base.r * shade, base.g * shade, base.b * shade};
            // A glossy band across the upper part (helmets, goggles, boards).
            c = Mix(c, {255, 255, 255}, sheen * std::exp(-std::pow((y - 12.0) / 4, 2)));
            canvas.At(x0 + x, y0 + y) = c;
        }
}

TSKIImage PaintSkin(const TOutfit& o, uint64_t seed) {
    const TNoise2D grain(seed);
    TCanvas canvas(kSkinSize, kSkinSize, {128, 128, 128});
    Swatch(canvas, TSkinPart::Jacket, o.jacket, grain, 0);
    Swatch(canvas, TSkinPart::Accent, o.accent, grain, 0);
    Swatch(canvas, TSkinPart::Trousers, o.trousers, grain, 0);
    Swatch(canvas, TSkinPart::Helmet, o.helmet, grain, 0.35);
    Swatch(canvas, TSkinPart::Face, o.face, grain, 0);
    Swatch(canvas, TSkinPart::Goggles, o.goggles, grain, 0.5);
    Swatch(canvas, TSkinPart::Gloves, o.gloves, grain, 0);
    Swatch(canvas, TSkinPart::Boots, o.boots, grain, 0.1);
    Swatch(canvas, TSkinPart::Skis, o.skis, grain, 0.3);
    Swatch(canvas, TSkinPart::Board, o.board, grain, 0.3);
    Swatch(canvas, TSkinPart::Poles, {190, 196, 204}, grain, 0.4);
    Swatch(canvas, TSkinPart::Hair, o.hair, grain, 0);
    // Unused swatches stay a neutral grey.
    return canvas.ToImage();
}

}  // namespace

bool WriteSkinImages(const std::filesystem::path& dataFolder, std::string* error) {
    const char* const kinds[] = {"Skier", "Board", "SkierF"};
    for (int kind = 0; kind < 3; ++kind)
        for (int n = 0; n < 9; ++n) {
            const std::string file = kinds[kind] + std::string("c") + std::to_string(n) + ".jpg";
            if (!SaveJpeg(dataFolder / file, PaintSkin(Outfit(kind, n), 300 + kind * 10 + n), 92,
                          error))
                return false;
        }
    // The avatar: a racing outfit in the game's signal red with white yokes.
    TOutfit avatar = Outfit(0, 0);
    avatar.jacket = {214, 30, 36};
    avatar.accent = {246, 246, 246};
    avatar.trousers = {24, 26, 32};
    avatar.helmet = {246, 246, 246};
    avatar.skis = {214, 30, 36};
    return SaveJpeg(dataFolder / "avatar.jpg", PaintSkin(avatar, 299), 92, error);
}

}  // namespace vallorn::datagen::figures
