// The few OpenGL 3.3 core helpers every drawer of the view shares: shader programs with
// cached uniform locations, static meshes of one vertex layout with optional per-instance
// data, and textures from the core's images.
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "base/image.h"

namespace vallorn::gl {

// Attribute locations 0..3 are the vertex, 4..6 the instance.
struct TVertex {
    float X = 0, Y = 0, Z = 0;
    float NX = 0, NY = 1, NZ = 0;
    float U = 0, V = 0;
    uint8_t R = 255, G = 255, B = 255, A = 255;
};

// One drawn copy of an instanced mesh: position, turn about the vertical axis (radians),
// scale, and a colour that multiplies the vertex colour.
struct TInstance {
    float X = 0, Y = 0, Z = 0, Yaw = 0;
    float SX = 1, SY = 1, SZ = 1, Pad = 0;
    uint8_t R = 255, G = 255, B = 255, A = 255;
};

class TProgram {
public:
    TProgram() = default;
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Compiles and links; false with the driver's log in `log`.
    bool Build(const char* vertexSource, const char* fragmentSource, std::string* log = nullptr);
    void Use() const;
    GLuint Id() const { return id_; }
    GLint Location(const char* name);
    void Set(const char* name, const glm::mat4& m);
    void Set(const char* name, const glm::vec3& v);
    void Set(const char* name, const glm::vec4& v);
    void Set(const char* name, float f);
    void Set(const char* name, int i);

private:
    GLuint id_ = 0;
    std::unordered_map<std::string, GLint> locations_;
};

class TMesh {
public:
    TMesh() = default;
    ~TMesh();
    TMesh(const TMesh&) = delete;
    TMesh& operator=(const TMesh&) = delete;

    // Static geometry; may be called again to replace it.
    void Upload(const std::vector<TVertex>& vertices, const std::vector<uint32_t>& indices,
                GLenum primitive = GL_TRIANGLES);
    // Per-instance data for DrawInstanced (a stream buffer, replaced every call).
    void UploadInstances(const std::vector<TInstance>& instances);
    void Draw() const;
    void DrawInstanced() const;
    bool Empty() const { return count_ == 0; }

private:
    GLuint vao_ = 0, vbo_ = 0, ibo_ = 0, instanceVbo_ = 0;
    GLsizei count_ = 0;
    GLenum primitive_ = GL_TRIANGLES;
    size_t instances_ = 0;
};

// A 2D texture; `repeat` wraps, otherwise clamps to the edge. Images are RGB.
class TTexture {
public:
    TTexture() = default;
    ~TTexture();
    TTexture(const TTexture&) = delete;
    TTexture& operator=(const TTexture&) = delete;

    void Upload(const TSKIImage& image, bool mipmaps, bool repeat);
    // RGBA pixels, rows top to bottom.
    void UploadRgba(int width, int height, const uint8_t* pixels, bool mipmaps, bool repeat);
    void Bind(int unit) const;
    GLuint Id() const { return id_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    GLuint id_ = 0;
    int width_ = 0, height_ = 0;
};

}  // namespace vallorn::gl
