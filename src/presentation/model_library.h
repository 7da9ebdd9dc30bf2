// The models and images of the data folder, loaded by name through assimp and the game's image
// readers, uploaded once into GL buffers and kept by name. A model is drawn as instances: one
// instance buffer per model shared by all its parts, one draw call per part. A missing or
// broken file is logged once and gives no model, so that the caller draws its stand-in.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "presentation/gl.h"
#include "presentation/model_import.h"

namespace vallorn {

// How the parts of a model are drawn with the scene's shader.
struct TModelPass {
    bool Glass = false;                         // the transparent parts, or the solid ones
    const gl::TTexture* Skin = nullptr;         // replaces the texture of textured parts
    const gl::TTexture* LeafTexture = nullptr;  // replaces the texture of "treeLeaf" parts
};

// The scene's shader for each kind of part: vertex colours, textured, glass.
struct TModelPrograms {
    gl::TProgram* Plain = nullptr;
    gl::TProgram* Textured = nullptr;
    gl::TProgram* Glass = nullptr;
};

class TLoadedModel {
public:
    TLoadedModel() = default;
    ~TLoadedModel();
    TLoadedModel(const TLoadedModel&) = delete;
    TLoadedModel& operator=(const TLoadedModel&) = delete;

    // `textures` gives each material's texture (or nothing). A `streamed` model's vertices
    // are replaced often (UpdatePart).
    void Upload(const TModelData& data, const std::vector<const gl::TTexture*>& textures,
                bool streamed = false);
    // Replaces the vertices of part `part` (the data's part of that number, same count).
    void UpdatePart(size_t part, const std::vector<gl::TVertex>& vertices);
    // Replaces the instances every part draws.
    void SetInstances(const std::vector<gl::TInstance>& instances);
    // Draws the solid or the glass parts of every instance; returns the draw calls.
    // The program of the last part drawn stays in use.
    int Draw(const TModelPrograms& programs, const TModelPass& pass) const;
    bool HasGlass() const { return hasGlass_; }
    size_t Instances() const { return instances_; }
    glm::vec3 Min() const { return min_; }
    glm::vec3 Max() const { return max_; }

private:
    struct TPart {
        GLuint Vao = 0, Vbo = 0, Ibo = 0;
        GLsizei Count = 0;
        size_t Vertices = 0;
        const gl::TTexture* Texture = nullptr;
        bool Glass = false, Leaf = false;
    };
    std::vector<TPart> parts_;
    GLuint instanceVbo_ = 0;
    size_t instances_ = 0, capacity_ = 0;
    bool hasGlass_ = false;
    glm::vec3 min_{0.0f}, max_{0.0f};
};

// A cube map of six JPEG faces (the glass reflection).
class TCubeMap {
public:
    ~TCubeMap();
    // Faces in the order +x, -x, +y, -y, +z, -z; false when one is missing or unreadable.
    bool Load(const std::array<std::filesystem::path, 6>& faces, std::string* error);
    void Bind(int unit) const;
    bool Ready() const { return id_ != 0; }

private:
    GLuint id_ = 0;
};

// What to do to a model's vertices on loading.
struct TModelShape {
    TModelImport Import;
    // Trees: scaled and moved to unit height and width, centred on the origin.
    bool FitUnitBox = false;
};

class TAnimatedModel;

class TModelLibrary {
public:
    TModelLibrary();
    ~TModelLibrary();
    TModelLibrary(const TModelLibrary&) = delete;
    TModelLibrary& operator=(const TModelLibrary&) = delete;

    void SetFolder(const std::filesystem::path& dataFolder) { folder_ = dataFolder; }
    const std::filesystem::path& Folder() const { return folder_; }

    // The model `name` from `file` (a name in the data folder, e.g. "Sign.obj" or
    // "Skier/Ski3.3DS") with, when `glassFile` exists, that file's parts as glass. Loaded on
    // the first call, then kept. Null when the file is missing or broken.
    TLoadedModel* Model(const std::string& name, const std::string& file,
                        const std::string& glassFile = {}, const TModelShape& shape = {});
    // The model `name` from `file` with all its key frames, to be played interpolated (an MD2
    // file). Loaded on the first call, then kept; null when the file is missing or broken.
    TAnimatedModel* Animation(const std::string& name, const std::string& file,
                              const TModelShape& shape = {});
    // The vertices of every part of a model file of the data folder, read again (not kept);
    // none when the file is missing or broken.
    std::vector<gl::TVertex> Vertices(const std::string& file) const;
    // Whether a file of the data folder exists (without loading it).
    bool Exists(const std::string& file) const;
    // A texture of the data folder (jpg, tga, bmp), with mip-maps; the models' materials with
    // anisotropic filtering (billboards, shadows and the sky without: they face the camera).
    // `alphaFromLuminance` makes its alpha its brightness (the shadow). Null when missing.
    const gl::TTexture* Texture(const std::string& file, bool alphaFromLuminance = false,
                                bool repeat = true, bool anisotropic = false);
    // The reflection cube map, loaded on first use; null when its images are missing.
    const TCubeMap* Reflection();

    // The files that were missing or broken, each logged once to stderr.
    size_t ModelCount() const { return models_.size(); }
    // One line per loaded texture: its file, size and GL name, in file order.
    std::vector<std::string> TextureInfo() const;

private:
    void Fail(const std::string& file, const std::string& why);
    std::optional<std::filesystem::path> PathOf(const std::string& file) const;

    std::filesystem::path folder_;
    std::vector<const gl::TTexture*> MaterialTextures(const TModelData& data);

    std::unordered_map<std::string, std::unique_ptr<TLoadedModel>> models_;
    std::unordered_map<std::string, std::unique_ptr<TAnimatedModel>> animations_;
    std::unordered_map<std::string, std::unique_ptr<gl::TTexture>> textures_;
    std::unique_ptr<TCubeMap> reflection_;
    bool reflectionTried_ = false;
    std::set<std::string> failures_;
};

}  // namespace vallorn
