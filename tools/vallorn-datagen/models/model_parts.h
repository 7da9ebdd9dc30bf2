// The shared look of the generated models: one palette, one scale (world units; a skier is
// about 1.7 tall), and the parts several families use (roofs, windows, doors, plinths), plus
// the low-detail conversion onto the "LTEX" atlas.
//
// Frames (what the renderer expects): y up, the model's +z is the entity's direction (the
// renderer turns a model by atan2(dx, dz) about y), origin at the entity's position.
//  - Lift stations and poles: origin on the cable line's centre at cable height; the ground is
//    at y = -LiftStationHeight (stations) or -LiftPoleHeight (poles); the two lines run along z
//    at x = +-LiftLineDist. A lower station's +z points up the line, an upper one's too (both
//    are turned toward the upper end), so the upper station's bullwheel housing is on +z.
//  - Carriers: origin at the grip on the cable, +z the direction of travel. A rider's seat
//    offset (x, y, z) of Params.ini lies at (-x, y, z): the game's x runs to the rider's right,
//    which is the model's -x when looking along +z. Platter and T-bar hangers are drawn at their
//    riders' hips with the rope coming down to (0, 0.9, 0): their seats lie at (-x, 0, z).
//  - Buildings and houses: origin on the ground at the building's position; a seat or the door
//    (x, y, z) of Params.ini lies at (x, y, z). Seats are marked by parts "Seat<k>", the door by
//    "Door" (tiny triangles).
//  - wheel.obj has radius 1 in the x/z plane: the renderer scales it by LiftLineDist.
// Materials: one palette; "glass" marks panes, a material whose name starts with "paint" takes
// the instance's colour (only the slope sign's face uses it).
#pragma once

#include <filesystem>
#include <string>

#include "meshkit.h"

namespace vallorn::datagen::models {

using mesh::TColor;
using mesh::TMaterial;
using mesh::TMesh;
using mesh::TVec2;
using mesh::TVec3;

// The palette.
namespace pal {
extern const TMaterial kWood, kDarkWood, kRoof, kSlate, kSnow, kConcrete, kSteel, kDarkSteel, kRed,
    kBlue, kYellow, kOrange, kWhite, kCream, kGreen, kBlack, kAsphalt, kRubber, kGlassDark, kGlass,
    kSkin, kLine;
}

// The low-detail atlas quadrant a material maps to.
enum class TAtlas { Logs, Shingles, WindowWall, Stones };

// A block with a gable roof: walls from (x0, 0, z0) to (x1, h, z1), the ridge along x rising
// `roofHeight` above the walls, eaves overhanging by `overhang`; snow on the roof.
void Cabin(TMesh& m, float x0, float z0, float x1, float z1, float h, float roofHeight,
           float overhang, const TMaterial& wall, const TMaterial& roof);
// A gable roof alone over the rectangle at height y (ridge along x), with a snow layer.
void GableRoof(TMesh& m, float x0, float z0, float x1, float z1, float y, float height,
               float overhang, const TMaterial& roof);
// A stone base reaching into the ground so a building on a slope does not float.
void Plinth(TMesh& m, float x0, float z0, float x1, float z1);
// A door in the wall plane z = z0 facing +z (or -z when `back`).
void DoorPanel(TMesh& m, float x, float z0, float w, float h);
// `count` windows along x on the wall plane z = z0 facing +z: dark frames on `m`, panes on
// `glass` a hair in front of the wall. Turned by the current transforms of both meshes, then
// both by `turn` about y, so that frames and panes stay together on any wall.
void WindowRow(TMesh& m, TMesh& glass, float x0, float x1, float y0, float y1, float z0, int count,
               float turn = 0);
// A pane of glass (material "glass") and its dark frame on the plane through a-b-c-d; when
// `glass` is `m` itself the pane is an opaque lit window.
void Pane(TMesh& m, TMesh& glass, TVec3 a, TVec3 b, TVec3 c, TVec3 d);

// The low-detail copy of `m` with the single material "LTEX" (texture LTEX.jpg), each part
// mapped onto the atlas quadrant of its material, planar along its main axis.
TMesh LowDetail(const TMesh& m);

// Writes `m` to dataFolder/name, counting files and triangles in the report.
bool Save(const TMesh& m, const std::filesystem::path& dataFolder, const std::string& name,
          std::string* error);

}  // namespace vallorn::datagen::models
