// The editor's objective list: the selected objective (-1 for none) and the changes the
// "Objectives" page makes to the engine's list in place. Every change of a field acts on the
// selected objective and does nothing (returning false) while none is selected.
#pragma once

#include <string>

#include "engine/engine.h"

namespace vallorn {

// The scratch file a deletion writes the list through, in the save folder.
inline constexpr const char* kObjectiveScratchFile = "IniTemp.ini";

class TSKIObjectiveEditor {
public:
    explicit TSKIObjectiveEditor(TSKIEngine& engine) : engine_(engine) {}

    int Selected() const;    // -1 when none (or the list lost the selected one)
    void Select(int index);  // an index outside the list selects none
    const TSKIObjective* Current() const;

    // "Add": "Objective " + the new count, not completed, not active, primary, not reversible.
    void Add();
    // "Delete": the list without the selected objective is written to the scratch file and
    // read back; the selection is cleared. False with a reason when the file fails (the list
    // is then unchanged).
    bool Delete(std::string* error = nullptr);
    void DeleteAll();
    // "Reset": every objective not completed, its time started 0.
    void Reset();

    bool SetType(int type);  // 0..20; other values are refused
    bool SetName(const std::string& name);
    bool SetValue(const std::string& text);     // not a number: 0
    bool SetTimeGoal(const std::string& text);  // not a number: 0
    bool SetPlace(int gridX, int gridY);        // the cell of the camera's focus point
    bool SetDescription(const std::string& text);
    bool SetActive(bool on);
    bool SetPrimary(bool on);
    bool SetReversible(bool on);
    bool SetUnlockObjective(int slot, const std::string& name);  // slot 0..4
    bool SetUnlockMission(int slot, const std::string& name);    // slot 0..4
    bool SetReward(int reward);                                  // 0..11; other values are refused
    // Not a number: 0; a reward that names a lift kind or a building type ("Unlock lift",
    // "Unlock building") turns a value that names none (outside 0..6 or 0..12) into 0.
    bool SetRewardValue(const std::string& text);
    bool SetHelp(const std::string& page);  // the help page's file name without extension

private:
    TSKIObjective* Edited();
    TSKIEngine& engine_;
    int selected_ = -1;
};

}  // namespace vallorn
