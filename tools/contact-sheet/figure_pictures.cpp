// The `figures` drawing of vallorn-contact-sheet: pictures of single models of the data folder,
// for looking at them and for the figures' contact sheet. Loads each model through assimp as
// the game does and rasterises it in software: textured (alpha-tested), lit by one light from
// the upper left, seen from the front left and a little above, scaled to fill the picture.
//
//   figures DATA OUT_FOLDER MODEL[@FRAME] ...
//
// Writes OUT_FOLDER/<model file stem>[_<frame>].png, 200 x 240 pixels, for each model (a frame
// number picks the key frame of an MD2 file). MODEL[@FRAME]=FROM:TO draws the picture TO where
// the model names the picture FROM (another skin, the green leaves) and adds "_TO" to the name.
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <stb_image_write.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sheet_common.h"

namespace fs = std::filesystem;

namespace vallorn::sheet {
namespace {

constexpr int kW = 200, kH = 240;

struct TTarget {
    std::vector<unsigned char> rgb = std::vector<unsigned char>(kW * kH * 3);
    std::vector<float> depth = std::vector<float>(kW * kH, 1e30f);
};

const TTexture* Texture(const fs::path& data, const std::string& file) {
    return LoadTexture(data / file);
}

bool Render(const fs::path& data, const fs::path& model, int frame, const std::string& from,
            const std::string& to, const fs::path& out) {
    Assimp::Importer importer;
    importer.SetPropertyInteger(AI_CONFIG_IMPORT_MD2_KEYFRAME, frame);
    const aiScene* scene = importer.ReadFile(model.string(), aiProcess_Triangulate);
    if (!scene) {
        std::fprintf(stderr, "%s: %s\n", model.string().c_str(), importer.GetErrorString());
        return false;
    }
    const bool md2 = model.extension() == ".md2";
    // MD2 is z-up; the others are stored y-up.
    auto point = [md2](const aiVector3D& v) {
        return md2 ? TVec{v.x, v.z, -v.y} : TVec{v.x, v.y, v.z};
    };
    TVec lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        for (unsigned k = 0; k < scene->mMeshes[m]->mNumVertices; ++k) {
            const TVec p = point(scene->mMeshes[m]->mVertices[k]);
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
    const TVec centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
    const TVec eye = Norm({0.85f, 0.35f, 0.55f});  // toward the viewer
    const TVec right = Norm(Cross({0, 1, 0}, eye)), up = Cross(eye, right);
    float extent = 0;
    for (float x : {lo.x, hi.x})
        for (float y : {lo.y, hi.y})
            for (float z : {lo.z, hi.z}) {
                const TVec d = TVec{x, y, z} - centre;
                extent =
                    std::max({extent, std::abs(Dot(d, right)) * kH / kW, std::abs(Dot(d, up))});
            }
    const float scale = 0.46f * kH / std::max(extent, 1e-4f);
    const TVec light = Norm({-0.6f, 0.7f, 0.4f});
    TTarget target;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float t = float(y) / kH;
            unsigned char* p = &target.rgb[(size_t(y) * kW + x) * 3];
            p[0] = (unsigned char)(150 + 50 * t);
            p[1] = (unsigned char)(170 + 40 * t);
            p[2] = (unsigned char)(196 + 30 * t);
        }
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        aiString file;
        const TTexture* texture = nullptr;
        if (material->GetTexture(aiTextureType_DIFFUSE, 0, &file) == AI_SUCCESS) {
            std::string name = fs::path(file.C_Str()).filename().string();
            if (!from.empty() && name == from) name = to;
            texture = Texture(data, name);
        }
        if (!texture && md2) texture = Texture(data, "avatar.jpg");
        aiColor3D diffuse(1, 1, 1);
        material->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3) continue;
            TVec w[3], s[3];
            float u[3] = {0, 0, 0}, v[3] = {0, 0, 0};
            for (int k = 0; k < 3; ++k) {
                w[k] = point(mesh->mVertices[face.mIndices[k]]);
                const TVec d = w[k] - centre;
                s[k] = {kW / 2 + Dot(d, right) * scale, kH / 2 - Dot(d, up) * scale, -Dot(d, eye)};
                if (mesh->HasTextureCoords(0)) {
                    u[k] = mesh->mTextureCoords[0][face.mIndices[k]].x;
                    v[k] = mesh->mTextureCoords[0][face.mIndices[k]].y;
                }
            }
            const TVec n = Norm(Cross(w[1] - w[0], w[2] - w[0]));
            const float lit = 0.45f + 0.55f * std::abs(Dot(n, light));
            const float area =
                (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
            if (std::abs(area) < 1e-6f) continue;
            const int x0 = std::max(0, int(std::min({s[0].x, s[1].x, s[2].x})));
            const int x1 = std::min(kW - 1, int(std::max({s[0].x, s[1].x, s[2].x})) + 1);
            const int y0 = std::max(0, int(std::min({s[0].y, s[1].y, s[2].y})));
            const int y1 = std::min(kH - 1, int(std::max({s[0].y, s[1].y, s[2].y})) + 1);
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    const float px = x + 0.5f, py = y + 0.5f;
                    const float b0 =
                        ((s[1].x - px) * (s[2].y - py) - (s[2].x - px) * (s[1].y - py)) / area;
                    const float b1 =
                        ((s[2].x - px) * (s[0].y - py) - (s[0].x - px) * (s[2].y - py)) / area;
                    const float b2 = 1 - b0 - b1;
                    if (b0 < 0 || b1 < 0 || b2 < 0) continue;
                    const float z = b0 * s[0].z + b1 * s[1].z + b2 * s[2].z;
                    float& depth = target.depth[size_t(y) * kW + x];
                    if (z >= depth) continue;
                    float r = diffuse.r, g = diffuse.g, b = diffuse.b;
                    if (texture) {
                        float tu = b0 * u[0] + b1 * u[1] + b2 * u[2];
                        float tv = b0 * v[0] + b1 * v[1] + b2 * v[2];
                        tu -= std::floor(tu);
                        tv -= std::floor(tv);
                        const int tx = std::clamp(int(tu * texture->w), 0, texture->w - 1);
                        const int ty = std::clamp(int((1 - tv) * texture->h), 0, texture->h - 1);
                        const unsigned char* t = texture->Texel(tx, ty);
                        if (t[3] < 128) continue;
                        r = t[0] / 255.0f;
                        g = t[1] / 255.0f;
                        b = t[2] / 255.0f;
                    }
                    depth = z;
                    unsigned char* p = &target.rgb[(size_t(y) * kW + x) * 3];
                    p[0] = (unsigned char)std::clamp(r * lit * 255, 0.0f, 255.0f);
                    p[1] = (unsigned char)std::clamp(g * lit * 255, 0.0f, 255.0f);
                    p[2] = (unsigned char)std::clamp(b * lit * 255, 0.0f, 255.0f);
                }
        }
    }
    return stbi_write_png(out.string().c_str(), kW, kH, 3, target.rgb.data(), kW * 3) != 0;
}

}  // namespace

int RenderFigures(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: vallorn-contact-sheet figures DATA OUT_FOLDER MODEL[@FRAME] ...\n");
        return 2;
    }
    const fs::path data = argv[1], out = argv[2];
    fs::create_directories(out);
    int failed = 0;
    for (int k = 3; k < argc; ++k) {
        std::string request = argv[k];
        int frame = 0;
        std::string suffix, from, to;
        if (const auto eq = request.find('='); eq != std::string::npos) {
            const std::string swap = request.substr(eq + 1);
            request.resize(eq);
            from = swap.substr(0, swap.find(':'));
            to = swap.substr(swap.find(':') + 1);
        }
        if (const auto at = request.find('@'); at != std::string::npos) {
            frame = std::atoi(request.c_str() + at + 1);
            suffix = request.substr(at);
            suffix[0] = '_';
            request.resize(at);
        }
        const fs::path model = fs::path(request).is_absolute() ? fs::path(request) : data / request;
        std::string stem =
            fs::path(request).parent_path().filename().string() + model.stem().string() + suffix;
        if (!to.empty()) stem.append(1, '_').append(fs::path(to).stem().string());
        if (!Render(data, model, frame, from, to, out / (stem + ".png"))) ++failed;
    }
    return failed ? 1 : 0;
}

}  // namespace vallorn::sheet
