// Far trees in one draw. A software rasteriser runs its whole vertex pipeline once per
// instance of an instanced draw, which for thousands of eight-vertex billboards costs far
// more than their pixels: the sheet writes every card of the frame out in world space, turned
// to face the eye as the instanced model shader would turn it, and draws them all with one
// call, in the order given (front to back), alpha-tested and unlit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "presentation/frame.h"
#include "presentation/gl.h"

namespace vallorn {

struct TCardVertex {
    float X = 0, Y = 0, Z = 0, U = 0, V = 0;
    uint8_t R = 255, G = 255, B = 255, A = 255;
};

// Appends the vertices of `shape` (a card in its model space) for one copy placed, scaled and
// coloured as `card` says, turned about the vertical so that its +z faces `eye`.
void AppendFacingCard(const std::vector<gl::TVertex>& shape, const gl::TInstance& card,
                      const glm::vec3& eye, std::vector<TCardVertex>& out);

class TCardSheet {
public:
    TCardSheet() = default;
    ~TCardSheet();
    TCardSheet(const TCardSheet&) = delete;
    TCardSheet& operator=(const TCardSheet&) = delete;

    bool Init(std::string* log);
    // The card's model: its vertices (positions, texture coordinates) and triangles.
    void SetShape(const std::vector<gl::TVertex>& vertices, const std::vector<uint32_t>& indices);
    bool HasShape() const { return !shapeIndices_.empty(); }
    // Draws the cards with the current depth state; returns the draw calls made.
    int Draw(const std::vector<gl::TInstance>& cards, const gl::TTexture& texture,
             const TSKIFrameView& frame);

private:
    gl::TProgram program_;
    GLuint vao_ = 0, vbo_ = 0, ibo_ = 0;
    size_t indexedCards_ = 0;  // cards the index buffer holds
    std::vector<gl::TVertex> shape_;
    std::vector<uint32_t> shapeIndices_;
    std::vector<TCardVertex> vertices_;
};

}  // namespace vallorn
