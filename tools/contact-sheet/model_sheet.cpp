// The `models` drawing of vallorn-contact-sheet: the generated models of a data folder in one
// contact sheet, so that they can be looked at side by side.
//
//   models DATA_DIR OUT.png [--low] [--cell PIXELS] [--columns N]
//
// draws the high-detail models, or with --low the low-detail ones (".3DS" and names ending
// in "L"), in cells of PIXELS (200) square, N (10) to a row; the trees and the sky dome are
// left to the figures' pictures.
//
// Each model is read through assimp the way the game reads it (vertices as stored, node
// transforms ignored), drawn from the front right and above in parallel projection under one
// light, its glass parts (name + "GL.3DS" or "GL.obj") blended over it, and labelled.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <assimp/material.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <stb_easy_font.h>
#include <stb_image_write.h>

#include "sheet_common.h"

namespace fs = std::filesystem;

namespace vallorn::sheet {
namespace {

struct TTri {
    TVec p[3];
    float u[3] = {0, 0, 0}, v[3] = {0, 0, 0};
    float r, g, b, a;
    const TTexture* texture = nullptr;
};

bool Load(const fs::path& file, std::vector<TTri>& out, bool glass) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    if (!scene) return false;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        aiColor3D c(0.8f, 0.8f, 0.8f);
        float opacity = 1;
        const aiMaterial* mat = scene->mMaterials[mesh->mMaterialIndex];
        mat->Get(AI_MATKEY_COLOR_DIFFUSE, c);
        mat->Get(AI_MATKEY_OPACITY, opacity);
        aiString tex;
        const TTexture* texture = nullptr;
        if (mat->GetTexture(aiTextureType_DIFFUSE, 0, &tex) == AI_SUCCESS) {
            c = {0.75f, 0.7f, 0.62f};
            texture = LoadTexture(file.parent_path() / tex.C_Str());
        }
        if (glass) c = {0.039f, 0.039f, 0.977f}, opacity = 0.5f;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            for (unsigned k = 1; k + 1 < face.mNumIndices; ++k) {
                TTri t;
                const unsigned idx[3] = {face.mIndices[0], face.mIndices[k], face.mIndices[k + 1]};
                for (int i = 0; i < 3; ++i) {
                    const aiVector3D& v = mesh->mVertices[idx[i]];
                    t.p[i] = {v.x, v.y, v.z};
                    if (mesh->mTextureCoords[0]) {
                        t.u[i] = mesh->mTextureCoords[0][idx[i]].x;
                        t.v[i] = mesh->mTextureCoords[0][idx[i]].y;
                    }
                }
                t.texture = texture;
                t.r = c.r, t.g = c.g, t.b = c.b, t.a = opacity;
                out.push_back(t);
            }
        }
    }
    return true;
}

struct TImage {
    int w, h;
    std::vector<float> rgb, depth;
    TImage(int w_, int h_)
        : w(w_), h(h_), rgb(size_t(w_ * h_ * 3), 1.0f), depth(size_t(w_ * h_), 1e30f) {}
};

// Draws the triangles into the cell at (x0, y0) of size s, fitted to their bounds.
void DrawCell(TImage& img, int x0, int y0, int s, const std::vector<TTri>& solid,
              const std::vector<TTri>& glass) {
    const TVec eye = Norm({0.75f, 0.55f, 1.0f});  // toward the viewer: front (+z) right, above
    const TVec right = Norm(Cross({0, 1, 0}, eye));
    const TVec up = Cross(eye, right);
    const TVec light = Norm({-0.35f, 0.8f, 0.5f});
    float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
    for (const auto* list : {&solid, &glass})
        for (const TTri& t : *list)
            for (const TVec& p : t.p) {
                const float u = Dot(p, right), v = Dot(p, up);
                lo[0] = std::min(lo[0], u), hi[0] = std::max(hi[0], u);
                lo[1] = std::min(lo[1], v), hi[1] = std::max(hi[1], v);
            }
    const float span = std::max(hi[0] - lo[0], hi[1] - lo[1]) * 1.08f + 1e-3f;
    const float scale = float(s) / span;
    const float cu = (lo[0] + hi[0]) / 2, cv = (lo[1] + hi[1]) / 2;
    auto draw = [&](const TTri& t) {
        float sx[3], sy[3], sz[3];
        for (int i = 0; i < 3; ++i) {
            sx[i] = float(x0) + float(s) / 2 + (Dot(t.p[i], right) - cu) * scale;
            sy[i] = float(y0) + float(s) / 2 - (Dot(t.p[i], up) - cv) * scale;
            sz[i] = -Dot(t.p[i], eye);
        }
        TVec n = Norm(Cross(t.p[1] - t.p[0], t.p[2] - t.p[0]));
        // No flip toward the viewer: as in the game, a face wound the wrong way is lit from
        // behind and shows dark.
        const float shade = 0.38f + 0.62f * std::max(0.0f, Dot(n, light));
        const int bx0 = std::max(x0, int(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        const int bx1 = std::min(x0 + s - 1, int(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        const int by0 = std::max(y0, int(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        const int by1 = std::min(y0 + s - 1, int(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (std::fabs(area) < 1e-8f) return;
        for (int y = by0; y <= by1; ++y)
            for (int x = bx0; x <= bx1; ++x) {
                const float px = float(x) + 0.5f, py = float(y) + 0.5f;
                const float w0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                const float w1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                const float w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                const float z = w0 * sz[0] + w1 * sz[1] + w2 * sz[2];
                const size_t i = size_t(y * img.w + x);
                if (z >= img.depth[i]) continue;
                float* c = &img.rgb[i * 3];
                float col[3] = {t.r * shade, t.g * shade, t.b * shade};
                if (t.texture) {
                    const float u = w0 * t.u[0] + w1 * t.u[1] + w2 * t.u[2];
                    const float v = w0 * t.v[0] + w1 * t.v[1] + w2 * t.v[2];
                    const int tx = std::clamp(int(u * float(t.texture->w)), 0, t.texture->w - 1);
                    const int ty = std::clamp(int(v * float(t.texture->h)), 0, t.texture->h - 1);
                    const unsigned char* texel = t.texture->Texel(tx, ty);
                    for (int k = 0; k < 3; ++k) col[k] = float(texel[k]) / 255.0f * shade;
                }
                for (int k = 0; k < 3; ++k) c[k] = c[k] * (1 - t.a) + col[k] * t.a;
                if (t.a >= 1) img.depth[i] = z;
            }
    };
    for (const TTri& t : solid) draw(t);
    for (const TTri& t : glass) draw(t);
}

void Label(TImage& img, int x, int y, const std::string& text, int zoom) {
    static char buffer[60000];
    const int quads =
        stb_easy_font_print(0, 0, const_cast<char*>(text.c_str()), nullptr, buffer, sizeof buffer);
    const float* v = reinterpret_cast<const float*>(buffer);
    for (int q = 0; q < quads; ++q) {
        const float* a = v + q * 16;  // four vertices of x, y, z, colour
        for (int py = int(a[1]) * zoom; py < int(a[9]) * zoom; ++py)
            for (int px = int(a[0]) * zoom; px < int(a[4]) * zoom; ++px) {
                const int X = x + px, Y = y + py;
                if (X < 0 || Y < 0 || X >= img.w || Y >= img.h) continue;
                float* c = &img.rgb[size_t(Y * img.w + X) * 3];
                c[0] = c[1] = c[2] = 0.1f;
            }
    }
}

}  // namespace

int DrawModelSheet(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: vallorn-contact-sheet models DATA_DIR OUT.png [--low] [--cell PIXELS] "
                     "[--columns N]\n");
        return 2;
    }
    const fs::path data = argv[1];
    bool low = false;
    int cell = 200, cols = 10;
    for (int a = 3; a < argc; ++a) {
        const std::string arg = argv[a];
        if (arg == "--low") low = true;
        if (arg == "--cell" && a + 1 < argc) cell = std::clamp(std::atoi(argv[++a]), 64, 1024);
        if (arg == "--columns" && a + 1 < argc) cols = std::clamp(std::atoi(argv[++a]), 1, 40);
    }
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(data)) {
        const std::string name = e.path().filename().string(), stem = e.path().stem().string();
        const std::string ext = e.path().extension().string();
        if (ext != ".obj" && ext != ".3DS") continue;
        if (stem.size() > 2 && stem.substr(stem.size() - 2) == "GL") continue;
        // The trees and the sky dome are the figures' (the `figures` drawing).
        if (stem.rfind("treeA", 0) == 0 || stem.rfind("TreeL", 0) == 0 || stem == "Dome") continue;
        const bool isLow =
            ext == ".3DS" || (stem.back() == 'L' && stem != "gateClosed") || stem == "HeliLow";
        if (isLow == low) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    const int ss = 2;
    const int rows = int((files.size() + cols - 1) / cols);
    TImage img(cols * cell * ss, rows * cell * ss);
    for (size_t k = 0; k < files.size(); ++k) {
        std::vector<TTri> solid, glass;
        if (!Load(files[k], solid, false)) {
            std::fprintf(stderr, "cannot read %s\n", files[k].c_str());
            return 1;
        }
        for (const char* ext : {"GL.3DS", "GL.obj"}) {
            const fs::path g = data / (files[k].stem().string() + ext);
            if (fs::exists(g)) Load(g, glass, true);
        }
        const int cx = int(k % cols) * cell * ss, cy = int(k / cols) * cell * ss;
        DrawCell(img, cx + 8, cy + 24, cell * ss - 16, solid, glass);
        Label(img, cx + 8, cy + 4, files[k].filename().string(), 3);
    }
    // Downsample and write.
    std::vector<unsigned char> out(size_t(cols * cell * rows * cell * 3));
    for (int y = 0; y < rows * cell; ++y)
        for (int x = 0; x < cols * cell; ++x)
            for (int c = 0; c < 3; ++c) {
                float sum = 0;
                for (int dy = 0; dy < ss; ++dy)
                    for (int dx = 0; dx < ss; ++dx)
                        sum += img.rgb[size_t(((y * ss + dy) * img.w + x * ss + dx) * 3 + c)];
                out[size_t((y * cols * cell + x) * 3 + c)] =
                    (unsigned char)std::clamp(sum / float(ss * ss) * 255.0f, 0.0f, 255.0f);
            }
    return stbi_write_png(argv[2], cols * cell, rows * cell, 3, out.data(), cols * cell * 3) ? 0
                                                                                             : 1;
}

}  // namespace vallorn::sheet
