// The tree pictures: the far-forest billboards (treeMask, and treeMaskL for the mirrored forest
// beyond the edge), the ground shadow and the needle sprays of the tree models' leaf cards.
// Light comes from the upper left, as on every generated picture and model.
#include <cmath>

#include "base/random.h"
#include "figure_images.h"
#include "noise.h"

namespace vallorn::datagen::figures {
namespace {

using namespace paint;

constexpr TRgb kNeedleDark{28, 62, 40}, kNeedleLit{56, 102, 58}, kTrunk{78, 56, 40};
constexpr TRgb kSnowLit{244, 248, 252}, kSnowShade{196, 212, 232};

// A half plane: inside where x > x0.
TSdf RightOf(double x0) {
    return [=](double x, double) { return x0 - x; };
}

// One tier of a conifer: its upper edges fall from the apex at `cx`, ragged with noise; its
// lower edge sags toward the middle, toothed by the branch tips.
TSdf Tier(double cx, double top, double bottom, double halfWidth, const TNoise2D& noise) {
    const double slope = (bottom - top) / halfWidth;
    const double norm = std::sqrt(1 + slope * slope);
    return [=, &noise](double x, double y) {
        const double off = std::abs(x - cx);
        const double rag = 1.6 * noise.Gradient(x * 0.35, y * 0.35 + top);
        const double upper = (top + off * slope - y) / norm + rag;
        const double tooth = std::abs(std::fmod(off + 50, 9.0) - 4.5) - 2.2;  // -2.2..2.3
        const double lower = y - (bottom - 0.22 * (bottom - top) * (1 - off / halfWidth) + tooth);
        return std::max(upper, lower);
    };
}

// A conifer billboard on a transparent background; `snow` 0..1, `shade` darkens the colours.
TRgbaCanvas PaintBillboard(double snow, double shade, uint64_t seed) {
    TSKIRandom random(seed);
    const TNoise2D noise(seed);
    const int w = 128, h = 256;
    TRgbaCanvas picture(w, h, Mix(kNeedleDark, {0, 0, 0}, shade));
    const double cx = w / 2.0;
    picture.Paint(Box(cx, h - 16, 5, 16, 2), Mix(kTrunk, {0, 0, 0}, shade));
    const int tiers = 8;
    for (int k = 0; k < tiers; ++k) {
        const double t = double(k) / (tiers - 1);  // 0 top .. 1 bottom
        const double top = 4 + t * 150, bottom = 40 + t * 186;
        const double halfWidth = 14 + t * 46;
        const double x = cx + random.Between(-1.5, 1.5);
        const TSdf tier = Tier(x, top, bottom, halfWidth, noise);
        const TArea area{0, int(top) - 2, w, int(bottom) + 4};
        picture.Paint(tier, Mix(kNeedleLit, {0, 0, 0}, shade), 1, area);
        paint::Paint(picture.color, Intersect(tier, RightOf(x)), Mix(kNeedleDark, {0, 0, 0}, shade),
                     0.8, area);
        if (snow > 0) {
            // Snow on the upper edges and in a second band on the branches below them.
            const TSdf fringe = Subtract(tier, Shifted(tier, 0, 2 + 4 * snow));
            const TSdf band =
                Intersect(tier, Subtract(Shifted(tier, 0, 9), Shifted(tier, 0, 11 + 2 * snow)));
            for (const TSdf& part : {fringe, band}) {
                paint::Paint(picture.color, part, kSnowLit, snow, area);
                paint::Paint(picture.color, Intersect(part, RightOf(x + 3)), kSnowShade, snow,
                             area);
            }
        }
    }
    return picture;
}

// A needle spray for a leaf card: the twig runs from the bottom middle (the trunk side) to the
// top (the tip), needles on both sides; `snowy` adds snow clumps along the twig.
TRgbaCanvas PaintLeaves(bool snowy, uint64_t seed) {
    TSKIRandom random(seed);
    const int size = 128;
    TRgbaCanvas picture(size, size, kNeedleDark);
    auto twig = [&](TPoint from, TPoint to, double reach, int needles) {
        picture.Paint(Stroke({from, to}, 1.3), kTrunk);
        const double dx = to.x - from.x, dy = to.y - from.y, len = Length(dx, dy);
        const double ux = dx / len, uy = dy / len;
        for (int k = 0; k < needles; ++k) {
            const double t = (k + random.Uniform()) / needles;
            const double px = from.x + dx * t, py = from.y + dy * t;
            const double r = reach * (1.1 - 0.6 * t) * random.Between(0.8, 1.1);
            for (int side : {-1, 1}) {
                // Needles lean toward the tip, 50 to 65 degrees off the twig.
                const double a = side * random.Between(0.9, 1.15);
                const double nx = ux * std::cos(a) - uy * std::sin(a);
                const double ny = ux * std::sin(a) + uy * std::cos(a);
                const TPoint tip{px + nx * r, py + ny * r};
                const TRgb c = Mix(kNeedleDark, kNeedleLit, side < 0 ? 0.8 : 0.3);
                const TArea area{int(std::min(px, tip.x)) - 2, int(std::min(py, tip.y)) - 2,
                                 int(std::max(px, tip.x)) + 3, int(std::max(py, tip.y)) + 3};
                picture.Paint(Stroke({{px, py}, tip}, 0.75), c, 1, area);
            }
        }
    };
    twig({64, 126}, {64, 4}, 18, 34);
    for (int k = 0; k < 3; ++k) {
        const double y = 96 - 26 * k;
        for (int side : {-1, 1})
            twig({64, y}, {64.0 + side * (50 - 10 * k), y - 34 + 6 * k}, 10, 12);
    }
    if (snowy) {
        // Snow lies along the upper side of the side twigs and in clumps on the main twig.
        for (int k = 0; k < 3; ++k) {
            const double y = 96 - 26 * k;
            for (int side : {-1, 1}) {
                const double ex = 64.0 + side * (50 - 10 * k), ey = y - 34 + 6 * k;
                const TPoint a{Lerp(64, ex, 0.2), Lerp(y, ey, 0.2) - 3};
                const TPoint b{Lerp(64, ex, 0.85), Lerp(y, ey, 0.85) - 3};
                picture.Paint(Stroke({a, b}, 3.2 - 0.5 * k), kSnowShade);
                paint::Paint(picture.color, Shifted(Stroke({a, b}, 2.2 - 0.4 * k), 0, -1),
                             kSnowLit);
            }
        }
        for (int k = 0; k < 5; ++k) {
            const double y = 20 + 22 * k + random.Between(-3, 3);
            picture.Paint(Box(64, y, 5, 3.2, 3), kSnowShade);
            paint::Paint(picture.color, Box(63.5, y - 0.8, 3.8, 2.2, 2.2), kSnowLit);
        }
    }
    return picture;
}

// The shadow under an object: a soft round blob, strongest in the middle, in luminance and
// alpha alike.
TRgbaCanvas PaintShadow() {
    const int size = 64;
    TRgbaCanvas picture(size, size, {0, 0, 0});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double r = Length(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) / (size / 2.0);
            const double v = 255 * std::exp(-3.2 * r * r) * SmoothStep(1.0, 0.85, r);
            picture.color.At(x, y) = {v, v, v};
            picture.alpha.At(x, y) = {v, v, v};
        }
    return picture;
}

}  // namespace

bool WriteTreeImages(const std::filesystem::path& dataFolder, std::string* error) {
    return WriteTga(dataFolder / "treeMask.tga", PaintBillboard(0.7, 0.0, 101), error) &&
           WriteTga(dataFolder / "treeMaskL.tga", PaintBillboard(0.45, 0.35, 102), error) &&
           WriteTga(dataFolder / "shadow.tga", PaintShadow(), error) &&
           WriteTga(dataFolder / "treeLeafWhite.tga", PaintLeaves(true, 103), error) &&
           WriteTga(dataFolder / "treeLeafGreen.tga", PaintLeaves(false, 103), error);
}

}  // namespace vallorn::datagen::figures
