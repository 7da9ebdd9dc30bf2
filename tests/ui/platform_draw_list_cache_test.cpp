#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "platform/draw_list_cache.h"
#include "ui/headless_imgui.h"

namespace vallorn {
namespace {

// Every triangle corner of a draw list with the texture and clip rectangle it is drawn with.
using TCorner = std::tuple<intptr_t, float, float, float, float, float, float, float, float, ImU32>;
std::vector<TCorner> Corners(const ImDrawList& list) {
    std::vector<TCorner> out;
    for (const ImDrawCmd& cmd : list.CmdBuffer) {
        for (unsigned k = 0; k < cmd.ElemCount; ++k) {
            const ImDrawVert& v =
                list.VtxBuffer[int(cmd.VtxOffset + list.IdxBuffer[int(cmd.IdxOffset + k)])];
            out.emplace_back(reinterpret_cast<intptr_t>(cmd.TextureId), cmd.ClipRect.x,
                             cmd.ClipRect.y, cmd.ClipRect.z, cmd.ClipRect.w, v.pos.x, v.pos.y,
                             v.uv.x, v.uv.y, v.col);
        }
    }
    return out;
}

void Prepare(ImDrawList& list) {
    list._ResetForNewFrame();
    list.Flags = ImDrawListFlags_AllowVtxOffset | ImDrawListFlags_AntiAliasedFill;
    list.PushTextureID(ImGui::GetIO().Fonts->TexID);
    list.PushClipRect(ImVec2(10, 20), ImVec2(600, 500));
}

// Text, boxes, a picture under a clip of its own; with `many`, enough circles to pass the
// 65,536 vertices one 16-bit index range holds.
void Draw(ImDrawList& list, bool many) {
    ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
    list.AddText(font, 16.0f, ImVec2(30, 40), IM_COL32(230, 233, 238, 255), "Lifts and tows");
    list.AddRectFilled(ImVec2(30, 70), ImVec2(300, 72), IM_COL32(127, 184, 255, 255));
    list.PushClipRect(ImVec2(40, 100), ImVec2(200, 160), true);
    list.AddImage(reinterpret_cast<ImTextureID>(intptr_t(77)), ImVec2(20, 90), ImVec2(220, 190));
    list.PopClipRect();
    list.AddText(font, 24.0f, ImVec2(30, 200), IM_COL32(255, 255, 255, 255), "Contents");
    for (int n = 0; many && n < 3000; ++n)
        list.AddCircleFilled(ImVec2(float(20 + n % 500), float(250 + n / 500)), 4.0f,
                             IM_COL32_WHITE, 12);
}

TEST(DrawListCache, ACopyDrawsWhatTheDrawingDrewAndAnotherKeyAsksForANewDrawing) {
    test::THeadlessImGui gui;
    ImGui::NewFrame();
    for (bool many : {false, true}) {
        ImDrawList direct(ImGui::GetDrawListSharedData()), copied(ImGui::GetDrawListSharedData());
        Prepare(direct);
        Prepare(copied);
        Draw(direct, many);
        // Something already in the window before the copy shifts its indices.
        copied.AddRectFilled(ImVec2(0, 0), ImVec2(5, 5), IM_COL32_BLACK);
        direct.AddRectFilled(ImVec2(0, 0), ImVec2(5, 5), IM_COL32_BLACK);

        TSKIDrawListCache cache;
        EXPECT_FALSE(cache.Holds({1, 2}));
        Draw(*cache.Record(copied, {1, 2}), many);
        EXPECT_TRUE(cache.Holds({1, 2}));
        EXPECT_FALSE(cache.Holds({1, 3}));
        cache.Replay(copied);
        // The black box came first in the copy, last in the direct drawing.
        std::vector<TCorner> expected = Corners(direct), got = Corners(copied);
        ASSERT_GT(got.size(), 6u);
        std::rotate(expected.rbegin(), expected.rbegin() + 6, expected.rend());
        EXPECT_EQ(got, expected) << (many ? "with" : "without") << " a second index range";
        if (many) {
            EXPECT_GT(copied.VtxBuffer.Size, 65536);
        }
        cache.Clear();
        EXPECT_FALSE(cache.Holds({1, 2}));
    }
    ImGui::EndFrame();
}

}  // namespace
}  // namespace vallorn
