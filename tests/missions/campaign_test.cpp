// Campaign missions started from their files: the starting game or the automatic save, the
// mission index the game then runs under, and the failures the player is told about.
#include <gtest/gtest.h>

#include "missions/missions.h"
#include "persistence/saved_game.h"
#include "support/engine_fixture.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;
using test::LevelFixture;
using test::TestLevel;

// A profile "Ann" with four missions and a test level whose saved game is worlds/Start.ski.
struct CampaignFixture : LevelFixture {
    CampaignFixture() {
        EXPECT_TRUE(WriteAndLoad(TestLevel{}).ok());
        // The file holds a mission index of its own: the start replaces it.
        engine->Park.ParkMissionIndex = 7;
        engine->Park.ParkCash = 12345;
        EXPECT_TRUE(SaveGameFile(*engine, Worlds() / "Start.ski"));
        CloseGame(*engine);
        test::WriteText(Worlds() / "Broken.ski", "[SKIWorld]\nWorldName=Nowhere\n");
        profile.Name = "Ann";
        profile.Missions = {{"Start.ski", "First"},
                            {"Gone.ski", "Second"},
                            {"Broken.ski", "Third"},
                            {"Start.ski", "Fourth"}};
        fs::create_directories(engine->Folders.Save / "Ann" / "auto");
        missions = std::make_unique<TSKIMissions>(*engine, profile);
    }
    TSKIStartResult Start(int index, bool resume = false) {
        return missions->StartMission(index, resume, [this](const fs::path& file) {
            CloseGame(*engine);
            return LoadGameFile(*engine, file);
        });
    }
    fs::path AutoSave(const std::string& mission) const {
        return engine->Folders.Save / "Ann" / "auto" / (mission + ".ski");
    }

    TSKIProfile profile;
    std::unique_ptr<TSKIMissions> missions;
};

TEST(Campaign, AMissionStartsFromItsFileUnderItsOwnIndex) {
    CampaignFixture f;
    // The mission's place in the list, its caption and the camera limit of the first two.
    struct Case {
        int index;
        std::string caption;
        float maxDistance;
    };
    for (const Case& c : {Case{3, "Fourth", 1000.0f}, Case{0, "First", 200.0f}}) {
        ASSERT_EQ(f.Start(c.index), TSKIStartResult::Started) << c.index;
        EXPECT_EQ(f->Park.ParkMissionIndex, c.index);
        EXPECT_EQ(f->Park.ParkCash, 12345);
        EXPECT_EQ(GameCaption(*f), c.caption);
        EXPECT_EQ(f->Viewpoint.MaxDistance, c.maxDistance);
    }
    f.profile.Missions[1].File = "Start.ski";
    ASSERT_EQ(f.Start(1), TSKIStartResult::Started);
    EXPECT_EQ(f->Viewpoint.MaxDistance, 400.0f);
    EXPECT_TRUE(f.dialogs.errors.empty());
}

TEST(Campaign, MissingFilesStartNothingAndABadFileSaysLoadingFailed) {
    CampaignFixture f;
    ASSERT_EQ(f.Start(0), TSKIStartResult::Started);
    // A missing file, an index beyond the list, and names that would leave their folders:
    // nothing happens, the running game stays.
    test::WriteText(f.dir / "Outside.ski", test::ReadText(f.Worlds() / "Start.ski"));
    f.profile.Missions.push_back({"../Outside.ski", "Fifth"});
    for (int index : {1, 4, 9, -1}) {
        EXPECT_EQ(f.Start(index), TSKIStartResult::NoFile) << index;
        EXPECT_FALSE(f.missions->MissionFile(index, false)) << index;
    }
    EXPECT_EQ(f->Park.ParkMissionIndex, 0);
    EXPECT_TRUE(f.dialogs.errors.empty());

    EXPECT_EQ(f.Start(2), TSKIStartResult::LoadFailed);
    EXPECT_EQ(f.dialogs.errors, std::vector<std::string>{"Loading failed !"});
    EXPECT_EQ(f->Park.ParkMissionIndex, kMissionNone);
}

TEST(Campaign, ResumeLoadsTheAutomaticSaveWhileItExists) {
    CampaignFixture f;
    EXPECT_FALSE(f.missions->HasAutoSave(0));
    EXPECT_EQ(f.Start(0, true), TSKIStartResult::NoFile);

    // Playing mission 0 and leaving it writes its automatic save (the close says yes).
    ASSERT_EQ(f.Start(0), TSKIStartResult::Started);
    f->Park.ParkCash = 999;
    CloseGame(*f);
    ASSERT_TRUE(fs::exists(f.AutoSave("First")));
    EXPECT_TRUE(f.missions->HasAutoSave(0));
    EXPECT_FALSE(f.missions->HasAutoSave(3));  // another mission's name

    ASSERT_EQ(f.Start(0, true), TSKIStartResult::Started);
    EXPECT_EQ(f->Park.ParkCash, 999);
    EXPECT_EQ(f->Park.ParkMissionIndex, 0);
    EXPECT_EQ(f->Viewpoint.MaxDistance, 200.0f);
    ASSERT_EQ(f.Start(0, false), TSKIStartResult::Started);  // "Restart": the starting game
    EXPECT_EQ(f->Park.ParkCash, 12345);

    fs::remove(f.AutoSave("First"));
    EXPECT_FALSE(f.missions->HasAutoSave(0));
    // A profile or mission name that would leave save/ finds no automatic save.
    fs::create_directories(f.dir / "auto");
    test::WriteText(f.dir / "auto" / "First.ski", test::ReadText(f.Worlds() / "Start.ski"));
    f.profile.Name = "..";
    EXPECT_FALSE(f.missions->HasAutoSave(0));
    f.profile.Name = "Ann";
    f.profile.Missions[0].Name = "../../../auto/First";
    EXPECT_FALSE(f.missions->HasAutoSave(0));
}

TEST(SavedGames, TheProposedNameCountsTheListAndNamesTheGame) {
    test::EngineFixture e;
    e->MissionNames = {"First Tracks", "Warm Welcome"};
    e->Park.ParkMissionIndex = 1;
    // The create entry alone proposes "02"; nine entries "10".
    EXPECT_EQ(ProposedSaveName(1, *e), "02_Warm Welcome");
    EXPECT_EQ(ProposedSaveName(9, *e), "10_Warm Welcome");
    e->Park.ParkMissionIndex = -3;
    EXPECT_EQ(ProposedSaveName(2, *e), "03_SandboxMap3");
    e->Park.ParkMissionIndex = -21;
    EXPECT_EQ(ProposedSaveName(2, *e), "03_SandboxMap21");
    e->Park.ParkMissionIndex = kMissionUnlimitedSandbox;
    EXPECT_EQ(ProposedSaveName(1, *e), "02_Unlimited_Game");
    e->Park.ParkMissionIndex = kMissionAddon;
    EXPECT_EQ(ProposedSaveName(1, *e), "02_Addon_Game");
    e->Park.ParkMissionIndex = kMissionNone;
    EXPECT_EQ(ProposedSaveName(1, *e), "02_Save");
    // A mission index beyond the profile's list is no mission.
    e->Park.ParkMissionIndex = 5;
    EXPECT_EQ(ProposedSaveName(1, *e), "02_Save");
}

}  // namespace
}  // namespace vallorn
