// The sky behind everything: a gradient over the whole screen, deep blue overhead, paling
// toward the fog colour at the horizon, drawn only where the terrain left the far plane.
#pragma once

#include "presentation/frame.h"
#include "presentation/gl.h"

namespace vallorn {

class TSkyRenderer {
public:
    bool Init(std::string* error);
    void Draw(const TSKIFrameView& frame);

private:
    gl::TProgram program_;
    GLuint vao_ = 0;
};

}  // namespace vallorn
