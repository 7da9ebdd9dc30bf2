// The editor's "Objectives" and "Debug" pages.
#include <imgui.h>

#include <cstring>

#include "base/number_format.h"
#include "editor/terrain_editor.h"
#include "missions/objective_texts.h"
#include "ui/editor_widgets.h"
#include "ui/editor_window.h"
#include "ui/probe.h"

namespace vallorn {

using editor_ui::Button;
using editor_ui::FocusCell;

void TSKIEditorWindow::DrawObjectives(const TContext& c) {
    TSKIEngine& e = c.Engine;
    TSKIObjectiveEditor editor(e);
    editor.Select(selected_);
    if (ImGui::BeginListBox("##objectives", ImVec2(-1, 110))) {
        for (int k = 0; k < int(e.Objectives.size()); ++k) {
            ImGui::PushID(k);
            if (ImGui::Selectable(e.Objectives[size_t(k)].Name.c_str(), k == editor.Selected())) {
                editor.Select(k);
                std::strncpy(description_, e.Objectives[size_t(k)].Description.c_str(),
                             sizeof description_ - 1);
            }
            probe::LastItem("objective", e.Objectives[size_t(k)].Name);
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    if (Button("Add")) editor.Add();
    ImGui::SameLine();
    if (Button("Delete")) {
        std::string error;
        if (!editor.Delete(&error) && !error.empty()) Report(c, false, error);
    }
    ImGui::SameLine();
    if (Button("Delete all")) editor.DeleteAll();
    ImGui::SameLine();
    if (Button("Reset")) editor.Reset();
    ImGui::SameLine();
    Button("Save");  // the page is drawn afresh every frame
    selected_ = editor.Selected();
    const TSKIObjective* o = editor.Current();
    if (!o) return;
    ImGui::Separator();
    const uint8_t type = o->Type;
    if (ImGui::BeginCombo("Type", ObjectiveTypeName(type))) {
        for (const TSKIObjectiveKind& kind : ObjectiveKinds())
            if (ImGui::Selectable(kind.EditorName, kind.Type == type)) editor.SetType(kind.Type);
        ImGui::EndCombo();
    }
    TSKIEngine* engine = &e;
    const int index = selected_;
    auto edit = [engine, index](auto change) {
        return [engine, index, change](const std::string& t) {
            TSKIObjectiveEditor later(*engine);
            later.Select(index);
            change(later, t);
        };
    };
    if (ImGui::Selectable(("Name: " + o->Name).c_str()))
        Ask(c, "Objective name", "", o->Name,
            edit([](TSKIObjectiveEditor& x, const std::string& t) { x.SetName(t); }));
    if (ImGui::Selectable(("Value: " + std::to_string(o->Value)).c_str()))
        Ask(c, "Objective value", "", std::to_string(o->Value),
            edit([](TSKIObjectiveEditor& x, const std::string& t) { x.SetValue(t); }));
    if (ImGui::Selectable(("Time goal: " + std::to_string(o->TimeGoal)).c_str()))
        Ask(c, "Objective time goal", "", std::to_string(o->TimeGoal),
            edit([](TSKIObjectiveEditor& x, const std::string& t) { x.SetTimeGoal(t); }));
    std::string place = "(";
    place += std::to_string(o->GridX);
    place += ",";
    place += std::to_string(o->GridY);
    place += ")";
    if (Button(place.c_str())) {
        int i = 0, j = 0;
        FocusCell(e, i, j);
        editor.SetPlace(i, j);
    }
    if (ImGui::InputTextMultiline("##description", description_, sizeof description_,
                                  ImVec2(-1, 60)))
        editor.SetDescription(description_);
    bool active = o->Active, primary = o->Primary, reversible = o->Reversible, done = o->Completed;
    if (ImGui::Checkbox("Active", &active)) editor.SetActive(active);
    ImGui::SameLine();
    if (ImGui::Checkbox("Primary", &primary)) editor.SetPrimary(primary);
    ImGui::SameLine();
    if (ImGui::Checkbox("Reversible", &reversible)) editor.SetReversible(reversible);
    ImGui::SameLine();
    ImGui::BeginDisabled();
    ImGui::Checkbox("Compl", &done);
    ImGui::EndDisabled();
    for (int slot = 0; slot < kObjectiveUnlocks; ++slot) {
        ImGui::PushID(slot);
        const std::string label = "Unlocks objective " + std::to_string(slot);
        if (ImGui::BeginCombo(label.c_str(), o->UnlocksObjectives[size_t(slot)].c_str())) {
            if (ImGui::Selectable(" ")) editor.SetUnlockObjective(slot, "");
            for (const TSKIObjective& other : e.Objectives)
                if (ImGui::Selectable(other.Name.c_str()))
                    editor.SetUnlockObjective(slot, other.Name);
            ImGui::EndCombo();
        }
        const std::string mission = "Unlocks mission " + std::to_string(slot);
        if (ImGui::BeginCombo(mission.c_str(), o->UnlocksMissions[size_t(slot)].c_str())) {
            if (ImGui::Selectable(" ")) editor.SetUnlockMission(slot, "");
            for (const TSKIMissionData& m : c.Profile.Missions)
                if (ImGui::Selectable(m.Name.c_str())) editor.SetUnlockMission(slot, m.Name);
            ImGui::EndCombo();
        }
        ImGui::PopID();
    }
    if (ImGui::BeginCombo("Reward", RewardName(o->Reward))) {
        for (const TSKIRewardKind& kind : RewardKinds())
            if (ImGui::Selectable(kind.EditorName, kind.Reward == o->Reward))
                editor.SetReward(kind.Reward);
        ImGui::EndCombo();
    }
    if (ImGui::Selectable(("Reward value: " + std::to_string(o->RewardValue)).c_str()))
        Ask(c, "Objective reward value", "", std::to_string(o->RewardValue),
            edit([](TSKIObjectiveEditor& x, const std::string& t) { x.SetRewardValue(t); }));
    const std::string help = o->Help.empty() ? "No help" : o->Help;
    if (ImGui::Selectable(("Help: " + help).c_str())) OpenDialog(TPending::HelpPage, c);
    probe::LastItem("label", help);
}

void TSKIEditorWindow::DrawDebug(const TContext& c) {
    TSKIEngine& e = c.Engine;
    ImGui::Text("FPS: %.1f", double(c.FramesPerSecond));
    probe::LastItem("label", "FPS");
    if (ImGui::Selectable(treeCountText_.c_str()))
        treeCountText_ = "Tree count: " + std::to_string(e.CountTrees());
    if (Button("Reduce trees")) {
        const int32_t half = e.CountTrees() / 2;
        TSKIEngine* engine = &e;
        Ask(c, "Trees", "Set tree count:", std::to_string(half),
            [engine, half, this](const std::string& t) {
                const auto v = ParseInteger(t);
                const int32_t target = v && *v >= 0 && *v <= INT32_MAX ? int32_t(*v) : half;
                treeCountText_ = "Tree count: " + std::to_string(ReduceTrees(*engine, target));
            });
    }
    ImGui::Separator();
    if (Button("Mat info")) {
        memo_.clear();
        if (c.MaterialInfo)
            for (const std::string& line : c.MaterialInfo()) memo_ += line + "\n";
    }
    ImGui::SameLine();
    if (Button("Clear")) memo_.clear();
    ImGui::SameLine();
    Button("Frame");  // kept for the authors' habits: does nothing
    ImGui::SameLine();
    Button("FlushInfoDump");
    ImGui::InputTextMultiline("##memo2", memo_.data(), memo_.size() + 1, ImVec2(-1, -1),
                              ImGuiInputTextFlags_ReadOnly);
    probe::LastItem("memo", memo_);
}

}  // namespace vallorn
