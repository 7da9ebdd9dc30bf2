// Reading a Wavefront OBJ model and its MTL materials: the positions, texture coordinates and
// normals of every triangle, grouped by material in the order the file first uses them. Faces
// of more than three corners are fanned into triangles; a corner without a normal takes its
// face's. Only what the view draws is read (groups, objects and smoothing are ignored).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace vallorn {

struct TObjMaterial {
    std::string Name;
    glm::vec3 Diffuse{0.6f};
    glm::vec3 Ambient{0.0f};
    float Opacity = 1.0f;
    std::string Texture;  // the diffuse map as written in the file, or empty
};

struct TObjCorner {
    glm::vec3 Position{0.0f};
    glm::vec3 Normal{0.0f, 1.0f, 0.0f};
    glm::vec2 TexCoord{0.0f};
};

// The triangles of one material: three corners each.
struct TObjPart {
    size_t Material = 0;
    std::vector<TObjCorner> Corners;
};

struct TObjModel {
    std::vector<TObjMaterial> Materials;  // the file's library; the default material last
    std::vector<TObjPart> Parts;
    bool TexCoords = false;  // the file gives texture coordinates
};

// Reads `file` (and the material libraries it names, beside it). False with a reason when a
// face names a missing vertex or the file holds no triangle; a missing or broken material
// library leaves its materials at their defaults.
bool ReadObjModel(const std::filesystem::path& file, TObjModel& out, std::string& why);

}  // namespace vallorn
