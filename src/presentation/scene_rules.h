// The scene's small rules, free of OpenGL: the back-to-front visiting order of far trees,
// the point sizes of the skier dots, and how a skier is shown (figure kind, pose, colour).
#pragma once

#include <cstdint>

#include <glm/vec3.hpp>

#include "presentation/shapes_models.h"

namespace vallorn {

// Visits rows i and columns j of a square range from the farthest to the nearest as seen
// along a horizontal view direction. Row i lies at x = -4i, column j at z = 4j.
struct TBackToFront {
    int IFirst = 0, IStep = 1, JFirst = 0, JStep = 1;
    int Count = 0;  // rows and columns in the range
    int I(int k) const { return IFirst + IStep * k; }
    int J(int k) const { return JFirst + JStep * k; }
};
TBackToFront BackToFront(float directionX, float directionZ, int first, int last);

// A near tree's animation frame (its cell's variant, 0..29) as the width of its crown.
constexpr int kTreeFrames = 30;
float TreeSway(uint8_t frame);

// Whether the eye stands in a tree (a crown of `scale` centred on `centre`) or so close to it
// that the tree would fill the view: such a tree is left undrawn.
bool EyeInTree(const glm::vec3& eye, const glm::vec3& centre, const glm::vec3& scale);

// Whether a tree (a crown of `scale` centred on `centre`) stands between the chase camera's
// `eye` and the avatar it looks at (`target`): its crown, taken as an upright cylinder as wide
// as the crown, is crossed by the sight line between them. Such a tree is left undrawn while
// the avatar rides, so that a forest never hides the rider.
bool TreeHidesTarget(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& centre,
                     const glm::vec3& scale);

// The clearing round a lift station's point (horizontal radius, metres) where no tree is drawn:
// the station's platform, hall or hut and its foundation reach about this far for a lift whose
// lines run `lineDistance` either side of its axis. A tree standing there would grow through
// the station.
float StationClearing(float lineDistance);

// Whether a tree (a crown of `scale` centred on `centre`) stands in the clearing of radius
// `clearing` round `station`: its trunk, or the thick of its crown, within it.
bool TreeInStationClearing(const glm::vec3& station, float clearing, const glm::vec3& centre,
                           const glm::vec3& scale);

// Whether the forest is repeated in the eight tiles around the map: at high detail, with the
// trees and the skirt ("Long visibility") shown, and never on an add-on map.
bool MirroredForestShown(int detail, bool addonMap, uint8_t displayFlags);

// Where a tree at `position` stands in the tile (ti, tj) around the map (each -1..1, the map
// is (0, 0); ti -1 lies on the +X side): reflected about the edge or edges crossed to reach
// the tile (x = -0.5 or -2048.5, z = -0.5 or 2047.5), as the land there is; same height.
glm::vec3 MirroredTreePosition(const glm::vec3& position, int ti, int tj);

// Point sizes in pixels for a viewer width: grey crowd dots and the overlay's coloured dots.
struct TDotSizes {
    float Crowd = 2, Overlay = 5;
};
TDotSizes DotSizes(int viewerWidth);

// The figure a skier is drawn with.
struct TSkierLook {
    TSkierKind Kind = TSkierKind::Skier;
    TSkierPose Pose = TSkierPose::Standing;
    TShapeColor Jacket;
};
TSkierLook SkierLook(uint8_t state, uint8_t animation, uint8_t modelVariant);

// The flip-book pose of a figure: 0 "Stand", 1 "Sit", 2 "Ski", 3 "Walk" (standing figures on
// the move), 4 "Injured".
int FigurePose(TSkierPose pose, float speed);

}  // namespace vallorn
