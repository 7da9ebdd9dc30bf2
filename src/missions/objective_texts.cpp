// The texts of objectives: cards of the objectives window, the note window, the editor lists.
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

constexpr const char* kTypeNames[kObjectiveTypeCount] = {"Money",
                                                         "Rating points",
                                                         "NumOfSkiers",
                                                         "ReachLocation",
                                                         "Ecology",
                                                         "KM of slopes",
                                                         "Snow quality",
                                                         "Build building",
                                                         "Build lift",
                                                         "Wait",
                                                         "Find",
                                                         "Rating of lifts",
                                                         "Rating of buildings",
                                                         "Race record",
                                                         "Rating %",
                                                         "Skier happiness",
                                                         "Skier cold",
                                                         "Skier hunger",
                                                         "Skier energy",
                                                         "Longest slope",
                                                         "Longest lift"};

constexpr const char* kRewardNames[kObjectiveRewardCount] = {"Nothing",
                                                             "Money",
                                                             "Friends",
                                                             "Unlock lift",
                                                             "Unlock building",
                                                             "Lower bank interest",
                                                             "Higher loan limit",
                                                             "Cheap marketing price",
                                                             "Normal marketing price",
                                                             "VIP marketing price",
                                                             "PR campaign price",
                                                             "Popularity"};

constexpr const char* kCardCaptions[kObjectiveTypeCount] = {"Earn cash:",
                                                            "Achieve rating points:",
                                                            "Achieve number of skiers:",
                                                            "Get skiers to location.",
                                                            "Environmental damage less than:",
                                                            "Build slopes:",
                                                            "Snow quality at least:",
                                                            "Build building type:",
                                                            "Build lift type:",
                                                            "",  // a waiting objective has no card
                                                            "Find location",
                                                            "Have rating from lifts:",
                                                            "Have rating from buildings:",
                                                            "Beat time record:",
                                                            "Achieve rating percentage:",
                                                            "Average skier happiness:",
                                                            "Average skier cold:",
                                                            "Average skier hunger:",
                                                            "Average skier energy:",
                                                            "Longest slope:",
                                                            "Longest lift:"};

// The reward line; `note` picks the note window's wording where it differs from the card's.
std::string RewardText(const TSKIEngine& engine, const TSKIObjective& o, bool note) {
    const int32_t r = o.RewardValue;
    switch (o.Reward) {
        case 1:
            return "Cash reward: " + FormatMoney(r);
        case 2:
            return "Acquire " + Num(r) + " new friends as a reward.";
        case 3:
            return "Reward: blueprints for " + LiftName(engine, r) + ".";
        case 4:
            return "Reward: blueprints for " + BuildingName(engine, r) + ".";
        case 5:
            return note ? "Reward: lower bank interest to " + Num(r) + "%."
                        : "Reward: bank interest " + Num(r) + "%.";
        case 6:
            return "Reward: increase bank loan limit to " + FormatMoney(r);
        case 7:
            return (note ? "Reward - cheap marketing price: "
                         : "Reward - Cheap marketing price: ") +
                   FormatMoney(r);
        case 8:
            return (note ? "Reward - normal marketing price: "
                         : "Reward - Normal marketing price: ") +
                   FormatMoney(r);
        case 9:
            return (note ? "Reward - exclusive marketing price: : "
                         : "Reward - Exclusive marketing price: ") +
                   FormatMoney(r);
        case 10:
            return "Reward - PR campaign price: " + FormatMoney(r);
        case 11:
            return "Reward - popularity rise of " + Num(r) + " rating points.";
        default:
            return {};
    }
}

}  // namespace

const char* ObjectiveTypeName(uint8_t type) {
    return type < kObjectiveTypeCount ? kTypeNames[type] : "";
}

const char* RewardName(uint8_t reward) {
    return reward < kObjectiveRewardCount ? kRewardNames[reward] : "";
}

std::string ObjectiveCardName(const TSKIObjective& o) {
    return (o.Primary ? "Primary objective: " : "Secondary objective: ") + o.Name;
}

std::string ObjectiveCardCaption(const TSKIObjective& o) {
    return o.Type < kObjectiveTypeCount ? kCardCaptions[o.Type] : "";
}

std::string ObjectiveCardValue(const TSKIEngine& engine, const TSKIObjective& o) {
    const TSKIParkData& p = engine.Park;
    const int32_t v = o.Value;
    const bool open = !o.Completed;
    switch (o.Type) {
        case 0:
            if (!open) return FormatMoney(v);
            if (p.ParkLoan != 0) return FormatMoney(v) + " There must be no bank loan!";
            return FormatMoney(v) + " (" +
                   FormatMoney(int32_t(std::min<int64_t>(Missing(v, p.ParkCash), INT32_MAX))) +
                   " left)";
        case 1:
        case 2: {
            const double now = o.Type == 1 ? double(p.ParkRating) : double(engine.Skiers.size());
            if (!open) return Num(v);
            return Num(v) + " (" + Num(Missing(v, now)) + " left)";
        }
        case 4:
            if (!open) return Num(v) + " trees";
            return Num(v) + " trees (" + Num(std::max<int64_t>(0, int64_t(v) - p.ParkTreesFelled)) +
                   " trees left)";
        case 5:
            if (!open) return Num(v) + " km";
            return WithFractionLeft(v, double(v) - p.ParkSlopeLength, "km");
        case 11:
        case 12: {
            const double now = o.Type == 11 ? p.ParkLiftScore : p.ParkBuildScore;
            if (!open) return Num(v) + " points";
            return WithFractionLeft(v, double(v) - now, "points");
        }
        case 6:
        case 14:
        case 15:
        case 16:
        case 17:
        case 18: {
            const float now[] = {p.ParkSnowQuality, p.ParkRatingPercent, p.ParkAvgHappiness,
                                 p.ParkAvgCold,     p.ParkAvgHunger,     p.ParkAvgEnergy};
            const double value = now[o.Type == 6 ? 0 : o.Type - 13];
            if (!open) return Num(v) + "%";
            return Num(v) + "% (" + Num(Missing(v, value)) + "% left)";
        }
        case 7:
            return BuildingName(engine, v);
        case 8:
            return LiftName(engine, v);
        case 13:
            return RecordTime(engine, o);
        case 19:
        case 20:
            return Num(v) + " meters.";
        default:
            return {};  // 3 and 10 show no value; 9 has no card
    }
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
    return !(o.GridX == 0 && o.GridY == 0) && o.Type != 10;
}

bool ObjectiveHelpShown(const TSKIObjective& o) {
    return !o.Help.empty();
}

std::string ObjectiveTaskLine(const TSKIEngine& engine, const TSKIObjective& o) {
    const std::string v = Num(o.Value);
    switch (o.Type) {
        case 0:
            return "Earn cash: " + FormatMoney(o.Value);
        case 1:
            return "Achieve rating: " + v;
        case 2:
            return "Achieve number of skiers: " + v;
        case 3:
            return "Get skiers to location.";
        case 4:
            return "Environmental damage less than: " + v + " trees cut down.";
        case 5:
            return "Build " + v + " kilometers of slopes.";
        case 6:
            return "Snow quality at least " + v + " %";
        case 7:
            return "Build " + BuildingName(engine, o.Value) + ".";
        case 8:
            return "Build " + LiftName(engine, o.Value) + ".";
        case 10:
            return "Find location";
        case 11:
            return "Have rating from lifts at least " + v + " points.";
        case 12:
            return "Have rating from buildings at least " + v + " points.";
        case 13:
            return "Race record " + RecordTime(engine, o);
        case 14:
            return "Get " + v + " % rating.";
        case 15:
            return "Get " + v + " % averidge skier happiness.";
        case 16:
            return "Get " + v + " % averidge skier coldness.";
        case 17:
            return "Get " + v + " % averidge skier hunger.";
        case 18:
            return "Get " + v + " % averidge skier energy.";
        case 19:
            return "Build slope at least " + v + " meters long.";
        case 20:
            return "Build lift at least " + v + " meters long.";
        default:
            return {};  // 9: a waiting objective has no task
    }
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
