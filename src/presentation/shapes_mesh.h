// Building blocks of the scene's low-poly shapes: boxes, prisms, cones, flat-shaded, each
// face with its own normal, placed through a current transform. Pure CPU work: the meshes
// are uploaded once at start.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "presentation/gl.h"

namespace vallorn {

struct TShapeColor {
    uint8_t R = 255, G = 255, B = 255, A = 255;
};

class TShapeBuilder {
public:
    // A flat rectangle facing up, from lo to hi in x and z at height y.
    void Plate(const glm::vec3& lo, const glm::vec3& hi, TShapeColor color);
    // Everything added next goes through this transform (model space of the shape).
    void SetTransform(const glm::mat4& m) { transform_ = m; }
    void ResetTransform() { transform_ = glm::mat4(1.0f); }

    // A flat triangle or quad; the normal follows the winding (counter-clockwise front).
    void Triangle(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, TShapeColor color);
    void Quad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& d,
              TShapeColor color);
    // An axis-aligned box from its minimum to its maximum corner.
    void Box(const glm::vec3& lo, const glm::vec3& hi, TShapeColor color);
    // A prism of `sides` faces around the vertical axis through `base`, from radius r0 at
    // the bottom to r1 at the top (a cone when r1 is 0), with caps unless `caps` is false
    // (parts never seen from their ends).
    void Prism(const glm::vec3& base, float r0, float r1, float height, int sides,
               TShapeColor color, bool caps = true);
    // A cone with smooth sides and no base (tree tiers): few vertices, shared.
    void Cone(const glm::vec3& base, float radius, float height, int sides, TShapeColor color);
    // A beam of square section `thickness` from a to b.
    void Beam(const glm::vec3& a, const glm::vec3& b, float thickness, TShapeColor color);
    // A gabled roof over the box lo..hi (ridge along z), rising `height` above hi.y.
    void GableRoof(const glm::vec3& lo, const glm::vec3& hi, float height, float overhang,
                   TShapeColor color);

    // Texture coordinates of the last quad: its corners a, b, c, d get the image's bottom left,
    // bottom right, top right and top left.
    void TextureLastQuad();
    // Texture coordinates of the vertices from `first` on, by their position in the xy plane:
    // the unit square centred on the origin spans the image (y up, the image's top at 0.5).
    void TextureFromXY(size_t first);

    const std::vector<gl::TVertex>& Vertices() const { return vertices_; }
    const std::vector<uint32_t>& Indices() const { return indices_; }
    void Clear();

private:
    void Emit(const glm::vec3& p, const glm::vec3& n, TShapeColor color);

    glm::mat4 transform_{1.0f};
    std::vector<gl::TVertex> vertices_;
    std::vector<uint32_t> indices_;
};

}  // namespace vallorn
