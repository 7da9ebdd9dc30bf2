// The scene's figures as vallorn-datagen writes them: every picture decodes at its size, every
// model loads through assimp as the game loads it, the flip-books and the tree loop have their
// frames, the avatar's MD2 files their key frames, and two runs give the same bytes.
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

const char* const kKinds[] = {"Skier", "Board", "SkierF"};
const char* const kPoses[] = {"Stand", "Sit", "Ski", "Injured", "SkiSlow", "Walk"};

// The figures written once for all tests of this file.
const fs::path& Figures() {
    static test::TempDir dir;
    static const fs::path out = [] {
        const fs::path path = dir / "data";
        const std::string cmd = (test::BuildRoot() / "vallorn-datagen").string() + " --figures " +
                                path.string() + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        return path;
    }();
    return out;
}

struct TBounds {
    aiVector3D lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    unsigned vertices = 0;
    double topX = 0;  // sum of x over the vertices above y 0.3 (a tree's crown)
    unsigned top = 0;
};

// Loads a model; false (with a message) when assimp cannot read it or it has no triangles.
bool Load(Assimp::Importer& importer, const fs::path& file, TBounds* bounds) {
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    if (!scene || scene->mNumMeshes == 0) {
        ADD_FAILURE() << file << ": " << importer.GetErrorString();
        return false;
    }
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        for (unsigned k = 0; k < scene->mMeshes[m]->mNumVertices; ++k) {
            const aiVector3D& v = scene->mMeshes[m]->mVertices[k];
            bounds->lo = {std::min(bounds->lo.x, v.x), std::min(bounds->lo.y, v.y),
                          std::min(bounds->lo.z, v.z)};
            bounds->hi = {std::max(bounds->hi.x, v.x), std::max(bounds->hi.y, v.y),
                          std::max(bounds->hi.z, v.z)};
            ++bounds->vertices;
            if (v.y > 0.3f) bounds->topX += v.x, ++bounds->top;
        }
    return true;
}

TEST(Figures, PicturesDecodeAtTheirSizes) {
    std::map<std::string, std::pair<int, int>> sizes = {
        {"treeMask.tga", {128, 256}},      {"treeMaskL.tga", {128, 256}},
        {"shadow.tga", {64, 64}},          {"treeLeafWhite.tga", {128, 128}},
        {"treeLeafGreen.tga", {128, 128}}, {"LTEX.jpg", {256, 256}},
        {"avatar.jpg", {128, 128}},        {"lghtBuilds.bmp", {64, 64}},
        {"lghtHouses.bmp", {64, 64}}};
    for (const char* side : {"left", "right", "top", "bottom", "back", "front"})
        sizes[std::string("cm_") + side + ".jpg"] = {256, 256};
    for (int n = 0; n < 6; ++n) sizes["dome" + std::to_string(n) + ".jpg"] = {512, 256};
    for (int t = 0; t < 7; ++t) sizes["lghtLift" + std::to_string(t) + ".bmp"] = {64, 64};
    for (const char* kind : kKinds)
        for (int n = 0; n < 9; ++n)
            sizes[kind + std::string("c") + std::to_string(n) + ".jpg"] = {128, 128};
    for (const auto& [file, size] : sizes) {
        int w = 0, h = 0, channels = 0;
        ASSERT_TRUE(stbi_info((Figures() / file).string().c_str(), &w, &h, &channels)) << file;
        EXPECT_EQ(std::make_pair(w, h), size) << file;
        if (fs::path(file).extension() == ".tga" && file != "shadow.tga") {
            // Alpha-tested pictures: both clear and solid pixels.
            unsigned char* p = stbi_load((Figures() / file).string().c_str(), &w, &h, &channels, 4);
            ASSERT_NE(p, nullptr) << file;
            int clear = 0, solid = 0;
            for (int k = 0; k < w * h; ++k) {
                clear += p[k * 4 + 3] < 16;
                solid += p[k * 4 + 3] > 240;
            }
            stbi_image_free(p);
            EXPECT_GT(clear, w * h / 20) << file;
            EXPECT_GT(solid, w * h / 50) << file;
        }
    }
    // The six skies are different pictures.
    EXPECT_NE(test::ReadText(Figures() / "dome0.jpg"), test::ReadText(Figures() / "dome3.jpg"));
}

TEST(Figures, FlipBooksAndTreeLoopHaveAllTheirFramesStandingOnTheGround) {
    Assimp::Importer importer;
    for (const char* kind : kKinds)
        for (const char* pose : kPoses) {
            const fs::path folder = Figures() / kind;
            for (int i = 0; i < 20; ++i) {
                TBounds b;
                ASSERT_TRUE(Load(importer, folder / (pose + std::to_string(i) + ".3DS"), &b));
                const float height = b.hi.y - b.lo.y;
                if (std::string(pose) == "Injured") {
                    EXPECT_LT(height, 1.2f) << kind << pose << i << " lies in the snow";
                } else if (std::string(pose) != "Sit") {
                    EXPECT_NEAR(b.lo.y, 0, 0.03f) << kind << pose << i << ": feet on the snow";
                    EXPECT_GT(height, 1.1f) << kind << pose << i;
                    EXPECT_LT(height, 2.3f) << kind << pose << i;  // carried skis rise higher
                }
            }
            EXPECT_FALSE(fs::exists(folder / (pose + std::string("20.3DS"))));
        }
    std::vector<double> crowns;
    for (int f = 0; f < 30; ++f) {
        const fs::path file = Figures() / ("treeA" + std::to_string(f) + ".3DS");
        const aiScene* scene = importer.ReadFile(file.string(), 0);
        ASSERT_TRUE(scene) << file;
        bool leaves = false;
        for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
            aiString texture;
            if (scene->mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS)
                leaves |= std::string(texture.C_Str()).find("treeLeafWhite") != std::string::npos;
        }
        EXPECT_TRUE(leaves) << file;
        TBounds b;
        ASSERT_TRUE(Load(importer, file, &b));
        EXPECT_NEAR(b.lo.y, -0.5f, 0.02f) << file;
        EXPECT_NEAR(b.hi.y, 0.5f, 0.05f) << file;
        crowns.push_back(b.topX / std::max(1u, b.top));
    }
    // The loop sways: half a cycle apart the crown stands elsewhere; the last frame leads
    // back to the first.
    EXPECT_GT(std::abs(crowns[7] - crowns[22]), 0.02);
    EXPECT_LT(std::abs(crowns[0] - crowns[29]), std::abs(crowns[7] - crowns[22]) / 4);
    for (const char* file : {"TreeLS.3DS", "TreeLG.3DS", "Dome.3DS", "AvatarEgg.3ds"}) {
        TBounds b;
        EXPECT_TRUE(Load(importer, Figures() / file, &b)) << file;
    }
}

TEST(Figures, AvatarAnimationsHaveTwentyKeyFramesOfOneShape) {
    for (const char* file : {"AvatarSki.md2", "AvatarWalk.md2"}) {
        std::vector<std::vector<aiVector3D>> frames;
        for (int f = 0; f < 20; ++f) {
            Assimp::Importer importer;
            importer.SetPropertyInteger(AI_CONFIG_IMPORT_MD2_KEYFRAME, f);
            const aiScene* scene = importer.ReadFile((Figures() / file).string(), 0);
            ASSERT_TRUE(scene && scene->mNumMeshes == 1) << file << f;
            const aiMesh* m = scene->mMeshes[0];
            frames.emplace_back(m->mVertices, m->mVertices + m->mNumVertices);
            // The stored normals face out of the triangles as they wind.
            int agree = 0;
            for (unsigned t = 0; t < m->mNumFaces; ++t) {
                const unsigned* i = m->mFaces[t].mIndices;
                const aiVector3D n = (m->mVertices[i[1]] - m->mVertices[i[0]]) ^
                                     (m->mVertices[i[2]] - m->mVertices[i[0]]);
                agree += n * (m->mNormals[i[0]] + m->mNormals[i[1]] + m->mNormals[i[2]]) > 0;
            }
            EXPECT_GT(agree, int(m->mNumFaces) * 8 / 10) << file << f;
            ASSERT_EQ(frames.back().size(), frames.front().size()) << file << f;
        }
        float moved = 0;
        for (size_t k = 0; k < frames[0].size(); ++k)
            moved = std::max(moved, (frames[0][k] - frames[10][k]).Length());
        EXPECT_GT(moved, 0.1f) << file << " animates";
    }
}

TEST(Figures, TwoRunsWriteTheSameBytes) {
    test::TempDir again;
    const std::string cmd = (test::BuildRoot() / "vallorn-datagen").string() + " --figures " +
                            (again / "data").string() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(Figures())) {
        if (!e.is_regular_file()) continue;
        ++files;
        const fs::path other = again / "data" / fs::relative(e.path(), Figures());
        EXPECT_TRUE(test::ReadText(e.path()) == test::ReadText(other)) << e.path();
    }
    EXPECT_GT(files, 400);
}

}  // namespace
}  // namespace vallorn
