// Reading a model file (obj, 3ds, md2) through assimp into the view's vertex layout: parts of
// one material each, with the material's name, colours, texture file and transparency. Pure
// CPU work, so that the model library can upload the result once and tests can read files
// without a display.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "presentation/gl.h"

namespace vallorn {

struct TModelMaterial {
    std::string Name;
    glm::vec4 Diffuse{1.0f};  // rgb and opacity
    glm::vec3 Ambient{0.0f};  // from the diffuse colour when the material has no texture
    std::string Texture;      // file name of the diffuse texture (no folder), or empty
    bool Glass = false;       // the "glass" material: transparent blue with reflections
    bool Paint = false;       // takes the instance's colour (car bodies)
};

// The vertices of one material; the vertex colour is the material's diffuse colour, white
// when it has a texture (alpha 0 for paint, so the shader takes the instance colour there).
struct TModelPart {
    std::vector<gl::TVertex> Vertices;
    std::vector<uint32_t> Indices;
    size_t Material = 0;
};

struct TModelData {
    std::vector<TModelMaterial> Materials;
    std::vector<TModelPart> Parts;
    glm::vec3 Min{0.0f}, Max{0.0f};  // bounds of every vertex
    int Frames = 1;                  // key frames in an MD2 file
    bool Empty() const { return Parts.empty(); }
};

struct TModelImport {
    // Degrees about the vertical axis applied to every vertex (the skier flip-books are
    // turned -90 degrees), then a uniform scale.
    float TurnDegrees = 0.0f;
    float Scale = 1.0f;
    // Every material of the file becomes "glass" (the glass parts in their own file).
    bool AllGlass = false;
    // For MD2 files: the key frame to read (0 = the first).
    int Frame = 0;
};

// Reads `file`. Never aborts on a bad file: false with a one-line reason in `error`.
bool ImportModel(const std::filesystem::path& file, const TModelImport& options, TModelData& out,
                 std::string* error = nullptr);

// The flip-book frame shown at an animation phase counter (0..frames-1 per loop; any value
// wraps) and the blend toward the next key frame of an interpolated animation at a time in
// frames.
int FlipBookFrame(int phase, int frames);
struct TFrameBlend {
    int From = 0, To = 0;
    float T = 0.0f;
};
TFrameBlend InterpolatedFrame(double frameTime, int frames);

}  // namespace vallorn
