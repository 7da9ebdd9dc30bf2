// What the mission windows derive from the core without a display: the campaign map's panels
// (which missions, and how their texts fit), and the objectives window's height and panel text.
#include <gtest/gtest.h>

#include <filesystem>

#include "headless_imgui.h"
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

TEST(CampaignWindow, PanelTextsAreNotCutAndPanelsKeepApartAtEveryInterfaceScale) {
    test::THeadlessImGui gui;
    const std::filesystem::path sans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    for (const float scale : {1.0f, 1.5f, 2.0f}) {
        // The game's type at the scale (ImGui's own when the font is not installed).
        ImGuiIO& io = ImGui::GetIO();
        io.Fonts->Clear();
        const float size = 16 * scale;
        ImFontConfig config;
        config.SizePixels = size;
        const ImFont* font = fs::exists(sans) ? io.Fonts->AddFontFromFileTTF(sans.c_str(), size)
                                              : io.Fonts->AddFontDefault(&config);
        unsigned char* pixels;
        int w, h;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
        // The map in a 1024 x 768 window, below the campaign window's title bar.
        const float fit = (768 - size - 8 * scale) / 768;
        const std::string name = "Mountain Rescue";
        for (const TSKIMissionPanel p :
             {TSKIMissionPanel{3, false, true}, TSKIMissionPanel{3, true, false}}) {
            SCOPED_TRACE(testing::Message() << "scale " << scale << (p.Resume ? ", resume" : ""));
            const TSKIMissionPanelLayout l = LayoutMissionPanel(font, size, fit, name, p);
            auto width = [&](const char* text) {
                return const_cast<ImFont*>(font)->CalcTextSizeA(l.Font, 1e9f, 0, text).x;
            };
            // Each button holds its text within its padding (half the type size a side).
            EXPECT_GE(l.ButtonWidth, width(FirstButtonText(p)) + l.Font);
            if (p.Resume) {
                EXPECT_GE(l.ButtonWidth, width("Resume") + l.Font);
                EXPECT_LE(2 * l.ButtonWidth + l.Gap, l.Width - 2 * l.Margin + 0.01f);
            }
            EXPECT_LE(width(name.c_str()) + 1, l.Width - 2 * l.Margin);
            EXPECT_LE(width("Status: Completed"), l.Width - 2 * l.Margin);
            EXPECT_GE(l.ButtonHeight, 1.5f * l.Font);
            // Neighbours on the shipped map stand 196 map pixels apart, rows 224.
            EXPECT_LT(l.Width, 196 * fit);
            EXPECT_LT(l.Height, 224 * fit);
            EXPECT_GE(l.Font, 12.0f);  // still legible
            if (scale == 1) {
                EXPECT_EQ(l.Font, size);  // full size while the texts fit
            }
        }
    }
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
