// The imprint icons (lghtLift0..6.bmp, lghtBuilds.bmp, lghtHouses.bmp): small symbols, white on
// a slate tile, drawn on the ground where an object stands (a lift's line and carriers from
// above, chalet signs for buildings and houses); and LTEX.jpg, the atlas of
// the low-detail houses and buildings: four 128-pixel quadrants, log wall, snowy roof shingles,
// plastered wall with two windows and stone base. The models store v from the bottom of the
// picture and map quadrant q (in that order) from u = (q % 2) / 2, v = (q / 2) / 2, a wall's top
// toward the quadrant's low v; so the atlas is painted upright and then turned upside down: the
// logs and shingles in the lower half, windows and stones in the upper.
#include <cmath>

#include "base/image_io.h"
#include "base/random.h"
#include "figure_images.h"
#include "noise.h"

namespace vallorn::datagen::figures {
namespace {

using namespace paint;

constexpr int kIcon = 64;
constexpr TRgb kTile{44, 58, 78}, kTileEdge{120, 150, 182}, kInk{246, 248, 250};

// The cable of a lift: a line up the tile with a dot at each station.
TSdf Cable(double x) {
    return Union({Stroke({{x, 10}, {x, 54}}, 1.1), Circle(x, 9, 3.2), Circle(x, 55, 3.2)});
}

TSdf LiftSymbol(int type) {
    std::vector<TSdf> parts{Cable(32)};
    switch (type) {
        case 0:  // platter: discs hanging off the cable
            for (double y : {20.0, 32.0, 44.0}) parts.push_back(Circle(39, y, 3.6));
            break;
        case 1:  // T-bar
            for (double y : {20.0, 32.0, 44.0}) parts.push_back(Box(32, y, 8, 1.6, 0.8));
            break;
        case 2:  // double chair: two seats either side
        case 3:  // quad chair
        case 6:  // six chair with its bubble
            for (double y : {21.0, 37.0}) {
                const double half = type == 2 ? 6.5 : type == 3 ? 10.5 : 14;
                const double seats = type == 2 ? 2 : type == 3 ? 4 : 6;
                for (int s = 0; s < seats; ++s) {
                    const double x = 32 - half + (2 * half) * (s + 0.5) / seats;
                    parts.push_back(Box(x, y, half / seats - 0.7, 2.6, 0.7));
                }
                if (type == 6) parts.push_back(Stroke(Arc(32, y + 1, half, 6, 20, 160, 10), 1.0));
            }
            break;
        case 4:  // cable car: cabins
            for (double y : {20.0, 43.0}) parts.push_back(Box(32, y, 5.5, 5.5, 2));
            break;
        default:  // aerial tram: twin cables, one large cabin
            parts = {Cable(26), Cable(38), Box(32, 32, 11, 8, 2.5)};
            break;
    }
    return Union(parts);
}

TSKIImage PaintIcon(const TSdf& symbol) {
    TCanvas canvas(kIcon, kIcon, {0, 0, 0});
    Paint(canvas, Box(32, 32, 30, 30, 8), kTileEdge);
    Paint(canvas, Box(32, 32, 28, 28, 7), kTile);
    Paint(canvas, symbol, kInk);
    return canvas.ToImage();
}

// A chalet sign centred on (cx, cy), `k` times the size of the buildings' one: a deep roof
// with a chimney, walls with a door and a window.
TSdf Chalet(double cx, double cy, double k) {
    auto p = [=](double x, double y) { return TPoint{cx + (x - 32) * k, cy + (y - 32) * k}; };
    const TSdf roof = Polygon({p(10, 31), p(32, 12), p(54, 31), p(49, 31), p(32, 17.5), p(15, 31)});
    const TPoint c = p(32, 40);
    const TSdf walls =
        Subtract(Box(c.x, c.y, 14 * k, 10 * k, 0.5), Box(c.x, c.y, 11.5 * k, 7.5 * k, 0.3));
    const TPoint door = p(27, 44), window = p(38, 38), chimney = p(43, 17);
    return Union({roof, walls, Box(door.x, door.y, 3 * k, 6 * k, 0.5),
                  Box(window.x, window.y, 3.2 * k, 2.8 * k, 0.4),
                  Box(chimney.x, chimney.y, 2.2 * k, 4 * k, 0.3)});
}

// The resort's buildings: one large chalet; the houses of the valley: two small ones.
TSdf BuildingSymbol() {
    return Chalet(32, 32, 1);
}
TSdf HouseSymbol() {
    return Union({Chalet(20, 38, 0.58), Chalet(44, 30, 0.58)});
}

// ---- LTEX ---------------------------------------------------------------------------------

void Logs(TCanvas& c, int x0, int y0, const TNoise2D& grain) {
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const double row = std::fmod(y, 16.0) / 16;  // one log every 16 pixels
            const double round = std::sin(row * kPi);
            const double g = grain.Fbm(x * 0.08, y * 0.6, 3) * 0.12;
            const double v = 0.55 + 0.4 * round + g;
            c.At(x0 + x, y0 + y) = {132 * v, 88 * v, 54 * v};
        }
}

void Shingles(TCanvas& c, int x0, int y0, const TNoise2D& grain, TSKIRandom& random) {
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const int course = y / 12;
            const double along = std::fmod(x + (course % 2) * 8, 16.0);
            const double edge = std::min(along, 16 - along) < 1 ? 0.7 : 1.0;
            const double lower = std::fmod(y, 12.0) > 10 ? 0.6 : 1.0;
            const double v = (0.8 + 0.15 * grain.Value(x * 0.3, y * 0.3)) * edge * lower;
            c.At(x0 + x, y0 + y) = {112 * v, 52 * v, 42 * v};
        }
    // Snow lying on the courses, thicker toward the top.
    for (int k = 0; k < 40; ++k) {
        const double x = random.Between(0, 128), y = random.Between(0, 128);
        Paint(c,
              Box(x0 + x, y0 + y, random.Between(6, 18), random.Between(2, 4) * (1.4 - y / 128), 2),
              {236, 242, 248}, 0.9, {x0, y0, x0 + 128, y0 + 128});
    }
}

void WindowWall(TCanvas& c, int x0, int y0, const TNoise2D& grain) {
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const double v = 0.92 + 0.08 * grain.Fbm(x * 0.1, y * 0.1, 3);
            c.At(x0 + x, y0 + y) = {226 * v, 214 * v, 190 * v};
        }
    const TArea area{x0, y0, x0 + 128, y0 + 128};
    for (double cx : {34.0, 94.0}) {
        Paint(c, Box(x0 + cx, y0 + 60, 20, 28, 1), {92, 60, 38}, 1, area);       // frame
        Paint(c, Box(x0 + cx, y0 + 60, 16, 24, 0.5), {250, 214, 132}, 1, area);  // lit glass
        Paint(c, Box(x0 + cx, y0 + 60, 16, 1.5), {92, 60, 38}, 1, area);
        Paint(c, Box(x0 + cx, y0 + 60, 1.5, 24), {92, 60, 38}, 1, area);
        Paint(c, Box(x0 + cx - 25, y0 + 60, 5, 28, 1), {40, 92, 60}, 1, area);  // shutters
        Paint(c, Box(x0 + cx + 25, y0 + 60, 5, 28, 1), {40, 92, 60}, 1, area);
        Paint(c, Box(x0 + cx, y0 + 92, 22, 3, 1), {236, 242, 248}, 1, area);  // snow on sill
    }
}

void Stones(TCanvas& c, int x0, int y0, const TNoise2D& grain) {
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            // Cells of a jittered grid make the stones; the mortar between them is light.
            const double n = grain.Value(x * 0.12, y * 0.18);
            const double joint = std::min({std::fmod(y, 21.0), 21 - std::fmod(y, 21.0),
                                           std::fmod(x + (y / 21 % 2) * 13 + n * 6, 26.0)});
            const double v = joint < 1.5 ? 1.25 : 0.6 + 0.35 * n;
            c.At(x0 + x, y0 + y) = {128 * v, 126 * v, 122 * v};
        }
}

TSKIImage PaintBuildingAtlas() {
    const TNoise2D grain(41);
    TSKIRandom random(42);
    TCanvas canvas(256, 256, {0, 0, 0});
    Logs(canvas, 0, 0, grain);
    Shingles(canvas, 128, 0, grain, random);
    WindowWall(canvas, 0, 128, grain);
    Stones(canvas, 128, 128, grain);
    const TSKIImage upright = canvas.ToImage();
    TSKIImage image(upright.Width(), upright.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.Set(x, y, upright.Get(x, image.Height() - 1 - y));
    return image;
}

}  // namespace

bool WriteIconImages(const std::filesystem::path& dataFolder, std::string* error) {
    for (int t = 0; t < 7; ++t)
        if (!WriteBmp(dataFolder / ("lghtLift" + std::to_string(t) + ".bmp"),
                      PaintIcon(LiftSymbol(t)), error))
            return false;
    return WriteBmp(dataFolder / "lghtBuilds.bmp", PaintIcon(BuildingSymbol()), error) &&
           WriteBmp(dataFolder / "lghtHouses.bmp", PaintIcon(HouseSymbol()), error) &&
           SaveJpeg(dataFolder / "LTEX.jpg", PaintBuildingAtlas(), 90, error);
}

}  // namespace vallorn::datagen::figures
