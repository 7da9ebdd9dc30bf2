// The tree pictures: the far-forest billboards (treeMask, and treeMaskL for the mirrored forest
// beyond the edge), the ground shadow and the needle sprays of the tree models' leaf cards.
// Light comes from the upper left, as on every generated picture and model.
#include <algorithm>
#include <cmath>
#include <vector>

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

// One branch of a branch card (tree_models.cpp), seen from above: its twig runs up the middle
// from the stem (bottom) to the tip (top). The card cuts it to a kite, from the stem out to the
// notches beside it (about kNotch out, kHalf off its middle) and on to its tip; the picture
// spans, in the card's own measure (the branch 1 long), the branch's width at length 1 across
// and its length up. A solid core, darker toward the stem in the shade of the tiers above,
// carries the twigs; needles fringe it out to the kite's upper edges, so that only there
// fragments fall through. `snowy` lays clumps of snow along the twigs.
TRgbaCanvas PaintLeaves(bool snowy, uint64_t seed) {
    constexpr double kHalf = 1.2 * kPi / 5 / 3, kNotch = 0.75;
    TSKIRandom random(seed);
    const int size = 128;
    TRgbaCanvas picture(size, size, kNeedleDark);
    const double across = std::sin(kHalf);
    // The branch's measure (x across, y along) to pixels.
    auto pixel = [&](double x, double y) {
        return TPoint{size * (0.5 + 0.5 * x / across), size * (1 - y)};
    };
    const TRgb shade = Mix(kNeedleDark, {0, 0, 0}, 0.55);
    // The part under the tier above lies in its shade; the outer part is in the light.
    auto light = [](double y) { return SmoothStep(0.45, 0.95, y); };
    const double nx = kNotch * std::sin(kHalf), ny = kNotch * std::cos(kHalf);
    // Half the kite's width at `y` along the branch.
    auto width = [&](double y) { return std::min(y * nx / ny, (1.0 - y) * nx / (1.0 - ny)); };
    const TSdf core = Polygon({pixel(0, -0.05), pixel(nx + 0.03, ny - 0.02), pixel(0, 0.8),
                               pixel(-nx - 0.03, ny - 0.02)});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double cover = std::clamp(0.5 - core(x + 0.5, y + 0.5), 0.0, 1.0);
            if (cover <= 0) continue;
            picture.color.At(x, y) = Mix(shade, kNeedleDark, light(1 - (y + 0.5) / size));
            const double a = 255 * cover;
            picture.alpha.At(x, y) = {a, a, a};
        }
    auto area = [](TPoint p, TPoint q, int margin) {
        return TArea{int(std::min(p.x, q.x)) - margin, int(std::min(p.y, q.y)) - margin,
                     int(std::max(p.x, q.x)) + margin + 1, int(std::max(p.y, q.y)) + margin + 1};
    };
    // The twig up the middle and side twigs reaching forward and out from it.
    struct TTwig {
        double x0, y0, x1, y1;
    };
    std::vector<TTwig> twigs{{0, 0.0, 0, 0.97}};
    for (int k = 0; k < 6; ++k) {
        const double y = 0.18 + 0.12 * k;
        const double reach = 0.8 * width(y + 0.14);
        for (int side : {-1, 1}) twigs.push_back({0, y, side * reach, y + 0.14});
    }
    for (const TTwig& t : twigs) {
        const TPoint p = pixel(t.x0, t.y0), q = pixel(t.x1, t.y1);
        picture.Paint(Stroke({p, q}, t.x1 == 0 ? 1.3 : 0.8), Mix(kTrunk, shade, 0.3), 1,
                      area(p, q, 3));
    }
    // Needles all along the twigs, leaning toward their tips, lit on the left; none beyond
    // the kite, where the card ends.
    for (int k = 0; k < 1800; ++k) {
        const TTwig& t = twigs[size_t(random.Below(int(twigs.size())))];
        const double at = random.Uniform();
        const double x = Lerp(t.x0, t.x1, at), y = Lerp(t.y0, t.y1, at);
        const double dx = t.x1 - t.x0, dy = t.y1 - t.y0, len = Length(dx, dy);
        const int side = random.Uniform() < 0.5 ? -1 : 1;
        const double turn = side * random.Between(0.6, 1.1);
        const double ux = dx / len, uy = dy / len;
        const double reach = random.Between(0.05, 0.085);
        const double tx = x + reach * (ux * std::cos(turn) - uy * std::sin(turn));
        const double ty = y + reach * (ux * std::sin(turn) + uy * std::cos(turn));
        if (ty > 0.99 || std::abs(tx) > width(ty)) continue;
        const TPoint p = pixel(x, y), q = pixel(tx, ty);
        const double l = light(ty);
        const TRgb c = Mix(kNeedleDark, kNeedleLit, (tx < x ? 1.0 : 0.5) * (0.3 + 0.7 * l));
        picture.Paint(Stroke({p, q}, 0.65), Mix(shade, c, 0.4 + 0.6 * l), 1, area(p, q, 2));
    }
    if (snowy) {
        // Snow lies along the outer twigs, in clumps.
        for (int k = 0; k < 45; ++k) {
            const TTwig& t = twigs[size_t(random.Below(int(twigs.size())))];
            const double at = random.Between(0.1, 0.9);
            const double x = Lerp(t.x0, t.x1, at), y = Lerp(t.y0, t.y1, at);
            if (y < 0.35) continue;
            const TPoint p = pixel(x, y);
            const double w = random.Between(3.0, 6.0), h = random.Between(2.2, 3.6);
            const TArea box = area(p, p, int(w) + 3);
            picture.Paint(Box(p.x, p.y, w, h, h * 0.9), kSnowShade, 1, box);
            paint::Paint(picture.color, Box(p.x - 0.8, p.y - 0.8, w - 1.0, h - 0.9, h * 0.8),
                         kSnowLit, 1, box);
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
