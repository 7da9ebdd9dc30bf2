// Interpolated key-frame animations: the avatar's generated MD2 files load with all their key
// frames at the skier figures' scale, blends lie between key frames, and damaged files are
// refused whole.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "presentation/model_animation.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

glm::vec3 Size(const TModelData& d) {
    return d.Max - d.Min;
}

TModelData Frame(const TModelAnimation& a, int from, int to, float t) {
    TModelData pose = a.Base;
    BlendFrames(a, {from, to, t}, pose);
    pose.Min = glm::vec3(1e9f);
    pose.Max = glm::vec3(-1e9f);
    for (const TModelPart& p : pose.Parts)
        for (const gl::TVertex& v : p.Vertices) {
            pose.Min = glm::min(pose.Min, glm::vec3(v.X, v.Y, v.Z));
            pose.Max = glm::max(pose.Max, glm::vec3(v.X, v.Y, v.Z));
        }
    return pose;
}

TEST(ModelAnimation, AvatarFilesPlayEveryKeyFrameAtTheSkiersScale) {
    const fs::path data = test::BuildRoot() / "data";
    TModelImport turned;
    turned.TurnDegrees = -90.0f;  // as the scene loads the avatar and the skier figures
    TModelData skier;
    std::string error;
    ASSERT_TRUE(ImportModel(data / "Skier" / "Ski0.3DS", turned, skier, &error)) << error;
    for (const char* file : {"AvatarSki.md2", "AvatarWalk.md2"}) {
        TModelAnimation a;
        ASSERT_TRUE(ImportAnimation(data / file, turned, a, &error)) << error;
        EXPECT_EQ(a.Frames, 20) << file;
        size_t indices = 0;
        for (const TModelPart& p : a.Base.Parts) indices += p.Indices.size();
        EXPECT_GT(indices, 300u) << file;
        EXPECT_EQ(a.Positions.size(), a.VerticesPerFrame * 20) << file;
        ASSERT_EQ(a.Base.Materials.size(), 1u);
        EXPECT_EQ(a.Base.Materials[0].Texture, "avatar.jpg") << file;
        float moved = 0;
        for (int f = 0; f < a.Frames; ++f) {
            const TModelData pose = Frame(a, f, f, 0.0f);
            // Feet on the snow, as tall as a skier figure, skis along +z (the facing).
            EXPECT_NEAR(pose.Min.y, 0.0f, 0.05f) << file << f;
            EXPECT_NEAR(Size(pose).y, Size(skier).y, 0.2f * Size(skier).y) << file << f;
            EXPECT_GT(Size(pose).z, Size(pose).x) << file << f;
            moved = std::max(moved, glm::length(pose.Max - Frame(a, 0, 0, 0).Max));
        }
        EXPECT_GT(moved, 0.05f) << file << " animates";
        // Half-way between two key frames every vertex lies half-way.
        const TModelData mid = Frame(a, 4, 5, 0.5f), four = Frame(a, 4, 4, 0),
                         five = Frame(a, 5, 5, 0);
        const gl::TVertex &m = mid.Parts[0].Vertices[7], &p = four.Parts[0].Vertices[7],
                          &q = five.Parts[0].Vertices[7];
        EXPECT_NEAR(m.X, 0.5f * (p.X + q.X), 1e-5f);
        EXPECT_NEAR(m.Y, 0.5f * (p.Y + q.Y), 1e-5f);
        EXPECT_NEAR(glm::length(glm::vec3(m.NX, m.NY, m.NZ)), 1.0f, 1e-4f);
    }
    TModelData egg;
    ASSERT_TRUE(ImportModel(data / "AvatarEgg.3ds", turned, egg, &error)) << error;
    EXPECT_LT(Size(egg).y, 0.8f * Size(skier).y);  // tucked, lower than a standing skier
    EXPECT_GT(Size(egg).y, 0.4f * Size(skier).y);
}

// A one-triangle MD2 of three key frames, 2, 4 and 6 units high.
std::string Md2(int frames) {
    std::string b(68, '\0');
    auto put32 = [&](size_t at, int32_t v) { std::memcpy(&b[at], &v, 4); };
    auto add = [&](const void* p, size_t n) { b.append(static_cast<const char*>(p), n); };
    std::memcpy(&b[0], "IDP2", 4);
    for (auto [at, v] : {std::pair{4, 8},
                         {8, 64},
                         {12, 64},
                         {16, 52},
                         {24, 3},
                         {28, 3},
                         {32, 1},
                         {36, 1},
                         {40, frames},
                         {48, 68}})
        put32(size_t(at), v);
    const int16_t st[6] = {0, 0, 63, 0, 0, 63}, tri[6] = {0, 1, 2, 0, 1, 2};
    add(st, sizeof st);
    put32(52, int32_t(b.size()));
    add(tri, sizeof tri);
    put32(56, int32_t(b.size()));
    for (int f = 0; f < frames; ++f) {
        const float scale[3] = {0.1f, 0.2f * float(f + 1), 0.1f}, move[3] = {0, 0, 0};
        add(scale, sizeof scale);
        add(move, sizeof move);
        const char name[16] = "frame";
        add(name, sizeof name);
        const uint8_t v[12] = {0, 0, 0, 0, 10, 0, 0, 0, 0, 10, 10, 0};
        add(v, sizeof v);
    }
    put32(60, int32_t(b.size()));
    const int32_t end = 0;
    add(&end, sizeof end);
    put32(64, int32_t(b.size()));
    return b;
}

TEST(ModelAnimation, BlendsWrapAndDamagedFilesAreRefused) {
    test::TempDir dir;
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    };
    TModelAnimation a;
    std::string error;
    ASSERT_TRUE(ImportAnimation(write("a.md2", Md2(3)), {}, a, &error)) << error;
    ASSERT_EQ(a.Frames, 3);
    // Heights 2, 4, 6: a quarter from the last frame back to the first is 5; frames out of
    // range wrap.
    EXPECT_NEAR(Size(Frame(a, 2, 0, 0.25f)).z, 5.0f, 1e-4f);
    EXPECT_NEAR(Size(Frame(a, 3, 4, 0.5f)).z, 3.0f, 1e-4f);

    // The frames played follow the interval in milliseconds; a standing interval barely moves.
    EXPECT_DOUBLE_EQ(FramesPlayed(0.5, 100), 5.0);
    EXPECT_LT(FramesPlayed(0.5, 1000000), 0.001);
    EXPECT_EQ(FramesPlayed(0.5, 0), 0.0);
    EXPECT_EQ(FramesPlayed(-1.0, 100), 0.0);

    // A loop of two parts on a clock: each cycle of the clock plays one part, the next cycle
    // the other, and a clock standing still (or going on within its cycle) stays in its part.
    const std::pair<double, double> cycle[] = {{0.0, 0},  {0.5, 5},  {0.99, 9.9}, {0.1, 11},
                                               {0.6, 16}, {0.6, 16}, {0.05, 0.5}, {0.5, 5}};
    double frame = 0;
    for (const auto& [phase, expected] : cycle) {
        frame = FrameOnCycle(frame, phase, 20, 2);
        EXPECT_NEAR(frame, expected, 1e-9) << phase;
    }
    EXPECT_LT(FrameOnCycle(19.9, 1.0, 20, 2), 20.0);
    EXPECT_EQ(FrameOnCycle(std::nan(""), 0.5, 20, 2), 5.0);

    // Cut anywhere, a file is refused and leaves nothing behind, without a crash.
    const std::string whole = Md2(3);
    for (size_t cut : {size_t(10), size_t(70), size_t(120), whole.size() - 30}) {
        TModelAnimation broken = a;
        EXPECT_FALSE(ImportAnimation(write("cut.md2", whole.substr(0, cut)), {}, broken, &error))
            << cut;
        EXPECT_TRUE(broken.Empty()) << cut;
    }
    // A header that claims more frames than the file holds.
    std::string lying = whole;
    const int32_t many = 100000;
    std::memcpy(&lying[40], &many, 4);
    EXPECT_FALSE(ImportAnimation(write("lying.md2", lying), {}, a, &error));
}

}  // namespace
}  // namespace vallorn
