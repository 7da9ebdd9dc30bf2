// Model files read without a display: materials become vertex colours, "glass" and paint are
// recognised, the skier's quarter turn is applied, MD2 key frames are told apart, and broken
// files are refused with a reason.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "presentation/model_import.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

struct ModelImportTest : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vallorn_model_import_" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    }
};

const TModelPart* PartOf(const TModelData& d, const std::string& material) {
    for (const TModelPart& p : d.Parts)
        if (d.Materials[p.Material].Name == material) return &p;
    return nullptr;
}

TEST_F(ModelImportTest, MaterialsGlassPaintTexturesAndTheQuarterTurn) {
    Write("m.mtl",
          "newmtl Wood\nKd 0.5 0.25 0\nnewmtl glass\nKd 1 1 1\nnewmtl PaintBody\nKd 1 1 1\n"
          "newmtl Leaves\nKd 1 1 1\nmap_Kd some/dir/treeLeafWhite.tga\n");
    const fs::path obj = Write("m.obj",
                               "mtllib m.mtl\nv 2 0 0\nv 2 1 0\nv 2 0 1\nv 0 3 0\n"
                               "vt 0 0\nvt 1 0\nvt 0 1\n"
                               "usemtl Wood\nf 1 2 3\nusemtl glass\nf 1 2 4\n"
                               "usemtl PaintBody\nf 2 3 4\nusemtl Leaves\nf 1/1 2/2 3/3\n");
    TModelData d;
    std::string error;
    ASSERT_TRUE(ImportModel(obj, {}, d, &error)) << error;
    const TModelPart* wood = PartOf(d, "Wood");
    const TModelPart* glass = PartOf(d, "glass");
    const TModelPart* paint = PartOf(d, "PaintBody");
    const TModelPart* leaves = PartOf(d, "Leaves");
    ASSERT_TRUE(wood && glass && paint && leaves);
    EXPECT_EQ(wood->Indices.size(), 3u);
    EXPECT_EQ(wood->Vertices[0].R, 128);
    EXPECT_EQ(wood->Vertices[0].G, 64);
    EXPECT_EQ(wood->Vertices[0].A, 255);
    const TModelMaterial& woodMaterial = d.Materials[wood->Material];
    EXPECT_FLOAT_EQ(woodMaterial.Ambient.r, 0.5f);  // untextured: ambient from diffuse
    EXPECT_TRUE(d.Materials[glass->Material].Glass);
    EXPECT_NEAR(d.Materials[glass->Material].Diffuse.b, 0.977f, 1e-6f);
    EXPECT_FLOAT_EQ(d.Materials[glass->Material].Diffuse.a, 0.5f);
    EXPECT_EQ(paint->Vertices[0].A, 0);  // takes the instance's colour
    EXPECT_EQ(d.Materials[leaves->Material].Texture, "treeLeafWhite.tga");
    EXPECT_FALSE(d.Materials[wood->Material].Glass);
    EXPECT_FLOAT_EQ(d.Max.y, 3.0f);

    // Turned -90 degrees about the vertical: what faced +x faces +z; a glass file is all glass.
    TModelImport turned;
    turned.TurnDegrees = -90.0f;
    turned.AllGlass = true;
    ASSERT_TRUE(ImportModel(obj, turned, d, &error)) << error;
    EXPECT_NEAR(d.Max.z, 2.0f, 1e-5f);
    EXPECT_NEAR(d.Max.x, 0.0f, 1e-5f);
    EXPECT_NEAR(d.Min.x, -1.0f, 1e-5f);
    for (const TModelMaterial& m : d.Materials) EXPECT_TRUE(m.Glass) << m.Name;
}

TEST_F(ModelImportTest, ObjPolygonsRelativeIndicesMissingNormalsAndBadFaces) {
    Write("q.mtl", "newmtl Roof\nKd 1 0 0\nd 0.5\n");
    // A quad with relative indices and no normals, in a material the library does not hold,
    // then a triangle of the library's material with its own normals.
    const fs::path obj = Write("q.obj",
                               "mtllib q.mtl\r\nv 0 0 0\nv 1 0 0\nv 1 0 1\nv 0 0 1 # corner\n"
                               "vn 1 0 0\nusemtl Nowhere\nf -4 -1 -2 -3\n"
                               "usemtl Roof\nf 1//1 2//1 4//1\n");
    TModelData d;
    std::string error;
    ASSERT_TRUE(ImportModel(obj, {}, d, &error)) << error;
    const TModelPart* quad = PartOf(d, "DefaultMaterial");
    const TModelPart* roof = PartOf(d, "Roof");
    ASSERT_TRUE(quad && roof);
    ASSERT_EQ(quad->Indices.size(), 6u);  // fanned into two triangles
    for (const gl::TVertex& v : quad->Vertices) EXPECT_NEAR(v.NY, 1.0f, 1e-6f);  // face's normal
    EXPECT_NEAR(roof->Vertices[0].NX, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(d.Materials[roof->Material].Diffuse.a, 0.5f);
    EXPECT_EQ(roof->Vertices[0].R, 255);

    TModelData bad;
    EXPECT_FALSE(ImportModel(Write("b.obj", "v 0 0 0\nv 1 0 0\nf 1 2 3\n"), {}, bad, &error));
    EXPECT_NE(error.find("missing vertex"), std::string::npos) << error;
    EXPECT_FALSE(ImportModel(Write("e.obj", "v 0 0 0\n"), {}, bad, &error));
    EXPECT_NE(error.find("no triangles"), std::string::npos) << error;
}

// A minimal MD2: one triangle in two key frames, the second twice as deep along y.
std::string Md2() {
    std::string b(68, '\0');
    auto put32 = [&](size_t at, int32_t v) { std::memcpy(&b[at], &v, 4); };
    auto add = [&](const void* p, size_t n) { b.append(static_cast<const char*>(p), n); };
    const int frameSize = 40 + 3 * 4;
    std::memcpy(&b[0], "IDP2", 4);
    put32(4, 8);
    put32(8, 64);
    put32(12, 64);
    put32(16, frameSize);
    put32(24, 3);   // vertices
    put32(28, 3);   // texture coordinates
    put32(32, 1);   // triangles
    put32(40, 2);   // frames
    put32(48, 68);  // texture coordinates at
    const int16_t st[6] = {0, 0, 63, 0, 0, 63};
    add(st, sizeof st);
    put32(52, int32_t(b.size()));  // triangles at
    const int16_t tri[6] = {0, 1, 2, 0, 1, 2};
    add(tri, sizeof tri);
    put32(56, int32_t(b.size()));  // frames at
    for (int f = 0; f < 2; ++f) {
        const float scale[3] = {0.1f, 0.1f * float(f + 1), 0.1f}, move[3] = {0, 0, 0};
        add(scale, sizeof scale);
        add(move, sizeof move);
        char name[16] = "frame";
        add(name, sizeof name);
        const uint8_t v[12] = {0, 0, 0, 0, 10, 0, 0, 0, 0, 10, 10, 0};
        add(v, sizeof v);
    }
    put32(36, 1);                  // one GL command word: the end of the list
    put32(60, int32_t(b.size()));  // GL commands at
    const int32_t end = 0;
    add(&end, sizeof end);
    put32(64, int32_t(b.size()));  // end
    return b;
}

TEST_F(ModelImportTest, Md2KeyFramesAndBrokenFilesAreToldApart) {
    const fs::path md2 = Write("a.md2", Md2());
    TModelData first, second;
    std::string error;
    ASSERT_TRUE(ImportModel(md2, {}, first, &error)) << error;
    TModelImport options;
    options.Frame = 1;
    ASSERT_TRUE(ImportModel(md2, options, second, &error)) << error;
    EXPECT_EQ(first.Frames, 2);
    // MD2 files are z-up: the file's y (scaled twice as much in frame 1) comes out along -z.
    const float h1 = first.Max.z - first.Min.z, h2 = second.Max.z - second.Min.z;
    EXPECT_GT(h1, 0.0f);
    EXPECT_NEAR(h2, 2.0f * h1, 1e-4f);

    TModelData bad;
    EXPECT_FALSE(ImportModel(dir / "missing.obj", {}, bad, &error));
    EXPECT_NE(error.find("missing.obj"), std::string::npos);
    EXPECT_FALSE(ImportModel(Write("junk.3DS", std::string(300, '\x7f')), {}, bad, &error));
    EXPECT_TRUE(bad.Empty());
}

TEST(ModelFrames, FlipBookAndInterpolatedFramesWrap) {
    const int cases[][3] = {{0, 20, 0},   {19, 20, 19}, {20, 20, 0},
                            {-1, 20, 19}, {45, 20, 5},  {7, 0, 0}};
    for (const auto& c : cases) EXPECT_EQ(FlipBookFrame(c[0], c[1]), c[2]) << c[0];
    const TFrameBlend mid = InterpolatedFrame(2.25, 10);
    EXPECT_EQ(mid.From, 2);
    EXPECT_EQ(mid.To, 3);
    EXPECT_FLOAT_EQ(mid.T, 0.25f);
    const TFrameBlend last = InterpolatedFrame(19.5, 10);  // the loop closes on frame 0
    EXPECT_EQ(last.From, 9);
    EXPECT_EQ(last.To, 0);
    EXPECT_FLOAT_EQ(last.T, 0.5f);
    EXPECT_EQ(InterpolatedFrame(3.0, 1).To, 0);
}

}  // namespace
}  // namespace vallorn
