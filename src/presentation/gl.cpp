#include "presentation/gl.h"

#include <cstddef>

#include <glm/gtc/type_ptr.hpp>

namespace vallorn::gl {
namespace {

GLuint CompileShader(GLenum type, const char* source, std::string* log) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        if (log) {
            char text[2048] = {};
            glGetShaderInfoLog(shader, sizeof text, nullptr, text);
            *log = text;
        }
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

TProgram::~TProgram() {
    if (id_) glDeleteProgram(id_);
}

bool TProgram::Build(const char* vertexSource, const char* fragmentSource, std::string* log) {
    const GLuint vs = CompileShader(GL_VERTEX_SHADER, vertexSource, log);
    if (!vs) return false;
    const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, fragmentSource, log);
    if (!fs) {
        glDeleteShader(vs);
        return false;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        if (log) {
            char text[2048] = {};
            glGetProgramInfoLog(program, sizeof text, nullptr, text);
            *log = text;
        }
        glDeleteProgram(program);
        return false;
    }
    if (id_) glDeleteProgram(id_);
    id_ = program;
    locations_.clear();
    return true;
}

void TProgram::Use() const {
    glUseProgram(id_);
}

GLint TProgram::Location(const char* name) {
    auto it = locations_.find(name);
    if (it != locations_.end()) return it->second;
    const GLint location = glGetUniformLocation(id_, name);
    locations_.emplace(name, location);
    return location;
}

void TProgram::Set(const char* name, const glm::mat4& m) {
    glUniformMatrix4fv(Location(name), 1, GL_FALSE, glm::value_ptr(m));
}
void TProgram::Set(const char* name, const glm::vec3& v) {
    glUniform3fv(Location(name), 1, glm::value_ptr(v));
}
void TProgram::Set(const char* name, const glm::vec4& v) {
    glUniform4fv(Location(name), 1, glm::value_ptr(v));
}
void TProgram::Set(const char* name, float f) {
    glUniform1f(Location(name), f);
}
void TProgram::Set(const char* name, int i) {
    glUniform1i(Location(name), i);
}

TMesh::~TMesh() {
    if (instanceVbo_) glDeleteBuffers(1, &instanceVbo_);
    if (ibo_) glDeleteBuffers(1, &ibo_);
    if (vbo_) glDeleteBuffers(1, &vbo_);
    if (vao_) glDeleteVertexArrays(1, &vao_);
}

void TMesh::Upload(const std::vector<TVertex>& vertices, const std::vector<uint32_t>& indices,
                   GLenum primitive) {
    if (!vao_) {
        glGenVertexArrays(1, &vao_);
        glGenBuffers(1, &vbo_);
        glGenBuffers(1, &ibo_);
    }
    primitive_ = primitive;
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)),
                 indices.data(), GL_STATIC_DRAW);
    const auto stride = GLsizei(sizeof(TVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(TVertex, X));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(TVertex, NX));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(TVertex, U));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, (void*)offsetof(TVertex, R));
    // Instances default to identity (no buffer bound: constant attribute values).
    glVertexAttrib4f(4, 0, 0, 0, 0);
    glVertexAttrib4f(5, 1, 1, 1, 0);
    glVertexAttrib4f(6, 1, 1, 1, 1);
    glBindVertexArray(0);
    count_ = GLsizei(indices.size());
}

void TMesh::UploadInstances(const std::vector<TInstance>& instances) {
    if (!vao_) return;
    glBindVertexArray(vao_);
    if (!instanceVbo_) {
        glGenBuffers(1, &instanceVbo_);
        glBindBuffer(GL_ARRAY_BUFFER, instanceVbo_);
        const auto stride = GLsizei(sizeof(TInstance));
        glEnableVertexAttribArray(4);
        glVertexAttribPointer(4, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(TInstance, X));
        glVertexAttribDivisor(4, 1);
        glEnableVertexAttribArray(5);
        glVertexAttribPointer(5, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(TInstance, SX));
        glVertexAttribDivisor(5, 1);
        glEnableVertexAttribArray(6);
        glVertexAttribPointer(6, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              (void*)offsetof(TInstance, R));
        glVertexAttribDivisor(6, 1);
    }
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo_);
    // Orphan the old storage so the driver need not wait for the previous frame.
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(instances.size() * sizeof(TInstance)), nullptr,
                 GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(instances.size() * sizeof(TInstance)),
                    instances.data());
    glBindVertexArray(0);
    instances_ = instances.size();
}

void TMesh::Draw() const {
    if (!count_) return;
    glBindVertexArray(vao_);
    glDrawElements(primitive_, count_, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void TMesh::DrawInstanced() const {
    if (!count_ || !instances_) return;
    glBindVertexArray(vao_);
    glDrawElementsInstanced(primitive_, count_, GL_UNSIGNED_INT, nullptr, GLsizei(instances_));
    glBindVertexArray(0);
}

TTexture::~TTexture() {
    if (id_) glDeleteTextures(1, &id_);
}

void TTexture::UploadRgba(int width, int height, const uint8_t* pixels, bool mipmaps, bool repeat) {
    if (!id_) glGenTextures(1, &id_);
    glBindTexture(GL_TEXTURE_2D, id_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (width == width_ && height == height_) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels);
    }
    width_ = width;
    height_ = height;
    const GLint wrap = repeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (mipmaps) {
        glGenerateMipmap(GL_TEXTURE_2D);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
}

void TTexture::Upload(const TSKIImage& image, bool mipmaps, bool repeat) {
    if (image.Empty()) return;
    std::vector<uint8_t> rgba(size_t(image.Width()) * size_t(image.Height()) * 4);
    const auto& rgb = image.Pixels();
    for (size_t p = 0, n = rgba.size() / 4; p < n; ++p) {
        rgba[p * 4 + 0] = rgb[p * 3 + 0];
        rgba[p * 4 + 1] = rgb[p * 3 + 1];
        rgba[p * 4 + 2] = rgb[p * 3 + 2];
        rgba[p * 4 + 3] = 255;
    }
    UploadRgba(image.Width(), image.Height(), rgba.data(), mipmaps, repeat);
}

void TTexture::Bind(int unit) const {
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glBindTexture(GL_TEXTURE_2D, id_);
}

}  // namespace vallorn::gl
