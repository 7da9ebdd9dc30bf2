// Loading and saving level files.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

#include "base/ini_file.h"
#include "base/number_format.h"
#include "base/terrain_mesh_cache.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "persistence/saved_game.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;
using test::LevelFixture;
using test::TestLevel;

TEST(LevelLoad, FillsTheSettingsGridAndParkAndStartsTheClock) {
    LevelFixture f;
    f.AddBuilding(kBuildStall, TSKIVector(-40, 0, 40, 1));
    f->Park.ParkCash = 7;
    TestLevel level;
    level.name = "Alpha";
    level.maxCrowded = "65535";
    level.blockThreshold = "4,5";
    level.textureSize = 96;
    const TSKILevelLoadResult r = f.WriteAndLoad(level);
    ASSERT_TRUE(r.ok()) << r.error;

    const TSKILevelData& d = f->Level;
    EXPECT_EQ(d.LevelName, "Alpha");
    EXPECT_EQ(d.GridSize, 512);
    EXPECT_EQ(d.TextureSize, 96);
    EXPECT_EQ(d.MaxCrowded, 65535);
    EXPECT_FLOAT_EQ(d.BlockThreshold, 4.5f);
    EXPECT_FLOAT_EQ(d.WorldSize, 2048.0f);
    EXPECT_FLOAT_EQ(d.HalfScale, 2.0f);
    EXPECT_EQ(d.Scale, TSKIVector(4, 2, 4, 0));
    EXPECT_EQ(d.ElevationFile, "flat10.bmp");
    EXPECT_EQ(f->SnowTexture.Width(), 96);
    EXPECT_EQ(f->GroundTexture.Width(), 96);

    EXPECT_TRUE(f->Running);
    EXPECT_TRUE(f->Buildings.empty());
    EXPECT_EQ(f->Park.ParkCash, 50000);
    EXPECT_EQ(f->Park.ParkMaxSkiers, 300);

    ASSERT_EQ(f->Grid.size(), size_t(513 * 513));
    const TerrainCell& c = f->Cell(300, 12);
    EXPECT_EQ(c.GridI, 300);
    EXPECT_EQ(c.GridJ, 12);
    EXPECT_EQ(c.Height, 10.0f);
    EXPECT_EQ(c.Crowd, 1);
    EXPECT_EQ(c.Kind, kCellFree);
    EXPECT_LT(c.Variant, 30);
}

TEST(LevelLoad, MissingKeysAndUnparsableNumbersTakeTheirDefaults) {
    LevelFixture f;
    TestLevel level;
    level.name = "flat10";  // default file names: "<name>.bmp", "<name>MAP.jpg", "<name>MAPs.jpg"
    test::WriteTestLevel(f.Worlds(), level);
    test::WriteText(f.Worlds() / "flat10.skil",
                    "[LevelData]\nLevelBlockThreshold=steep\nLevelMaxCrowded=many\n"
                    "LevelScaleXZ=\nLevelScaleY=2.0\n");
    const TSKILevelLoadResult r = LoadLevelFile(*f, "flat10", false);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(f->Level.ElevationFile, "flat10.bmp");
    EXPECT_EQ(f->Level.TextureSnow, "flat10MAP.jpg");
    EXPECT_EQ(f->Level.TextureGround, "flat10MAPs.jpg");
    EXPECT_FLOAT_EQ(f->Level.BlockThreshold, 3.0f);
    EXPECT_EQ(f->Level.MaxCrowded, 1);
    EXPECT_EQ(f->Level.Scale, TSKIVector(4, 2, 4, 0));
    EXPECT_EQ(f->Level.TreeCount, 0);
}

TEST(LevelLoad, RowCharactersSetFlagsTreesAndRoads) {
    LevelFixture f;
    TestLevel level;
    level.rows[5] = "01234567R9x";
    level.rows[6] = "R0R";
    level.rows[7] = std::string(512, '2') + "4444";  // past 512 is ignored
    level.rows[8] = "";
    const TSKILevelLoadResult r = f.WriteAndLoad(level);
    ASSERT_TRUE(r.ok()) << r.error;
    struct Want {
        bool blocked, tree, snow;
    };
    const Want want[8] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1},
                          {1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1}};
    for (int j = 0; j < 8; ++j) {
        const TerrainCell& c = f->Cell(5, j);
        EXPECT_EQ(c.Blocked, want[j].blocked) << j;
        EXPECT_EQ(c.Tree, want[j].tree) << j;
        EXPECT_EQ(c.NaturalSnow, want[j].snow) << j;
        EXPECT_EQ(c.Kind, kCellFree) << j;
    }
    EXPECT_EQ(f->Cell(5, 8).Kind, kCellRoad);
    for (int j : {9, 10, 11}) {  // unknown characters and cells past the row's end
        EXPECT_FALSE(f->Cell(5, j).Tree || f->Cell(5, j).Blocked || f->Cell(5, j).NaturalSnow);
        EXPECT_EQ(f->Cell(5, j).Kind, kCellFree);
    }
    EXPECT_EQ(f->Cell(6, 0).Kind, kCellRoad);
    EXPECT_EQ(f->Cell(6, 1).Kind, kCellFree);
    EXPECT_EQ(f->Cell(6, 2).Kind, kCellRoad);
    EXPECT_TRUE(f->Cell(7, 511).Tree);
    EXPECT_FALSE(f->Cell(7, 511).Blocked);
    EXPECT_EQ(f->Level.TreeCount, 4 + 512);
    EXPECT_EQ(f->CountTrees(), 4 + 512);
    // The occupancy marks the loaded blocked cells and roads.
    const std::vector<uint8_t> marks = OccupancyMarks(*f);
    EXPECT_EQ(marks[5 * kGridSize + 4], kOccupancyTaken);
    EXPECT_EQ(marks[6 * kGridSize + 2], kOccupancyTaken);
    EXPECT_EQ(marks[6 * kGridSize + 1], kOccupancyFree);
}

TEST(LevelLoad, TreesAreDrawnInAFixedOrderOfRandomNumbers) {
    LevelFixture f;
    const TSKILevelLoadResult first = f.WriteAndLoad(TestLevel{});
    ASSERT_TRUE(first.ok()) << first.error;
    // Replay the draws from a copy of the generator: the weather first, then per cell the
    // x and z offsets, width, height, turn and variant.
    TSKIRandom replay = f->Rng;
    ASSERT_TRUE(LoadLevelFile(*f, "Test", false).ok());
    const float weather = float(replay.Uniform());
    EXPECT_EQ(f->Park.ParkWeather, weather);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < kGridSize; ++j) {
            const TerrainCell& c = f->Cell(i, j);
            const TSKIVector base = f->CellToWorld(i, j, false);
            const float x = base.x + float(2.0 * replay.Uniform() - 2.0);
            const float z = base.z + float(2.0 * replay.Uniform());
            const float width = float(12.0 + 8.0 * replay.Uniform());
            const float height = float(8.0 + 6.0 * replay.Uniform());
            const float turn = float(360.0 * replay.Uniform());
            const int variant = replay.Below(30);
            ASSERT_EQ(c.TreePosition.x, x) << i << "," << j;
            ASSERT_EQ(c.TreePosition.z, z);
            ASSERT_EQ(c.TreeScale, TSKIVector(width, height, width, 0));
            ASSERT_EQ(c.TreePosition.y, 10.0f + height / 2);
            ASSERT_EQ(c.TreeTurn, turn);
            ASSERT_EQ(c.Variant, variant);
        }
    }
}

// The cells a level load makes: heights, steepness, kinds, flags and trees.
::testing::AssertionResult SameLoadedCells(const TSKIEngine& a, const TSKIEngine& b) {
    if (a.Grid.size() != b.Grid.size()) return ::testing::AssertionFailure() << "grid sizes";
    for (size_t k = 0; k < a.Grid.size(); ++k) {
        const TerrainCell &x = a.Grid[k], &y = b.Grid[k];
        if (x.Height != y.Height || x.Steepness != y.Steepness || x.Kind != y.Kind ||
            x.GridI != y.GridI || x.GridJ != y.GridJ || x.Crowd != y.Crowd || x.Tree != y.Tree ||
            x.Blocked != y.Blocked || x.NaturalSnow != y.NaturalSnow ||
            !(x.TreePosition == y.TreePosition) || !(x.TreeScale == y.TreeScale) ||
            x.TreeTurn != y.TreeTurn || x.Variant != y.Variant)
            return ::testing::AssertionFailure() << "cell " << k << " differs";
    }
    return ::testing::AssertionSuccess();
}

// Loads of one surface from one state of the generator (engines of one seed) give one grid,
// also once the grid is kept and copied rather than drawn again; a load from another state
// or of another surface draws its own.
TEST(LevelLoad, LoadsOfOneSurfaceFromOneGeneratorStateGiveOneGrid) {
    LevelFixture f;
    TestLevel ramp;
    ramp.name = "Ramp";
    ramp.height = test::Ramp;
    ramp.meshKey = "ramp";
    ramp.rows[3] = "2244R";
    test::WriteTestLevel(f.Worlds(), ramp);
    TestLevel flat;
    flat.rows[3] = "2244R";
    test::WriteTestLevel(f.Worlds(), flat);
    auto load = [&](const std::string& name, uint64_t seed) {
        auto e = std::make_unique<TSKIEngine>(TSKIEngineSetup{f.dir.Path(), seed, &f.dialogs});
        e->Folders.Cache = f->Folders.Cache;
        EXPECT_TRUE(LoadLevelFile(*e, name, false).ok());
        return e;
    };
    const auto first = load("Ramp", 7);
    for (int k = 0; k < 3; ++k) {
        const auto again = load("Ramp", 7);
        EXPECT_TRUE(SameLoadedCells(*first, *again)) << "load " << k + 2;
        EXPECT_TRUE(again->Rng == first->Rng) << "load " << k + 2;
        EXPECT_EQ(again->Level.MaxHeight, first->Level.MaxHeight);
    }
    const auto otherSeed = load("Ramp", 8);
    EXPECT_NE(otherSeed->Cell(40, 40).TreeTurn, first->Cell(40, 40).TreeTurn);
    EXPECT_FALSE(otherSeed->Rng == first->Rng);
    const auto otherSurface = load("Test", 7);
    EXPECT_EQ(otherSurface->Cell(300, 12).Height, 10.0f);
    EXPECT_EQ(otherSurface->Level.MaxHeight, 10.0f);
    EXPECT_NE(otherSurface->Cell(300, 12).TreePosition.y, first->Cell(300, 12).TreePosition.y);
}

std::vector<uint8_t> HouseBytes(int32_t tag, TSKIVector pos, TSKIVector dir) {
    std::vector<uint8_t> b(36);
    const float v[8] = {pos.x, pos.y, pos.z, pos.w, dir.x, dir.y, dir.z, dir.w};
    std::memcpy(b.data(), &tag, 4);
    std::memcpy(b.data() + 4, v, 32);
    return b;
}

TEST(LevelLoad, HousesSitOnTheGroundAndMalformedOnesAreSkipped) {
    LevelFixture f;
    TestLevel level;
    level.houses.push_back({3, TSKIVector(-100, 999, 200, 1), TSKIVector(0, 0, 1, 0)});
    const std::vector<uint8_t> second =
        HouseBytes(7, TSKIVector(-300, -5, 40, 1), TSKIVector(1, 0, 0, 0));
    const std::string hex = ToHex(second.data(), second.size());
    level.extraText =
        "k2=" + hex.substr(0, 70) + "\nk3=" + std::string(72, 'Z') + "\nk4=" + hex + "00FF\n" +
        "k5=" + ToHex(HouseBytes(9, TSKIVector(NAN, 0, 40, 1), TSKIVector(1, 0, 0, 0)).data(), 36) +
        "\nk6=" +
        ToHex(HouseBytes(9, TSKIVector(-8, 0, 8, 1), TSKIVector(0, INFINITY, 0, 0)).data(), 36) +
        "\n";
    const TSKILevelLoadResult r = f.WriteAndLoad(level);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(f->Houses.size(), 2u);
    EXPECT_EQ(f->Houses[0].Tag, 3);
    EXPECT_EQ(f->Houses[0].Position, TSKIVector(-100, 10, 200, 1));
    EXPECT_EQ(f->Houses[0].Direction, TSKIVector(0, 0, 1, 0));
    EXPECT_EQ(f->Houses[1].Tag, 7);
    EXPECT_EQ(f->Houses[1].Position, TSKIVector(-300, 10, 40, 1));
}

TEST(LevelSettings, ValuesAtTheEdgeOfTheirRangeRoundTripAndValuesBeyondAreRefused) {
    LevelFixture f;
    TestLevel edge;
    edge.name = "Edge";
    edge.scaleXZ = 100;
    edge.scaleY = 100;
    edge.blockThreshold = "1000000";
    edge.maxCrowded = "65535";
    ASSERT_TRUE(f.WriteAndLoad(edge).ok());
    std::string error;
    ASSERT_TRUE(SaveLevelFile(*f, "EdgeCopy", &error)) << error;
    ASSERT_TRUE(SaveGameFile(*f, f.dir / "edge.ski", &error)) << error;
    ASSERT_TRUE(LoadGameFile(*f, f.dir / "edge.ski")) << f->LoadError;
    const TSKILevelLoadResult back = LoadLevelFile(*f, "EdgeCopy", true);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(f->Level.Scale, TSKIVector(100, 100, 100, 0));
    EXPECT_FLOAT_EQ(f->Level.BlockThreshold, 1e6f);
    EXPECT_EQ(f->Level.MaxCrowded, 65535);
    EXPECT_FLOAT_EQ(f->Cell(200, 200).Height, 10.0f);

    // A real that is finite as a double but not as a 32-bit float, or one that makes no
    // terrain, abandons the load and names the key.
    test::WriteTestLevel(f.Worlds(), TestLevel{});
    const std::string good = test::ReadText(f.Worlds() / "Test.skil");
    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"LevelScaleY", "1e300"},
                                                          {"LevelScaleY", "0"},
                                                          {"LevelScaleY", "100,5"},
                                                          {"LevelScaleXZ", "-4"},
                                                          {"LevelScaleXZ", "1E39"},
                                                          {"LevelBlockThreshold", "1e300"},
                                                          {"LevelBlockThreshold", "-1"}}) {
        TIniFile ini = TIniFile::FromText(good);
        ini.WriteString("LevelData", key, value);
        test::WriteText(f.Worlds() / "Test.skil", ini.ToText());
        const TSKILevelLoadResult r = LoadLevelFile(*f, "Test", false);
        EXPECT_EQ(r.status, TSKILevelLoadResult::Failed) << key << "=" << value;
        EXPECT_NE(r.error.find(key + " " + value), std::string::npos) << r.error;
        EXPECT_FALSE(f->HasGrid());
    }
}

TEST(LevelLoad, ANewGameResetsTheDisplayChoicesAndAnEditorReloadKeepsThem) {
    LevelFixture f;
    TestLevel level;
    level.name = "Shown";
    ASSERT_TRUE(f.WriteAndLoad(level).ok());
    std::string error;
    ASSERT_TRUE(SaveGameFile(*f, f.dir / "shown.ski", &error)) << error;
    constexpr uint8_t chosen =
        kDisplaySlopes | kDisplayBlocked | kDisplayBlueRedBlack | kDisplaySnow | kDisplaySkierInfo;
    f->Display().SetLayers(chosen);
    ASSERT_TRUE(LoadLevelFile(*f, "Shown", false, TSKIDisplayOnLoad::Keep).ok());
    EXPECT_EQ(f->Display().Layers(), chosen);

    // A saved game starts a new game through the level load.
    ASSERT_TRUE(LoadGameFile(*f, f.dir / "shown.ski")) << f->LoadError;
    EXPECT_EQ(f->Display().Layers(), kDisplayLongVisibility | kDisplayCursorSnap | kDisplayTrees);
    f->Display().SetLayers(chosen);
    ASSERT_TRUE(LoadLevelFile(*f, "Shown", false).ok());
    EXPECT_EQ(f->Display().Layers(), kDisplayNewGame);
}

TEST(LevelSave, RoundTripKeepsRowsRoadsHousesAndForeignSections) {
    LevelFixture f;
    TestLevel level;
    level.name = "Round";
    level.rows[0] = "R0R7";
    level.rows[300] = std::string(100, '5') + "R";
    level.houses.push_back({2, TSKIVector(-60, 0, 60, 1), TSKIVector(0.5f, 0, 0.5f, 0)});
    test::WriteTestLevel(f.Addons(), level);
    test::WriteText(f.Addons() / "Round.skil", test::ReadText(f.Addons() / "Round.skil") +
                                                   "[Mission]\nObjective=5\n[LevelBRB]\nold=1\n");
    ASSERT_TRUE(LoadLevelFile(*f, "Round", true).ok());
    // A road that also carries a tree is saved as a road.
    f->Cell(300, 100).Tree = true;
    f->Cell(400, 9).Blocked = true;
    f->Level.Scale.y = 2.5f;  // written with a decimal comma
    std::string error;
    ASSERT_TRUE(SaveLevelFile(*f, "Round", &error)) << error;

    const std::string text = test::ReadText(f.Addons() / "Round.skil");
    EXPECT_NE(text.find("LevelScaleY=2,5\n"), std::string::npos) << text.substr(0, 300);
    EXPECT_NE(text.find("LevelScaleXZ=4\n"), std::string::npos);
    EXPECT_NE(text.find("LevelBlockThreshold=3\n"), std::string::npos);
    const TIniFile saved(f.Addons() / "Round.skil");
    EXPECT_EQ(saved.ReadString("Mission", "Objective"), "5");
    EXPECT_FALSE(saved.SectionExists("LevelBRB"));
    const std::string row0 = saved.ReadString("LevelBasicBlocked", "0");
    ASSERT_EQ(row0.size(), 512u);
    EXPECT_EQ(row0.substr(0, 5), "R0R70");
    EXPECT_EQ(saved.ReadString("LevelBasicBlocked", "300").substr(98, 4), "55R0");
    EXPECT_EQ(saved.ReadString("LevelBasicBlocked", "400")[9], '4');
    const TSKIHouse& h = f->Houses[0];
    EXPECT_EQ(saved.ReadString("SKIHouses", "0"),
              ToHex(HouseBytes(h.Tag, h.Position, h.Direction).data(), 36));

    f->Level.Scale.y = 2.0f;
    ASSERT_TRUE(SaveLevelFile(*f, "Round", &error)) << error;
    ASSERT_TRUE(LoadLevelFile(*f, "Round", true).ok());
    EXPECT_EQ(f->Cell(0, 0).Kind, kCellRoad);
    EXPECT_EQ(f->Cell(0, 1).Kind, kCellFree);
    EXPECT_EQ(f->Cell(0, 2).Kind, kCellRoad);
    EXPECT_TRUE(f->Cell(0, 3).Blocked && f->Cell(0, 3).Tree && f->Cell(0, 3).NaturalSnow);
    EXPECT_EQ(f->Cell(300, 100).Kind, kCellRoad);
    EXPECT_FALSE(f->Cell(300, 100).Tree);  // the tree is lost with the road
    EXPECT_TRUE(f->Cell(400, 9).Blocked);
    ASSERT_EQ(f->Houses.size(), 1u);
    EXPECT_EQ(f->Houses[0].Tag, 2);
    EXPECT_EQ(f->Houses[0].Direction, TSKIVector(0.5f, 0, 0.5f, 0));
}

TEST(LevelSave, ALevelFromTheWorldsFolderSavedUnderANewNameLoadsFromAddons) {
    LevelFixture f;
    TestLevel level;
    level.rows[10] = "222";
    ASSERT_TRUE(f.WriteAndLoad(level).ok());
    std::string error;
    ASSERT_TRUE(SaveLevelFile(*f, "Copy", &error)) << error;
    EXPECT_TRUE(fs::exists(f.Addons() / "Copy.skil"));
    EXPECT_TRUE(fs::exists(f.Addons() / "flat10.bmpH.3ds"));
    EXPECT_TRUE(fs::exists(f.Addons() / "TestMAP.jpg"));
    EXPECT_FALSE(fs::exists(f.Worlds() / "Copy.skil"));
    const TSKILevelLoadResult r = LoadLevelFile(*f, "Copy", true);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(f->Level.FromAddons);
    EXPECT_EQ(f->CountTrees(), 3);
    EXPECT_TRUE(f->Surface.FromCache() && f->Skirt.FromCache()) << "the copy finds the caches";
}

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Every file under `folder` with its size.
std::map<std::string, uintmax_t> FilesUnder(const fs::path& folder) {
    std::map<std::string, uintmax_t> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().string()] = entry.file_size();
    return files;
}

// An installed game ships its levels without their terrain mesh caches: the first load reads
// the 3DS files and keeps their caches in the player's cache folder, writing nothing beside
// the level; the next load takes them. A damaged cache is read past and made again, caches
// left unused for long go when a new one is written, and a cache folder that cannot be
// written costs only the speed.
TEST(LevelLoad, AnInstalledLevelKeepsItsMeshCachesInThePlayersCacheFolder) {
    test::TempDir root, home;
    test::MakeProgramFolder(root.Path());
    test::WriteText(root / kInstalledMark, "installed\n");
    TestLevel level;
    level.name = "Installed";
    level.height = test::Plateau;
    level.meshKey = "plateau";
    test::WriteTestLevel(root / "worlds", level);
    const ScopedVariable data("XDG_DATA_HOME", (home / "data").string());
    const ScopedVariable cacheHome("XDG_CACHE_HOME", (home / "cache").string());
    const fs::path caches = home / "cache" / "vallorn";
    fs::create_directories(caches);
    const auto now = fs::file_time_type::clock::now();
    test::WriteText(caches / "OldH-0123456789abcdef.vmesh", "left by a level played long ago");
    fs::last_write_time(caches / "OldH-0123456789abcdef.vmesh",
                        now - std::chrono::hours(24 * (kMeshCacheUnusedDays + 1)));
    test::WriteText(caches / "RecentH-0123456789abcdef.vmesh", "used last week");
    fs::last_write_time(caches / "RecentH-0123456789abcdef.vmesh",
                        now - std::chrono::hours(24 * 7));
    const auto shipped = FilesUnder(root.Path());

    auto load = [&] {
        auto e = std::make_unique<TSKIEngine>(TSKIEngineSetup{root.Path(), 7, nullptr});
        const TSKILevelLoadResult r = LoadLevelFile(*e, level.name, false);
        EXPECT_TRUE(r.ok()) << r.error;
        return e;
    };
    auto heights = [](const TSKIEngine& e) {
        std::vector<float> h;
        for (int i = 0; i < kGridSize; ++i)
            for (int j = 0; j < kGridSize; ++j) h.push_back(e.Cell(i, j).Height);
        return h;
    };
    const auto first = load();
    EXPECT_EQ(first->Folders.Cache, caches);
    EXPECT_FALSE(first->Surface.FromCache() || first->Skirt.FromCache());
    EXPECT_FLOAT_EQ(first->Cell(120, 120).Height, 20.0f);
    const std::vector<float> expected = heights(*first);
    EXPECT_EQ(FilesUnder(root.Path()), shipped) << "nothing is written beside the level";
    const fs::path surface = root / "worlds" / (test::MeshStem(level) + "H.3ds");
    const fs::path surfaceCache = MeshCachePath(caches, surface, test::ReadText(surface));
    EXPECT_TRUE(fs::exists(surfaceCache));
    EXPECT_FALSE(fs::exists(caches / "OldH-0123456789abcdef.vmesh"));
    EXPECT_TRUE(fs::exists(caches / "RecentH-0123456789abcdef.vmesh"));
    EXPECT_EQ(FilesUnder(caches).size(), 3u);  // the surface's, the skirt's and the recent one

    const auto second = load();
    EXPECT_TRUE(second->Surface.FromCache() && second->Skirt.FromCache());
    EXPECT_EQ(heights(*second), expected);

    // A flipped byte in the body: the 3DS is read again, and the cache made again.
    const std::string sound = test::ReadText(surfaceCache);
    std::string damaged = sound;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x04);
    test::WriteText(surfaceCache, damaged);
    const auto third = load();
    EXPECT_FALSE(third->Surface.FromCache());
    EXPECT_EQ(heights(*third), expected);
    EXPECT_TRUE(test::ReadText(surfaceCache) == sound);

    // A cache folder in the way of a file: the level loads all the same.
    const ScopedVariable blocked("XDG_CACHE_HOME", (root / "Installed.skil").string());
    const auto fourth = load();
    EXPECT_FALSE(fourth->Surface.FromCache());
    EXPECT_EQ(heights(*fourth), expected);
}

TEST(LevelSave, NothingToSaveWithoutALevel) {
    LevelFixture f;
    std::string error;
    EXPECT_FALSE(SaveLevelFile(*f, "Empty", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(f.Addons() / "Empty.skil"));
}

TEST(LevelLoadFailure, AMissingLevelLeavesTheEngineAsItWas) {
    LevelFixture f;
    TestLevel level;
    level.rows[1] = "2";
    ASSERT_TRUE(f.WriteAndLoad(level).ok());
    f.AddBuilding(kBuildStall, TSKIVector(-40, 10, 40, 1));
    f->Park.ParkCash = 1234;
    const TSKILevelLoadResult r = LoadLevelFile(*f, "Nowhere", false);
    EXPECT_EQ(r.status, TSKILevelLoadResult::Missing);
    EXPECT_EQ(f->Level.LevelName, "Test");
    EXPECT_TRUE(f->HasGrid());
    EXPECT_TRUE(f->Cell(1, 0).Tree);
    EXPECT_EQ(f->Buildings.size(), 1u);
    EXPECT_EQ(f->Park.ParkCash, 1234);
    EXPECT_TRUE(f->Running);
    // The add-ons folder is a different place.
    EXPECT_EQ(LoadLevelFile(*f, "Test", true).status, TSKILevelLoadResult::Missing);
}

TEST(LevelLoadFailure, MaxCrowdedOutOfRangeFailsCleanly) {
    for (const char* value : {"70000", "-1"}) {
        LevelFixture f;
        ASSERT_TRUE(f.WriteAndLoad(TestLevel{}).ok());
        f.AddBuilding(kBuildStall, TSKIVector(-40, 10, 40, 1));
        TSKISkierRecord record;
        record.Position = f->CellToWorld(30, 30, true);
        f->Skiers.push_back(std::make_unique<TSKISkier>(*f, record));
        UpdateCrowdCounters(*f);
        ASSERT_EQ(f->Cell(30, 30).Crowd, 2);
        TestLevel bad;
        bad.name = "Crowded";
        bad.maxCrowded = value;
        TSKILevelLoadResult r;
        ASSERT_NO_THROW(r = f.WriteAndLoad(bad));
        EXPECT_EQ(r.status, TSKILevelLoadResult::Failed);
        EXPECT_NE(r.error.find("LevelMaxCrowded"), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(value), std::string::npos) << r.error;
        EXPECT_FALSE(f->HasGrid());
        EXPECT_TRUE(f->Surface.Empty());
        EXPECT_TRUE(f->Buildings.empty());
        EXPECT_FALSE(f->Running);
        // Nothing left refers to the grid that is gone.
        EXPECT_TRUE(f->Skiers.empty());
        UpdateCrowdCounters(*f);
    }
}

TEST(LevelLoadFailure, AMissingMeshOrTextureFailsNamingTheFile) {
    struct Case {
        const char* file;
        const char* why;
    };
    for (const Case& c : {Case{"flat10.bmpH.3ds", "surface"}, Case{"flat10.bmpSide.3ds", "skirt"},
                          Case{"TestMAP.jpg", "snow"}, Case{"TestMAPs.jpg", "ground"}}) {
        LevelFixture f;
        test::WriteTestLevel(f.Worlds(), TestLevel{});
        fs::remove(f.Worlds() / c.file);
        const TSKILevelLoadResult r = LoadLevelFile(*f, "Test", false);
        EXPECT_EQ(r.status, TSKILevelLoadResult::Failed) << c.why;
        EXPECT_NE(r.error.find(c.file), std::string::npos) << c.why << ": " << r.error;
        EXPECT_FALSE(f->HasGrid()) << c.why;
        EXPECT_TRUE(f->Surface.Empty()) << c.why;
    }
}

TEST(LevelFileNames, MeshesAndImagesAreOnlyTakenFromTheLevelsFolder) {
    LevelFixture f;
    const fs::path elsewhere = f.dir / "elsewhere";
    test::WriteTestLevel(elsewhere, TestLevel{});
    test::WriteTestLevel(f.Worlds(), TestLevel{});
    const std::string good = test::ReadText(f.Worlds() / "Test.skil");
    struct Case {
        const char* key;
        std::string value;
    };
    for (const Case& c : {Case{"LevelTextureSnow", "../elsewhere/TestMAP.jpg"},
                          Case{"LevelTextureGround", (elsewhere / "TestMAPs.jpg").string()},
                          Case{"LevelElevationFile", "../elsewhere/flat10.bmp"}}) {
        TIniFile ini = TIniFile::FromText(good);
        ini.WriteString("LevelData", c.key, c.value);
        test::WriteText(f.Worlds() / "Test.skil", ini.ToText());
        const TSKILevelLoadResult r = LoadLevelFile(*f, "Test", false);
        EXPECT_EQ(r.status, TSKILevelLoadResult::Failed) << c.key;
        EXPECT_NE(r.error.find(c.key), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("cannot name a file"), std::string::npos) << r.error;
    }

    // Saving: neither the level's own name nor the files it names leave the add-ons folder.
    test::WriteText(f.Worlds() / "Test.skil", good);
    ASSERT_TRUE(LoadLevelFile(*f, "Test", false).ok());
    std::string error;
    EXPECT_FALSE(SaveLevelFile(*f, "../Escaped", &error));
    EXPECT_NE(error.find("cannot name a file"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(f.dir / "Escaped.skil"));
    f->Level.TextureSnow = "../elsewhere/TestMAP.jpg";  // as the editor's texture choice sets it
    EXPECT_FALSE(SaveLevelFile(*f, "Copy", &error));
    EXPECT_NE(error.find("cannot name a file"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(f.Addons() / "Copy.skil"));
    EXPECT_FALSE(fs::exists(f.dir / "elsewhere/elsewhere"));
}

TEST(LevelLoadFailure, FilesThatAreNotPlainOrTooLargeAreRefusedBeforeTheyAreRead) {
    struct Case {
        const char* file;
        uint64_t size;  // 0: a link to an endless device
        const char* why;
    };
    for (const Case& c : {Case{"TestMAP.jpg", 0, "not a regular file"},
                          Case{"TestMAPs.jpg", (uint64_t(64) << 20) + 1, "larger than 64 MB"},
                          Case{"flat10.bmpH.3ds", (uint64_t(256) << 20) + 1, "larger than 256 MB"},
                          Case{"Test.skil", (uint64_t(4) << 20) + 1, "larger than 4 MB"}}) {
        LevelFixture f;
        test::WriteTestLevel(f.Worlds(), TestLevel{});
        fs::remove(f.Worlds() / c.file);
        if (c.size == 0) {
            fs::create_symlink("/dev/zero", f.Worlds() / c.file);
        } else {
            test::WriteText(f.Worlds() / c.file, "");
            fs::resize_file(f.Worlds() / c.file, c.size);  // sparse: takes no room
        }
        const TSKILevelLoadResult r = LoadLevelFile(*f, "Test", false);
        EXPECT_EQ(r.status, TSKILevelLoadResult::Failed) << c.file;
        EXPECT_NE(r.error.find(c.file), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(c.why), std::string::npos) << r.error;
    }
}

TEST(LevelLoadFailure, AnUnreadableTextureFailsNamingTheFile) {
    LevelFixture f;
    test::WriteTestLevel(f.Worlds(), TestLevel{});
    fs::remove(f.Worlds() / "TestMAPs.jpg");
    test::WriteText(f.Worlds() / "TestMAPs.jpg", "not a jpeg");
    const TSKILevelLoadResult r = LoadLevelFile(*f, "Test", false);
    EXPECT_EQ(r.status, TSKILevelLoadResult::Failed);
    EXPECT_NE(r.error.find("TestMAPs.jpg"), std::string::npos) << r.error;
}

}  // namespace
}  // namespace vallorn
