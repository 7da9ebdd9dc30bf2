#include "presentation/terrain_compose_shader.h"

namespace vallorn {

const char* const kTerrainComposeVertex = R"(#version 330 core
void main() {
    vec2 p = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
    gl_Position = vec4(p * 2.0 - 1.0, 0.0, 1.0);
}
)";

// Texel (x, y) of the target sits where pixel (x, y) of every per-cell image is drawn, so the
// layers line up whatever their sizes. The layers in their order: the snow picture, the bare
// ground where the mask says there is no snow, the snow overlay (groomed snow brighter), the
// slope paint (pistes tinted by difficulty) with the snow state of the slope cells striped
// over it, the occupancy (red), the steepness map and the slope being drawn. Difficulty, snow
// state and blocked ground also show as patterns, so that none needs its colours told apart:
// red pistes and steepness carry thin lines across, black ones a grid, blue ones none; groomed
// slope cells have whole stripes, ungroomed ones dashes and bare ones crossed stripes; blocked
// and occupied ground is hatched with dark diagonals the other way. Last, the sun lights it all
// by the relief: the shade of the ground, with a cool blue in the shadows as snow has.
// The overlays with edges (the slope paint, the occupancy, the steepness and the snow mask)
// are read through a smooth (cubic B-spline) filter, so that their cells, four units a side,
// show no steps, and the snow's edge wanders a little with a noise of its own, as drifts do. The
// alpha channel carries how much snow lies there: the terrain shader chooses the grain of its
// detail by it.
const char* const kTerrainComposeFragment = R"(#version 330 core
uniform sampler2D uSnowPicture, uBarePicture, uSnowOverlay, uSnowMask, uSlopePaint;
uniform sampler2D uOccupancy, uSteepness, uPreview, uRelief;
uniform int uLayers;
uniform float uSize;
out vec4 oColour;
// A per-cell image at uv through a cubic B-spline, in four bilinear reads of a mipmap level.
vec4 Smooth(sampler2D t, vec2 uv, int level) {
    vec2 size = max(vec2(textureSize(t, 0)) / exp2(float(level)), vec2(1.0));
    vec2 p = uv * size - 0.5, i = floor(p), f = p - i;
    vec2 f2 = f * f, f3 = f2 * f;
    vec2 w0 = (1.0 - 3.0 * f + 3.0 * f2 - f3) / 6.0, w1 = (4.0 - 6.0 * f2 + 3.0 * f3) / 6.0;
    vec2 w2 = (1.0 + 3.0 * f + 3.0 * f2 - 3.0 * f3) / 6.0, w3 = f3 / 6.0;
    vec2 g0 = w0 + w1, g1 = w2 + w3;
    vec2 h0 = (i - 0.5 + w1 / g0) / size, h1 = (i + 1.5 + w3 / g1) / size;
    float l = float(level);
    return g0.y * (g0.x * textureLod(t, h0, l) + g1.x * textureLod(t, vec2(h1.x, h0.y), l)) +
           g1.y * (g0.x * textureLod(t, vec2(h0.x, h1.y), l) + g1.x * textureLod(t, h1, l));
}
float Hash(vec2 p) {
    return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453);
}
float Noise(vec2 p) {
    vec2 i = floor(p), f = p - i;
    f = f * f * (3.0 - 2.0 * f);
    return mix(mix(Hash(i), Hash(i + vec2(1.0, 0.0)), f.x),
               mix(Hash(i + vec2(0.0, 1.0)), Hash(i + vec2(1.0)), f.x), f.y);
}
// The hatch of a difficulty colour: none for blue (and grey or white), lines for red, a grid
// for black.
float DifficultyHatch(vec3 p, vec2 u) {
    float lines = step(0.75, fract(u.x * 0.5));
    if (p.r > p.b + 0.25) return lines;
    if (p.b <= p.r + 0.25 && max(p.r, max(p.g, p.b)) < 0.35)
        return max(lines, step(0.75, fract(u.y * 0.5)));
    return 0.0;
}
void main() {
    vec2 uv = gl_FragCoord.xy / uSize;
    vec2 u = gl_FragCoord.xy * 128.0 / uSize;  // the patterns' period is one unit
    vec3 c = texture(uSnowPicture, uv).rgb;
    // The snow's edge: the mask at half its resolution (two cells a texel), so that a snow
    // line running across the cells curves instead of stepping, then a drift noise.
    float bare = clamp(Smooth(uSnowMask, uv, 1).r * (255.0 / 180.0), 0.0, 1.0);
    float drift = Noise(u) * 0.65 + Noise(u * 3.0) * 0.35 - 0.5;  // 16 and 5 units
    bare = smoothstep(0.15, 0.85, bare + 0.35 * drift);
    c = mix(c, texture(uBarePicture, uv).rgb, bare);
    vec3 s = texture(uSnowOverlay, uv).rgb;
    float lo = min(s.r, min(s.g, s.b)), hi = max(s.r, max(s.g, s.b));
    c = min(c + vec3(lo * 0.22), vec3(1.0));
    if ((uLayers & 1) != 0) {
        vec3 paint = Smooth(uSlopePaint, uv, 0).rgb;
        c *= mix(vec3(1.0), min(paint * 1.25, vec3(1.0)), 0.55);
        c = mix(c, vec3(1.0), 0.3 * DifficultyHatch(paint, u));
    }
    // The snow state of slope cells (red bare, yellow ungroomed, green groomed) shows as
    // stripes across the piste's colour, so both stay readable.
    float stripe = step(0.65, fract(u.x + u.y));
    if (hi - lo > 0.05) {
        vec3 state = s / hi;
        if (state.g < 0.5) stripe = max(stripe, step(0.65, fract(u.x - u.y)));  // bare
        else if (state.r > 0.5) stripe *= step(0.5, fract((u.x - u.y) * 0.25));  // ungroomed
        c = mix(c, state, 0.35 * stripe * clamp((hi - lo) * 2.0, 0.0, 1.0));
    }
    if ((uLayers & 2) != 0) {
        float occupied = Smooth(uOccupancy, uv, 0).r;
        c = mix(c, vec3(0.85, 0.08, 0.06), occupied * 0.55);
        c = mix(c, vec3(0.2, 0.0, 0.0), occupied * 0.7 * step(0.6, fract(u.x - u.y)));
    }
    if ((uLayers & 8) != 0) {
        vec3 steep = Smooth(uSteepness, uv, 0).rgb;
        c = mix(c, steep, 0.6);
        c = mix(c, vec3(1.0), 0.3 * DifficultyHatch(steep, u));
    }
    if ((uLayers & 16) != 0) {
        vec3 p = texture(uPreview, uv).rgb;
        c = mix(c, p, max(p.r, max(p.g, p.b)) * 0.75);
    }
    float shade = texture(uRelief, uv).r;
    c *= shade * mix(vec3(0.84, 0.9, 1.0), vec3(1.0), shade);
    oColour = vec4(c, 1.0 - bare);
}
)";

}  // namespace vallorn
