// The texts of objectives as the windows show them: the card of the objectives window, the
// note window's lines, the editor's type and reward lists. Pure functions of the objective and
// the park, spelt from the rows of objective_types.h; the windows call them.
#pragma once

#include <cstdint>
#include <string>

#include "missions/objective_types.h"

namespace vallorn {

// Editor list entries ("Money", "Rating points", ...; "Nothing", "Money", ...).
const char* ObjectiveTypeName(uint8_t type);
const char* RewardName(uint8_t reward);

// The card (objectives window).
std::string ObjectiveCardName(const TSKIObjective& objective);     // "Primary objective: " ...
std::string ObjectiveCardCaption(const TSKIObjective& objective);  // "Earn cash:" ...
// LabelVal: the target, and for an open objective what is still missing.
std::string ObjectiveCardValue(const TSKIEngine& engine, const TSKIObjective& objective);
std::string RewardCardText(const TSKIEngine& engine, const TSKIObjective& objective);
// "Time left:" is shown (a time goal, not completed) and its duration text.
bool ObjectiveTimeShown(const TSKIObjective& objective);
std::string ObjectiveTimeLeft(const TSKIEngine& engine, const TSKIObjective& objective);
// The card's "Goto" and "Help" buttons.
bool ObjectiveGotoShown(const TSKIObjective& objective);
bool ObjectiveHelpShown(const TSKIObjective& objective);

// The note window.
struct TSKIObjectiveNoteText {
    std::string Caption;  // "Objective completed" / "Objective failed !"
    std::string Name;
    std::string Task;
    std::string Reward;
    std::string Note;
};
TSKIObjectiveNoteText ObjectiveNote(const TSKIEngine& engine, const TSKIObjective& objective,
                                    bool completed);
std::string ObjectiveTaskLine(const TSKIEngine& engine, const TSKIObjective& objective);
std::string RewardNoteText(const TSKIEngine& engine, const TSKIObjective& objective);

}  // namespace vallorn
