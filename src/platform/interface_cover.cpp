#include "platform/interface_cover.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include <imgui.h>
#include <imgui_internal.h>

namespace vallorn {
namespace {

// The opaque inner rectangle of a top-level window shown this frame, if it has one.
std::optional<TSKICoverRect> CoverOf(const ImGuiContext& context, const ImGuiWindow& w,
                                     int framebufferWidth, int framebufferHeight) {
    const ImGuiStyle& style = context.Style;
    if (style.Colors[ImGuiCol_WindowBg].w < 1.0f || style.Colors[ImGuiCol_TitleBg].w < 1.0f ||
        style.Colors[ImGuiCol_TitleBgActive].w < 1.0f)
        return std::nullopt;
    constexpr ImGuiWindowFlags kSeeThrough = ImGuiWindowFlags_ChildWindow |
                                             ImGuiWindowFlags_Tooltip | ImGuiWindowFlags_Popup |
                                             ImGuiWindowFlags_NoBackground;
    if (!w.Active || w.Hidden || w.Collapsed || (w.Flags & kSeeThrough)) return std::nullopt;
    // ImGui's implicit "Debug" window is begun every frame and shown only when used.
    if (w.IsFallbackWindow && !w.WriteAccessed) return std::nullopt;
    const ImVec2 ratio = context.IO.DisplayFramebufferScale;
    const float inset = style.WindowRounding + style.WindowBorderSize;
    const int x0 = std::max(0, int(std::ceil((w.Pos.x + inset) * ratio.x)));
    const int y0 = std::max(0, int(std::ceil((w.Pos.y + inset) * ratio.y)));
    const int x1 =
        std::min(framebufferWidth, int(std::floor((w.Pos.x + w.Size.x - inset) * ratio.x)));
    const int y1 =
        std::min(framebufferHeight, int(std::floor((w.Pos.y + w.Size.y - inset) * ratio.y)));
    if (x1 <= x0 || y1 <= y0) return std::nullopt;
    return TSKICoverRect{x0, y0, x1 - x0, y1 - y0};
}

// A draw list's first command: pass where the stencil holds no later window than this one.
void TestLayer(const ImDrawList*, const ImDrawCmd* cmd) {
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glStencilFunc(GL_GEQUAL, GLint(reinterpret_cast<intptr_t>(cmd->UserCallbackData)), 0xFF);
}

}  // namespace

std::vector<TSKICoverRect> InterfaceCover(int framebufferWidth, int framebufferHeight) {
    std::vector<TSKICoverRect> rects;
    const ImGuiContext* context = ImGui::GetCurrentContext();
    if (!context) return rects;
    for (const ImGuiWindow* w : context->Windows)
        if (auto r = CoverOf(*context, *w, framebufferWidth, framebufferHeight))
            rects.push_back(*r);
    return rects;
}

void LayerWindows(ImDrawData& data, int framebufferWidth, int framebufferHeight) {
    const ImGuiContext* context = ImGui::GetCurrentContext();
    if (!context || data.CmdListsCount == 0) return;
    std::unordered_map<const ImDrawList*, const ImGuiWindow*> roots;
    for (const ImGuiWindow* w : context->Windows)
        if (w->Active && w->RootWindow) roots[w->DrawList] = w->RootWindow;

    // Places in the drawing order, 1 up, by the first list of each top-level window; the
    // lists of no window are the background (under everything) and the foreground (over).
    std::unordered_map<const ImGuiWindow*, int> places;
    std::vector<std::pair<int, TSKICoverRect>> covers;
    std::vector<int> refs(size_t(data.CmdListsCount));
    for (int n = 0; n < data.CmdListsCount; ++n) {
        const ImDrawList* list = data.CmdLists[n];
        const auto root = roots.find(list);
        if (root == roots.end()) {
            refs[size_t(n)] = list == ImGui::GetBackgroundDrawList() ? 0 : 255;
            continue;
        }
        auto [at, added] = places.emplace(root->second, int(places.size()) + 1);
        if (at->second > 254) return;  // more windows than stencil values: no layering
        refs[size_t(n)] = at->second;
        if (!added) continue;
        if (auto r = CoverOf(*context, *root->second, framebufferWidth, framebufferHeight))
            covers.emplace_back(at->second, *r);
    }

    glStencilMask(0xFF);
    glClearStencil(0);
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (const auto& [ref, r] : covers) {  // in drawing order: the front one is written last
        glScissor(r.X, framebufferHeight - r.Y - r.Height, r.Width, r.Height);
        glClearStencil(ref);
        glClear(GL_STENCIL_BUFFER_BIT);
    }
    glClearStencil(0);
    glDisable(GL_SCISSOR_TEST);

    for (int n = 0; n < data.CmdListsCount; ++n) {
        ImDrawList* list = data.CmdLists[n];
        if (list->CmdBuffer.Size == 0) continue;
        ImDrawCmd test = list->CmdBuffer[0];
        test.ElemCount = 0;
        test.UserCallback = TestLayer;
        test.UserCallbackData = reinterpret_cast<void*>(intptr_t(refs[size_t(n)]));
        list->CmdBuffer.push_front(test);
    }
}

void EndWindowLayers() {
    glDisable(GL_STENCIL_TEST);
    glStencilMask(0xFF);
}

}  // namespace vallorn
