// vallorn-datagen as the build runs it: deterministic output, the files of a level, the
// level file format, and clear failures.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

#include "base/ini_file.h"
#include "engine/engine.h"
#include "persistence/saved_game.h"
#include "shipped_level.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;
using test::ShippedLevel;

struct RunResult {
    int status = -1;
    std::string err;
};

RunResult Datagen(const std::string& args, const fs::path& scratch) {
    const fs::path errFile = scratch / "stderr.txt";
    const std::string cmd = (test::BuildRoot() / "vallorn-datagen").string() + " " + args +
                            " >/dev/null 2>" + errFile.string();
    const int raw = std::system(cmd.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = test::ReadText(errFile);
    return r;
}

std::string Assets() {
    return (test::SourceRoot() / "assets").string();
}

// Every regular file below `root`, as paths relative to it.
std::set<fs::path> FilesBelow(const fs::path& root) {
    std::set<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.insert(fs::relative(e.path(), root));
    return files;
}

// One run in a fresh folder against the build's own run of the same program on the same
// assets: two runs, two processes (in the sanitizer build, two builds), the same bytes.
TEST(DataGenerator, GivesTheSameBytesOnEveryRunAndMatchesTheBuild) {
    test::TempDir a;
    ASSERT_EQ(
        Datagen("--assets " + Assets() + " --out " + (a / "out").string() + " --only Mountain",
                a.Path())
            .status,
        0);

    const std::set<fs::path> files = FilesBelow(a / "out");
    for (const char* name :
         {"worlds/Mountain.skil", "worlds/MountainH.3ds", "worlds/MountainSide.3ds",
          "worlds/MountainMAP.jpg", "worlds/MountainMAPs.jpg", "worlds/Starter.ski",
          "data/Params.ini", "data/GameParams.ini"}) {
        EXPECT_TRUE(files.count(name)) << name;
    }
    EXPECT_FALSE(files.count("worlds/Training.skil")) << "--only must generate only that level";
    EXPECT_TRUE(fs::is_directory(a / "out" / "save"));
    EXPECT_TRUE(fs::is_directory(a / "out" / "addons"));
    for (const fs::path& f : files) {
        const std::string bytes = test::ReadText(a / "out" / f);
        EXPECT_FALSE(bytes.empty()) << f;
        EXPECT_TRUE(bytes == test::ReadText(test::BuildRoot() / f))
            << f << " differs from the build's";
    }
    EXPECT_EQ(test::ReadText(a / "out" / "data" / "Params.ini"),
              test::ReadText(test::SourceRoot() / "assets" / "data" / "Params.ini"));
}

TEST(DataGenerator, RefusesBadArgumentsAndMissingAssetsWithAReason) {
    test::TempDir dir;
    const std::string out = " --out " + (dir / "out").string();

    RunResult r = Datagen("--assets " + Assets() + out + " --only Matterhorn", dir.Path());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Matterhorn"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out" / "worlds" / "Mountain.skil"));

    r = Datagen("--assets " + Assets(), dir.Path());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage"), std::string::npos) << r.err;

    r = Datagen("--assets", dir.Path());
    EXPECT_EQ(r.status, 2);

    // An assets folder without parameter files is a failure, not an empty game.
    fs::create_directories(dir / "empty" / "data");
    r = Datagen("--assets " + (dir / "empty").string() + out + " --only blank", dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Params"), std::string::npos) << r.err;

    // An output folder that cannot be made (a file stands in its way).
    test::WriteText(dir / "blocker", "x");
    r = Datagen("--assets " + Assets() + " --out " + (dir / "blocker").string() + " --only blank",
                dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("blocker"), std::string::npos) << r.err;
}

// A level made from a style record: the build's bytes again.
TEST(DataGenerator, GivesAStyledLevelTheSameBytesOnEveryRun) {
    test::TempDir a;
    ASSERT_EQ(
        Datagen("--assets " + Assets() + " --out " + (a / "out").string() + " --only Mission01",
                a.Path())
            .status,
        0);
    int files = 0;
    for (const fs::path& f : FilesBelow(a / "out" / "worlds")) {
        EXPECT_TRUE(test::ReadText(a / "out" / "worlds" / f) ==
                    test::ReadText(test::BuildRoot() / "worlds" / f))
            << f;
        files += f.string().rfind("Mission01", 0) == 0;
    }
    // The level file, two meshes and two pictures: the meshes' caches are made by the game.
    EXPECT_EQ(files, 5);
}

// A game definition: its park keys over the saved ones, its objectives in place of the saved
// ones, the resort its action script builds; a bad one fails naming its file and writes nothing.
TEST(DataGenerator, MakesGamesFromDefinitionsAndFailsBadOnesByFileName) {
    test::TempDir dir;
    const fs::path root = dir / "root";
    test::MakeProgramFolder(root);
    for (const auto& e : fs::directory_iterator(test::BuildRoot() / "worlds"))
        if (e.path().filename().string().rfind("Aldermoor", 0) == 0)
            fs::create_symlink(e.path(), root / "worlds" / e.path().filename());
    fs::create_directories(dir / "defs");
    fs::copy_file(test::SourceRoot() / "assets" / "sandbox" / "Aldermoor.actions",
                  dir / "defs" / "Start.actions");
    test::WriteText(dir / "defs" / "Refused.actions", "building parking 300 300\n");
    const std::string good =
        "[Mission]\nLevel=Aldermoor\nActions=Start.actions\n[SKIPark]\nParkCash=1234\n"
        "ParkName=Defined park\n[SKIObjectives]\nObjCount=1\nObjectiveType0=2\n"
        "ObjectiveValue0=50\nObjectiveActive0=1\nObjectiveName0=Fifty skiers\n";
    test::WriteText(dir / "defs" / "Good.ini", good);
    RunResult r = Datagen(
        "--out " + root.string() + " --game " + (dir / "defs" / "Good.ini").string(), dir.Path());
    ASSERT_EQ(r.status, 0) << r.err;
    TSKIEngine engine({root, 1, nullptr});
    ASSERT_TRUE(LoadGameFile(engine, root / "worlds" / "Good.ski")) << engine.LoadError;
    EXPECT_EQ(engine.Park.ParkCash, 1234);
    EXPECT_EQ(engine.Park.ParkName, "Defined park");
    ASSERT_EQ(engine.Objectives.size(), 1u);
    EXPECT_EQ(engine.Objectives[0].Name, "Fifty skiers");
    ASSERT_EQ(engine.Buildings.size(), 1u);
    EXPECT_EQ(engine.Buildings[0]->Type, kBuildParking);

    const struct {
        const char* text;
        const char* reason;
    } bad[] = {
        {"[Mission]\nLevel=Nowhere\n", "Nowhere"},
        {"[Mission]\nActions=Start.actions\n", "Level"},
        {"[Mission]\nLevel=Aldermoor\n[SKIPark]\nParkCahs=5\n", "ParkCahs"},
        {"[Mission]\nLevel=Aldermoor\nActions=Refused.actions\n", "Refused.actions:1"},
        {"[Mission]\nLevel=Aldermoor\nActions=../Start.actions\n", "Start.actions"},
    };
    for (const auto& c : bad) {
        const fs::path file = dir / "defs" / "Bad.ini";
        test::WriteText(file, c.text);
        r = Datagen("--out " + root.string() + " --game " + file.string(), dir.Path());
        EXPECT_EQ(r.status, 1) << c.text;
        EXPECT_NE(r.err.find(file.string() + ": "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(root / "worlds" / "Bad.ski")) << c.text;
    }
}

class ShippedLevelFile : public testing::TestWithParam<std::string> {};

TEST_P(ShippedLevelFile, NamesItsFilesAndHoldsEveryRowAndHouseInTheLevelFormat) {
    const std::string name = GetParam();
    const auto& level = ShippedLevel(name);
    ASSERT_TRUE(level.Complete()) << name << " has missing rows or cells outside its mesh";
    const TIniFile& f = level.file;
    EXPECT_EQ(f.ReadString("LevelData", "LevelElevationFile"), name);
    EXPECT_EQ(f.ReadString("LevelData", "LevelTextureSnow"), name + "MAP.jpg");
    EXPECT_EQ(f.ReadString("LevelData", "LevelTextureGround"), name + "MAPs.jpg");
    EXPECT_EQ(f.ReadFloat("LevelData", "LevelScaleXZ", 0), 4.0);
    EXPECT_EQ(level.scaleY, 2.0f);
    EXPECT_EQ(f.ReadInteger("LevelData", "LevelMaxCrowded", -1), 1);
    // On the hills blocked means a step of more than 4.25 world units between neighbours,
    // so black pitches (a drop of 3 per cell below a cell's lower neighbours) stay open.
    EXPECT_EQ(level.blockThreshold, name == "blank" ? 7.0f : 8.5f);
    for (const char* file : {"H.3ds", "Side.3ds", "MAP.jpg", "MAPs.jpg"})
        EXPECT_TRUE(fs::exists(test::BuildRoot() / "worlds" / (name + file))) << name << file;

    EXPECT_EQ(f.SectionKeys("LevelBasicBlocked").size(), 512u);
    for (int i = 0; i < 512; ++i) {
        const std::string& row = level.rows[size_t(i)];
        const size_t bad = row.find_first_not_of("01234567R");
        EXPECT_EQ(bad, std::string::npos) << name << " row " << i << " column " << bad;
    }
    for (const auto& bytes : level.houseBytes) EXPECT_EQ(bytes.size(), 36u);
    for (const TSKIHouse& house : level.houses) {
        EXPECT_GE(house.Tag, 0);
        EXPECT_LE(house.Tag, 9);
        const TSKIVector& d = house.Direction;
        EXPECT_NEAR(std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), 1.0f, 1e-4f);
        int i, j;
        test::NearestCell(house.Position, i, j);
        ASSERT_TRUE(i >= 0 && j >= 0 && i < 512 && j < 512) << name;
        EXPECT_NEAR(house.Position.y, level.H(i, j), 0.5f);
    }
}

INSTANTIATE_TEST_SUITE_P(All, ShippedLevelFile, testing::Values("Mountain", "Training", "blank"));

}  // namespace
}  // namespace vallorn
