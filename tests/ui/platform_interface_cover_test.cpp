#include <gtest/gtest.h>

#include <imgui.h>

#include "platform/interface_cover.h"
#include "ui/headless_imgui.h"

namespace vallorn {
namespace {

// A frame of windows drawn without a display; the cover is taken before the frame renders.
std::vector<TSKICoverRect> CoverOfAFrame(float bgAlpha) {
    ImGuiIO& io = ImGui::GetIO();
    ImGui::GetStyle().Colors[ImGuiCol_WindowBg].w = bgAlpha;
    ImGui::NewFrame();
    auto window = [](const char* name, ImVec2 pos, ImGuiWindowFlags flags) {
        ImGui::SetNextWindowPos(pos);
        ImGui::SetNextWindowSize(ImVec2(200, 100));
        ImGui::Begin(name, nullptr, flags);
        ImGui::TextUnformatted("figures");
        ImGui::End();
    };
    window("Statistics", ImVec2(100, 50), 0);
    window("Bare", ImVec2(400, 50), ImGuiWindowFlags_NoBackground);
    ImGui::SetNextWindowCollapsed(true);
    window("Folded", ImVec2(400, 300), 0);
    ImGui::BeginTooltip();
    ImGui::TextUnformatted("a tip");
    ImGui::EndTooltip();
    std::vector<TSKICoverRect> cover = InterfaceCover(int(io.DisplaySize.x), int(io.DisplaySize.y));
    ImGui::Render();
    return cover;
}

TEST(InterfaceCover, OnlyOpaqueWindowsShownCoverTheViewInsideTheirRoundedCorners) {
    test::THeadlessImGui gui;
    ImGui::GetStyle().WindowRounding = 6;
    ImGui::GetStyle().WindowBorderSize = 1;
    for (int frame = 0; frame < 2; ++frame) CoverOfAFrame(1.0f);  // past the first, hidden frame

    // The implicit debug window, the window without a background, the folded one and the
    // tooltip cover nothing; the inset is the corner rounding and the border.
    const std::vector<TSKICoverRect> expected = {{107, 57, 186, 86}};
    EXPECT_EQ(CoverOfAFrame(1.0f), expected);
    // A see-through window style covers nothing at all.
    EXPECT_TRUE(CoverOfAFrame(0.94f).empty());
}

}  // namespace
}  // namespace vallorn
