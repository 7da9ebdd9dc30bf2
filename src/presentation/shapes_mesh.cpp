#include "presentation/shapes_mesh.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/mat3x3.hpp>

namespace vallorn {

void TShapeBuilder::Clear() {
    vertices_.clear();
    indices_.clear();
}

void TShapeBuilder::Emit(const glm::vec3& p, const glm::vec3& n, TShapeColor color) {
    gl::TVertex v;
    v.X = p.x;
    v.Y = p.y;
    v.Z = p.z;
    v.NX = n.x;
    v.NY = n.y;
    v.NZ = n.z;
    v.R = color.R;
    v.G = color.G;
    v.B = color.B;
    v.A = color.A;
    vertices_.push_back(v);
}

void TShapeBuilder::TextureLastQuad() {
    if (vertices_.size() < 4) return;
    static constexpr float kUV[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (size_t k = 0; k < 4; ++k) {
        gl::TVertex& v = vertices_[vertices_.size() - 4 + k];
        v.U = kUV[k][0];
        v.V = kUV[k][1];
    }
}

void TShapeBuilder::TextureFromXY(size_t first) {
    for (size_t k = first; k < vertices_.size(); ++k) {
        gl::TVertex& v = vertices_[k];
        v.U = v.X + 0.5f;
        v.V = 0.5f - v.Y;
    }
}

void TShapeBuilder::Triangle(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                             TShapeColor color) {
    const glm::vec3 wa = glm::vec3(transform_ * glm::vec4(a, 1.0f));
    const glm::vec3 wb = glm::vec3(transform_ * glm::vec4(b, 1.0f));
    const glm::vec3 wc = glm::vec3(transform_ * glm::vec4(c, 1.0f));
    glm::vec3 n = glm::cross(wb - wa, wc - wa);
    const float length = glm::length(n);
    if (!(length > 1e-12f)) return;  // degenerate: nothing to see
    n /= length;
    const auto base = uint32_t(vertices_.size());
    Emit(wa, n, color);
    Emit(wb, n, color);
    Emit(wc, n, color);
    indices_.insert(indices_.end(), {base, base + 1, base + 2});
}

void TShapeBuilder::Quad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                         const glm::vec3& d, TShapeColor color) {
    // Four corners shared by the two triangles (a flat quad has one normal).
    const glm::vec3 wa = glm::vec3(transform_ * glm::vec4(a, 1.0f));
    const glm::vec3 wb = glm::vec3(transform_ * glm::vec4(b, 1.0f));
    const glm::vec3 wc = glm::vec3(transform_ * glm::vec4(c, 1.0f));
    const glm::vec3 wd = glm::vec3(transform_ * glm::vec4(d, 1.0f));
    glm::vec3 n = glm::cross(wb - wa, wc - wa) + glm::cross(wc - wa, wd - wa);
    const float length = glm::length(n);
    if (!(length > 1e-12f)) return;
    n /= length;
    const auto base = uint32_t(vertices_.size());
    Emit(wa, n, color);
    Emit(wb, n, color);
    Emit(wc, n, color);
    Emit(wd, n, color);
    indices_.insert(indices_.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

void TShapeBuilder::Cone(const glm::vec3& base, float radius, float height, int sides,
                         TShapeColor color) {
    // Smooth sides: the ring shares its corners, the tip points up.
    sides = std::max(sides, 3);
    const auto first = uint32_t(vertices_.size());
    const glm::mat3 turn(transform_);
    Emit(glm::vec3(transform_ * glm::vec4(base + glm::vec3(0, height, 0), 1.0f)),
         glm::normalize(turn * glm::vec3(0, 1, 0)), color);
    const float slope = radius / std::max(height, 1e-6f);
    for (int k = 0; k < sides; ++k) {
        const float a = 6.2831853f * float(k) / float(sides);
        const glm::vec3 d(std::sin(a), 0, std::cos(a));
        Emit(glm::vec3(transform_ * glm::vec4(base + d * radius, 1.0f)),
             glm::normalize(turn * (d + glm::vec3(0, slope, 0))), color);
    }
    for (int k = 0; k < sides; ++k) {
        const uint32_t p = first + 1 + uint32_t(k), q = first + 1 + uint32_t((k + 1) % sides);
        indices_.insert(indices_.end(), {p, q, first});
    }
}

void TShapeBuilder::Box(const glm::vec3& lo, const glm::vec3& hi, TShapeColor color) {
    const glm::vec3 p000(lo.x, lo.y, lo.z), p100(hi.x, lo.y, lo.z), p010(lo.x, hi.y, lo.z),
        p110(hi.x, hi.y, lo.z), p001(lo.x, lo.y, hi.z), p101(hi.x, lo.y, hi.z),
        p011(lo.x, hi.y, hi.z), p111(hi.x, hi.y, hi.z);
    Quad(p001, p101, p111, p011, color);  // +z
    Quad(p100, p000, p010, p110, color);  // -z
    Quad(p101, p100, p110, p111, color);  // +x
    Quad(p000, p001, p011, p010, color);  // -x
    Quad(p011, p111, p110, p010, color);  // +y
    Quad(p000, p100, p101, p001, color);  // -y
}

void TShapeBuilder::Plate(const glm::vec3& lo, const glm::vec3& hi, TShapeColor color) {
    const float y = hi.y;
    Quad(glm::vec3(lo.x, y, hi.z), glm::vec3(hi.x, y, hi.z), glm::vec3(hi.x, y, lo.z),
         glm::vec3(lo.x, y, lo.z), color);
}

void TShapeBuilder::Prism(const glm::vec3& base, float r0, float r1, float height, int sides,
                          TShapeColor color, bool caps) {
    sides = std::max(sides, 3);
    const glm::vec3 top = base + glm::vec3(0, height, 0);
    for (int k = 0; k < sides; ++k) {
        const float a0 = 6.2831853f * float(k) / float(sides);
        const float a1 = 6.2831853f * float(k + 1) / float(sides);
        const glm::vec3 d0(std::sin(a0), 0, std::cos(a0)), d1(std::sin(a1), 0, std::cos(a1));
        const glm::vec3 b0 = base + d0 * r0, b1 = base + d1 * r0;
        const glm::vec3 t0 = top + d0 * r1, t1 = top + d1 * r1;
        if (r1 > 0) {
            Quad(b0, b1, t1, t0, color);
            if (caps) Triangle(top, t0, t1, color);
        } else {
            Triangle(b0, b1, top, color);
        }
        if (r0 > 0 && caps) Triangle(base, b1, b0, color);
    }
}

void TShapeBuilder::Beam(const glm::vec3& a, const glm::vec3& b, float thickness,
                         TShapeColor color) {
    const glm::vec3 axis = b - a;
    const float length = glm::length(axis);
    if (!(length > 1e-6f)) return;
    const glm::vec3 dir = axis / length;
    const glm::vec3 helper = std::fabs(dir.y) > 0.9f ? glm::vec3(1, 0, 0) : glm::vec3(0, 1, 0);
    const glm::vec3 side = glm::normalize(glm::cross(dir, helper)) * (thickness * 0.5f);
    const glm::vec3 up = glm::normalize(glm::cross(side, dir)) * (thickness * 0.5f);
    const glm::vec3 c[4] = {-side - up, side - up, side + up, -side + up};
    for (int k = 0; k < 4; ++k) {
        const glm::vec3 p = c[k], q = c[(k + 1) % 4];
        Quad(a + q, a + p, b + p, b + q, color);
    }
    Quad(a + c[0], a + c[1], a + c[2], a + c[3], color);
    Quad(b + c[3], b + c[2], b + c[1], b + c[0], color);
}

void TShapeBuilder::GableRoof(const glm::vec3& lo, const glm::vec3& hi, float height,
                              float overhang, TShapeColor color) {
    const float x0 = lo.x - overhang, x1 = hi.x + overhang;
    const float z0 = lo.z - overhang, z1 = hi.z + overhang;
    const float y = hi.y, xm = 0.5f * (lo.x + hi.x);
    const glm::vec3 r0(xm, y + height, z0), r1(xm, y + height, z1);
    Quad(glm::vec3(x1, y, z0), r0, r1, glm::vec3(x1, y, z1), color);
    Quad(glm::vec3(x0, y, z1), r1, r0, glm::vec3(x0, y, z0), color);
    Triangle(glm::vec3(x0, y, z1), glm::vec3(x1, y, z1), r1, color);
    Triangle(glm::vec3(x1, y, z0), glm::vec3(x0, y, z0), r0, color);
    Quad(glm::vec3(x0, y, z0), glm::vec3(x1, y, z0), glm::vec3(x1, y, z1), glm::vec3(x0, y, z1),
         color);
}

}  // namespace vallorn
