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
    const TSKIEngine& e = c.Engine;
    // The selected objective: none once the list lost it.
    if (selected_ >= int(e.Objectives.size())) selected_ = -1;
    if (ImGui::BeginListBox("##objectives", ImVec2(-1, 110))) {
        for (int k = 0; k < int(e.Objectives.size()); ++k) {
            ImGui::PushID(k);
            if (ImGui::Selectable(e.Objectives[size_t(k)].Name.c_str(), k == selected_)) {
                selected_ = k;
                std::strncpy(description_, e.Objectives[size_t(k)].Description.c_str(),
                             sizeof description_ - 1);
            }
            probe::LastItem("objective", e.Objectives[size_t(k)].Name);
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    // Each change is an objective action of the selected objective, after the frame.
    const int index = selected_;
    auto change = [&c, this, index](const std::string& field, const std::string& value = {},
                                    int slot = 0) {
        Act(c, ObjectiveAction(index, field, value, slot));
    };
    if (Button("Add")) change("add");
    ImGui::SameLine();
    if (Button("Delete") && index >= 0) {
        change("delete");
        selected_ = -1;  // a deletion clears the selection
    }
    ImGui::SameLine();
    if (Button("Delete all")) {
        change("delete-all");
        selected_ = -1;
    }
    ImGui::SameLine();
    if (Button("Reset")) change("reset");
    ImGui::SameLine();
    Button("Save");  // the page is drawn afresh every frame
    if (index < 0) return;
    const TSKIObjective* o = &e.Objectives[size_t(index)];
    ImGui::Separator();
    const uint8_t type = o->Type;
    if (ImGui::BeginCombo("Type", ObjectiveTypeName(type))) {
        for (const TSKIObjectiveKind& kind : ObjectiveKinds())
            if (ImGui::Selectable(kind.EditorName, kind.Type == type))
                change("type", std::to_string(kind.Type));
        ImGui::EndCombo();
    }
    // An input box's text, once typed, sets the field.
    auto edit = [act = c.Act, index](const char* field) {
        return [act, index, field](const std::string& t) {
            act(ObjectiveAction(index, field, t), nullptr);
        };
    };
    if (ImGui::Selectable(("Name: " + o->Name).c_str()))
        Ask(c, "Objective name", "", o->Name, edit("name"));
    if (ImGui::Selectable(("Value: " + std::to_string(o->Value)).c_str()))
        Ask(c, "Objective value", "", std::to_string(o->Value), edit("value"));
    if (ImGui::Selectable(("Time goal: " + std::to_string(o->TimeGoal)).c_str()))
        Ask(c, "Objective time goal", "", std::to_string(o->TimeGoal), edit("time-goal"));
    std::string place = "(";
    place += std::to_string(o->GridX);
    place += ",";
    place += std::to_string(o->GridY);
    place += ")";
    if (Button(place.c_str())) {
        int i = 0, j = 0;
        FocusCell(e, i, j);
        change("place", std::to_string(i) + " " + std::to_string(j));
    }
    if (ImGui::InputTextMultiline("##description", description_, sizeof description_,
                                  ImVec2(-1, 60)))
        change("description", description_);
    bool active = o->Active, primary = o->Primary, reversible = o->Reversible, done = o->Completed;
    auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
    if (ImGui::Checkbox("Active", &active)) change("active", onOff(active));
    ImGui::SameLine();
    if (ImGui::Checkbox("Primary", &primary)) change("primary", onOff(primary));
    ImGui::SameLine();
    if (ImGui::Checkbox("Reversible", &reversible)) change("reversible", onOff(reversible));
    ImGui::SameLine();
    ImGui::BeginDisabled();
    ImGui::Checkbox("Compl", &done);
    ImGui::EndDisabled();
    for (int slot = 0; slot < kObjectiveUnlocks; ++slot) {
        ImGui::PushID(slot);
        const std::string label = "Unlocks objective " + std::to_string(slot);
        if (ImGui::BeginCombo(label.c_str(), o->UnlocksObjectives[size_t(slot)].c_str())) {
            if (ImGui::Selectable(" ")) change("unlock-objective", "", slot);
            for (const TSKIObjective& other : e.Objectives)
                if (ImGui::Selectable(other.Name.c_str()))
                    change("unlock-objective", other.Name, slot);
            ImGui::EndCombo();
        }
        const std::string mission = "Unlocks mission " + std::to_string(slot);
        if (ImGui::BeginCombo(mission.c_str(), o->UnlocksMissions[size_t(slot)].c_str())) {
            if (ImGui::Selectable(" ")) change("unlock-mission", "", slot);
            for (const TSKIMissionData& m : c.Profile.Missions)
                if (ImGui::Selectable(m.Name.c_str())) change("unlock-mission", m.Name, slot);
            ImGui::EndCombo();
        }
        ImGui::PopID();
    }
    if (ImGui::BeginCombo("Reward", RewardName(o->Reward))) {
        for (const TSKIRewardKind& kind : RewardKinds())
            if (ImGui::Selectable(kind.EditorName, kind.Reward == o->Reward))
                change("reward", std::to_string(kind.Reward));
        ImGui::EndCombo();
    }
    if (ImGui::Selectable(("Reward value: " + std::to_string(o->RewardValue)).c_str()))
        Ask(c, "Objective reward value", "", std::to_string(o->RewardValue), edit("reward-value"));
    const std::string help = o->Help.empty() ? "No help" : o->Help;
    if (ImGui::Selectable(("Help: " + help).c_str())) OpenDialog(TPending::HelpPage, c);
    probe::LastItem("label", help);
}

void TSKIEditorWindow::DrawDebug(const TContext& c) {
    const TSKIEngine& e = c.Engine;
    ImGui::Text("FPS: %.1f", double(c.FramesPerSecond));
    probe::LastItem("label", "FPS");
    if (ImGui::Selectable(treeCountText_.c_str()))
        treeCountText_ = "Tree count: " + std::to_string(e.CountTrees());
    if (Button("Reduce trees")) {
        const int32_t half = e.CountTrees() / 2;
        const TSKIEngine* engine = &e;
        Ask(c, "Trees", "Set tree count:", std::to_string(half),
            [act = c.Act, engine, half, this](const std::string& t) {
                const auto v = ParseInteger(t);
                const int32_t target = v && *v >= 0 && *v <= INT32_MAX ? int32_t(*v) : half;
                act(ReduceTreesAction(target), [engine, this](const TSKIActionOutcome&) {
                    treeCountText_ = "Tree count: " + std::to_string(engine->CountTrees());
                });
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
