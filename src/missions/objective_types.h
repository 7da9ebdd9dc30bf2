// What each objective type and each reward is: one row per type with its texts, how its value
// is shown and the rule that decides it, one row per reward with its texts and its effect.
// The objectives' evaluation, the windows' texts and the editor's lists all read these rows.
#pragma once

#include <cstdint>
#include <span>

#include "base/objectives_record.h"
#include "engine/engine.h"
#include "missions/profile.h"

namespace vallorn {

// What an objective's or a reward's number stands for, and so how its texts spell it.
enum class TSKIValueShown : uint8_t {
    None,        // a place: no value shown
    Money,       // "50.000,- (10.000,- left)", the money text
    Count,       // "100 (60 left)"
    Trees,       // "10 trees (7 trees left)"
    Kilometres,  // "3 km (1.75 km left)"
    Points,      // "20 points (7.50 points left)"
    Percent,     // "80% (10% left)"
    Metres,      // "1500 meters."
    Building,    // the name of building type V
    Lift,        // the name of lift kind V
    RaceRecord,  // the record time of the slope at the objective's place
};

struct TSKIObjectiveKind {
    uint8_t Type = 0;
    const char* EditorName = "";   // the editor's type list
    const char* CardCaption = "";  // the objectives window's card
    const char* Task = "";         // the note window's task line; "{}" stands for the value
    TSKIValueShown Shown = TSKIValueShown::None;
    // The park value the card counts down to; null when the type has none.
    double (*Now)(const TSKIEngine& engine) = nullptr;
    // Whether the objective's condition holds now. `building` and `lift` as EvaluateObjectives
    // gets them: building and lift objectives are met only on their events, the race record
    // only when a race beats it.
    bool (*Met)(const TSKIEngine& engine, const TSKIObjective& objective, int building,
                int lift) = nullptr;
    // Whether a completed reversible objective's condition has stopped holding; null: it
    // never reopens.
    bool (*Broken)(const TSKIEngine& engine, const TSKIObjective& objective) = nullptr;
    // A waiting objective: never announced, no card and no note; it completes when its time
    // runs out instead of failing.
    bool Waits = false;
    // The card offers no "Goto": finding the place is the task.
    bool HidesPlace = false;
};

struct TSKIRewardKind {
    uint8_t Reward = 0;
    const char* EditorName = "";
    const char* CardText = "";  // the objectives window's card; "{}" stands for the value
    const char* NoteText = "";  // the note window
    TSKIValueShown Shown = TSKIValueShown::None;  // Money, Count, Lift or Building
    // Gives the reward of value `value`; true when it changed the profile's terms (which are
    // then saved). Null: nothing is given.
    bool (*Give)(TSKIParkData& park, TSKIProfileTerms& terms, int32_t value) = nullptr;
};

// Every type in the order of its number (the editor's list), and every reward.
std::span<const TSKIObjectiveKind> ObjectiveKinds();
std::span<const TSKIRewardKind> RewardKinds();
// The row of a type or reward; a number the game does not know gets a row with empty texts,
// never met, never broken, giving nothing.
const TSKIObjectiveKind& ObjectiveKind(uint8_t type);
const TSKIRewardKind& RewardKind(uint8_t reward);

// The rule of the objective's type.
bool ObjectiveMet(const TSKIEngine& engine, const TSKIObjective& objective, int building, int lift);
bool ObjectiveBroken(const TSKIEngine& engine, const TSKIObjective& objective);

}  // namespace vallorn
