#include "presentation/point_shader.h"

namespace vallorn {

// The overlay dots (alpha 0..4: their shape, presentation/dots.h) keep the point size for the shape
// itself and get a sprite larger by an outline of at least 1.5 pixels all round, so that even a
// 6-pixel triangle stands out from the ground as a triangle; the crowd dots and snowflakes
// (alpha 255) are plain discs of the point size.
const char* const kPointVertex = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 3) in vec4 aColor;
uniform mat4 uViewProjection;
uniform float uSize;
out vec4 vColor;
flat out float vOutline;  // pixels of outline around the shape
void main() {
    gl_Position = uViewProjection * vec4(aPos, 1.0);
    vOutline = aColor.a * 255.0 < 4.5 ? max(1.5, uSize * 0.15) : 0.0;
    gl_PointSize = uSize + 2.0 * vOutline;
    vColor = aColor;
}
)";

// Inside the shape its colour; in the outline a dark shade of it, or a light grey around the
// darkest colours, so that the edge always contrasts with the fill.
const char* const kPointFragment = R"(#version 330 core
in vec4 vColor;
flat in float vOutline;
uniform float uSize;
out vec4 fragColor;
// Below 0 inside the shape, about the distance to its edge in point widths.
float Shape(int shape, vec2 d) {
    vec2 a = abs(d);
    if (shape == 1 || shape == 3) {  // a triangle pointing up (1) or down (3)
        float y = shape == 1 ? d.y : -d.y;
        return max(y - 0.4, 0.8838 * a.x - 0.4679 * (y + 0.48));
    }
    if (shape == 2) return (a.x + a.y) * 0.7071 - 0.3536;
    if (shape == 4) return max(a.x, a.y) - 0.4;
    return length(d) - 0.5;
}
void main() {
    int shape = int(vColor.a * 255.0 + 0.5);
    float sprite = uSize + 2.0 * vOutline;
    float outside = Shape(shape, (gl_PointCoord - vec2(0.5)) * sprite / uSize) * uSize;
    if (outside > vOutline) discard;
    float light = dot(vColor.rgb, vec3(0.299, 0.587, 0.114));
    vec3 edge = light < 0.15 ? vec3(0.85) : vColor.rgb * 0.25;
    fragColor = vec4(outside > 0.0 ? edge : vColor.rgb, 1.0);
}
)";

}  // namespace vallorn
