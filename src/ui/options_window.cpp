#include "ui/options_window.h"

#include <imgui.h>

#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

namespace {

void Heading(const char* text) {
    ImGui::Spacing();
    ImGui::TextDisabled("%s", text);
    ImGui::Separator();
}

// A labelled bar with its two ends named.
bool Bar(const char* label, int& value, int lo, int hi, const char* low, const char* high,
         float width) {
    ImGui::TextUnformatted(label);
    ImGui::AlignTextToFramePadding();
    ImGui::TextDisabled("%s", low);
    ImGui::SameLine(70);
    ImGui::SetNextItemWidth(width - 140);
    ImGui::PushID(label);
    const bool changed = ImGui::SliderInt("##bar", &value, lo, hi, "%d");
    ImGui::PopID();
    probe::LastItem("slider", label);
    ImGui::SameLine();
    ImGui::TextDisabled("%s", high);
    return changed;
}

}  // namespace

void TSKIOptionsWindow::Show(const TSKIEngineOptions& options) {
    controls_ = ControlsFromOptions(options);
    shownDetail_ = controls_.Detail;
    Visible = raise_ = true;
}

TSKIOptionsWindow::TResult TSKIOptionsWindow::Draw(TSKIEngineOptions& live, float viewWidth,
                                                   float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    PlaceCentred(420 * scale, 470 * scale, viewWidth, viewHeight, raise_);
    bool open = true;
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_AlwaysAutoResize;
    if (ImGui::Begin("Options", &open, flags)) {
        probe::Window("Options");
        KeepWindowInFront();
        const float width = 400 * scale;
        TSKIOptionControls& c = controls_;
        Heading("Sound");
        ImGui::Checkbox("Music", &c.Music);
        probe::LastItem("check", "Music");
        if (Bar("Sound volume", c.Sound, 0, 100, "off", "loud", width)) {
            live.SoundVolume = float(c.Sound) / 100.0f;
            result.Sound = true;
        }
        Heading("Mouse");
        ImGui::Checkbox("Invert mouse zoom", &c.InvertZoom);
        probe::LastItem("check", "Invert mouse zoom");
        Bar("Zoom speed", c.Zoom, 0, 100, "slow", "fast", width);
        Bar("Rotation speed", c.Rotation, 10, 30, "slow", "fast", width);
        Bar("Panning speed", c.Panning, 1, 30, "slow", "fast", width);
        Heading("Screen");
        if (ImGui::Checkbox("Fullscreen", &c.FullScreen)) {
            live.FullScreen = c.FullScreen;
            result.FullScreen = true;
        }
        probe::LastItem("check", "Fullscreen");
        ImGui::SameLine(200 * scale);
        // Edge scroll only means something in full screen; its choice is kept meanwhile.
        ImGui::BeginDisabled(!c.FullScreen);
        if (ImGui::Checkbox("Edge scroll", &c.EdgeScroll)) live.EdgeScroll = c.EdgeScroll;
        ImGui::EndDisabled();
        probe::LastItem("check", "Edge scroll", c.FullScreen);
        ImGui::TextUnformatted("Graphic detail");
        static const char* const kDetail[3] = {"low", "medium", "high"};
        const float panel = (width - 2 * ImGui::GetStyle().ItemSpacing.x) / 3;
        for (int d = 0; d < 3; ++d) {
            if (d) ImGui::SameLine();
            // The chosen panel is drawn pressed in, with a frame around it.
            const bool chosen = c.Detail == d;
            ImGui::PushStyleColor(
                ImGuiCol_Button,
                ImGui::GetStyleColorVec4(chosen ? ImGuiCol_ButtonActive : ImGuiCol_Button));
            ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, chosen ? 2.0f : 0.0f);
            if (ImGui::Button(kDetail[d], ImVec2(panel, 36 * scale))) {
                c.Detail = d;
                live.Detail = uint8_t(d);
                result.Detail = true;
            }
            ImGui::PopStyleVar();
            ImGui::PopStyleColor();
            probe::LastItem("panel", kDetail[d]);
        }
        ImGui::Separator();
        const float button = (width - 2 * ImGui::GetStyle().ItemSpacing.x) / 3;
        if (ImGui::Button("Default", ImVec2(button, 0))) c = DefaultControls();
        probe::LastItem("button", "Default");
        ImGui::SameLine();
        if (ImGui::Button("Accept", ImVec2(button, 0))) result.Action = TAction::Accept;
        probe::LastItem("button", "Accept");
        ImGui::SameLine();
        if (ImGui::Button("Cancel", ImVec2(button, 0))) result.Action = TAction::Cancel;
        probe::LastItem("button", "Cancel");
        probe::Value("options_detail", double(c.Detail));
    }
    ImGui::End();
    if (!open) result.Action = TAction::Cancel;
    if (result.Action != TAction::None) Visible = false;
    return result;
}

}  // namespace vallorn
