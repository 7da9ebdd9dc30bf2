// The texts of objectives as the windows show them: the card of the objectives window, the
// note window's lines, the editor's type and reward lists. Pure functions of the objective and
// the park; the windows call them.
#pragma once

#include <cstdint>
#include <string>

#include "base/objectives_record.h"
#include "engine/engine.h"

namespace vallorn {

// Whether an objective's condition holds now (the "met" rule of its type). `building` and
// `lift` as EvaluateObjectives gets them: types 7, 8 and 13 are met only on their events.
bool ObjectiveMet(const TSKIEngine& engine, const TSKIObjective& objective, int building, int lift);
// Whether a completed reversible objective's condition has stopped holding (types 0, 1, 2, 4,
// 5, 6, 11, 12, 14..18; never for the others).
bool ObjectiveBroken(const TSKIEngine& engine, const TSKIObjective& objective);

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
