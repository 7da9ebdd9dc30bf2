#include "models/model_parts.h"

#include <algorithm>
#include <cmath>

namespace vallorn::datagen::models {

namespace pal {
namespace {
TMaterial Solid(const char* name, int r, int g, int b) {
    return {name, {float(r) / 255, float(g) / 255, float(b) / 255}, "", 1};
}
}  // namespace
const TMaterial kWood = Solid("wood", 150, 102, 62);
const TMaterial kDarkWood = Solid("darkwood", 92, 60, 38);
const TMaterial kRoof = Solid("roof", 140, 56, 44);
const TMaterial kSlate = Solid("slate", 72, 76, 86);
const TMaterial kSnow = Solid("snow", 238, 242, 248);
const TMaterial kConcrete = Solid("concrete", 150, 148, 142);
const TMaterial kSteel = Solid("steel", 168, 174, 182);
const TMaterial kDarkSteel = Solid("darksteel", 58, 62, 70);
const TMaterial kRed = Solid("red", 200, 36, 32);
const TMaterial kBlue = Solid("blue", 36, 86, 180);
const TMaterial kYellow = Solid("yellow", 236, 190, 40);
const TMaterial kOrange = Solid("orange", 232, 120, 30);
const TMaterial kWhite = Solid("white", 232, 232, 226);
const TMaterial kCream = Solid("cream", 226, 210, 170);
const TMaterial kGreen = Solid("green", 40, 110, 70);
const TMaterial kBlack = Solid("black", 26, 26, 30);
const TMaterial kAsphalt = Solid("asphalt", 64, 66, 70);
const TMaterial kRubber = Solid("rubber", 34, 34, 36);
const TMaterial kGlassDark = Solid("frame", 40, 44, 52);
const TMaterial kGlass = {"glass", {0.039f, 0.039f, 0.977f}, "", 0.5f};
const TMaterial kSkin = Solid("skin", 230, 180, 140);
const TMaterial kLine = Solid("line", 236, 236, 230);
}  // namespace pal

void GableRoof(TMesh& m, float x0, float z0, float x1, float z1, float y, float height,
               float overhang, const TMaterial& roof) {
    const float a = x0 - overhang, b = x1 + overhang, f = z0 - overhang, k = z1 + overhang;
    const float zm = (z0 + z1) / 2, top = y + height;
    const float drop = height * overhang / std::max(0.01f, (z1 - z0) / 2);
    m.Material(roof);
    // Roof slabs with a little thickness: the two slopes and their undersides.
    m.Quad({a, y - drop, k}, {b, y - drop, k}, {b, top, zm}, {a, top, zm});
    m.Quad({b, y - drop, f}, {a, y - drop, f}, {a, top, zm}, {b, top, zm});
    m.Quad({a, y - drop - 0.12f, k}, {a, top - 0.12f, zm}, {b, top - 0.12f, zm},
           {b, y - drop - 0.12f, k});
    m.Quad({b, y - drop - 0.12f, f}, {b, top - 0.12f, zm}, {a, top - 0.12f, zm},
           {a, y - drop - 0.12f, f});
    // Gable ends under the roof.
    m.Triangle({x1, y, z1}, {x1, y, z0}, {x1, top - 0.12f, zm});
    m.Triangle({x0, y, z0}, {x0, y, z1}, {x0, top - 0.12f, zm});
    // Snow on both slopes, short of the eaves.
    m.Material(pal::kSnow);
    const float s = 0.08f;
    const float ys = y - drop * 0.3f, zs = 0.3f;
    m.Quad({a + 0.1f, ys + s, k - overhang * zs}, {b - 0.1f, ys + s, k - overhang * zs},
           {b - 0.1f, top + s, zm}, {a + 0.1f, top + s, zm});
    m.Quad({b - 0.1f, ys + s, f + overhang * zs}, {a + 0.1f, ys + s, f + overhang * zs},
           {a + 0.1f, top + s, zm}, {b - 0.1f, top + s, zm});
}

void Cabin(TMesh& m, float x0, float z0, float x1, float z1, float h, float roofHeight,
           float overhang, const TMaterial& wall, const TMaterial& roof) {
    m.Material(wall);
    m.Box({(x0 + x1) / 2, h / 2, (z0 + z1) / 2}, {x1 - x0, h, z1 - z0});
    GableRoof(m, x0, z0, x1, z1, h, roofHeight, overhang, roof);
}

void Plinth(TMesh& m, float x0, float z0, float x1, float z1) {
    m.Material(pal::kConcrete);
    m.Box({(x0 + x1) / 2, -1.45f, (z0 + z1) / 2}, {x1 - x0 + 0.2f, 3.0f, z1 - z0 + 0.2f});
}

void DoorPanel(TMesh& m, float x, float z0, float w, float h) {
    m.Material(pal::kDarkWood);
    m.Box({x, h / 2, z0 + 0.03f}, {w, h, 0.08f});
    m.Material(pal::kYellow);
    m.Box({x + w * 0.35f, h * 0.5f, z0 + 0.09f}, {0.08f, 0.08f, 0.06f});
}

void Pane(TMesh& m, TMesh& glass, TVec3 a, TVec3 b, TVec3 c, TVec3 d) {
    // Where the glass goes into the model itself (houses), the panes are lit windows.
    glass.Material(&glass == &m ? TMaterial{"window", {0.98f, 0.84f, 0.52f}, "", 1} : pal::kGlass);
    glass.Quad(a, b, c, d);
    // The frame: thin bars along the four edges, slightly proud of the pane.
    const TVec3 n = mesh::Normalized(mesh::Cross(b - a, c - a));
    m.Material(pal::kGlassDark);
    const TVec3 corners[4] = {a, b, c, d};
    for (int k = 0; k < 4; ++k) {
        const TVec3 p = corners[k], q = corners[(k + 1) % 4];
        m.Cylinder(p + n * 0.02f, q + n * 0.02f, 0.04f, 0.04f, 4, false);
    }
}

void WindowRow(TMesh& m, TMesh& glass, float x0, float x1, float y0, float y1, float z0, int count,
               float turn) {
    m.Push();
    m.RotateY(turn);
    if (&glass != &m) {
        glass.Push();
        glass.RotateY(turn);
    }
    const float step = (x1 - x0) / float(count);
    for (int k = 0; k < count; ++k) {
        const float a = x0 + step * (float(k) + 0.15f), c = x0 + step * (float(k) + 0.85f);
        Pane(m, glass, {a, y0, z0 + 0.02f}, {c, y0, z0 + 0.02f}, {c, y1, z0 + 0.02f},
             {a, y1, z0 + 0.02f});
        m.Material(pal::kSnow);  // a little snow on each sill
        m.Box({(a + c) / 2, y0 - 0.03f, z0 + 0.1f}, {c - a + 0.1f, 0.07f, 0.18f});
    }
    if (&glass != &m) glass.Pop();
    m.Pop();
}

namespace {

TAtlas AtlasOf(const std::string& material) {
    if (material == "roof" || material == "slate" || material == "red" || material == "snow")
        return TAtlas::Shingles;
    if (material == "wood" || material == "darkwood" || material == "orange") return TAtlas::Logs;
    if (material == "cream" || material == "white" || material == "frame" || material == "glass")
        return TAtlas::WindowWall;
    return TAtlas::Stones;
}

}  // namespace

TMesh LowDetail(const TMesh& m) {
    TMesh low;
    low.Material({"LTEX", {1, 1, 1}, "LTEX.jpg", 1});
    for (const mesh::TPart& p : m.Parts()) {
        if (p.name.rfind("Seat", 0) == 0 || p.name == "Door") continue;
        // Window frames and panes are on the atlas's wall already.
        const std::string& material = m.Materials()[size_t(p.material)].name;
        if (material == "frame" || material == "window" || material == "glass") continue;
        const TAtlas atlas = AtlasOf(m.Materials()[size_t(p.material)].name);
        // The quadrants of the 2 x 2 atlas as LTEX.jpg holds them (v = 0 its top row): the
        // rendered wall with windows top left, stones top right, logs bottom left, shingles
        // bottom right; with a margin so filtering stays inside.
        const bool right = atlas == TAtlas::Stones || atlas == TAtlas::Shingles;
        const bool bottom = atlas == TAtlas::Logs || atlas == TAtlas::Shingles;
        const float u0 = (right ? 0.5f : 0.0f) + 0.02f, v0 = (bottom ? 0.5f : 0.0f) + 0.02f;
        const float span = 0.46f;
        TVec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
        for (const mesh::TVertex& v : p.vertices) {
            lo = {std::min(lo.x, v.position.x), std::min(lo.y, v.position.y),
                  std::min(lo.z, v.position.z)};
            hi = {std::max(hi.x, v.position.x), std::max(hi.y, v.position.y),
                  std::max(hi.z, v.position.z)};
        }
        const TVec3 size{std::max(hi.x - lo.x, 0.01f), std::max(hi.y - lo.y, 0.01f),
                         std::max(hi.z - lo.z, 0.01f)};
        low.Part(p.name);
        for (const auto& f : p.faces) {
            TVec3 pos[3];
            TVec2 uv[3];
            for (int k = 0; k < 3; ++k) pos[k] = p.vertices[f[size_t(k)]].position;
            const TVec3 n = mesh::Cross(pos[1] - pos[0], pos[2] - pos[0]);
            for (int k = 0; k < 3; ++k) {
                const TVec3 r{(pos[k].x - lo.x) / size.x, (pos[k].y - lo.y) / size.y,
                              (pos[k].z - lo.z) / size.z};
                TVec2 t = std::fabs(n.y) > std::max(std::fabs(n.x), std::fabs(n.z))
                              ? TVec2{r.x, r.z}
                              : (std::fabs(n.x) > std::fabs(n.z) ? TVec2{r.z, 1 - r.y}
                                                                 : TVec2{r.x, 1 - r.y});
                uv[k] = {u0 + span * t.x, v0 + span * t.y};
            }
            low.TexturedTriangle(pos, uv);
        }
    }
    return low;
}

bool Save(const TMesh& m, const std::filesystem::path& dataFolder, const std::string& name,
          std::string* error) {
    return m.Write(dataFolder / name, error);
}

}  // namespace vallorn::datagen::models
