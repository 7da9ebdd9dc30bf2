// What the view's shaders draw, read back from an offscreen window: difficulty and blocked
// ground carry patterns and not only colours, and the overlay's dots keep their shapes and an
// outline that contrasts with their fill.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"
#include "presentation/gl.h"
#include "presentation/point_shader.h"
#include "presentation/terrain_compose_shader.h"

namespace vallorn {
namespace {

struct TPixels {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgba;  // rows bottom to top, as OpenGL reads them
    const uint8_t* At(int x, int y) const { return &Rgba[size_t((y * Width + x) * 4)]; }
    int Brightness(int x, int y) const { return At(x, y)[0] + At(x, y)[1] + At(x, y)[2]; }
};

// An offscreen OpenGL 3.3 context, and drawings into a framebuffer read back.
class ShaderPatterns : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("VALLORN_ALLOW_OFFSCREEN", "1", 1);
        std::string why;
        ASSERT_TRUE(window_.Open({}, &why)) << why;
        glGenVertexArrays(1, &vao_);
    }
    void TearDown() override {
        if (vao_) glDeleteVertexArrays(1, &vao_);
    }

    static GLuint Texture(int width, int height, const std::vector<uint8_t>& rgb) {
        GLuint id = 0;
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     rgb.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        return id;
    }

    TPixels Draw(int width, int height, const std::function<void()>& draw) {
        GLuint colour = 0, fbo = 0;
        glGenTextures(1, &colour);
        glBindTexture(GL_TEXTURE_2D, colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        glViewport(0, 0, width, height);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindVertexArray(vao_);
        draw();
        TPixels p{width, height, std::vector<uint8_t>(size_t(width * height * 4))};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.Rgba.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteTextures(1, &colour);
        return p;
    }

    TSKIWindow window_;
    GLuint vao_ = 0;
};

// Pixels of a block that differ from their neighbour one step along (dx, dy).
int Changes(const TPixels& p, int x0, int y0, int size, int dx, int dy) {
    int n = 0;
    for (int y = y0; y < y0 + size; ++y)
        for (int x = x0; x < x0 + size; ++x)
            n += p.Brightness(x, y) != p.Brightness(x + dx, y + dy);
    return n;
}

TEST_F(ShaderPatterns, DifficultiesAndBlockedGroundCarryPatternsBesideTheirColours) {
    gl::TProgram program;
    std::string log;
    ASSERT_TRUE(program.Build(kTerrainComposeVertex, kTerrainComposeFragment, &log)) << log;
    // Per-cell images of four runs of 16 cells in a row: slope paint blue, red, black; the last
    // run is blocked ground without paint (white). Snow everywhere, no snow state, full light.
    // The overlays' smooth filter reaches two cells: the middle of a run is that run's alone.
    auto runs = [](std::vector<uint8_t> colours) {
        std::vector<uint8_t> rgb;
        for (size_t run = 0; run < 4; ++run)
            for (int cell = 0; cell < 16; ++cell)
                rgb.insert(rgb.end(), colours.begin() + long(run * 3),
                           colours.begin() + long(run * 3 + 3));
        return rgb;
    };
    const std::vector<uint8_t> grey(64 * 3, 200), black(64 * 3, 0), white(64 * 3, 255);
    const std::vector<uint8_t> paint = runs({40, 80, 230, 230, 40, 30, 20, 20, 20, 255, 255, 255});
    const std::vector<uint8_t> blocked = runs({0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255});
    const char* samplers[] = {"uSnowPicture", "uBarePicture", "uSnowOverlay",
                              "uSnowMask",    "uSlopePaint",  "uOccupancy",
                              "uSteepness",   "uPreview",     "uRelief"};
    const std::vector<uint8_t>* images[] = {&grey,    &grey,  &black, &black, &paint,
                                            &blocked, &black, &black, &white};
    std::vector<GLuint> textures;
    const int size = 512;
    const TPixels p = Draw(size, size, [&] {
        program.Use();
        for (int k = 0; k < 9; ++k) {
            glActiveTexture(GLenum(GL_TEXTURE0 + k));
            textures.push_back(Texture(64, 1, *images[k]));
            program.Set(samplers[k], k);
        }
        program.Set("uLayers", 1 | 2);
        program.Set("uSize", float(size));
        glDrawArrays(GL_TRIANGLES, 0, 3);
        glActiveTexture(GL_TEXTURE0);
    });
    glDeleteTextures(GLsizei(textures.size()), textures.data());

    // A block of 64 pixels in the middle of each cell's column; the patterns repeat every 8
    // pixels at this size.
    const int y = 200, s = 64;
    auto block = [&](int cell) { return cell * size / 4 + 32; };
    // Blue: plain.
    EXPECT_EQ(Changes(p, block(0), y, s, 1, 0) + Changes(p, block(0), y, s, 0, 1), 0);
    // Red: lines across, the same on every row.
    EXPECT_GT(Changes(p, block(1), y, s, 1, 0), s);
    EXPECT_EQ(Changes(p, block(1), y, s, 0, 1), 0);
    // Black: a grid, changing both ways.
    EXPECT_GT(Changes(p, block(2), y, s, 1, 0), s);
    EXPECT_GT(Changes(p, block(2), y, s, 0, 1), s);
    // Blocked: red with dark diagonals, the same along one diagonal and changing across it.
    EXPECT_GT(p.At(block(3), y)[0], p.At(block(3), y)[2]);
    EXPECT_GT(Changes(p, block(3), y, s, 1, 0), s);
    EXPECT_EQ(Changes(p, block(3), y, s, 1, 1), 0);
}

TEST_F(ShaderPatterns, OverlayDotsKeepTheirShapesAndAContrastingOutline) {
    gl::TProgram program;
    std::string log;
    ASSERT_TRUE(program.Build(kPointVertex, kPointFragment, &log)) << log;
    // Seven dots in a row, 24 pixels each, 64 apart: the overlay's shapes 0 (disc), 1
    // (triangle up), 2 (diamond), 3 (triangle down) and 4 (square) in red, a black disc, and
    // a crowd dot (alpha 255).
    const uint8_t shapes[] = {0, 1, 2, 3, 4, 0, 255};
    std::vector<gl::TVertex> dots;
    for (int k = 0; k < 7; ++k) {
        gl::TVertex v;
        v.X = (float(k) * 64 + 32) / 224.0f - 1.0f;
        v.R = k == 5 ? 10 : 200, v.G = k == 5 ? 10 : 30, v.B = k == 5 ? 10 : 30;
        v.A = shapes[k];
        dots.push_back(v);
    }
    gl::TMesh mesh;
    std::vector<uint32_t> order(dots.size());
    for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
    const float pointSize = 24;
    const TPixels p = Draw(448, 64, [&] {
        mesh.Upload(dots, order, GL_POINTS);
        program.Use();
        program.Set("uViewProjection", glm::mat4(1.0f));
        program.Set("uSize", pointSize);
        glEnable(GL_PROGRAM_POINT_SIZE);
        mesh.Draw();
        glDisable(GL_PROGRAM_POINT_SIZE);
    });

    // By dot: the pixels of the fill and of the outline, and the fill's mean row.
    struct TDot {
        int Fill = 0, Edge = 0, Other = 0;
        double Row = 0;
    };
    std::vector<TDot> seen(7);
    for (int k = 0; k < 7; ++k) {
        const uint8_t* fill = &dots[size_t(k)].R;
        TDot& d = seen[size_t(k)];
        for (int y = 0; y < 64; ++y) {
            for (int x = k * 64; x < k * 64 + 64; ++x) {
                const uint8_t* c = p.At(x, y);
                if (c[0] == 0 && c[1] == 0 && c[2] == 0) continue;
                if (std::abs(c[0] - fill[0]) < 3 && std::abs(c[1] - fill[1]) < 3) {
                    ++d.Fill;
                    d.Row += y;
                } else if (p.Brightness(x, y) < (fill[0] + fill[1] + fill[2]) / 2 ||
                           (k == 5 && c[0] > 150)) {
                    ++d.Edge;
                } else {
                    ++d.Other;
                }
            }
        }
        if (d.Fill) d.Row /= d.Fill;
    }
    const double area = pointSize * pointSize;
    for (int k = 0; k < 6; ++k) {
        EXPECT_GT(seen[size_t(k)].Edge, 40) << "dot " << k << " has no outline";
        EXPECT_EQ(seen[size_t(k)].Other, 0) << "dot " << k;
    }
    // Disc, square, diamond and triangles: their areas tell them apart.
    EXPECT_NEAR(seen[0].Fill / area, 0.785, 0.06);
    EXPECT_NEAR(seen[4].Fill / area, 0.64, 0.06);
    EXPECT_NEAR(seen[2].Fill / area, 0.5, 0.06);
    EXPECT_LT(seen[1].Fill / area, 0.45);
    EXPECT_NEAR(seen[1].Fill, seen[3].Fill, 0.1 * seen[1].Fill);
    // The two triangles point opposite ways: their fills lean to opposite sides of the dot's
    // middle row (31.5).
    EXPECT_LT((seen[1].Row - 31.5) * (seen[3].Row - 31.5), -1.0);
    // The black disc is ringed in light grey; the crowd dot is a plain disc.
    EXPECT_NEAR(seen[5].Fill / area, 0.785, 0.06);
    EXPECT_EQ(seen[6].Edge + seen[6].Other, 0);
    EXPECT_NEAR(seen[6].Fill / area, 0.785, 0.06);
}

}  // namespace
}  // namespace vallorn
