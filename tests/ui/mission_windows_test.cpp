// What the mission windows derive from the core without a display: the campaign map's panels and
// the objectives window's height and panel text.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/engine_fixture.h"
#include "support/test_support.h"
#include "ui/campaign_window.h"
#include "ui/objectives_window.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

TEST(CampaignWindow, PanelsForOpenMissionsWithResumeWhileTheAutoSaveExists) {
    test::EngineFixture e;
    TSKIProfile p;
    p.Name = "Bo";
    p.Missions = {{"M1.ski", "One", kMissionCompleted, 10, 20},
                  {"M2.ski", "Two", kMissionLocked, 10, 200},
                  {"M3.ski", "Three", kMissionUnlocked, 100, 20}};
    TSKIMissions missions(*e, p);
    const fs::path autoSave = e->Folders.Save / "Bo" / "auto" / "Three.ski";
    fs::create_directories(autoSave.parent_path());
    test::WriteText(autoSave, "[SKIPark]\n");
    auto panels = MissionPanels(missions);
    ASSERT_EQ(panels.size(), 2u);
    EXPECT_EQ(panels[0].Index, 0);
    EXPECT_TRUE(panels[0].Completed);
    EXPECT_FALSE(panels[0].Resume);
    EXPECT_EQ(panels[1].Index, 2);
    EXPECT_FALSE(panels[1].Completed);
    EXPECT_TRUE(panels[1].Resume);
    fs::remove(autoSave);
    EXPECT_FALSE(MissionPanels(missions)[1].Resume);
    for (TSKIMissionData& m : p.Missions) m.State = kMissionLocked;
    EXPECT_TRUE(MissionPanels(missions).empty());
}

TEST(ObjectivesWindow, HeightFollowsTheCardsWithinItsLimitsAndThePanelNamesTheNew) {
    EXPECT_EQ(ObjectivesWindowHeight(0, 0), 133);
    EXPECT_EQ(ObjectivesWindowHeight(100, 1), 163);
    EXPECT_EQ(ObjectivesWindowHeight(1000, 6), 421);
    EXPECT_EQ(NewObjectivesText({"Lift"}), "New objective:\nLift");
    EXPECT_EQ(NewObjectivesText({"Lift", "Cash"}), "New objectives:\nLift\nCash");
}

}  // namespace
}  // namespace vallorn
