// The level editor's operations on a loaded level: levels made from height-map pictures, the
// start values, bulk terrain work and the objective list.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "editor/cheats.h"
#include "editor/ground_pictures.h"
#include "editor/level_editor.h"
#include "editor/objective_editor.h"
#include "editor/terrain_editor.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/level_file.h"
#include "entities/gondole.h"
#include "entities/section.h"
#include "support/resort_builder.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

// A grey picture, one byte per pixel, written as PNG (or BMP).
void WriteGrey(const fs::path& path, int w, int h, const std::function<int(int x, int y)>& grey) {
    std::vector<uint8_t> pixels(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[size_t(y) * size_t(w) + size_t(x)] = uint8_t(grey(x, y));
    const bool ok = path.extension() == ".bmp"
                        ? stbi_write_bmp(path.c_str(), w, h, 1, pixels.data())
                        : stbi_write_png(path.c_str(), w, h, 1, pixels.data(), w);
    ASSERT_TRUE(ok) << path;
}

// A 16-bit grey PNG, written by hand (stored deflate blocks): stb writes only 8 bits.
void WriteGrey16(const fs::path& path, int w, int h, const std::function<int(int x, int y)>& grey) {
    std::string raw;
    for (int y = 0; y < h; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < w; ++x) {
            const int v = grey(x, y);
            raw += char(v >> 8);
            raw += char(v & 255);
        }
    }
    auto be32 = [](std::string& out, uint32_t v) {
        for (int k = 3; k >= 0; --k) out += char((v >> (8 * k)) & 255);
    };
    auto crc = [](const std::string& bytes) {
        uint32_t c = 0xFFFFFFFFu;
        for (unsigned char b : bytes) {
            c ^= b;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
        return ~c;
    };
    std::string z = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z += char(at + n >= raw.size() ? 1 : 0);
        z += char(n & 255);
        z += char(n >> 8);
        z += char(~n & 255);
        z += char((~n >> 8) & 255);
        z += raw.substr(at, n);
        if (n == 0) break;
    }
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    be32(z, (b << 16) | a);
    std::string png = "\x89PNG\r\n\x1a\n";
    auto chunk = [&](const std::string& type, const std::string& data) {
        be32(png, uint32_t(data.size()));
        png += type + data;
        be32(png, crc(type + data));
    };
    std::string header;
    be32(header, uint32_t(w));
    be32(header, uint32_t(h));
    header += std::string("\x10\x00\x00\x00\x00", 5);  // 16 bits, grey
    chunk("IHDR", header);
    chunk("IDAT", z);
    chunk("IEND", "");
    test::WriteText(path, png);
}

// A gentle hill with a cliff: over columns 300..310 the ground rises 8 grey levels a column.
int HillWithCliff(int x, int y) {
    const double hill = 60 + 40 * std::sin(x / 80.0) * std::cos(y / 100.0);
    return int(std::lround(hill)) + 8 * std::clamp(x - 300, 0, 10);
}

class LevelEditor : public ::testing::Test, public test::LevelFixture {
protected:
    void SetUp() override {
        test::TestLevel blank;
        blank.name = kBlankLevel;
        blank.blockThreshold = "7";
        test::WriteTestLevel(Worlds(), blank);
    }
};

TEST_F(LevelEditor, ALevelMadeFromAHeightMapLoadsBackWithItsHeightsAndBlockedCliff) {
    const fs::path picture = dir / "Hill.png";
    WriteGrey(picture, kGridSide, kGridSide, HillWithCliff);
    std::string error;
    ASSERT_TRUE(NewLevelFromHeightMap(*engine, picture, "Hill", &error)) << error;
    EXPECT_TRUE(engine->Level.FromAddons);

    // A fresh engine reads the files the editor left in addons/, and nothing else is there.
    EngineFixture other;
    fs::remove_all(other->Folders.Addons);
    fs::create_directories(other->Folders.Root);
    fs::copy(Addons(), other->Folders.Addons, fs::copy_options::recursive);
    ASSERT_EQ(LoadLevelFile(*other, "Hill", true).status, TSKILevelLoadResult::Loaded);
    EXPECT_EQ(other->Level.TextureSnow, "HillMAP.jpg");
    EXPECT_EQ(other->Level.TextureGround, "HillMAPs.jpg");
    for (const auto& entry : fs::directory_iterator(Addons()))
        EXPECT_EQ(entry.path().filename().string().rfind("Hill", 0), 0u) << entry.path();

    // Each height within half a grey level of the picture's: the mesh is built without the
    // steps of the grey levels.
    const float scaleY = other->Level.Scale.y;
    int worst = 0;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j)
            if (std::fabs(other->Cell(i, j).Height - float(HillWithCliff(i, j)) * scaleY) >
                0.5f * scaleY + 0.01f)
                ++worst;
    EXPECT_EQ(worst, 0);
    // The cliff was found and saved as blocked terrain; the gentle hill was not.
    EXPECT_TRUE(other->Cell(305, 200).Blocked);
    EXPECT_FALSE(other->Cell(150, 200).Blocked);

    // The ground pictures follow the terrain: grass on the gentle hill, grey rock on the cliff
    // (pixel 2i lies over cell i), and snow shaded by the slopes, not one flat colour.
    TSKIImage ground, snow;
    ASSERT_TRUE(LoadJpeg(Addons() / "HillMAPs.jpg", ground, &error)) << error;
    ASSERT_TRUE(LoadJpeg(Addons() / "HillMAP.jpg", snow, &error)) << error;
    const TSKIColor grass = ground.Get(300, 400), rock = ground.Get(610, 400);
    EXPECT_GT(grass.g, grass.r + 20);
    EXPECT_LT(std::abs(int(rock.g) - int(rock.r)), 20);
    int darkest = 255, brightest = 0;
    for (int x = 0; x < snow.Width(); x += 8) {
        const TSKIColor c = snow.Get(x, 400);
        darkest = std::min<int>(darkest, c.r);
        brightest = std::max<int>(brightest, c.r);
    }
    EXPECT_GT(brightest - darkest, 40);
}

// Heights of an 8-bit picture climb in terraces of one grey level: before painting, a gentle
// slope is evened out, each height stays within half a level of its own and a cliff stays.
TEST(GroundPictures, TerracesOfGreyLevelsAreEvenedOutButACliffStays) {
    const float step = 2;
    THeightField field;
    field.Side = 129;
    for (int i = 0; i < field.Side; ++i)
        for (int j = 0; j < field.Side; ++j)  // 0.25 a cell along i, a 30 high cliff at j = 64
            field.Heights.push_back(step * std::round((0.25f * i + (j >= 64 ? 30 : 0)) / step));
    const THeightField smooth = SmoothHeightSteps(field, step);
    float farthest = 0, uneven = 0, lowestCliff = 1e9f;
    for (int i = 0; i < field.Side; ++i) {
        for (int j = 0; j < field.Side; ++j)
            farthest = std::max(farthest, std::fabs(smooth.At(i, j) - field.At(i, j)));
        lowestCliff = std::min(lowestCliff, smooth.At(i, 64) - smooth.At(i, 63));
        if (i >= 32 && i < 96)
            uneven = std::max(uneven, std::fabs(smooth.At(i + 1, 20) - smooth.At(i, 20) - 0.25f));
    }
    EXPECT_LE(farthest, 0.5f * step + 1e-4f);
    EXPECT_LT(uneven, 0.05f);  // the picture's own rises are 0 or 2 a cell
    EXPECT_GE(lowestCliff, 30 - step);
}

TEST_F(LevelEditor, HeightMapsOf8Or16BitsAndAnySizeAreReadAndBadPicturesOrNamesRefused) {
    test::WriteText(dir / "text.png", "not a picture");
    WriteGrey(dir / "Small.bmp", 9, 9, [](int x, int) { return 10 * x; });
    struct Case {
        fs::path picture;
        std::string name, reason;
    };
    const Case cases[] = {{dir / "missing.png", "A", "missing.png"},
                          {dir / "text.png", "B", "not a PNG, BMP or JPEG"},
                          {dir / "Small.bmp", "../C", "cannot make level"}};
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(NewLevelFromHeightMap(*engine, c.picture, c.name, &error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(Addons() / (c.name + ".skil"))) << c.name;
    }
    std::string error;
    // A 16-bit picture keeps steps finer than a grey level of 8 bits.
    TGreyImage fine;
    WriteGrey16(dir / "Fine.png", 3, 1, [](int x, int) { return 1000 * x + 1; });
    ASSERT_TRUE(LoadGreyImage(dir / "Fine.png", fine, &error)) << error;
    ASSERT_EQ(fine.Values.size(), 3u);
    for (int x = 0; x < 3; ++x) EXPECT_FLOAT_EQ(fine.At(x, 0), float(1000 * x + 1) / 65535.0f);
    // A small BMP is stretched over the whole map: its corners are the map's corners.
    // (Within half a grey level: the heights are smoothed by that much at most.)
    ASSERT_TRUE(NewLevelFromHeightMap(*engine, dir / "Small.bmp", "Small", &error)) << error;
    const float level = engine->Level.Scale.y;
    EXPECT_NEAR(engine->Cell(0, 0).Height, 0, 0.5f * level + 0.01f);
    EXPECT_NEAR(engine->Cell(256, 0).Height, 40 * level, 0.5f * level + 0.01f);
}

// An 8-bit picture climbs in terraces of one grey level, and so would a mesh built from it as
// read: a gentle ramp of a level every 8 cells gives ground that rises evenly, cell by cell.
TEST_F(LevelEditor, ALevelMadeFromAn8BitRampIsSmoothNotTerraced) {
    const auto grey = [](int x, int) { return 20 + x / 8; };
    WriteGrey(dir / "Ramp.png", kGridSide, kGridSide, grey);
    std::string error;
    ASSERT_TRUE(NewLevelFromHeightMap(*engine, dir / "Ramp.png", "Ramp", &error)) << error;
    const float level = engine->Level.Scale.y;  // a grey level in world units
    float steepest = 0, farthest = 0;
    for (const int j : {60, 256, 450}) {
        for (int i = 60; i < 450; ++i) {
            const float h = engine->Cell(i, j).Height;
            steepest = std::max(steepest, std::fabs(engine->Cell(i + 1, j).Height - h));
            farthest = std::max(farthest, std::fabs(h - float(grey(i, j)) * level));
        }
    }
    EXPECT_LT(steepest, 0.25f * level);  // an eighth of a level a cell; a terrace is a whole one
    EXPECT_LE(farthest, 0.5f * level + 0.01f);
}

TEST_F(LevelEditor, StartValuesFallBackToTheirDefaultsForTextThatIsNotANumber) {
    struct Case {
        TEditorValue which;
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {TEditorValue::Cash, "1234", 1234},
        {TEditorValue::Cash, "lots", 30000},
        {TEditorValue::Time, "x", 0},
        {TEditorValue::SpawnSpeed, "", 20},
        {TEditorValue::MaxSkiers, "99999999999", 30000},
        {TEditorValue::ScaleXZ, "2.5", 2.5},
        {TEditorValue::ScaleXZ, "0", 4},
        {TEditorValue::ScaleY, "1000", 2},
        {TEditorValue::BlockThreshold, "-1", 3},
    };
    for (const Case& c : cases) {
        SetEditorValue(*engine, c.which, c.text);
        const TSKIParkData& p = engine->Park;
        const double got = c.which == TEditorValue::Cash         ? p.ParkCash
                           : c.which == TEditorValue::Time       ? p.ParkTime
                           : c.which == TEditorValue::SpawnSpeed ? p.ParkSpawnSpeed
                           : c.which == TEditorValue::MaxSkiers  ? p.ParkMaxSkiers
                           : c.which == TEditorValue::ScaleXZ    ? engine->Level.Scale.z
                           : c.which == TEditorValue::ScaleY     ? engine->Level.Scale.y
                                                                 : engine->Level.BlockThreshold;
        EXPECT_DOUBLE_EQ(got, c.expected) << c.text;
    }
    EXPECT_EQ(engine->Level.Scale.x, engine->Level.Scale.z);
}

TEST_F(LevelEditor, BulkTerrainWorkOnTreesRoadsAndBlockedRegions) {
    test::TestLevel level;
    level.rows[10] = std::string(100, '2');  // a row of 100 trees
    ASSERT_EQ(WriteAndLoad(level).status, TSKILevelLoadResult::Loaded);
    ASSERT_EQ(engine->CountTrees(), 100);

    EXPECT_EQ(ReduceTrees(*engine, 100), 100);  // at or above the count: none removed
    EXPECT_EQ(ReduceTrees(*engine, 40), 40);
    EXPECT_EQ(engine->Level.TreeCount, 40);
    EXPECT_EQ(engine->Park.ParkTreesFelled, 0);
    EXPECT_EQ(ReduceTrees(*engine, 0), 0);

    // An all-black picture makes no road; a white line over cells (5..9, 20) does.
    WriteGrey(dir / "black.png", 64, 64, [](int, int) { return 0; });
    EXPECT_EQ(ImportRoad(*engine, dir / "black.png"), 0);
    WriteGrey(dir / "road.png", 64, 64,
              [](int x, int y) { return y == 20 && x >= 5 && x < 10 ? 255 : 0; });
    engine->Cell(7, 20).Blocked = true;
    EXPECT_EQ(ImportRoad(*engine, dir / "road.png"), 5);
    const TerrainCell& road = engine->Cell(7, 20);
    EXPECT_TRUE(road.Kind == kCellRoad && !road.Blocked && road.UnderLift);
    EXPECT_EQ(engine->Cell(7, 21).Kind, kCellFree);

    // Flooding the free region blocks all of it but the road, which has the blocked colour.
    const int region = FloodBlocked(*engine, 200, 200, TFloodBlocked::Block);
    EXPECT_EQ(region, kGridSize * kGridSize - 5);
    EXPECT_TRUE(engine->Cell(0, 0).Blocked);
    EXPECT_FALSE(engine->Cell(7, 20).Blocked);
    EXPECT_EQ(FloodBlocked(*engine, 0, 0, TFloodBlocked::Free), kGridSize * kGridSize);
    EXPECT_FALSE(engine->Cell(300, 300).Blocked);
}

// The Mountain level with a resort built on it and 80 skiers arriving, run at speed 4.
class EditorCheats : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadLevelFile(e, "Mountain", false).ok());
        const test::TResortLayout layout = test::BuildResort(e);
        ASSERT_TRUE(layout.ok()) << layout.error;
        e.Park.ParkSpeed = 4;
        UpdateArrivalPoint(e);
        SpawnSkiers(e, 80, e.ArrivalPoint, 2, 2, true);
    }
    // Runs the park for at most ten minutes until `done` holds.
    void RunUntil(const std::function<bool()>& done) {
        for (int k = 0; k < 30 * 600 && !done(); ++k) OnProgress(e, 1.0 / 30.0);
    }
    int OnLift() const {
        return int(std::count_if(e.Skiers.begin(), e.Skiers.end(),
                                 [](const auto& s) { return s->State == kSkierOnLift; }));
    }
    TSKIEngine e{TSKIEngineSetup{test::BuildRoot(), 3, nullptr}};
};

TEST_F(EditorCheats, KillEmptiesAResortInUseAndLeavesItConsistent) {
    // The park runs until skiers sit on the lifts.
    auto riders = [&] {
        int n = 0;
        for (const auto& s : e.Sections)
            for (const auto& c : s->Carriers)
                for (int k = 0; k < c->RiderCount; ++k) n += c->Riders[size_t(k)] != nullptr;
        return n;
    };
    RunUntil([&] { return riders() >= 2; });
    ASSERT_GE(riders(), 2);
    e.Park.ParkLeftBecauseDied = 3;
    KillAllSkiers(e);
    EXPECT_TRUE(e.Skiers.empty());
    EXPECT_EQ(riders(), 0);
    EXPECT_EQ(e.Park.ParkLeftBecauseDied, 0);
    EXPECT_TRUE(test::ParkConsistent(e));
    for (int k = 0; k < 60; ++k) OnProgress(e, 1.0 / 30.0);
    EXPECT_TRUE(test::ParkConsistent(e));
}

TEST_F(EditorCheats, KillAllGondolasSetsRidersDownAndTheLiftsFillAgain) {
    RunUntil([&] { return OnLift() >= 2; });
    ASSERT_GE(OnLift(), 2);
    const size_t skiers = e.Skiers.size();
    KillAllGondolas(e);
    EXPECT_EQ(OnLift(), 0);
    EXPECT_EQ(e.Skiers.size(), skiers);  // the riders stay in the park
    for (const auto& s : e.Sections) {
        if (!s->IsLift()) continue;
        EXPECT_TRUE(s->Carriers.empty() && s->Filling && !s->LoadingCarrier) << s->Name;
    }
    EXPECT_TRUE(test::ParkConsistent(e));
    // The lifts fill again from their lower stations and carry skiers once more.
    RunUntil([&] { return OnLift() >= 1; });
    EXPECT_GE(OnLift(), 1);
    EXPECT_TRUE(test::ParkConsistent(e));
}

TEST_F(LevelEditor, TheObjectiveListIsEditedThroughTheSelection) {
    TSKIObjectiveEditor editor(*engine);
    // Nothing selected: no field changes.
    EXPECT_FALSE(editor.SetUnlockObjective(0, "x"));
    editor.Add();
    editor.Add();
    editor.Add();
    ASSERT_EQ(engine->Objectives.size(), 3u);
    EXPECT_EQ(engine->Objectives[2].Name, "Objective 3");
    EXPECT_TRUE(engine->Objectives[2].Primary && !engine->Objectives[2].Active);
    EXPECT_FALSE(editor.SetName("x"));

    editor.Select(1);
    EXPECT_TRUE(editor.SetName("Middle"));
    EXPECT_TRUE(editor.SetValue("abc"));
    EXPECT_EQ(engine->Objectives[1].Value, 0);
    editor.SetReward(kRewardUnlockLift);
    editor.SetRewardValue("7");
    EXPECT_EQ(engine->Objectives[1].RewardValue, 0);
    editor.SetReward(kRewardUnlockBuilding);
    editor.SetRewardValue("12");
    EXPECT_EQ(engine->Objectives[1].RewardValue, 12);

    // Delete goes through the scratch file: the others keep their fields and order.
    editor.Select(0);
    editor.SetUnlockMission(4, "Later");
    std::string error;
    ASSERT_TRUE(editor.Delete(&error)) << error;
    EXPECT_EQ(editor.Selected(), -1);
    ASSERT_EQ(engine->Objectives.size(), 2u);
    EXPECT_EQ(engine->Objectives[0].Name, "Middle");
    EXPECT_EQ(engine->Objectives[0].RewardValue, 12);
    EXPECT_FALSE(fs::exists(engine->Folders.Save / kObjectiveScratchFile));
    editor.Select(1);
    ASSERT_TRUE(editor.Delete());
    editor.Select(0);
    ASSERT_TRUE(editor.Delete());
    EXPECT_TRUE(engine->Objectives.empty());
    EXPECT_EQ(editor.Selected(), -1);
}

}  // namespace
}  // namespace vallorn
