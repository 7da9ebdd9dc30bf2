#include "ui/objectives_window.h"

#include <algorithm>

#include <imgui.h>

#include "missions/objective_texts.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

constexpr float kTabsHeight = 63;
constexpr float kMaxHeight = 421;
constexpr float kEmptyHeight = 133;
constexpr float kWidth = 340;
constexpr float kCardGuess = 120;  // a card not drawn yet

void Label(const std::string& text) {
    ImGui::TextWrapped("%s", text.c_str());
    probe::LastItem("label", text);
}

}  // namespace

float ObjectivesWindowHeight(float cardsHeight, size_t cards) {
    if (cards == 0) return kEmptyHeight;
    return std::min(cardsHeight + kTabsHeight, kMaxHeight);
}

std::string NewObjectivesText(const std::vector<std::string>& names) {
    std::string text = names.size() == 1 ? "New objective:" : "New objectives:";
    for (const std::string& name : names) text += "\n" + name;
    return text;
}

void TSKIObjectivesWindow::Show(bool completedTab) {
    visible_ = true;
    tab_ = completedTab ? 1 : 0;
    selectTab_ = true;
}

void TSKIObjectivesWindow::Refresh(const TSKIEngine& engine) {
    cards_[0].clear();
    cards_[1].clear();
    for (size_t i = 0; i < engine.Objectives.size(); ++i) {
        const TSKIObjective& o = engine.Objectives[i];
        if (ObjectiveKind(o.Type).Waits) continue;  // a waiting objective has no card
        if (o.Active) cards_[0].push_back(i);
        if (o.Completed) cards_[1].push_back(i);
    }
    heights_.resize(engine.Objectives.size(), 0.0f);
    for (float& h : heights_)
        if (h <= 0) h = kCardGuess;
}

bool TSKIObjectivesWindow::Announce(const TSKIEngine& engine,
                                    const std::vector<std::string>& names) {
    Refresh(engine);
    Show(false);
    panelText_ = NewObjectivesText(names);
    panelCounter_ = names.size() == 1 ? 5 : 8;
    panelShown_ = true;
    return names.size() > 1;
}

void TSKIObjectivesWindow::Tick() {
    if (!panelShown_) return;
    if (--panelCounter_ < 0) {
        panelCounter_ = 0;
        panelShown_ = false;
    }
}

TSKIObjectivesWindow::TActions TSKIObjectivesWindow::Draw(const TSKIEngine& engine, float viewWidth,
                                                          float viewHeight, float scale) {
    TActions actions;
    if (!visible_) return actions;
    if (heights_.size() != engine.Objectives.size()) Refresh(engine);
    float total = 0;
    for (size_t i : cards_[tab_]) total += heights_[i] > 0 ? heights_[i] : kCardGuess * scale;
    const float height = ObjectivesWindowHeight(total / scale, cards_[tab_].size()) * scale;
    const float width = kWidth * scale;
    // 236 below the top at the right of the view, never beyond the screen's width.
    const float x = viewWidth - width - 8 * scale;
    ImGui::SetNextWindowPos(ImVec2(std::max(0.0f, x), std::min(236 * scale, viewHeight - height)),
                            ImGuiCond_Appearing);
    ImGui::SetNextWindowSize(ImVec2(width, height), ImGuiCond_Always);
    const char* caption = tab_ == 0 ? "Active objectives" : "Completed objectives";
    const std::string title = std::string(caption) + "###Objectives";
    bool open = true;
    if (ImGui::Begin(title.c_str(), &open, ImGuiWindowFlags_NoCollapse)) {
        probe::Window("Objectives");
        if (ImGui::BeginTabBar("tabs")) {
            const char* names[2] = {"Active objectives", "Completed objectives"};
            for (int t = 0; t < 2; ++t) {
                const ImGuiTabItemFlags flags =
                    selectTab_ && t == tab_ ? ImGuiTabItemFlags_SetSelected : 0;
                const bool shown = ImGui::BeginTabItem(names[t], nullptr, flags);
                probe::LastItem("tab", names[t]);
                if (!shown) continue;
                if (!selectTab_) tab_ = t;
                if (panelShown_) {
                    // Red on odd counts, black on even; a click puts it away.
                    const ImVec4 colour =
                        panelCounter_ % 2 ? ImVec4(1, 0, 0, 1) : ImVec4(0, 0, 0, 1);
                    ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(0.95f, 0.95f, 0.85f, 1));
                    ImGui::PushStyleColor(ImGuiCol_Text, colour);
                    ImGui::BeginChild("panel", ImVec2(0, std::max(40.0f, height - 50 * scale)));
                    ImGui::TextUnformatted(panelText_.c_str());
                    probe::Value("objective_panel", panelText_);
                    ImGui::EndChild();
                    if (ImGui::IsItemClicked()) panelShown_ = false, panelCounter_ = 0;
                    ImGui::PopStyleColor(2);
                } else {
                    ImGui::BeginChild("cards");
                    for (size_t i : cards_[t]) DrawCard(engine, i, scale, actions);
                    ImGui::EndChild();
                }
                ImGui::EndTabItem();
            }
            ImGui::EndTabBar();
        }
        selectTab_ = false;
    }
    ImGui::End();
    if (!open) visible_ = false;
    return actions;
}

void TSKIObjectivesWindow::DrawCard(const TSKIEngine& engine, size_t index, float scale,
                                    TActions& actions) {
    const TSKIObjective& o = engine.Objectives[index];
    ImGui::PushID(int(index));
    const float top = ImGui::GetCursorPosY();
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.55f, 0.8f, 1.0f, 1));
    Label(ObjectiveCardName(o));
    ImGui::PopStyleColor();
    Label(o.Description);
    if (ObjectiveTimeShown(o)) Label("Time left: " + ObjectiveTimeLeft(engine, o));
    const std::string caption = ObjectiveCardCaption(o);
    const std::string value = ObjectiveCardValue(engine, o);
    if (!caption.empty()) Label(value.empty() ? caption : caption + " " + value);
    const std::string reward = RewardCardText(engine, o);
    if (!reward.empty()) Label(reward);
    bool row = false;
    if (ObjectiveGotoShown(o)) {
        if (ImGui::Button("Goto", ImVec2(60 * scale, 0))) actions.GotoObjective = int(index);
        probe::LastItem("button", "Goto");
        if (ImGui::IsItemHovered()) ImGui::SetTooltip("Go to location");
        row = true;
    }
    if (ObjectiveHelpShown(o)) {
        if (row) ImGui::SameLine();
        if (ImGui::Button("Help", ImVec2(60 * scale, 0))) actions.Help = o.Help;
        probe::LastItem("button", "Help");
        if (ImGui::IsItemHovered()) ImGui::SetTooltip("Display help topic");
    }
    ImGui::Separator();
    heights_[index] = ImGui::GetCursorPosY() - top;
    ImGui::PopID();
}

}  // namespace vallorn
