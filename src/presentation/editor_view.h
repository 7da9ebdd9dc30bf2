// What the view changes while the level editor is open: a small cube marks the camera's focus
// point (the cell the editor's "Snow peaks", "Flood snow", "Add skiers" and objective places
// act on), and the distant scenery - the map's skirt and the forest mirrored beyond the edge -
// is hidden so that the map's own edge is plain to see.
#pragma once

#include <glm/vec3.hpp>

#include "engine/engine.h"
#include "presentation/frame.h"
#include "presentation/gl.h"
#include "presentation/view_markers.h"

namespace vallorn {

// The skirt and the mirrored forest are drawn only while the editor is closed.
inline bool DistantSceneryShown(const TSKIEngine& engine) {
    return !engine.EditorOpen;
}

constexpr float kFocusMarkerSize = 5.0f;  // edge of the cube, world units

// Where the marker's centre stands for a view target: on the ground under it, raised by half
// the cube so that it sits on the terrain.
glm::vec3 FocusMarkerCentre(const TSKIWorld& world, const glm::vec3& target);

class TSKIFocusMarker {
public:
    void Init();
    void Draw(TSKIMarkerProgram& program, const TSKIWorld& world, const glm::vec3& target,
              const TSKIFrameView& frame);

private:
    gl::TMesh cube_;
};

}  // namespace vallorn
