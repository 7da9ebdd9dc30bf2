// What the view shows over the park: the hover panel's lines and the ride's keys.
#include "ui/hover_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>

#include <imgui.h>

#include "ui/headless_imgui.h"
#include "ui/text_lists.h"

namespace vallorn {
namespace {

struct TBox {
    float x0 = FLT_MAX, y0 = FLT_MAX, x1 = -FLT_MAX, y1 = -FLT_MAX;
    bool Empty() const { return x0 > x1; }
};

// The box around everything a draw list holds this frame.
TBox Drawn(const ImDrawList& list) {
    TBox box;
    for (const ImDrawVert& v : list.VtxBuffer) {
        box.x0 = std::min(box.x0, v.pos.x);
        box.y0 = std::min(box.y0, v.pos.y);
        box.x1 = std::max(box.x1, v.pos.x);
        box.y1 = std::max(box.y1, v.pos.y);
    }
    return box;
}

TEST(HoverPanel, ASkiersDescriptionShowsOneLineANeedWhateverItsLineEnds) {
    test::THeadlessImGui gui;
    EXPECT_EQ(LineBreaks("a\rb\r\nc\nd\r"), "a\nb\nc\nd\n");
    // A skier's description breaks with carriage returns alone; files may end lines otherwise.
    const std::string text = "Skier 3:waiting\rHappiness:95%\rCold:48%\r\nHunger:50%\nEnergy:61%";
    ImGui::NewFrame();
    DrawHoverPanel(text, {0, 0, 255}, 200, 300, 1024, 768);
    // Drawn over the view but under the windows: it never covers an open window.
    const TBox panel = Drawn(*ImGui::GetBackgroundDrawList());
    EXPECT_TRUE(Drawn(*ImGui::GetForegroundDrawList()).Empty());
    ImGui::EndFrame();
    ASSERT_FALSE(panel.Empty());
    const float line = ImGui::GetTextLineHeight();
    EXPECT_GE(panel.y1 - panel.y0, 5 * line);
    EXPECT_LT(panel.y1 - panel.y0, 6 * line);
    // As wide as its widest line, far narrower than the parts run together.
    EXPECT_LT(panel.x1 - panel.x0, ImGui::CalcTextSize("Skier 3:waiting").x * 1.5f);
}

TEST(HoverPanel, AWindowBesideThePointerSendsThePanelToItsOtherSide) {
    test::THeadlessImGui gui;
    const std::string text = "Skier 1:on lift\rHappiness:100%\rSpend. limit:17,-";
    const auto panelAt = [&](bool window) {
        ImGui::NewFrame();
        if (window) {
            ImGui::SetNextWindowPos(ImVec2(520, 200));
            ImGui::SetNextWindowSize(ImVec2(300, 300));
            ImGui::Begin("Active objectives");
            ImGui::End();
        }
        DrawHoverPanel(text, {0, 0, 255}, 500, 300, 1024, 768);
        const TBox panel = Drawn(*ImGui::GetBackgroundDrawList());
        ImGui::EndFrame();
        return panel;
    };
    EXPECT_GT(panelAt(false).x0, 500);  // right of the pointer in the open
    panelAt(true);                      // a new window shows from its second frame on
    const TBox beside = panelAt(true);
    ASSERT_FALSE(beside.Empty());
    EXPECT_LT(beside.x1, 500);  // left of it when the window would hide it
}

TEST(RideControls, TheKeysOfTheRideShowInTheViewsCornerOnlyWhileTheAvatarIs) {
    test::THeadlessImGui gui;
    const auto names = [](TSKITool tool, const char* part) {
        const auto lines = RideControls(tool);
        return std::any_of(lines.begin(), lines.end(), [&](const TSKIRideControl& l) {
            return (l.Keys + " " + l.Action).find(part) != std::string::npos;
        });
    };
    for (TSKITool tool : {TSKITool::FreeRide, TSKITool::Race}) {
        for (const char* key : {"W / Up", "S / Down", "A D / Left Right", "Ctrl", "Escape"})
            EXPECT_TRUE(names(tool, key)) << key;
    }
    // Only free ride takes a lift up.
    EXPECT_TRUE(names(TSKITool::FreeRide, "lift"));
    EXPECT_FALSE(names(TSKITool::Race, "lift"));
    EXPECT_TRUE(RideControls(TSKITool::Slope).empty());

    const TSKIRect noBar;
    ImGui::NewFrame();
    DrawRideControls(TSKITool::FreeRide, false, 1024, 768, noBar, 1);  // the avatar hidden
    DrawRideControls(TSKITool::None, true, 1024, 768, noBar, 1);
    EXPECT_TRUE(Drawn(*ImGui::GetBackgroundDrawList()).Empty());
    DrawRideControls(TSKITool::FreeRide, true, 1024, 768, noBar, 1);
    const TBox corner = Drawn(*ImGui::GetBackgroundDrawList());
    ImGui::EndFrame();
    ASSERT_FALSE(corner.Empty());
    EXPECT_GT(corner.x0, 1024 / 2);  // small, in the bottom right corner, inside the view
    EXPECT_GT(corner.y0, 768 / 2);
    EXPECT_LE(corner.x1, 1024);
    EXPECT_LE(corner.y1, 768);
    EXPECT_GT(corner.y1, 768 - 30);

    // The menu bar reaching into the corner (a window of 1024 x 768): the panel stands on it.
    const TSKIRect bar{40, 601, 760, 145};
    ImGui::NewFrame();
    DrawRideControls(TSKITool::Race, true, 1024, 768, bar, 1);
    const TBox above = Drawn(*ImGui::GetBackgroundDrawList());
    ImGui::EndFrame();
    EXPECT_LE(above.y1, bar.Y);
    EXPECT_GT(above.y1, bar.Y - 30);
    EXPECT_GT(above.x0, 1024 / 2);
}

}  // namespace
}  // namespace vallorn
