// The texts of objectives: cards of the objectives window, the note window, the editor lists,
// spelt from the rows of the objective types and rewards.
#include "missions/objective_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vallorn {

namespace {

std::string Num(int64_t v) {
    return std::to_string(v);
}

// What is still missing of a target, never below 0, rounded up to whole units (an objective
// that is short by a fraction still shows 1 left).
int64_t Missing(double target, double value) {
    return std::max<int64_t>(0, int64_t(std::ceil(target - value)));
}

// "%d <unit> (%f <unit> left)": the fraction shown with two decimals, as the game shows it.
std::string WithFractionLeft(int32_t target, double missing, const char* unit) {
    char text[128];
    std::snprintf(text, sizeof text, "%d %s (%.2f %s left)", target, unit, std::max(0.0, missing),
                  unit);
    return text;
}

std::string LiftName(const TSKIEngine& engine, int32_t kind) {
    if (kind < 0 || kind >= kLiftTypeCount) return {};
    return engine.Params.Lifts[size_t(kind)].DisplayName;
}

std::string BuildingName(const TSKIEngine& engine, int32_t type) {
    if (type < 0 || type >= kBuildingTypeCount) return {};
    return engine.Params.Buildings[size_t(type)].Name;
}

// The downhill record of the slope on the objective's cell, as a duration text; empty when
// no slope lies there.
std::string RecordTime(const TSKIEngine& engine, const TSKIObjective& o) {
    if (!engine.HasGrid() || !TSKIWorld::CellInGrid(o.GridX, o.GridY)) return {};
    const TSKISection* s = engine.SectionByIndex(engine.Cell(o.GridX, o.GridY).Section);
    if (!s || !s->IsSlope()) return {};
    return FormatDuration(s->InvestedMoney);
}

// The number as a task line, a reward line or a card names it: the money text, the name of a
// building or lift type, the record time of the objective's slope, or the number itself.
std::string ValueText(const TSKIEngine& engine, const TSKIObjective& o, TSKIValueShown shown,
                      int32_t value) {
    switch (shown) {
        case TSKIValueShown::Money:
            return FormatMoney(value);
        case TSKIValueShown::Building:
            return BuildingName(engine, value);
        case TSKIValueShown::Lift:
            return LiftName(engine, value);
        case TSKIValueShown::RaceRecord:
            return RecordTime(engine, o);
        default:
            return Num(value);
    }
}

// The text with its "{}" replaced by `value`.
std::string Filled(const char* text, const std::string& value) {
    std::string filled = text;
    const size_t at = filled.find("{}");
    if (at != std::string::npos) filled.replace(at, 2, value);
    return filled;
}

// The reward line; `note` picks the note window's wording where it differs from the card's.
std::string RewardText(const TSKIEngine& engine, const TSKIObjective& o, bool note) {
    const TSKIRewardKind& kind = RewardKind(o.Reward);
    return Filled(note ? kind.NoteText : kind.CardText,
                  ValueText(engine, o, kind.Shown, o.RewardValue));
}

}  // namespace

const char* ObjectiveTypeName(uint8_t type) {
    return ObjectiveKind(type).EditorName;
}

const char* RewardName(uint8_t reward) {
    return RewardKind(reward).EditorName;
}

std::string ObjectiveCardName(const TSKIObjective& o) {
    return (o.Primary ? "Primary objective: " : "Secondary objective: ") + o.Name;
}

std::string ObjectiveCardCaption(const TSKIObjective& o) {
    return ObjectiveKind(o.Type).CardCaption;
}

std::string ObjectiveCardValue(const TSKIEngine& engine, const TSKIObjective& o) {
    const TSKIObjectiveKind& kind = ObjectiveKind(o.Type);
    const int32_t v = o.Value;
    const bool open = !o.Completed;
    const double now = kind.Now ? kind.Now(engine) : 0.0;
    switch (kind.Shown) {
        case TSKIValueShown::None:
            return {};
        case TSKIValueShown::Money:
            if (!open) return FormatMoney(v);
            if (engine.Park.ParkLoan != 0) return FormatMoney(v) + " There must be no bank loan!";
            return FormatMoney(v) + " (" +
                   FormatMoney(int32_t(std::min<int64_t>(Missing(v, now), INT32_MAX))) + " left)";
        case TSKIValueShown::Count:
            if (!open) return Num(v);
            return Num(v) + " (" + Num(Missing(v, now)) + " left)";
        case TSKIValueShown::Trees:
            if (!open) return Num(v) + " trees";
            return Num(v) + " trees (" + Num(std::max<int64_t>(0, int64_t(v) - int64_t(now))) +
                   " trees left)";
        case TSKIValueShown::Kilometres:
            if (!open) return Num(v) + " km";
            return WithFractionLeft(v, double(v) - now, "km");
        case TSKIValueShown::Points:
            if (!open) return Num(v) + " points";
            return WithFractionLeft(v, double(v) - now, "points");
        case TSKIValueShown::Percent:
            if (!open) return Num(v) + "%";
            return Num(v) + "% (" + Num(Missing(v, now)) + "% left)";
        case TSKIValueShown::Metres:
            return Num(v) + " meters.";
        case TSKIValueShown::Building:
        case TSKIValueShown::Lift:
        case TSKIValueShown::RaceRecord:
            return ValueText(engine, o, kind.Shown, v);
    }
    return {};
}

std::string RewardCardText(const TSKIEngine& engine, const TSKIObjective& o) {
    return RewardText(engine, o, false);
}

std::string RewardNoteText(const TSKIEngine& engine, const TSKIObjective& o) {
    return RewardText(engine, o, true);
}

bool ObjectiveTimeShown(const TSKIObjective& o) {
    return o.TimeGoal > 0 && !o.Completed;
}

std::string ObjectiveTimeLeft(const TSKIEngine& engine, const TSKIObjective& o) {
    const int64_t left = int64_t(o.TimeStarted) + o.TimeGoal - engine.Park.ParkTime;
    return FormatDuration(int32_t(std::clamp<int64_t>(left, 0, INT32_MAX)));
}

bool ObjectiveGotoShown(const TSKIObjective& o) {
    return !(o.GridX == 0 && o.GridY == 0) && !ObjectiveKind(o.Type).HidesPlace;
}

bool ObjectiveHelpShown(const TSKIObjective& o) {
    return !o.Help.empty();
}

std::string ObjectiveTaskLine(const TSKIEngine& engine, const TSKIObjective& o) {
    const TSKIObjectiveKind& kind = ObjectiveKind(o.Type);
    return Filled(kind.Task, ValueText(engine, o, kind.Shown, o.Value));
}

TSKIObjectiveNoteText ObjectiveNote(const TSKIEngine& engine, const TSKIObjective& o,
                                    bool completed) {
    TSKIObjectiveNoteText note;
    note.Name = o.Name;
    note.Task = ObjectiveTaskLine(engine, o);
    note.Reward = RewardNoteText(engine, o);
    if (completed) {
        note.Caption = "Objective completed";
        note.Note = "You completed this objective.";
    } else {
        note.Caption = "Objective failed !";
        note.Note = o.TimeGoal > 0 ? "You failed to complete this objective because time ran out!"
                                   : "You failed to complete this objective.";
    }
    return note;
}

}  // namespace vallorn
