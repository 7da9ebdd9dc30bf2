// Sandbox and add-on games: the values each kind of game starts with, the random goals of a
// difficulty, the rules of the bonus map and the difficulty buttons, and add-on previews.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "missions/missions.h"
#include "persistence/saved_game.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;
using test::LevelFixture;
using test::TestLevel;

const char* kStarFile =
    "[SKIObjectives]\nObjCount=1\nObjectiveType0=0\nObjectiveName0=Rich\n"
    "ObjectiveValue0=400000\nObjectiveActive0=1\nObjectivePrimary0=1\n";

// Map 3 ("Corrie") and the bonus map ("Peak") saved from a test level with values of their
// own, and the star files 1 and 2.
struct SandboxFixture : LevelFixture {
    SandboxFixture() {
        EXPECT_TRUE(WriteAndLoad(TestLevel{}).ok());
        TSKIParkData& p = engine->Park;
        p.ParkMissionIndex = 0;  // a camera limit and caption the start must not keep
        p.ParkCash = 12345;
        p.ParkSpawnSpeed = 7;
        p.ParkSandboxDiff = 3;
        p.ParkSpeed = 4;
        engine->Objectives = {TSKIObjective{}};
        engine->Objectives[0].Name = "Own goal";
        EXPECT_TRUE(SaveGameFile(*engine, Worlds() / "Corrie.ski"));
        p.ParkMissionIndex = -kBonusMap;
        EXPECT_TRUE(SaveGameFile(*engine, Worlds() / "Peak.ski"));
        CloseGame(*engine);
        for (const char* star : {"1star.ini", "2star.ini"})
            test::WriteText(Worlds() / star, kStarFile);
        profile.SandBox[2].Text = "Corrie";
        profile.SandBox[3].Text = "Gone";
        profile.SandBox[kBonusMap - 1].Text = "Peak";
        missions = std::make_unique<TSKIMissions>(*engine, profile);
    }
    TSKIStartResult Play(int map, int difficulty) {
        return missions->PlaySandbox(map, difficulty, [this](const fs::path& file) {
            CloseGame(*engine);
            return LoadGameFile(*engine, file);
        });
    }

    TSKIProfile profile;
    std::unique_ptr<TSKIMissions> missions;
};

TEST(Sandbox, EachKindOfGameStartsWithItsValues) {
    SandboxFixture f;
    struct Case {
        int map, difficulty;
        int32_t cash, spawnSpeed, missionIndex;
        int sandboxDiff;
        std::string firstObjective;
    };
    const Case cases[] = {
        {3, 1, 150000, 20, -3, 1, "Rich"},  // the star file's objectives, then random goals
        {kBonusMap, 2, 12345, 7, -kBonusMap, 3, "Own goal"},  // the map's own
        {3, 0, 100000000, 4, kMissionUnlimitedSandbox, kSandboxDiffUnlimited, ""},
        {kBonusMap, 0, 100000000, 4, kMissionUnlimitedSandbox, kSandboxDiffUnlimited, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("map " + std::to_string(c.map) + " d " + std::to_string(c.difficulty));
        ASSERT_EQ(f.Play(c.map, c.difficulty), TSKIStartResult::Started);
        const TSKIParkData& p = f->Park;
        EXPECT_EQ(p.ParkCash, c.cash);
        EXPECT_EQ(p.ParkSpawnSpeed, c.spawnSpeed);
        EXPECT_EQ(p.ParkMissionIndex, c.missionIndex);
        EXPECT_EQ(p.ParkSandboxDiff, c.sandboxDiff);
        EXPECT_EQ(f->Objectives.empty() ? "" : f->Objectives[0].Name, c.firstObjective);
        EXPECT_EQ(p.ParkSpeed, 1.0f);
        EXPECT_GE(p.ParkWeather, 0.0f);
        EXPECT_LT(p.ParkWeather, 1.0f);
        EXPECT_EQ(GameCaption(*f), "Sandbox game");
        EXPECT_EQ(f->Viewpoint.MaxDistance, 1000.0f);
    }
    EXPECT_TRUE(f.dialogs.errors.empty());
}

// With the shipped star files, no goal of a sandbox game is met on its first evaluation (the
// money goals lie above the starting cash), and the slopes it may ask for stay within what a
// good player builds on a sandbox map: at most half of the largest resort built there so far,
// 13.9 km.
TEST(Sandbox, ShippedGoalsNeedPlayAndStayWithinReach) {
    SandboxFixture f;
    constexpr int32_t kLargestSandboxResortKm = 14;
    int32_t lastSlopeGoal = 0;
    for (int d = 1; d <= kMaxSandboxDiff; ++d) {
        SCOPED_TRACE("d " + std::to_string(d));
        const std::string star = std::to_string(d) + "star.ini";
        fs::copy_file(test::SourceRoot() / "assets" / "worlds" / star, f.Worlds() / star,
                      fs::copy_options::overwrite_existing);
        f->Rng.Seed(1);
        ASSERT_EQ(f.Play(3, d), TSKIStartResult::Started);
        f.missions->EvaluateObjectives(-1, -1);
        for (const TSKIObjective& o : f->Objectives) {
            EXPECT_FALSE(o.Completed) << o.Name;
            if (o.Type == kObjectiveMoney) {
                EXPECT_GT(o.Value, f->Park.ParkCash) << o.Name;
            }
        }

        int32_t slopeGoal = 0;
        for (uint64_t seed = 1; seed <= 200 && slopeGoal == 0; ++seed) {
            f->Rng.Seed(seed);
            f->Objectives.clear();
            f.missions->DrawSandboxObjectives(d);
            for (const TSKIObjective& o : f->Objectives)
                if (o.Type == kObjectiveSlopeKilometres) slopeGoal = o.Value;
        }
        EXPECT_GT(slopeGoal, lastSlopeGoal);
        EXPECT_LE(slopeGoal, kLargestSandboxResortKm / 2);
        lastSlopeGoal = slopeGoal;
    }
}

TEST(Sandbox, AGameThatCannotBeFurnishedIsNotStarted) {
    SandboxFixture f;
    test::WriteText(f.Worlds() / "2star.ini", "[SKIObjectives]\nObjCount=-4\n");
    test::WriteText(f.Worlds() / "4star.ini", "[Other]\nA=1\n");
    // A missing map file; a missing, bad or empty star file (the map itself is fine).
    const std::pair<int, int> cases[] = {{4, 1}, {3, 3}, {3, 2}, {3, 4}};
    for (const auto& [map, difficulty] : cases) {
        f.dialogs.errors.clear();
        EXPECT_EQ(f.Play(map, difficulty), TSKIStartResult::LoadFailed) << map << " " << difficulty;
        EXPECT_EQ(f.dialogs.errors, std::vector<std::string>{"Loading failed !"});
        EXPECT_FALSE(f->LoadError.empty());
        // No park values were set on an empty engine.
        EXPECT_EQ(f->Park.ParkMissionIndex, kMissionNone);
        EXPECT_NE(f->Park.ParkCash, 150000);
    }
}

// The random goals of `d` drawn with many seeds, with nothing or everything unlocked.
TEST(Sandbox, RandomGoalsFollowTheDrawRules) {
    test::EngineFixture f;
    const std::map<uint8_t, int32_t (*)(int)> values = {
        {5, [](int d) { return d + 2; }},
        {6, [](int d) { return 10 * d + 49; }},
        {7, [](int d) { return d == 5   ? 11
                               : d == 4 ? 5
                               : d == 3 ? 12
                                        : 2; }},
        {8, [](int d) { return d; }},
        {11, [](int d) { return 10 * d + 10; }},
        {12, [](int d) { return 10 * d + 10; }},
        {15, [](int d) { return 5 * d + 70; }},
        {19, [](int d) { return 500 * d + 1000; }},
        {20, [](int d) { return 500 * d + 1000; }}};
    const std::set<uint8_t> needUnlocks = {6, 7, 8, 20};
    std::map<uint8_t, std::string> texts;  // at difficulty 4: "name: description"
    for (const bool unlocked : {false, true}) {
        TSKIProfile profile;
        profile.Terms.UnlockedBuildings.fill(unlocked);
        profile.Terms.UnlockedLifts.fill(unlocked);
        TSKIMissions missions(*f, profile);
        for (int d = 1; d <= 5; ++d) {
            std::set<uint8_t> seen;
            size_t longest = 0;
            for (uint64_t seed = 1; seed <= 300; ++seed) {
                SCOPED_TRACE("d " + std::to_string(d) + " seed " + std::to_string(seed));
                f->Rng.Seed(seed);
                f->Objectives.clear();
                missions.DrawSandboxObjectives(d);
                const auto& list = f->Objectives;
                ASSERT_EQ(list.size() % 2, 0u);
                ASSERT_LE(list.size(), size_t(2 * (d + 1)));
                longest = std::max(longest, list.size());
                std::set<uint8_t> types;
                int32_t lastDraw = 0;
                for (size_t k = 0; k < list.size(); k += 2) {
                    const TSKIObjective& wait = list[k];
                    const TSKIObjective& goal = list[k + 1];
                    EXPECT_EQ(wait.Type, 9);
                    EXPECT_TRUE(wait.Active && wait.Primary && !wait.Completed);
                    EXPECT_EQ(wait.Name, "Objective " + std::to_string(k + 1));
                    // Draw k waits k minutes and up to 59 ticks more, draws in order.
                    const int32_t draw = wait.TimeGoal / 60;
                    EXPECT_GT(draw, lastDraw);
                    EXPECT_LE(draw, d + 1);
                    lastDraw = draw;
                    EXPECT_EQ(wait.TimeStarted, 0);
                    EXPECT_EQ(wait.UnlocksObjectives[0], goal.Name);
                    EXPECT_FALSE(goal.Active || goal.Completed || goal.Reversible);
                    EXPECT_TRUE(goal.Primary);
                    EXPECT_TRUE(types.insert(goal.Type).second) << "type " << int(goal.Type);
                    ASSERT_TRUE(values.count(goal.Type)) << int(goal.Type);
                    EXPECT_EQ(goal.Value, values.at(goal.Type)(d));
                    EXPECT_TRUE(unlocked || !needUnlocks.count(goal.Type)) << int(goal.Type);
                    if (d == 4) texts[goal.Type] = goal.Name + ": " + goal.Description;
                }
                seen.insert(types.begin(), types.end());
            }
            // Over many seeds every allowed kind turns up; with all of them allowed some
            // games get a goal from every draw.
            EXPECT_EQ(seen.size(), unlocked ? 9u : 5u) << d;
            if (unlocked) {
                EXPECT_EQ(longest, size_t(2 * (d + 1))) << d;
            }
        }
    }
    EXPECT_EQ(texts[5], "Enough slopes: Build 6 kilometers of slopes");
    EXPECT_EQ(texts[6], "Good snow: Have snow quality at least 89%");
    EXPECT_EQ(texts[7], "Build hospital: Build hospital");
    EXPECT_EQ(texts[8], "Build cable car: Build cable car");
    EXPECT_EQ(texts[15], "Happy skiers: Get skier happiness level to 90%.");
    EXPECT_EQ(texts[20], "Long lift: Build a lift 3000 meters long.");
}

TEST(Sandbox, BonusMapAndDifficultyButtonsFollowTheProfile) {
    TSKIProfile p;
    for (int m = 0; m < kSandboxMaps; ++m)
        p.SandBox[size_t(m)].Text = "Map" + std::to_string(m + 1);
    auto rows = [&] { return SandboxRows(p); };
    EXPECT_FALSE(BonusMapOpen(p));
    ASSERT_EQ(rows().size(), 20u);
    EXPECT_EQ(rows()[2].Completed, "");
    p.SandBox[kBonusMap - 1].Completed = 5;  // the bonus map itself does not count
    for (int m = 0; m < 19; ++m) p.SandBox[size_t(m)].Completed = 1;
    EXPECT_FALSE(BonusMapOpen(p));
    p.SandBox[19].Completed = 2;  // now every map 1..20 at some difficulty
    EXPECT_TRUE(BonusMapOpen(p));
    ASSERT_EQ(rows().size(), 21u);
    EXPECT_EQ(rows()[20].Name, "Map21");
    EXPECT_EQ(rows()[20].Map, kBonusMap);
    EXPECT_EQ(rows()[19].Completed, "2");
    p.SandBox.fill({});
    p.SandBox[6].Completed = 5;  // any map at the highest difficulty
    EXPECT_TRUE(BonusMapOpen(p));

    // Buttons 2..5 above the profile's difficulty, unlimited once the campaign is completed.
    for (uint8_t diff : {1, 3, 5}) {
        p.SandboxDiff = diff;
        for (bool completed : {false, true}) {
            p.CampCompleted = completed;
            EXPECT_EQ(SandboxDifficultyShown(p, 0), completed);
            for (int d = 1; d <= 5; ++d) EXPECT_EQ(SandboxDifficultyShown(p, d), d <= diff) << d;
        }
    }
    EXPECT_EQ(SandboxDifficultyLabel(0), "Unlimited");
    EXPECT_EQ(SandboxDifficultyLabel(3), "Difficulty: medium");
}

TEST(Addons, NamesSharingFourCharactersShareTheirPreview) {
    LevelFixture f;
    ASSERT_TRUE(f.WriteAndLoad(TestLevel{}, true).ok());
    f->Park.ParkMissionIndex = kMissionAddon;
    ASSERT_TRUE(SaveGameFile(*f, f.Addons() / "Alps one.ski"));
    CloseGame(*f);
    for (const char* name : {"Alps two.ski", ".hidden.ski", "Alps.jpg", "notes.txt", "Bern.ski"})
        test::WriteText(f.Addons() / name, "x");
    test::WriteText(f.Addons() / "Alps.txt", "Two maps of the Alps.");
    fs::create_directory(f.Addons() / "Dir.ski");

    EXPECT_EQ(ListAddons(f->Folders), (std::vector<std::string>{"Alps one", "Alps two", "Bern"}));
    EXPECT_EQ(AddonPrefix("Alps one"), AddonPrefix("Alps two"));
    EXPECT_EQ(AddonPrefix("Alps one"), "Alps");
    EXPECT_EQ(AddonPrefix("Alp"), "Alp");
    EXPECT_EQ(AddonPrefix("Göta kanal"), "Göta");  // four letters, one of two bytes
    EXPECT_EQ(AddonPicture(f->Folders, "Alps"), f.Addons() / "Alps.jpg");
    EXPECT_EQ(AddonDescription(f->Folders, "Alps"), "Two maps of the Alps.");
    EXPECT_EQ(AddonPicture(f->Folders, "Bern"), fs::path());
    EXPECT_EQ(AddonDescription(f->Folders, "Bern"), "");

    TSKIProfile profile;
    TSKIMissions missions(*f, profile);
    const auto load = [&](const fs::path& file) {
        CloseGame(*f);
        return LoadGameFile(*f, file);
    };
    EXPECT_EQ(missions.PlayAddon("Alps one", load), TSKIStartResult::Started);
    EXPECT_EQ(f->Park.ParkMissionIndex, kMissionAddon);
    EXPECT_TRUE(f.dialogs.errors.empty());
    for (const char* name : {"Alps two", "Nowhere", "../worlds/Test"}) {
        f.dialogs.errors.clear();
        EXPECT_EQ(missions.PlayAddon(name, load), TSKIStartResult::LoadFailed) << name;
        EXPECT_EQ(f.dialogs.errors, std::vector<std::string>{"Loading failed !"});
    }
}

}  // namespace
}  // namespace vallorn
