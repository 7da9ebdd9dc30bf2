#include "presentation/model_import.h"

#include "presentation/model_obj.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

namespace vallorn {
namespace {

constexpr uintmax_t kMaxModelFileBytes = uintmax_t(64) << 20;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool IsMd2(const std::filesystem::path& file) {
    return Lower(file.extension().string()) == ".md2";
}

// The key frames an MD2 file holds (its header's frame count), or 0.
int Md2FrameCount(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[44] = {};
    if (!in.read(header, sizeof header) || std::memcmp(header, "IDP2", 4) != 0) return 0;
    int32_t frames = 0;
    std::memcpy(&frames, header + 40, sizeof frames);
    return std::clamp<int32_t>(frames, 0, 4096);
}

uint8_t Byte(float f) {
    return uint8_t(std::lround(std::clamp(f, 0.0f, 1.0f) * 255.0f));
}

// A material of the view from a file's name, colours and diffuse map.
TModelMaterial MakeMaterial(std::string name, glm::vec3 diffuse, float opacity, std::string texture,
                            glm::vec3 ambient, bool allGlass) {
    TModelMaterial out;
    out.Name = std::move(name);
    out.Diffuse = glm::vec4(diffuse, std::clamp(opacity, 0.0f, 1.0f));
    // Only the file's own name: textures live beside the models in the data folder.
    const size_t slash = texture.find_last_of("/\\");
    out.Texture = slash == std::string::npos ? texture : texture.substr(slash + 1);
    const std::string lower = Lower(out.Name);
    out.Glass = allGlass || lower == "glass";
    out.Paint = lower.rfind("paint", 0) == 0;
    if (out.Glass) {
        out.Diffuse = glm::vec4(0.039f, 0.039f, 0.977f, 0.5f);
        out.Texture.clear();
    }
    // Untextured materials take their ambient colour from the diffuse one.
    out.Ambient = out.Texture.empty() ? glm::vec3(out.Diffuse) : ambient;
    return out;
}

TModelMaterial ReadMaterial(const aiMaterial& m, bool allGlass) {
    aiString name;
    m.Get(AI_MATKEY_NAME, name);
    aiColor3D diffuse(1, 1, 1);
    m.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    float opacity = 1.0f;
    m.Get(AI_MATKEY_OPACITY, opacity);
    aiString texture;
    if (m.GetTextureCount(aiTextureType_DIFFUSE) == 0 ||
        m.GetTexture(aiTextureType_DIFFUSE, 0, &texture) != AI_SUCCESS)
        texture.Clear();
    aiColor3D ambient(0, 0, 0);
    m.Get(AI_MATKEY_COLOR_AMBIENT, ambient);
    return MakeMaterial(name.C_Str(), glm::vec3(diffuse.r, diffuse.g, diffuse.b), opacity,
                        texture.C_Str(), glm::vec3(ambient.r, ambient.g, ambient.b), allGlass);
}

// Turns, scales and colours one vertex into `part`, widening the model's bounds.
struct TPlacing {
    float Cos = 1, Sin = 0, Scale = 1;
};

void AppendVertex(TModelData& out, TModelPart& part, const TPlacing& at, glm::vec3 p, glm::vec3 n,
                  const glm::vec2* uv) {
    const TModelMaterial& material = out.Materials[part.Material];
    gl::TVertex x;
    x.X = (at.Cos * p.x + at.Sin * p.z) * at.Scale;
    x.Y = p.y * at.Scale;
    x.Z = (-at.Sin * p.x + at.Cos * p.z) * at.Scale;
    x.NX = at.Cos * n.x + at.Sin * n.z;
    x.NY = n.y;
    x.NZ = -at.Sin * n.x + at.Cos * n.z;
    if (uv) {
        x.U = uv->x;
        x.V = 1.0f - uv->y;  // images are stored top row first
    }
    // A textured material takes its colour from the image.
    const bool textured = !material.Texture.empty();
    x.R = textured ? 255 : Byte(material.Diffuse.r);
    x.G = textured ? 255 : Byte(material.Diffuse.g);
    x.B = textured ? 255 : Byte(material.Diffuse.b);
    x.A = material.Paint ? 0 : 255;
    const glm::vec3 q(x.X, x.Y, x.Z);
    if (out.Parts.size() == 1 && part.Vertices.empty()) {
        out.Min = out.Max = q;
    } else {
        out.Min = glm::min(out.Min, q);
        out.Max = glm::max(out.Max, q);
    }
    part.Vertices.push_back(x);
}

// The part of a material, made when the material is first used.
TModelPart& PartFor(TModelData& out, std::vector<int>& partOfMaterial, size_t material) {
    int& slot = partOfMaterial[material];
    if (slot < 0) {
        slot = int(out.Parts.size());
        out.Parts.push_back({});
        out.Parts.back().Material = material;
    }
    return out.Parts[size_t(slot)];
}

struct TWalk {
    const aiScene* Scene;
    TModelData* Out;
    TPlacing At;
    std::vector<int> PartOfMaterial;
    bool KeepRootTurn = false;
};

void AddMesh(TWalk& w, const aiMesh& mesh, const aiMatrix4x4& transform) {
    if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) || mesh.mNumVertices == 0) return;
    const unsigned mat = std::min(mesh.mMaterialIndex, unsigned(w.Out->Materials.size() - 1));
    TModelPart& part = PartFor(*w.Out, w.PartOfMaterial, mat);
    aiMatrix3x3 normalMatrix(transform);
    normalMatrix.Inverse().Transpose();
    const uint32_t base = uint32_t(part.Vertices.size());
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        const aiVector3D p = transform * mesh.mVertices[v];
        aiVector3D n = mesh.mNormals ? normalMatrix * mesh.mNormals[v] : aiVector3D(0, 1, 0);
        n.Normalize();
        glm::vec2 uv;
        if (mesh.mTextureCoords[0]) uv = {mesh.mTextureCoords[0][v].x, mesh.mTextureCoords[0][v].y};
        AppendVertex(*w.Out, part, w.At, {p.x, p.y, p.z}, {n.x, n.y, n.z},
                     mesh.mTextureCoords[0] ? &uv : nullptr);
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3) continue;
        for (unsigned k = 0; k < 3; ++k) part.Indices.push_back(base + face.mIndices[k]);
    }
}

void Walk(TWalk& w, const aiNode& node, const aiMatrix4x4& parent, bool root) {
    // The root's transform is left out: the 3DS reader puts a Z-up to Y-up turn there, and
    // our files are written Y-up already. MD2 files are Z-up as the format has them: there
    // the turn stands.
    const aiMatrix4x4 transform = root && !w.KeepRootTurn ? parent : parent * node.mTransformation;
    for (unsigned k = 0; k < node.mNumMeshes; ++k) {
        if (node.mMeshes[k] < w.Scene->mNumMeshes)
            AddMesh(w, *w.Scene->mMeshes[node.mMeshes[k]], transform);
    }
    for (unsigned k = 0; k < node.mNumChildren; ++k) Walk(w, *node.mChildren[k], transform, false);
}

// OBJ files are read by our own reader: the general importer's OBJ reader clears a 16 MB
// buffer for every file, which made model loading most of a park's start.
template <typename Fail>
bool ImportObj(const std::filesystem::path& file, const TModelImport& options, TModelData& out,
               Fail& fail) {
    TObjModel obj;
    std::string why;
    if (!ReadObjModel(file, obj, why)) return fail(why);
    for (const TObjMaterial& m : obj.Materials)
        out.Materials.push_back(
            MakeMaterial(m.Name, m.Diffuse, m.Opacity, m.Texture, m.Ambient, options.AllGlass));
    const float a = options.TurnDegrees * 0.017453293f;
    const TPlacing at{std::cos(a), std::sin(a), options.Scale};
    std::vector<int> partOfMaterial(out.Materials.size(), -1);
    for (const TObjPart& p : obj.Parts) {
        TModelPart& part = PartFor(out, partOfMaterial, p.Material);
        for (const TObjCorner& c : p.Corners) {
            part.Indices.push_back(uint32_t(part.Vertices.size()));
            const float length = glm::length(c.Normal);
            AppendVertex(out, part, at, c.Position,
                         length > 0 ? c.Normal / length : glm::vec3(0, 1, 0),
                         obj.TexCoords ? &c.TexCoord : nullptr);
        }
    }
    return true;
}

}  // namespace

bool ImportModel(const std::filesystem::path& file, const TModelImport& options, TModelData& out,
                 std::string* error) {
    out = {};
    auto fail = [&](const std::string& why) {
        if (error) *error = "cannot read model " + file.filename().string() + ": " + why;
        return false;
    };
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return fail("no such file");
    if (size > kMaxModelFileBytes) return fail("file too large");

    if (Lower(file.extension().string()) == ".obj") return ImportObj(file, options, out, fail);

    Assimp::Importer importer;
    const bool md2 = IsMd2(file);
    if (md2) {
        out.Frames = std::max(1, Md2FrameCount(file));
        importer.SetPropertyInteger(AI_CONFIG_IMPORT_MD2_KEYFRAME,
                                    std::clamp(options.Frame, 0, out.Frames - 1));
    }
    const aiScene* scene = importer.ReadFile(
        file.string(), aiProcess_Triangulate | aiProcess_GenNormals | aiProcess_SortByPType);
    if (!scene || !scene->mRootNode || scene->mNumMeshes == 0 || scene->mNumMaterials == 0) {
        const char* why = importer.GetErrorString();
        return fail(why && *why ? why : "no meshes");
    }
    for (unsigned m = 0; m < scene->mNumMaterials; ++m)
        out.Materials.push_back(ReadMaterial(*scene->mMaterials[m], options.AllGlass));
    const float a = options.TurnDegrees * 0.017453293f;
    TWalk w{scene,
            &out,
            {std::cos(a), std::sin(a), options.Scale},
            std::vector<int>(out.Materials.size(), -1),
            md2};
    Walk(w, *scene->mRootNode, aiMatrix4x4(), true);
    if (out.Parts.empty()) return fail("no triangles");
    return true;
}

int FlipBookFrame(int phase, int frames) {
    if (frames <= 0) return 0;
    return ((phase % frames) + frames) % frames;
}

TFrameBlend InterpolatedFrame(double frameTime, int frames) {
    TFrameBlend b;
    if (frames <= 1 || !std::isfinite(frameTime)) return b;
    const double t = std::fmod(frameTime, double(frames));
    const double w = t < 0 ? t + frames : t;
    b.From = std::min(int(w), frames - 1);
    b.To = (b.From + 1) % frames;
    b.T = float(w - double(b.From));
    return b;
}

}  // namespace vallorn
