// The editor's objective list.
#include "editor/objective_editor.h"

#include <limits>
#include <system_error>

#include "base/ini_file.h"
#include "base/number_format.h"
#include "missions/objective_types.h"
#include "persistence/saved_game.h"

namespace vallorn {
namespace {

int32_t NumberOrZero(const std::string& text) {
    const auto v = ParseInteger(text);
    return v && *v >= std::numeric_limits<int32_t>::min() &&
                   *v <= std::numeric_limits<int32_t>::max()
               ? int32_t(*v)
               : 0;
}

}  // namespace

int TSKIObjectiveEditor::Selected() const {
    return selected_ >= 0 && size_t(selected_) < engine_.Objectives.size() ? selected_ : -1;
}

void TSKIObjectiveEditor::Select(int index) {
    selected_ = index >= 0 && size_t(index) < engine_.Objectives.size() ? index : -1;
}

const TSKIObjective* TSKIObjectiveEditor::Current() const {
    const int k = Selected();
    return k < 0 ? nullptr : &engine_.Objectives[size_t(k)];
}

TSKIObjective* TSKIObjectiveEditor::Edited() {
    const int k = Selected();
    return k < 0 ? nullptr : &engine_.Objectives[size_t(k)];
}

void TSKIObjectiveEditor::Add() {
    TSKIObjective o;
    o.Name = "Objective " + std::to_string(engine_.Objectives.size() + 1);
    o.Completed = false;
    o.Active = false;
    o.Primary = true;
    o.Reversible = false;
    engine_.Objectives.push_back(o);
}

bool TSKIObjectiveEditor::Delete(std::string* error) {
    const int k = Selected();
    if (k < 0) return false;
    const std::filesystem::path scratch = engine_.Folders.Save / kObjectiveScratchFile;
    std::error_code ec;
    std::filesystem::create_directories(engine_.Folders.Save, ec);
    TIniFile out;
    WriteObjectives(engine_, out, k);
    if (!out.SaveToFile(scratch, error)) return false;
    const TIniFile in(scratch);
    const bool read = ReadObjectives(engine_, in);
    std::filesystem::remove(scratch, ec);
    if (!read) {
        if (error) *error = "cannot read back " + scratch.string();
        return false;
    }
    selected_ = -1;
    return true;
}

void TSKIObjectiveEditor::DeleteAll() {
    engine_.Objectives.clear();
    selected_ = -1;
}

void TSKIObjectiveEditor::Reset() {
    for (TSKIObjective& o : engine_.Objectives) {
        o.Completed = false;
        o.Announced = false;
        o.TimeStarted = 0;
    }
}

#define VALLORN_EDIT(statement)  \
    TSKIObjective* o = Edited(); \
    if (!o) return false;        \
    statement;                   \
    return true

bool TSKIObjectiveEditor::SetType(int type) {
    if (type < 0 || type >= kObjectiveTypeCount) return false;
    VALLORN_EDIT(o->Type = uint8_t(type));
}
bool TSKIObjectiveEditor::SetName(const std::string& name) {
    VALLORN_EDIT(o->Name = name);
}
bool TSKIObjectiveEditor::SetValue(const std::string& text) {
    VALLORN_EDIT(o->Value = NumberOrZero(text));
}
bool TSKIObjectiveEditor::SetTimeGoal(const std::string& text) {
    VALLORN_EDIT(o->TimeGoal = NumberOrZero(text));
}
bool TSKIObjectiveEditor::SetPlace(int gridX, int gridY) {
    VALLORN_EDIT((o->GridX = gridX, o->GridY = gridY));
}
bool TSKIObjectiveEditor::SetDescription(const std::string& text) {
    VALLORN_EDIT(o->Description = text);
}
bool TSKIObjectiveEditor::SetActive(bool on) {
    VALLORN_EDIT(o->Active = on);
}
bool TSKIObjectiveEditor::SetPrimary(bool on) {
    VALLORN_EDIT(o->Primary = on);
}
bool TSKIObjectiveEditor::SetReversible(bool on) {
    VALLORN_EDIT(o->Reversible = on);
}
bool TSKIObjectiveEditor::SetUnlockObjective(int slot, const std::string& name) {
    if (slot < 0 || slot >= kObjectiveUnlocks) return false;
    VALLORN_EDIT(o->UnlocksObjectives[size_t(slot)] = name);
}
bool TSKIObjectiveEditor::SetUnlockMission(int slot, const std::string& name) {
    if (slot < 0 || slot >= kObjectiveUnlocks) return false;
    VALLORN_EDIT(o->UnlocksMissions[size_t(slot)] = name);
}
bool TSKIObjectiveEditor::SetReward(int reward) {
    if (reward < 0 || reward >= kObjectiveRewardCount) return false;
    VALLORN_EDIT(o->Reward = uint8_t(reward));
}
bool TSKIObjectiveEditor::SetRewardValue(const std::string& text) {
    TSKIObjective* o = Edited();
    if (!o) return false;
    int32_t v = NumberOrZero(text);
    const TSKIValueShown shown = RewardKind(o->Reward).Shown;
    if ((shown == TSKIValueShown::Lift && (v < 0 || v >= kLiftTypeCount)) ||
        (shown == TSKIValueShown::Building && (v < 0 || v >= kBuildingTypeCount)))
        v = 0;
    o->RewardValue = BoundedRewardValue(o->Reward, v);
    return true;
}
bool TSKIObjectiveEditor::SetHelp(const std::string& page) {
    VALLORN_EDIT(o->Help = page);
}

#undef VALLORN_EDIT

}  // namespace vallorn
