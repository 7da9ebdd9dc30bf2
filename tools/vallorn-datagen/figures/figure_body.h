// The skier figure: a low-poly body of tapered limbs on a simple skeleton, posed by joint angles
// and dressed through the skin atlas (skin_layout.h). The flip-books of the skiers and the
// avatar's animations are frames of such poses.
//
// A figure is built facing +z with its left side toward +x and its feet (or, seated, its seat)
// at y 0; one unit is one world unit, a standing figure about 1.7 units tall. Each body part is
// a part of the mesh named after its skin swatch ("Jacket", "Trousers", ...), all under the one
// skin material.
#pragma once

#include <string>

#include "meshkit.h"

namespace vallorn::datagen::figures {

enum class TFigureKind { Skier = 0, Board = 1, SkierF = 2 };
constexpr const char* kFigureKindNames[] = {"Skier", "Board", "SkierF"};

enum class TCarry { None, Skis, Board };

struct TLegPose {
    float hipPitch = 0;  // the thigh swings forward
    float hipRoll = 0;   // the thigh swings outward
    float knee = 0;      // the shin bends back
    float footYaw = 0;   // the toe turns inward (snowplough)
};

struct TArmPose {
    float pitch = 0;     // the arm swings forward (pi: straight up)
    float roll = 0.1f;   // the arm swings outward
    float elbow = 0.3f;  // the forearm bends forward
};

struct TPose {
    float bodyYaw = 0;   // the whole figure above the feet's gear (a boarder stands sideways)
    float bodyRoll = 0;  // leaning into a turn, about the travel axis at the feet
    float shift = 0;     // sideways shift of the body over its feet
    float torsoPitch = 0, torsoYaw = 0, torsoRoll = 0;
    float headPitch = 0, headYaw = 0;
    TLegPose legs[2];  // left (+x), right
    TArmPose arms[2];
    bool grounded = true;      // the pelvis height follows from the legs so the soles touch y 0
    float seatHeight = 0.08f;  // the pelvis height when not grounded
    bool skis = true;          // skis on the feet (or, for a boarder, the board)
    bool poles = true;
    float poleOut = 0.1f, poleBack = 0.3f;  // where the pole tips point from the hands
    TCarry carry = TCarry::None;
    bool lying = false;       // on the back in the snow
    bool gearBeside = false;  // skis (or the board) lie in the snow beside the figure
    int boardFoot = -1;       // a boarder with the board on one foot only: 0 left, 1 right
};

// Adds the figure in `pose` to `mesh` (under its current transform), with the material
// `material` (the skin). A boarder's board runs along z under its feet.
void BuildFigure(mesh::TMesh& mesh, TFigureKind kind, const TPose& pose, int material);

// Puts every part of the figure meshes into its skin swatch: texture coordinates of a part
// named after a swatch are squeezed into that swatch (v measured from the bottom of the
// picture, as the model formats store it).
void MapSkinUvs(mesh::TMesh& mesh);

// Turns every triangle so that it winds counter-clockwise seen from the side its vertex
// normals point to (from the other side when `inward`). The kit's cylinders and spheres wind
// some faces the other way round, and the model readers take the facing of a triangle from
// its winding.
void WindAlongNormals(mesh::TMesh& mesh, bool inward = false);

// The same mesh with all its parts under one name: one node in the written file. (The 3DS
// writer orders the nodes of a file by where they lie in memory, which changes from run to run;
// a single node keeps the bytes the same.)
mesh::TMesh OnePart(const mesh::TMesh& mesh, const std::string& name);

}  // namespace vallorn::datagen::figures
