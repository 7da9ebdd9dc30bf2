#include "platform/interface_cover.h"

#include <algorithm>
#include <cmath>
#include <limits>
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
    if (style.Alpha < 1.0f || style.Colors[ImGuiCol_WindowBg].w < 1.0f ||
        style.Colors[ImGuiCol_TitleBg].w < 1.0f || style.Colors[ImGuiCol_TitleBgActive].w < 1.0f)
        return std::nullopt;
    constexpr ImGuiWindowFlags kSeeThrough =
        ImGuiWindowFlags_ChildWindow | ImGuiWindowFlags_NoBackground;
    constexpr ImGuiWindowFlags kPopup = ImGuiWindowFlags_Tooltip | ImGuiWindowFlags_Popup;
    if (!w.Active || w.Hidden || w.Collapsed || (w.Flags & kSeeThrough)) return std::nullopt;
    const bool popup = w.Flags & kPopup;
    if (popup && style.Colors[ImGuiCol_PopupBg].w < 1.0f) return std::nullopt;
    // ImGui's implicit "Debug" window is begun every frame and shown only when used.
    if (w.IsFallbackWindow && !w.WriteAccessed) return std::nullopt;
    const ImVec2 ratio = context.IO.DisplayFramebufferScale;
    const float inset = popup ? style.PopupRounding + style.PopupBorderSize
                              : style.WindowRounding + style.WindowBorderSize;
    const int x0 = std::max(0, int(std::ceil((w.Pos.x + inset) * ratio.x)));
    const int y0 = std::max(0, int(std::ceil((w.Pos.y + inset) * ratio.y)));
    const int x1 =
        std::min(framebufferWidth, int(std::floor((w.Pos.x + w.Size.x - inset) * ratio.x)));
    const int y1 =
        std::min(framebufferHeight, int(std::floor((w.Pos.y + w.Size.y - inset) * ratio.y)));
    if (x1 <= x0 || y1 <= y0) return std::nullopt;
    return TSKICoverRect{x0, y0, x1 - x0, y1 - y0};
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

TSKIWindowLayers WindowLayers(const ImDrawData& data, int framebufferWidth, int framebufferHeight) {
    TSKIWindowLayers layers;
    const ImGuiContext* context = ImGui::GetCurrentContext();
    if (!context || data.CmdListsCount == 0) return layers;
    std::unordered_map<const ImDrawList*, const ImGuiWindow*> roots;
    for (const ImGuiWindow* w : context->Windows)
        if (w->Active && w->RootWindow) roots[w->DrawList] = w->RootWindow;

    // Places in the drawing order, 1 up, by the first list of each top-level window; the
    // lists of no window are the background (under everything) and the foreground (over).
    std::unordered_map<const ImGuiWindow*, int> places;
    layers.Places.resize(size_t(data.CmdListsCount));
    for (int n = 0; n < data.CmdListsCount; ++n) {
        const ImDrawList* list = data.CmdLists[n];
        const auto root = roots.find(list);
        if (root == roots.end()) {
            layers.Places[size_t(n)] =
                list == ImGui::GetBackgroundDrawList() ? 0 : std::numeric_limits<int>::max();
            continue;
        }
        auto [at, added] = places.emplace(root->second, int(places.size()) + 1);
        layers.Places[size_t(n)] = at->second;
        if (!added) continue;
        if (auto r = CoverOf(*context, *root->second, framebufferWidth, framebufferHeight))
            layers.Covers.emplace_back(at->second, *r);
    }
    return layers;
}

std::vector<TSKICoverRect> UncoveredParts(const TSKICoverRect& clip,
                                          const std::vector<TSKICoverRect>& covers) {
    const int cx1 = clip.X + clip.Width, cy1 = clip.Y + clip.Height;
    if (clip.Width <= 0 || clip.Height <= 0) return {};
    // The grid of every edge inside the clip rectangle: each cell is wholly covered or not.
    std::vector<int> xs{clip.X, cx1}, ys{clip.Y, cy1};
    std::vector<TSKICoverRect> over;
    for (const TSKICoverRect& r : covers) {
        const int x0 = std::max(r.X, clip.X), x1 = std::min(r.X + r.Width, cx1);
        const int y0 = std::max(r.Y, clip.Y), y1 = std::min(r.Y + r.Height, cy1);
        if (x1 <= x0 || y1 <= y0) continue;
        over.push_back({x0, y0, x1 - x0, y1 - y0});
        xs.insert(xs.end(), {x0, x1});
        ys.insert(ys.end(), {y0, y1});
    }
    if (over.empty()) return {clip};
    for (std::vector<int>* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    auto covered = [&](size_t i, size_t j) {
        return std::any_of(over.begin(), over.end(), [&](const TSKICoverRect& r) {
            return xs[i] >= r.X && xs[i + 1] <= r.X + r.Width && ys[j] >= r.Y &&
                   ys[j + 1] <= r.Y + r.Height;
        });
    };
    // Runs of uncovered cells along each row of cells, a run grown downwards while the row
    // below has the same run.
    std::vector<TSKICoverRect> parts, open, next;
    for (size_t j = 0; j + 1 < ys.size(); ++j) {
        next.clear();
        for (size_t i = 0; i + 1 < xs.size();) {
            if (covered(i, j)) {
                ++i;
                continue;
            }
            size_t end = i + 1;
            while (end + 1 < xs.size() && !covered(end, j)) ++end;
            TSKICoverRect run{xs[i], ys[j], xs[end] - xs[i], ys[j + 1] - ys[j]};
            const auto same = std::find_if(open.begin(), open.end(), [&](const TSKICoverRect& o) {
                return o.X == run.X && o.Width == run.Width;
            });
            if (same != open.end()) {
                run.Y = same->Y;
                run.Height += same->Height;
                open.erase(same);
            }
            next.push_back(run);
            i = end;
        }
        parts.insert(parts.end(), open.begin(), open.end());
        open.swap(next);
    }
    parts.insert(parts.end(), open.begin(), open.end());
    return parts;
}

namespace {

// The pixels a command's clip rectangle lets through, as the OpenGL backend scissors them,
// within the framebuffer.
TSKICoverRect ScissorOf(const ImVec4& clip, ImVec2 origin, ImVec2 ratio, int framebufferWidth,
                        int framebufferHeight) {
    constexpr float kFar = 1e6f;
    auto at = [&](float v, float o, float k) { return std::clamp((v - o) * k, -kFar, kFar); };
    const float x0 = at(clip.x, origin.x, ratio.x), x1 = at(clip.z, origin.x, ratio.x);
    const float y0 = at(clip.y, origin.y, ratio.y), y1 = at(clip.w, origin.y, ratio.y);
    if (x1 <= x0 || y1 <= y0) return {};
    const int height = int(y1 - y0);
    const int top = framebufferHeight - int(float(framebufferHeight) - y1) - height;
    const int left = std::max(0, int(x0)),
              right = std::min(framebufferWidth, int(x0) + int(x1 - x0));
    const int up = std::max(0, top), down = std::min(framebufferHeight, top + height);
    if (right <= left || down <= up) return {};
    return {left, up, right - left, down - up};
}

// A triangle's bounding box in framebuffer pixels.
struct TBox {
    float X0, Y0, X1, Y1;
    bool Meets(const TSKICoverRect& r) const {
        return X1 > float(r.X) && X0 < float(r.X + r.Width) && Y1 > float(r.Y) &&
               Y0 < float(r.Y + r.Height);
    }
};

}  // namespace

void ClipToUncovered(ImDrawData& data, const TSKIWindowLayers& layers, int framebufferWidth,
                     int framebufferHeight) {
    if (layers.Places.size() != size_t(data.CmdListsCount)) return;
    const ImVec2 origin = data.DisplayPos, ratio = data.FramebufferScale;
    std::vector<TSKICoverRect> above;
    std::vector<TBox> boxes;
    ImVector<ImDrawCmd> commands;
    ImVector<ImDrawIdx> kept;
    data.TotalIdxCount = 0;
    for (int n = 0; n < data.CmdListsCount; ++n) {
        ImDrawList& list = *data.CmdLists[n];
        above.clear();
        for (const auto& [place, r] : layers.Covers)
            if (place > layers.Places[size_t(n)]) above.push_back(r);
        if (above.empty()) {
            data.TotalIdxCount += list.IdxBuffer.Size;
            continue;
        }
        commands.resize(0);
        kept.resize(0);
        for (const ImDrawCmd& cmd : list.CmdBuffer) {
            ImDrawCmd part = cmd;
            part.IdxOffset = unsigned(kept.Size);
            if (cmd.UserCallback) {
                commands.push_back(part);
                continue;
            }
            const ImDrawIdx* first = list.IdxBuffer.Data + cmd.IdxOffset;
            const TSKICoverRect scissor =
                ScissorOf(cmd.ClipRect, origin, ratio, framebufferWidth, framebufferHeight);
            const std::vector<TSKICoverRect> parts = UncoveredParts(scissor, above);
            if (parts.size() == 1 && parts[0] == scissor) {  // nothing in front: as it was
                kept.resize(kept.Size + int(cmd.ElemCount));
                std::copy(first, first + cmd.ElemCount, kept.Data + part.IdxOffset);
                commands.push_back(part);
                continue;
            }
            boxes.clear();
            for (unsigned i = 0; i + 2 < cmd.ElemCount; i += 3) {
                const ImVec2 a = list.VtxBuffer[int(cmd.VtxOffset + first[i])].pos;
                const ImVec2 b = list.VtxBuffer[int(cmd.VtxOffset + first[i + 1])].pos;
                const ImVec2 c = list.VtxBuffer[int(cmd.VtxOffset + first[i + 2])].pos;
                boxes.push_back({(std::min({a.x, b.x, c.x}) - origin.x) * ratio.x,
                                 (std::min({a.y, b.y, c.y}) - origin.y) * ratio.y,
                                 (std::max({a.x, b.x, c.x}) - origin.x) * ratio.x,
                                 (std::max({a.y, b.y, c.y}) - origin.y) * ratio.y});
            }
            for (const TSKICoverRect& r : parts) {
                part.IdxOffset = unsigned(kept.Size);
                for (size_t t = 0; t < boxes.size(); ++t) {
                    if (!boxes[t].Meets(r)) continue;
                    kept.push_back(first[3 * t]);
                    kept.push_back(first[3 * t + 1]);
                    kept.push_back(first[3 * t + 2]);
                }
                part.ElemCount = unsigned(kept.Size) - part.IdxOffset;
                if (part.ElemCount == 0) continue;
                part.ClipRect =
                    ImVec4(float(r.X) / ratio.x + origin.x, float(r.Y) / ratio.y + origin.y,
                           float(r.X + r.Width) / ratio.x + origin.x,
                           float(r.Y + r.Height) / ratio.y + origin.y);
                commands.push_back(part);
            }
        }
        list.CmdBuffer.swap(commands);
        list.IdxBuffer.swap(kept);
        data.TotalIdxCount += list.IdxBuffer.Size;
    }
}

void DrawOnlyWhatShows(ImDrawData& data, int framebufferWidth, int framebufferHeight) {
    ClipToUncovered(data, WindowLayers(data, framebufferWidth, framebufferHeight), framebufferWidth,
                    framebufferHeight);
}

}  // namespace vallorn
