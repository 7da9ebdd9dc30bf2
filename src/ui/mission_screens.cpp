#include "ui/mission_screens.h"

#include <algorithm>
#include <cfloat>

#include <imgui.h>
#include <imgui_internal.h>

#include "ui/probe.h"

namespace vallorn {

namespace {

void Label(const std::string& text) {
    if (text.empty()) return;
    ImGui::TextWrapped("%s", text.c_str());
    probe::LastItem("label", text);
}

// A button at least `width` wide, wider when its caption needs it.
bool Button(const char* label, float width) {
    const float text = ImGui::CalcTextSize(label).x + 2 * ImGui::GetStyle().FramePadding.x;
    const bool pressed = ImGui::Button(label, ImVec2(std::max(width, text), 0));
    probe::LastItem("button", label);
    return pressed;
}

// Centred across the view, `down` of the way down it.
void Place(float width, float down, float scale) {
    const ImGuiViewport* view = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(
        ImVec2(view->Pos.x + view->Size.x / 2, view->Pos.y + view->Size.y * down),
        ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSizeConstraints(ImVec2(width * scale, 0), ImVec2(FLT_MAX, FLT_MAX));
}

}  // namespace

void TSKIMissionScreens::ShowNote(const TSKIObjective& objective, bool completed, bool wait) {
    if (!engine_) return;
    note_ = ObjectiveNote(*engine_, objective, completed);
    noteVisible_ = true;
    ImGuiContext* g = ImGui::GetCurrentContext();
    if (!wait || !frame_ || (g && g->WithinFrameScope)) return;
    // The action that failed the objective waits for OK, the game standing still meanwhile.
    noteWaiting_ = true;
    while (noteVisible_) {
        if (!frame_([this] { DrawNote(true); })) break;
    }
    noteWaiting_ = false;
    noteVisible_ = false;
}

void TSKIMissionScreens::RefreshObjectives() {
    if (engine_) Objectives.Refresh(*engine_);
}

void TSKIMissionScreens::AnnounceObjectives(const std::vector<std::string>& names) {
    if (!engine_) return;
    if (Objectives.Announce(*engine_, names) && MarkObjectivesButton) MarkObjectivesButton();
}

void TSKIMissionScreens::ShowHelp(const std::string& topic) {
    if (Help) Help(topic);
}

void TSKIMissionScreens::ShowAccomplished(const TSKIAccomplishedWindow& window) {
    accomplished_ = window;
    raiseAccomplished_ = true;
    campaignCompleted_ = window.ShowCampaignCompleted;
}

void TSKIMissionScreens::HideAll() {
    noteVisible_ = false;
    accomplished_.reset();
    campaignCompleted_ = false;
    Objectives.Hide();
}

bool TSKIMissionScreens::DrawNote(bool modal) {
    const float scale = ImGui::GetFontSize() / 13.0f;
    // Above the middle, clear of the accomplished window that may follow it.
    Place(320, 0.25f, scale);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoCollapse |
                                   ImGuiWindowFlags_NoSavedSettings;
    const std::string title = note_.Caption + "###ObjectiveNote";
    if (modal) {
        if (!ImGui::IsPopupOpen(title.c_str())) ImGui::OpenPopup(title.c_str());
        if (!ImGui::BeginPopupModal(title.c_str(), nullptr, flags)) return false;
    } else if (!ImGui::Begin(title.c_str(), nullptr, flags)) {
        ImGui::End();
        return false;
    }
    probe::Window(note_.Caption);
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.55f, 0.8f, 1.0f, 1));
    Label(note_.Name);
    ImGui::PopStyleColor();
    Label(note_.Task);
    Label(note_.Reward);
    Label(note_.Note);
    ImGui::Spacing();
    if (Button("OK", 80 * scale)) noteVisible_ = false;
    if (modal) {
        if (!noteVisible_) ImGui::CloseCurrentPopup();
        ImGui::EndPopup();
    } else {
        ImGui::End();
    }
    return true;
}

TSKIMissionScreens::TActions TSKIMissionScreens::Draw(float, float, float scale) {
    TActions actions;
    if (noteVisible_ && !noteWaiting_) DrawNote(false);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoCollapse |
                                   ImGuiWindowFlags_NoSavedSettings;
    if (accomplished_) {
        const TSKIAccomplishedWindow& w = *accomplished_;
        Place(300, 0.5f, scale);
        if (raiseAccomplished_) ImGui::SetNextWindowFocus();
        raiseAccomplished_ = false;
        const std::string title = w.Caption + "###Accomplished";
        if (ImGui::Begin(title.c_str(), nullptr, flags)) {
            probe::Window(w.Caption);
            Label(w.Label1);
            if (w.Label2Visible) Label(w.Label2);
            ImGui::Spacing();
            bool close = Button("Continue playing", float(w.ContinueWidth) * scale);
            if (w.SecondButtonVisible) {
                ImGui::SameLine();
                if (Button(w.SecondButton.c_str(), 121 * scale)) {
                    close = true;
                    (w.SecondButton == "Leave" ? actions.Leave : actions.ContinueCampaign) = true;
                }
            }
            if (close) accomplished_.reset();
        }
        ImGui::End();
    }
    if (campaignCompleted_) {
        Place(340, 0.5f, scale);
        const std::string title = std::string(kCampaignCompletedCaption) + "###CampaignDone";
        ImGui::SetNextWindowFocus();
        if (ImGui::Begin(title.c_str(), nullptr, flags)) {
            probe::Window(kCampaignCompletedCaption);
            ImGui::SetWindowFontScale(1.4f);
            Label(kCampaignCompletedTitle);
            ImGui::SetWindowFontScale(1.0f);
            Label(kCampaignCompletedText);
            Label(kCampaignCompletedUnlimited);
            if (Button(kCampaignCompletedButton, 100 * scale)) campaignCompleted_ = false;
        }
        ImGui::End();
    }
    return actions;
}

}  // namespace vallorn
