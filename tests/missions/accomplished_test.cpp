// The mission-accomplished step for each kind of game.
#include <filesystem>

#include "missions_fixture.h"

namespace vallorn::test {
namespace {

class Accomplished : public MissionsFixture {
protected:
    Accomplished() {
        profile.Name = "Ann";
        for (int k = 0; k < 15; ++k) {
            std::string name = "M";
            name += std::to_string(k);  // (not "M" + ...: a false overlap warning of GCC 12)
            profile.Missions.push_back({"m.ski", name, kMissionUnlocked, 0, 0});
        }
    }
    const TSKIAccomplishedWindow& Shown() { return windows.Accomplished.back(); }
    bool ProfileWritten() {
        return std::filesystem::exists(e->Folders.Save / (profile.Name + ".prof"));
    }
};

TEST_F(Accomplished, ACampaignMissionIsRecordedAndRemindsOfOpenSecondaries) {
    Add(1, 1000000, "Side").Primary = false;
    missions->CompleteMission(2);
    EXPECT_TRUE(e->Park.AccomplishedShown);
    EXPECT_EQ(ProfileOnDisk().Missions[2].State, kMissionCompleted);
    EXPECT_EQ(Shown().Caption, "Mission accomplished");
    EXPECT_EQ(Shown().Label1, "You have successfully completed the mission.");
    EXPECT_EQ(Shown().SecondButton, "Continue campaign");
    EXPECT_TRUE(Shown().SecondButtonVisible);
    EXPECT_EQ(Shown().Label2, "There are still some uncompleted secondary objectives.");
    EXPECT_TRUE(Shown().Label2Visible);
    EXPECT_FALSE(Shown().ShowCampaignCompleted);

    At(0).Completed = true;
    missions->CompleteMission(3);
    EXPECT_FALSE(Shown().Label2Visible);
    missions->CompleteMission(11);
    EXPECT_TRUE(Shown().Label2Visible);
    EXPECT_EQ(Shown().Label2,
              "Do not forget about Marketing, Banking and Friends missions. You can win some "
              "usefull rewards in those missions.");
}

TEST_F(Accomplished, TheLastMissionCompletesTheCampaignOnce) {
    for (auto& m : profile.Missions) m.State = kMissionCompleted;
    profile.Missions[14].State = kMissionUnlocked;
    missions->CompleteMission(14);
    EXPECT_TRUE(Shown().ShowCampaignCompleted);
    const TSKIProfile disk = ProfileOnDisk();
    EXPECT_TRUE(disk.CampCompleted && disk.CampFinishRead);

    missions->CompleteMission(14);  // replayed
    EXPECT_FALSE(Shown().ShowCampaignCompleted);
    EXPECT_EQ(windows.Accomplished.size(), 2u);
}

TEST_F(Accomplished, ASandboxMapRaisesTheDifficultyAndKeepsItsBest) {
    e->Park.ParkSandboxDiff = 1;
    missions->CompleteMission(-3);
    TSKIProfile disk = ProfileOnDisk();
    EXPECT_EQ(disk.SandboxDiff, 2);
    EXPECT_EQ(disk.SandBox[2].Completed, 1);
    EXPECT_EQ(Shown().Label2, "Next sandbox difficulty level unlocked.");
    EXPECT_TRUE(Shown().Label2Visible);
    EXPECT_EQ(Shown().SecondButton, "Leave");
    EXPECT_EQ(Shown().ContinueWidth, 121);

    // Very easy again changes nothing; a lower difficulty never lowers a map's best.
    missions->CompleteMission(-3);
    EXPECT_FALSE(Shown().Label2Visible);
    profile.SandBox[2].Completed = 4;
    missions->CompleteMission(-3);
    EXPECT_EQ(profile.SandBox[2].Completed, 4);
    EXPECT_EQ(ProfileOnDisk().SandboxDiff, 2);

    // The highest difficulty on the bonus map: recorded, no rise beyond it.
    profile.SandboxDiff = 5;
    e->Park.ParkSandboxDiff = 5;
    missions->CompleteMission(-kBonusMap);
    disk = ProfileOnDisk();
    EXPECT_EQ(disk.SandboxDiff, 5);
    EXPECT_EQ(disk.SandBox[kBonusMap - 1].Completed, 5);
}

TEST_F(Accomplished, UnlimitedAndAddonGamesRecordNoMap) {
    e->Park.ParkSandboxDiff = kSandboxDiffUnlimited;
    missions->CompleteMission(kMissionUnlimitedSandbox);
    EXPECT_FALSE(ProfileWritten());
    EXPECT_EQ(profile.SandboxDiff, 1);
    EXPECT_EQ(Shown().Caption, "Unlimited mode");
    EXPECT_EQ(Shown().Label1, "Unlimited mode - play without restrictions.");
    EXPECT_EQ(Shown().Label2,
              "You have unlimited money and immortal happy skiers. There are no objectives, just "
              "build your park.");
    EXPECT_FALSE(Shown().SecondButtonVisible);
    EXPECT_EQ(Shown().ContinueWidth, 249);

    // An add-on played at the player's difficulty raises it, but no map keeps a record.
    e->Park.ParkSandboxDiff = 1;
    missions->CompleteMission(kMissionAddon);
    const TSKIProfile disk = ProfileOnDisk();
    EXPECT_EQ(disk.SandboxDiff, 2);
    for (const TSKISandboxMap& map : disk.SandBox) EXPECT_EQ(map.Completed, 0);
    EXPECT_EQ(Shown().Caption, "Mission accomplished");
    // And the add-ons help page tells the player so.
    const std::string help = ReadText(SourceRoot() / "assets" / "help" / "Addons.html");
    EXPECT_NE(help.find("next sandbox difficulty opens"), std::string::npos);
    EXPECT_EQ(help.find("records no progress"), std::string::npos);

    // No game at all: nothing.
    e->Park.AccomplishedShown = 0;
    missions->CompleteMission(kMissionNone);
    EXPECT_EQ(windows.Accomplished.size(), 2u);
    EXPECT_FALSE(e->Park.AccomplishedShown);
}

}  // namespace
}  // namespace vallorn::test
