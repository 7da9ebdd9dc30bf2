// The figures of the statistics window worked out from the park: the judgement of each judged
// value (good, average, bad) with the text that carries it without colour, the skier counts by
// state and by worst concern, the distribution graphs, the history ranges and the finance table.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "engine/engine.h"

namespace vallorn {

// How a figure is judged. The window draws each with its colour and its own shape, so that the
// judgement reads without colour too.
enum class TSKIJudged : uint8_t { Plain, Good, Average, Bad, Low };

// The word a judgement is spoken with in hints ("good", "average", "bad"; empty for Plain and
// Low, which carry no judgement).
const char* JudgedWord(TSKIJudged judged);

struct TSKIJudgedText {
    std::string Text;
    TSKIJudged Judged = TSKIJudged::Plain;
};

// The rating page's percentage column: "MAX" at exactly 100, else two decimals and " %"; bad
// below 33, average below 66, good from 66. `twoSteps` (snow): good from 50, bad below.
TSKIJudgedText JudgeShare(float percent, bool twoSteps = false);
// A score's share of the rating: clamped to 0..25, times 100 / 25.
float ScoreShare(float score);
// Total rating: good from 50, average from 0, bad below.
TSKIJudged JudgeTotalRating(float percent);
// Skiers page: waiting bad from 11 %, average from 6 %; leaving bad from 5 %, average from 3 %;
// below those the figure is low (black).
TSKIJudged JudgeWaiting(int percent);
TSKIJudged JudgeLeaving(int percent);
// Park page: felled trees bad from 6; snow quality bad below 50.
TSKIJudged JudgeTreesFelled(int32_t trees);
TSKIJudged JudgeSnowQuality(float quality);

// Skiers by state (0..6) and by worst concern (happiness, cold, energy, hunger).
struct TSKISkierCounts {
    int32_t Total = 0;
    std::array<int32_t, kSkierStateCount> ByState{};
    std::array<int32_t, 4> ByConcern{};
};
TSKISkierCounts CountSkiers(const TSKIEngine& engine);
// count (percent of total), the percent rounded.
std::string CountWithShare(int32_t count, int32_t total);
inline int SharePercent(int32_t count, int32_t total) {
    return total > 0 ? int((count * 100.0 / total) + 0.5) : 0;
}

// The distribution graphs, in the order of the page's choices.
enum class TSKIGraph : uint8_t {
    Happiness,
    Cash,
    Cold,
    SpendingLimit,
    Hunger,
    Skill,
    Energy,
    Injured
};
constexpr int kGraphBins = 501;
struct TSKIDistribution {
    std::array<uint8_t, kGraphBins> Bins{};  // counters that stop at 255
    int Peak = 0;
};
TSKIDistribution SkierDistribution(const TSKIEngine& engine, TSKIGraph graph);
int DistributionBin(const TSKISkier& skier, TSKIGraph graph);
// The colour band of a bin: 0 below 166, 1 between, 2 from 333.
int DistributionBand(int bin);

// The vertical range a history series is drawn in; nothing before it holds 3 samples.
struct TSKIHistoryRange {
    float Min = 0, Max = 1;
};
std::optional<TSKIHistoryRange> HistoryRange(TSKIHistory series, const std::deque<int32_t>& values);

// The finance table: 9 rows (lifts, services, restaurants, bank loan, marketing, ecology,
// rewards, empty, total) by 4 columns (income, expense, balance, construction).
enum { kFinanceRows = 9, kFinanceColumns = 4 };
using TSKIFinanceTable = std::array<std::array<int64_t, kFinanceColumns>, kFinanceRows>;
// `allTimes`: the park's totals; otherwise the last hour of the open lifts and buildings.
TSKIFinanceTable FinanceTable(const TSKIEngine& engine, bool allTimes);

}  // namespace vallorn
