// The four edge arrows: when the cursor or the view target comes near the map's edge, an
// arrow lies on the ground at each edge, level with the target, pointing out of the map, so
// the player sees where the park ends.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "engine/engine.h"
#include "presentation/frame.h"
#include "presentation/gl.h"

namespace vallorn {

// Where the four arrows stand for a view target: on the edges x = 0, x = -world, z = 0 and
// z = world, each at the target's other coordinate, and the way each points (out of the map).
struct TSKIEdgeArrow {
    glm::vec3 Position{0.0f};
    glm::vec3 Outward{0.0f};
};
std::array<TSKIEdgeArrow, 4> EdgeArrows(const TSKIWorld& world, const glm::vec3& target);

// The program every marker of the view is drawn with: a mesh in its vertex colours times the
// instance's colour, each instance placed and turned about the vertical, unlit and opaque.
class TSKIMarkerProgram {
public:
    bool Init(std::string* error);
    void Draw(gl::TMesh& mesh, const std::vector<gl::TInstance>& instances,
              const TSKIFrameView& frame);

private:
    gl::TProgram program_;
};

class TSKIEdgeMarkers {
public:
    void Init();
    void Draw(TSKIMarkerProgram& program, const TSKIWorld& world, const glm::vec3& target,
              const TSKIFrameView& frame);

private:
    gl::TMesh arrow_;
};

}  // namespace vallorn
