#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

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

TEST(InterfaceCover, TheUncoveredPartsTileExactlyWhatNoCoverHides) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> at(-10, 70), size(1, 40), count(0, 5);
    const TSKICoverRect clip{3, 2, 60, 40};
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<TSKICoverRect> covers(size_t(count(random)));
        for (TSKICoverRect& r : covers) r = {at(random), at(random), size(random), size(random)};
        const std::vector<TSKICoverRect> parts = UncoveredParts(clip, covers);
        auto inside = [](const TSKICoverRect& r, int x, int y) {
            return x >= r.X && x < r.X + r.Width && y >= r.Y && y < r.Y + r.Height;
        };
        for (int y = -12; y < 80; ++y) {
            for (int x = -12; x < 80; ++x) {
                const bool shows = inside(clip, x, y) &&
                                   std::none_of(covers.begin(), covers.end(),
                                                [&](const auto& r) { return inside(r, x, y); });
                const auto hits = std::count_if(parts.begin(), parts.end(),
                                                [&](const auto& r) { return inside(r, x, y); });
                ASSERT_EQ(hits, shows ? 1 : 0) << "trial " << trial << " at " << x << "," << y;
            }
        }
    }
}

// What each pixel of the screen is drawn with, in order, as a hash of the draw lists and
// triangles (by their vertices) that reach its centre; with `layers`, leaving out what a
// window in front covers.
std::vector<uint64_t> Drawing(const ImDrawData& data, const TSKIWindowLayers* layers) {
    const int width = int(data.DisplaySize.x), height = int(data.DisplaySize.y);
    std::vector<uint64_t> pixels(size_t(width * height), 0);
    auto edge = [](ImVec2 a, ImVec2 b, float x, float y) {
        return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    };
    for (int n = 0; n < data.CmdListsCount; ++n) {
        const ImDrawList& list = *data.CmdLists[n];
        for (const ImDrawCmd& cmd : list.CmdBuffer) {
            if (cmd.UserCallback) continue;
            for (unsigned i = 0; i + 2 < cmd.ElemCount; i += 3) {
                const ImDrawIdx* idx = list.IdxBuffer.Data + cmd.IdxOffset + i;
                const unsigned v[3] = {cmd.VtxOffset + idx[0], cmd.VtxOffset + idx[1],
                                       cmd.VtxOffset + idx[2]};
                const ImVec2 a = list.VtxBuffer[int(v[0])].pos, b = list.VtxBuffer[int(v[1])].pos,
                             c = list.VtxBuffer[int(v[2])].pos;
                const int x0 = std::max({0, int(cmd.ClipRect.x), int(std::min({a.x, b.x, c.x}))});
                const int y0 = std::max({0, int(cmd.ClipRect.y), int(std::min({a.y, b.y, c.y}))});
                const int x1 =
                    std::min({width, int(cmd.ClipRect.z), int(std::max({a.x, b.x, c.x})) + 1});
                const int y1 =
                    std::min({height, int(cmd.ClipRect.w), int(std::max({a.y, b.y, c.y})) + 1});
                const uint64_t key = (uint64_t(n) << 48) ^ (uint64_t(v[0]) << 32) ^
                                     (uint64_t(v[1]) << 16) ^ uint64_t(v[2]);
                for (int y = y0; y < y1; ++y) {
                    for (int x = x0; x < x1; ++x) {
                        const float px = float(x) + 0.5f, py = float(y) + 0.5f;
                        const float e0 = edge(a, b, px, py), e1 = edge(b, c, px, py),
                                    e2 = edge(c, a, px, py);
                        if (!((e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0)))
                            continue;
                        if (layers && std::any_of(layers->Covers.begin(), layers->Covers.end(),
                                                  [&](const auto& cover) {
                                                      const TSKICoverRect& r = cover.second;
                                                      return cover.first >
                                                                 layers->Places[size_t(n)] &&
                                                             x >= r.X && x < r.X + r.Width &&
                                                             y >= r.Y && y < r.Y + r.Height;
                                                  }))
                            continue;
                        uint64_t& p = pixels[size_t(y * width + x)];
                        p = p * 1099511628211ull + key + 1;
                    }
                }
            }
        }
    }
    return pixels;
}

TEST(InterfaceCover, WindowsDrawOnlyWhatTheWindowsInFrontLeaveShowing) {
    test::THeadlessImGui gui;
    ImGui::GetStyle().WindowRounding = 6;
    ImGui::GetStyle().Colors[ImGuiCol_WindowBg].w = 1.0f;
    ImGuiIO& io = ImGui::GetIO();
    for (int frame = 0; frame < 3; ++frame) {
        ImGui::NewFrame();
        auto window = [](const char* name, ImVec2 pos, ImVec2 size) {
            ImGui::SetNextWindowPos(pos);
            ImGui::SetNextWindowSize(size);
            ImGui::Begin(name);
            for (int line = 0; line < 30; ++line) ImGui::Text("%s line %d of figures", name, line);
            ImGui::End();
        };
        window("Back", ImVec2(40, 40), ImVec2(500, 400));
        window("Middle", ImVec2(200, 120), ImVec2(300, 500));
        window("Front", ImVec2(150, 300), ImVec2(600, 150));
        ImGui::Render();
    }
    ImDrawData& data = *ImGui::GetDrawData();
    const TSKIWindowLayers layers =
        WindowLayers(data, int(io.DisplaySize.x), int(io.DisplaySize.y));
    ASSERT_EQ(layers.Covers.size(), 3u);
    const std::vector<uint64_t> expected = Drawing(data, &layers);
    const int indices = data.TotalIdxCount;
    ClipToUncovered(data, layers, int(io.DisplaySize.x), int(io.DisplaySize.y));
    EXPECT_LT(data.TotalIdxCount, indices);  // the hidden lines are not handed over
    EXPECT_TRUE(Drawing(data, nullptr) == expected);
}

}  // namespace
}  // namespace vallorn
