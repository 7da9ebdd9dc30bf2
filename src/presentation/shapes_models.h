// The scene's low-poly models, made in code from the shape builder. Model space: y up, the
// front along +z, metres of the park's units. Vertices whose alpha is 0 are "paint": they take
// the instance's colour (jackets, car bodies); all others keep their own colour.
#pragma once

#include <cstdint>

#include "base/params.h"
#include "presentation/shapes_mesh.h"

namespace vallorn {

// One palette for everything.
namespace palette {
constexpr TShapeColor kPaint{255, 255, 255, 0};
constexpr TShapeColor kSteel{118, 124, 132};
constexpr TShapeColor kDarkSteel{62, 66, 72};
constexpr TShapeColor kWood{139, 94, 60};
constexpr TShapeColor kDarkWood{96, 64, 44};
constexpr TShapeColor kRoof{150, 58, 46};
constexpr TShapeColor kSnow{242, 246, 250};
constexpr TShapeColor kConcrete{176, 174, 168};
constexpr TShapeColor kGlass{120, 170, 210};
constexpr TShapeColor kRed{206, 40, 36};
constexpr TShapeColor kYellow{240, 196, 40};
constexpr TShapeColor kBlue{40, 90, 200};
constexpr TShapeColor kBlack{28, 28, 30};
constexpr TShapeColor kSkin{232, 186, 150};
constexpr TShapeColor kTrunk{92, 64, 40};
constexpr TShapeColor kNeedles{40, 92, 56};
constexpr TShapeColor kAsphalt{70, 72, 76};
}  // namespace palette

// Skier poses and kinds.
enum class TSkierPose : uint8_t { Standing = 0, Skiing = 1, Seated = 2, Lying = 3 };
constexpr int kSkierPoses = 4;
enum class TSkierKind : uint8_t { Skier = 0, Boarder = 1, SkierF = 2 };
constexpr int kSkierKinds = 3;

// Conifer of unit height centred on the origin (y -0.5..0.5), snowy or green.
void MakeConifer(TShapeBuilder& b, bool snowy);
// A flat conifer silhouette in the xy plane (unit height, centred), for far trees.
void MakeTreeCard(TShapeBuilder& b);
// A skier figure about 1.7 units tall, feet at y 0 (seated: the seat at y 0), facing +z.
void MakeSkier(TShapeBuilder& b, TSkierKind kind, TSkierPose pose);
// The same figure for a distance: skis, a jacket block and a head, a third of the vertices.
void MakeDistantSkier(TShapeBuilder& b);

// Lifts of a type: the carrier hangs from its grip at the origin, its seats at the type's
// offsets (a surface lift's carrier has its origin at the riders' hips instead); a station's origin
// is the cable height above its middle; a pole's top is at the origin; the bull-wheel turns about
// y; the gate stands on the ground.
void MakeCarrier(TShapeBuilder& b, const TSKILiftParams& type, uint8_t liftType);
void MakeStation(TShapeBuilder& b, const TSKILiftParams& type, bool upper);
void MakePole(TShapeBuilder& b, const TSKILiftParams& type);
void MakeWheel(TShapeBuilder& b, const TSKILiftParams& type);
void MakeGate(TShapeBuilder& b, bool closed);

// A building of a type standing on the ground at the origin, its door toward +z.
void MakeBuilding(TShapeBuilder& b, uint8_t buildingType, const TSKIBuildingParams& params);
// A decorative chalet, varied by its tag.
void MakeHouse(TShapeBuilder& b, int tag);
// A car (body in paint).
void MakeCar(TShapeBuilder& b);
// Vehicles: snowcat, snowmobile, helicopter body, and its rotor turning about y.
void MakeSnowcat(TShapeBuilder& b);
void MakeSnowmobile(TShapeBuilder& b);
void MakeHelicopter(TShapeBuilder& b);
void MakeRotor(TShapeBuilder& b);
// A slope sign on its post: 0 circle (easy), 1 square (medium), 2 diamond (hard); the panel
// is in paint.
void MakeSign(TShapeBuilder& b, int shape);
// The sign's plate alone, its centre `height` above the origin (over a sign model of a file).
void MakeSignPlate(TShapeBuilder& b, int shape, float height);
// A unit square lying on the ground centred on the origin (shadows); its texture coordinates
// span the whole image.
void MakeGroundPlate(TShapeBuilder& b);
// The far-tree billboard: one triangle round the conifer of the tree images (a crown
// narrowing to its tip over a full-width foot), its sides along the crown's, so that the
// rasteriser never visits the empty corners beside the tip and sets up one triangle a tree;
// texture coordinates as on the whole card, beyond it at the foot's corners and over the tip
// (the card shader leaves those pixels out).
void MakeTreeBillboard(TShapeBuilder& b, TShapeColor color);

}  // namespace vallorn
