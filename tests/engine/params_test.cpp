#include "base/params.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/ini_file.h"
#include "engine/engine.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

using test::TempDir;
using test::WriteText;

TEST(Catalogues, FloatKeysHoldThousandthsAndMissingKeysTakeAThousandthOfTheirDefault) {
    TempDir dir;
    WriteText(dir / "Params.ini",
              "[Lifts]\nFast=1\nComma=1\n[Fast]\nLiftSpeed=2500\nLiftOnGround=0\n"
              "LiftGondoleCapacity=4\nLiftGondoleOffsetsY3=-1500\nLiftName=Quad\n"
              "[Comma]\nLiftSpeed=2,5\nLiftMaxLength=oops\n");
    TSKIParameters p;
    LoadCatalogues(dir.Path(), p);
    ASSERT_EQ(p.LiftTypesRead, 2);
    EXPECT_EQ(p.Lifts[0].Name, "Fast");
    EXPECT_FLOAT_EQ(p.Lifts[0].Speed, 2.5f);
    EXPECT_FALSE(p.Lifts[0].OnGround);
    EXPECT_EQ(p.Lifts[0].GondoleCapacity, 4);
    EXPECT_FLOAT_EQ(p.Lifts[0].GondoleOffsets[0].y, -0.002f);  // index 0 has its own default
    EXPECT_FLOAT_EQ(p.Lifts[0].GondoleOffsets[3].y, -1.5f);    // read whatever the capacity
    EXPECT_EQ(p.Lifts[0].DisplayName, "Quad");
    EXPECT_FLOAT_EQ(p.Lifts[1].Speed, 0.0025f);
    EXPECT_FLOAT_EQ(p.Lifts[1].MaxLength, 0.5f);  // unparsable: the default, divided
    EXPECT_TRUE(p.Lifts[1].OnGround);
    EXPECT_EQ(p.Lifts[1].CostPerPole, 10000);  // integers are not scaled
    EXPECT_FLOAT_EQ(p.Lifts[1].PoleMaxDist, 0.03f);
    // Types the list does not name keep the defaults of a missing key.
    EXPECT_FLOAT_EQ(p.Lifts[5].Speed, 0.01f);
    EXPECT_EQ(p.Lifts[5].Name, "");
}

TEST(Catalogues, ListsLongerThanTheTableAreCutAndReported) {
    TempDir dir;
    std::string text = "[Vehicles]\n";
    for (int k = 0; k < 6; ++k) text.append("V").append(std::to_string(k)).append("=1\n");
    text += "[V3]\nVehSpeed=7000\n[V4]\nVehSpeed=9000\n";
    WriteText(dir / "Params.ini", text);
    TSKIParameters p;
    std::string warnings;
    LoadCatalogues(dir.Path(), p, &warnings);
    EXPECT_EQ(p.VehicleTypesRead, 4);
    EXPECT_FLOAT_EQ(p.Vehicles[3].Speed, 7.0f);
    EXPECT_NE(warnings.find("Vehicles"), std::string::npos);
}

TEST(Catalogues, BuildingCategoriesServicesSeatsAndDoors) {
    TempDir dir;
    WriteText(dir / "Params.ini",
              "[Buildings]\nCannon=\nStall=\nOdd=\nBig=\n"
              "[Cannon]\nBuildTypeString=SnowCannon\nBuildDoorVX=5000\n"
              "[Stall]\nBuildTypeString=Restaurant\nBuildCapacity=2\nBuildSeatVX0=1000\n"
              "BuildSeatVZ1=-2500\nBuildSeatVX2=9000\nBuildRefillHunger=40000\n"
              "BuildRefillCold=1\nBuildRefillHappines=-5\nBuildDoor=1\nBuildDoorVZ=3000\n"
              "[Odd]\nBuildTypeString=restaurant\n"
              "[Big]\nBuildTypeString=Hospital\nBuildCapacity=40\nBuildSeatVY30=2000\n"
              "BuildSeatVY31=3000\n");
    TSKIParameters p;
    std::string warnings;
    LoadCatalogues(dir.Path(), p, &warnings);
    const auto& cannon = p.Buildings[0];
    EXPECT_EQ(cannon.Category, kCategorySnowCannon);
    EXPECT_FALSE(cannon.HasDoor);
    EXPECT_FLOAT_EQ(cannon.DoorPosition.x, 0.0f);  // read only when the type has a door
    EXPECT_EQ(cannon.Cost, 1000);
    EXPECT_EQ(cannon.Size, 1);

    const auto& stall = p.Buildings[1];
    EXPECT_EQ(stall.Category, kCategoryRestaurant);
    EXPECT_FLOAT_EQ(stall.Seats[0].x, 1.0f);
    EXPECT_FLOAT_EQ(stall.Seats[1].z, -2.5f);
    EXPECT_FLOAT_EQ(stall.Seats[2].x, 0.0f);  // beyond the capacity: not read
    EXPECT_EQ(stall.Services, kServiceHunger | kServiceCold);
    EXPECT_TRUE(stall.HasDoor);
    EXPECT_FLOAT_EQ(stall.DoorPosition.z, 3.0f);

    EXPECT_EQ(p.Buildings[2].Category, kCategoryOther);  // the match is case-sensitive

    const auto& big = p.Buildings[3];
    EXPECT_EQ(big.Category, kCategoryHospital);
    EXPECT_EQ(big.Capacity, 40);
    EXPECT_FLOAT_EQ(big.Seats[30].y, 2.0f);  // seats stop at 31
    EXPECT_NE(warnings.find("Big"), std::string::npos);
}

// Each warning line, for matching by its start.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    size_t at = 0;
    for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        out.push_back(text.substr(at, end - at));
    return out;
}

TEST(Catalogues, ValuesThatWouldBreakTheGameTakeTheDefaultWithAWarning) {
    TempDir dir;
    WriteText(
        dir / "Params.ini",
        "[Lifts]\nQuad=\n[Quad]\nLiftSpeed=1e300\nLiftGondoleCapacity=300\n"
        "LiftGondoleSpacing=0\nLiftCostPerPole=-5\nLiftGondoleOffsetsY4=nan\n"
        "LiftColdFactor=-300\nLiftMaxLength=1200000\n"
        "[Buildings]\nHut=\n[Hut]\nBuildCost=40000\nBuildSize=0\nBuildSeatsVisible=yes\n"
        "BuildServiceCost=12\n[Vehicles]\nCat=\n[Cat]\nVehSpeed=-3000\nVehServiceFactor=1e-300\n");
    WriteText(dir / "GameParams.ini",
              "[GameParams]\nGameTickTime=0\nGameHistoryInterval=1e40\nGameDayLength=-600\n"
              "GameHungerFactor=-50\n");
    TSKIParameters p;
    std::string warnings;
    LoadCatalogues(dir.Path(), p, &warnings);
    const TSKILiftParams& quad = p.Lifts[0];
    EXPECT_FLOAT_EQ(quad.Speed, 0.01f);
    EXPECT_EQ(quad.GondoleCapacity, 1);
    EXPECT_FLOAT_EQ(quad.GondoleSpacing, 0.01f);
    EXPECT_EQ(quad.CostPerPole, 10000);
    EXPECT_FLOAT_EQ(quad.GondoleOffsets[4].y, 0.0f);
    EXPECT_FLOAT_EQ(quad.ColdFactor, -0.3f);  // sound values are kept
    EXPECT_FLOAT_EQ(quad.MaxLength, 1200.0f);
    EXPECT_EQ(p.Buildings[0].Cost, 1000);
    EXPECT_EQ(p.Buildings[0].Size, 1);
    EXPECT_FALSE(p.Buildings[0].SeatsVisible);
    EXPECT_EQ(p.Buildings[0].ServiceCost, 12);
    EXPECT_FLOAT_EQ(p.Vehicles[0].Speed, 0.005f);
    EXPECT_FLOAT_EQ(p.Vehicles[0].ServiceFactor, 0.01f);
    EXPECT_FLOAT_EQ(p.Game.TickTime, 0.001f);
    EXPECT_FLOAT_EQ(p.Game.HistoryInterval, 0.06f);
    EXPECT_EQ(p.Game.DayLength, 600);
    EXPECT_FLOAT_EQ(p.Game.HungerFactor, -0.05f);

    // In the order the fields are read.
    const std::vector<std::string> expected = {
        "Params.ini [Quad] LiftSpeed=1e300: must be above 0 and at most 100000; the default 10",
        "Params.ini [Quad] LiftGondoleCapacity=300: must be from 1 to 17; the default 1",
        "Params.ini [Quad] LiftGondoleSpacing=0: must be from 10 to 4096000; the default 10",
        "Params.ini [Quad] LiftGondoleOffsetsY4=nan: is not a number; the default 0",
        "Params.ini [Quad] LiftCostPerPole=-5: must be from 0 to 1000000; the default 10000",
        "Params.ini [Hut] BuildCost=40000: must be from 0 to 32767; the default 1000",
        "Params.ini [Hut] BuildSize=0: must be from 1 to 64; the default 1",
        "Params.ini [Hut] BuildSeatsVisible=yes: is not 0 or 1; the default 0",
        "Params.ini [Cat] VehSpeed=-3000: must be above 0 and at most 100000; the default 5",
        "Params.ini [Cat] VehServiceFactor=1e-300: must be above 0",  // zero as a float
        "GameParams.ini [GameParams] GameTickTime=0: must be above 0 and at most 3600000",
        "GameParams.ini [GameParams] GameHistoryInterval=1e40: must be above 0",
        "GameParams.ini [GameParams] GameDayLength=-600: must be from 1 to 1000000",
    };
    const std::vector<std::string> lines = Lines(warnings);
    ASSERT_EQ(lines.size(), expected.size()) << warnings;
    for (size_t k = 0; k < lines.size(); ++k)
        EXPECT_EQ(lines[k].rfind(expected[k], 0), 0u) << lines[k];

    WriteText(dir / "Options.ini",
              "[EngineParams]\nEngineSoundVolume=5\nEngineMouseRotSpeed=1e39\nEngineDetail=-1\n"
              "EngineMousePanSpeed=0.1\n");
    TSKIEngineOptions o;
    warnings.clear();
    LoadOptions(dir.Path(), o, &warnings);
    EXPECT_FLOAT_EQ(o.SoundVolume, 1.0f);
    EXPECT_FLOAT_EQ(o.MouseRotSpeed, 20.0f);
    EXPECT_EQ(o.Detail, 1);
    EXPECT_FLOAT_EQ(o.MousePanSpeed, 0.1f);
    ASSERT_EQ(Lines(warnings).size(), 3u) << warnings;
    EXPECT_EQ(
        warnings.rfind("Options.ini [EngineParams] EngineSoundVolume=5: must be from 0 to 1", 0),
        0u)
        << warnings;
}

TEST(Catalogues, CategoryOfEveryTypeString) {
    EXPECT_EQ(BuildingCategory("SnowCannon"), 1);
    EXPECT_EQ(BuildingCategory("Restaurant"), 2);
    EXPECT_EQ(BuildingCategory("Rescue"), 3);
    EXPECT_EQ(BuildingCategory("Hospital"), 4);
    EXPECT_EQ(BuildingCategory("Office"), 5);
    EXPECT_EQ(BuildingCategory("SnowCatGarage"), 6);
    EXPECT_EQ(BuildingCategory("Parking"), 0);
    EXPECT_EQ(BuildingCategory(""), 0);
    EXPECT_EQ(BuildingCategory("Restaurant "), 0);
}

TEST(Catalogues, MissingFilesGiveDefaultsAndGameRulesKeepTimeRunning) {
    TempDir dir;
    TSKIParameters p;
    LoadCatalogues(dir.Path(), p);
    EXPECT_EQ(p.LiftTypesRead, 0);
    EXPECT_FLOAT_EQ(p.Game.TickTime, 0.001f);
    EXPECT_FLOAT_EQ(p.Game.HungerFactor, -0.00005f);
    EXPECT_EQ(p.Game.DayLength, 600);

    WriteText(dir / "GameParams.ini",
              "[GameParams]\nGameTickTime=1000\nGameDayLength=0\nGameDaysInSeason=abc\n"
              "GameSlopeColdFactor=0,1\nGameTreePrice=250\n");
    LoadCatalogues(dir.Path(), p);
    EXPECT_FLOAT_EQ(p.Game.TickTime, 1.0f);
    EXPECT_EQ(p.Game.DayLength, 600);  // a day of no ticks would stop the calendar
    EXPECT_EQ(p.Game.DaysInSeason, 30);
    EXPECT_FLOAT_EQ(p.Game.SlopeColdFactor, 0.0001f);
    EXPECT_EQ(p.Game.TreePrice, 250);
}

TEST(Options, FloatsReadWithPointOrCommaAndDetailSetsTheViewDistance) {
    TempDir dir;
    WriteText(dir / "Options.ini",
              "[EngineParams]\nEngineMousePanSpeed=0.06\nEngineMouseRotSpeed=12,5\n"
              "EngineDetail=0\nEngineFulScreen=0\nEngineEdit=1\n[Profile]\nLastProfile=Anna\n");
    TSKIEngineOptions o;
    LoadOptions(dir.Path(), o);
    EXPECT_FLOAT_EQ(o.MousePanSpeed, 0.06f);
    EXPECT_FLOAT_EQ(o.MouseRotSpeed, 12.5f);
    EXPECT_FALSE(o.FullScreen);
    EXPECT_TRUE(o.Edit);
    EXPECT_TRUE(o.SoundOn);
    EXPECT_EQ(o.LastProfile, "Anna");
    EXPECT_EQ(o.Detail, 0);

    WriteText(dir / "Options.ini", "[EngineParams]\nEngineMousePanSpeed=0,06\nEngineDetail=999\n");
    LoadOptions(dir.Path(), o);
    EXPECT_FLOAT_EQ(o.MousePanSpeed, 0.06f);
    EXPECT_EQ(o.Detail, 1);

    EXPECT_FLOAT_EQ(ViewDistanceForDetail(0, 1), 40);
    EXPECT_FLOAT_EQ(ViewDistanceForDetail(1, 1), 75);
    EXPECT_FLOAT_EQ(ViewDistanceForDetail(2, 1), 80);
    EXPECT_FLOAT_EQ(ViewDistanceForDetail(3, 55), 55);
}

TEST(Options, SavingWritesTheWindowsKeysInOrderAndKeepsTheRest) {
    TempDir dir;
    WriteText(dir / "Options.ini", "[Profile]\nLastProfile=Bo\n[EngineParams]\nEngineShowFPS=1\n");
    TSKIEngineOptions o;
    o.SoundVolume = 0;
    o.MousePanSpeed = 0.25f;
    ASSERT_TRUE(SaveOptions(dir.Path(), o));
    TIniFile ini(dir / "Options.ini");
    EXPECT_EQ(ini.ReadString("Profile", "LastProfile"), "Bo");
    EXPECT_EQ(ini.ReadString("EngineParams", "EngineSoundOn"), "0");  // follows the volume
    EXPECT_EQ(ini.ReadString("EngineParams", "EngineMousePanSpeed"), "0,25");
    const auto keys = ini.SectionKeys("EngineParams");
    const std::vector<std::string> expected = {
        "EngineShowFPS",       "EngineMusicOn",         "EngineSoundOn",
        "EngineSoundVolume",   "EngineInvertMouseZoom", "EngineMouseRotSpeed",
        "EngineMousePanSpeed", "EngineMouseZoomSpeed",  "EngineFulScreen",
        "EngineDetail",        "EngineEdgeScroll"};
    EXPECT_EQ(keys, expected);
    TSKIEngineOptions back;
    LoadOptions(dir.Path(), back);
    EXPECT_FLOAT_EQ(back.MousePanSpeed, 0.25f);
    EXPECT_FALSE(back.SoundOn);
}

TEST(Options, EngineReadsItsFilesFromItsFolders) {
    TempDir dir;
    test::MakeProgramFolder(dir.Path());
    WriteText(dir / "save" / "Options.ini", "[EngineParams]\nEngineDetail=2\n");
    TSKIEngine engine({dir.Path(), 1, nullptr});
    EXPECT_EQ(engine.Folders.Data, dir.Path() / "data");
    EXPECT_EQ(engine.Folders.Save, dir.Path() / "save");
    EXPECT_EQ(engine.Options.Detail, 2);
    EXPECT_FLOAT_EQ(engine.ViewDistance, 80);
    EXPECT_EQ(engine.Params.LiftTypesRead, kLiftTypeCount);
    EXPECT_EQ(engine.Params.BuildingTypesRead, kBuildingTypeCount);
    EXPECT_EQ(engine.Params.VehicleTypesRead, kVehicleTypeCount);
    EXPECT_TRUE(engine.ParameterWarnings.empty()) << engine.ParameterWarnings;
}

TEST(Folders, AnInstalledGameKeepsPlayerDataInTheUsersDataFolder) {
    TempDir dir, home, cache;
    setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    const auto readOnly = [](const std::filesystem::path&) { return false; };
    const TSKIFolders installed = TSKIFolders::Resolve(dir.Path(), readOnly);
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(installed.Data, dir.Path() / "data");
    EXPECT_EQ(installed.Worlds, dir.Path() / "worlds");
    EXPECT_EQ(installed.Save, home.Path() / "vallorn" / "save");
    EXPECT_EQ(installed.Addons, home.Path() / "vallorn" / "addons");
    EXPECT_EQ(installed.Cache, cache.Path() / "vallorn");
    EXPECT_FALSE(std::filesystem::exists(dir / "save"));  // nothing written beside the game

    const TSKIFolders portable = TSKIFolders::Resolve(dir.Path());
    EXPECT_EQ(portable.Save, dir.Path() / "save");
    EXPECT_EQ(portable.Addons, dir.Path() / "addons");
    EXPECT_EQ(portable.Cache, dir.Path() / "cache");

    // The install marks its data folder: a writable prefix (a user's own, or root's) still
    // keeps the player's files out of it.
    WriteText(dir / kInstalledMark, "installed\n");
    setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
    const TSKIFolders marked = TSKIFolders::Resolve(dir.Path());
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(marked.Save, home.Path() / "vallorn" / "save");
    EXPECT_EQ(marked.Addons, home.Path() / "vallorn" / "addons");
}

TEST(Folders, TheGameRootIsTheVariableTheProgramFolderOrTheInstalledShareFolder) {
    TempDir tree;
    const auto bin = tree / "prefix" / "bin", share = tree / "prefix" / "share" / "vallorn";
    const auto build = tree / "build";
    for (const auto& p : {bin, share / "data", build / "data"})
        std::filesystem::create_directories(p);
    EXPECT_EQ(GameRoot(bin, nullptr), share);
    EXPECT_EQ(GameRoot(bin, ""), share);
    EXPECT_EQ(GameRoot(build, nullptr), build);  // the build tree runs in place
    EXPECT_EQ(GameRoot(bin, "/elsewhere"), std::filesystem::path("/elsewhere"));
    std::filesystem::remove_all(share);
    EXPECT_EQ(GameRoot(bin, nullptr), bin);  // nothing found: the program's folder
}

TEST(Folders, AnEngineCreatesNoFolderUntilItWritesOne) {
    TempDir dir;
    test::MakeProgramFolder(dir.Path());
    std::filesystem::remove(dir / "save");
    std::filesystem::remove(dir / "addons");
    TSKIEngine engine({dir.Path(), 1, nullptr});
    EXPECT_FALSE(std::filesystem::exists(dir / "save"));
    EXPECT_FALSE(std::filesystem::exists(dir / "addons"));
    std::string error;
    ASSERT_TRUE(SaveOptions(engine.Folders.Save, engine.Options, &error)) << error;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "save" / "Options.ini"));
}

}  // namespace
}  // namespace vallorn
