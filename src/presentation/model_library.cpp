#include "presentation/model_library.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/image_io.h"
#include "base/safe_path.h"
#include "presentation/model_animation.h"

namespace vallorn {
namespace {

std::string LowerCase(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsLeaf(const TModelMaterial& m) {
    return LowerCase(m.Name).rfind("treeleaf", 0) == 0 ||
           LowerCase(m.Texture).rfind("treeleaf", 0) == 0;
}

void FitUnitBox(TModelData& data) {
    const glm::vec3 size = data.Max - data.Min;
    const float width = std::max(size.x, size.z);
    if (size.y <= 0 || width <= 0) return;
    const glm::vec3 centre = 0.5f * (data.Min + data.Max);
    const glm::vec3 k(1.0f / width, 1.0f / size.y, 1.0f / width);
    for (TModelPart& part : data.Parts) {
        for (gl::TVertex& v : part.Vertices) {
            v.X = (v.X - centre.x) * k.x;
            v.Y = (v.Y - centre.y) * k.y;
            v.Z = (v.Z - centre.z) * k.z;
        }
    }
    data.Min = (data.Min - centre) * k;
    data.Max = (data.Max - centre) * k;
}

float MaxAnisotropy() {
    static float value = [] {
        GLfloat a = 1.0f;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &a);
        (void)glGetError();  // without the extension: no anisotropy
        return std::clamp(a, 1.0f, 4.0f);
    }();
    return value;
}

// Reads an image of the data folder as RGBA rows, top row first.
bool ReadRgba(const std::filesystem::path& file, std::vector<uint8_t>& rgba, int& w, int& h,
              std::string* error) {
    const std::string ext = LowerCase(file.extension().string());
    if (ext == ".jpg" || ext == ".jpeg") {
        TSKIImage image;
        if (!LoadJpeg(file, image, error)) return false;
        w = image.Width();
        h = image.Height();
        rgba.resize(size_t(w) * size_t(h) * 4);
        const auto& rgb = image.Pixels();
        for (size_t p = 0, n = size_t(w) * size_t(h); p < n; ++p) {
            std::memcpy(&rgba[p * 4], &rgb[p * 3], 3);
            rgba[p * 4 + 3] = 255;
        }
        return true;
    }
    int channels = 0;
    uint8_t* pixels = stbi_load(file.string().c_str(), &w, &h, &channels, 4);
    if (!pixels || w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) {
        if (pixels) stbi_image_free(pixels);
        if (error) *error = "cannot read image " + file.filename().string();
        return false;
    }
    rgba.assign(pixels, pixels + size_t(w) * size_t(h) * 4);
    stbi_image_free(pixels);
    return true;
}

}  // namespace

TLoadedModel::~TLoadedModel() {
    for (TPart& p : parts_) {
        glDeleteBuffers(1, &p.Vbo);
        glDeleteBuffers(1, &p.Ibo);
        glDeleteVertexArrays(1, &p.Vao);
    }
    if (instanceVbo_) glDeleteBuffers(1, &instanceVbo_);
}

void TLoadedModel::Upload(const TModelData& data, const std::vector<const gl::TTexture*>& textures,
                          bool streamed) {
    min_ = data.Min;
    max_ = data.Max;
    glGenBuffers(1, &instanceVbo_);
    for (const TModelPart& source : data.Parts) {
        const TModelMaterial& material = data.Materials[source.Material];
        TPart p;
        p.Count = GLsizei(source.Indices.size());
        p.Vertices = source.Vertices.size();
        p.Texture = source.Material < textures.size() ? textures[source.Material] : nullptr;
        p.Glass = material.Glass;
        p.Leaf = IsLeaf(material);
        hasGlass_ = hasGlass_ || p.Glass;
        glGenVertexArrays(1, &p.Vao);
        glGenBuffers(1, &p.Vbo);
        glGenBuffers(1, &p.Ibo);
        glBindVertexArray(p.Vao);
        glBindBuffer(GL_ARRAY_BUFFER, p.Vbo);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(source.Vertices.size() * sizeof(gl::TVertex)),
                     source.Vertices.data(), streamed ? GL_STREAM_DRAW : GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, p.Ibo);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(source.Indices.size() * sizeof(uint32_t)),
                     source.Indices.data(), GL_STATIC_DRAW);
        const auto stride = GLsizei(sizeof(gl::TVertex));
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(gl::TVertex, X));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(gl::TVertex, NX));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(gl::TVertex, U));
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              (void*)offsetof(gl::TVertex, R));
        // Every part reads the model's one instance buffer.
        glBindBuffer(GL_ARRAY_BUFFER, instanceVbo_);
        const auto istride = GLsizei(sizeof(gl::TInstance));
        glEnableVertexAttribArray(4);
        glVertexAttribPointer(4, 4, GL_FLOAT, GL_FALSE, istride, (void*)offsetof(gl::TInstance, X));
        glVertexAttribDivisor(4, 1);
        glEnableVertexAttribArray(5);
        glVertexAttribPointer(5, 4, GL_FLOAT, GL_FALSE, istride,
                              (void*)offsetof(gl::TInstance, SX));
        glVertexAttribDivisor(5, 1);
        glEnableVertexAttribArray(6);
        glVertexAttribPointer(6, 4, GL_UNSIGNED_BYTE, GL_TRUE, istride,
                              (void*)offsetof(gl::TInstance, R));
        glVertexAttribDivisor(6, 1);
        glBindVertexArray(0);
        parts_.push_back(p);
    }
}

void TLoadedModel::UpdatePart(size_t part, const std::vector<gl::TVertex>& vertices) {
    if (part >= parts_.size() || vertices.size() != parts_[part].Vertices) return;
    const auto bytes = GLsizeiptr(vertices.size() * sizeof(gl::TVertex));
    glBindBuffer(GL_ARRAY_BUFFER, parts_[part].Vbo);
    // Orphan the old storage so the driver need not wait for the frame that still reads it.
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices.data());
}

void TLoadedModel::SetInstances(const std::vector<gl::TInstance>& instances) {
    instances_ = instances.size();
    if (instances.empty()) return;
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo_);
    const GLsizeiptr bytes = GLsizeiptr(instances.size() * sizeof(gl::TInstance));
    if (instances.size() > capacity_) {
        capacity_ = std::max(instances.size(), capacity_ * 2);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(capacity_ * sizeof(gl::TInstance)), nullptr,
                     GL_STREAM_DRAW);
    } else {
        // Orphan the old storage so the driver need not wait for the previous frame.
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(capacity_ * sizeof(gl::TInstance)), nullptr,
                     GL_STREAM_DRAW);
    }
    glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, instances.data());
}

int TLoadedModel::Draw(const TModelPrograms& programs, const TModelPass& pass) const {
    if (instances_ == 0) return 0;
    int calls = 0;
    gl::TProgram* current = nullptr;
    for (const TPart& p : parts_) {
        if (p.Glass != pass.Glass || p.Count == 0) continue;
        const gl::TTexture* texture = p.Texture;
        if (p.Leaf && pass.LeafTexture)
            texture = pass.LeafTexture;
        else if (texture && pass.Skin)
            texture = pass.Skin;
        if (texture) texture->Bind(0);
        gl::TProgram* program = p.Glass   ? programs.Glass
                                : texture ? programs.Textured
                                          : programs.Plain;
        if (program != current) program->Use();
        current = program;
        if (p.Leaf) program->Set("uTwoSided", 1.0f);
        glBindVertexArray(p.Vao);
        glDrawElementsInstanced(GL_TRIANGLES, p.Count, GL_UNSIGNED_INT, nullptr,
                                GLsizei(instances_));
        if (p.Leaf) program->Set("uTwoSided", 0.0f);
        ++calls;
    }
    glBindVertexArray(0);
    return calls;
}

TCubeMap::~TCubeMap() {
    if (id_) glDeleteTextures(1, &id_);
}

bool TCubeMap::Load(const std::array<std::filesystem::path, 6>& faces, std::string* error) {
    std::array<std::vector<uint8_t>, 6> pixels;
    std::array<int, 6> w{}, h{};
    for (size_t f = 0; f < 6; ++f) {
        if (!ReadRgba(faces[f], pixels[f], w[f], h[f], error)) return false;
        if (w[f] != w[0] || h[f] != h[0] || w[f] != h[f]) {
            if (error) *error = "the reflection images are not squares of one size";
            return false;
        }
    }
    glGenTextures(1, &id_);
    glBindTexture(GL_TEXTURE_CUBE_MAP, id_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t f = 0; f < 6; ++f) {
        glTexImage2D(GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X + f), 0, GL_RGBA8, w[f], h[f], 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, pixels[f].data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    for (GLenum c : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R})
        glTexParameteri(GL_TEXTURE_CUBE_MAP, c, GL_CLAMP_TO_EDGE);
    return true;
}

void TCubeMap::Bind(int unit) const {
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glBindTexture(GL_TEXTURE_CUBE_MAP, id_);
    glActiveTexture(GL_TEXTURE0);
}

TModelLibrary::TModelLibrary() = default;
TModelLibrary::~TModelLibrary() = default;

std::optional<std::filesystem::path> TModelLibrary::PathOf(const std::string& file) const {
    // A name may have one folder in front ("Skier/Ski3.3DS"); each piece must be a plain name.
    std::filesystem::path path = folder_;
    size_t start = 0;
    while (true) {
        const size_t slash = file.find('/', start);
        const std::string piece = file.substr(start, slash - start);
        auto next = PathInFolder(path, piece);
        if (!next) return std::nullopt;
        path = *next;
        if (slash == std::string::npos) return path;
        start = slash + 1;
    }
}

std::vector<gl::TVertex> TModelLibrary::Vertices(const std::string& file) const {
    std::vector<gl::TVertex> out;
    const auto path = PathOf(file);
    TModelData data;
    if (!path || !ImportModel(*path, {}, data)) return out;
    for (const TModelPart& part : data.Parts)
        out.insert(out.end(), part.Vertices.begin(), part.Vertices.end());
    return out;
}

bool TModelLibrary::Exists(const std::string& file) const {
    const auto path = PathOf(file);
    std::error_code ec;
    return path && std::filesystem::is_regular_file(*path, ec);
}

void TModelLibrary::Fail(const std::string& file, const std::string& why) {
    if (failures_.insert(file).second) std::fprintf(stderr, "vallorn: %s\n", why.c_str());
}

TLoadedModel* TModelLibrary::Model(const std::string& name, const std::string& file,
                                   const std::string& glassFile, const TModelShape& shape) {
    if (auto found = models_.find(name); found != models_.end()) return found->second.get();
    if (failures_.count(file)) return nullptr;
    const auto path = PathOf(file);
    TModelData data;
    std::string error;
    if (!path || !ImportModel(*path, shape.Import, data, &error)) {
        Fail(file, path ? error : "model name not usable as a file: " + file);
        return nullptr;
    }
    if (!glassFile.empty() && Exists(glassFile)) {
        TModelImport glassImport = shape.Import;
        glassImport.AllGlass = true;
        TModelData glass;
        if (ImportModel(*PathOf(glassFile), glassImport, glass, &error)) {
            const size_t offset = data.Materials.size();
            data.Materials.insert(data.Materials.end(), glass.Materials.begin(),
                                  glass.Materials.end());
            for (TModelPart& part : glass.Parts) {
                part.Material += offset;
                data.Parts.push_back(std::move(part));
            }
            data.Min = glm::min(data.Min, glass.Min);
            data.Max = glm::max(data.Max, glass.Max);
        } else {
            Fail(glassFile, error);
        }
    }
    if (shape.FitUnitBox) FitUnitBox(data);
    auto model = std::make_unique<TLoadedModel>();
    model->Upload(data, MaterialTextures(data));
    return models_.emplace(name, std::move(model)).first->second.get();
}

std::vector<const gl::TTexture*> TModelLibrary::MaterialTextures(const TModelData& data) {
    std::vector<const gl::TTexture*> textures;
    for (const TModelMaterial& m : data.Materials)
        textures.push_back(m.Texture.empty() ? nullptr : Texture(m.Texture, false, true, true));
    return textures;
}

TAnimatedModel* TModelLibrary::Animation(const std::string& name, const std::string& file,
                                         const TModelShape& shape) {
    if (auto found = animations_.find(name); found != animations_.end()) return found->second.get();
    if (failures_.count(file)) return nullptr;
    const auto path = PathOf(file);
    TModelAnimation animation;
    std::string error;
    if (!path || !ImportAnimation(*path, shape.Import, animation, &error)) {
        Fail(file, path ? error : "model name not usable as a file: " + file);
        return nullptr;
    }
    const std::vector<const gl::TTexture*> textures = MaterialTextures(animation.Base);
    auto model = std::make_unique<TAnimatedModel>(std::move(animation), textures);
    return animations_.emplace(name, std::move(model)).first->second.get();
}

const gl::TTexture* TModelLibrary::Texture(const std::string& file, bool alphaFromLuminance,
                                           bool repeat, bool anisotropic) {
    const std::string key = file + (alphaFromLuminance ? "#luminance" : "");
    if (auto found = textures_.find(key); found != textures_.end()) return found->second.get();
    if (failures_.count(file)) return nullptr;
    const auto path = PathOf(file);
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    std::string error;
    if (!path || !ReadRgba(*path, rgba, w, h, &error)) {
        Fail(file, path ? error : "image name not usable as a file: " + file);
        return nullptr;
    }
    if (alphaFromLuminance) {
        for (size_t p = 0; p < rgba.size(); p += 4)
            rgba[p + 3] = uint8_t((rgba[p] * 77 + rgba[p + 1] * 150 + rgba[p + 2] * 29) >> 8);
    }
    auto texture = std::make_unique<gl::TTexture>();
    texture->UploadRgba(w, h, rgba.data(), true, repeat);
    if (anisotropic) {
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, MaxAnisotropy());
        (void)glGetError();
    } else {
        // Billboards and the sky face the camera: the nearest mip-map level is enough.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    }
    return textures_.emplace(key, std::move(texture)).first->second.get();
}

const TCubeMap* TModelLibrary::Reflection() {
    if (reflectionTried_) return reflection_ ? reflection_.get() : nullptr;
    reflectionTried_ = true;
    static const char* kFaces[6] = {"cm_right.jpg",  "cm_left.jpg",  "cm_top.jpg",
                                    "cm_bottom.jpg", "cm_front.jpg", "cm_back.jpg"};
    std::array<std::filesystem::path, 6> faces;
    for (size_t f = 0; f < 6; ++f) {
        const auto path = PathOf(kFaces[f]);
        if (!path) return nullptr;
        faces[f] = *path;
    }
    auto cube = std::make_unique<TCubeMap>();
    std::string error;
    if (!cube->Load(faces, &error)) {
        Fail("cm_*.jpg", "no glass reflection: " + error);
        return nullptr;
    }
    reflection_ = std::move(cube);
    return reflection_.get();
}

}  // namespace vallorn
