// The highlight palette's beams in the 3D view: open vertical cylinders, unlit and see-through,
// drawn over the finished scene with the depth of the scene but without writing it.
#pragma once

#include <string>
#include <vector>

#include "presentation/frame.h"
#include "presentation/gl.h"
#include "presentation/highlight.h"

namespace vallorn {

class TSKIHighlightBeams {
public:
    bool Init(std::string* error);
    void Draw(const std::vector<TSKIHighlightBeam>& beams, const TSKIFrameView& frame);

private:
    gl::TProgram program_;
    gl::TMesh cylinder_;
};

}  // namespace vallorn
