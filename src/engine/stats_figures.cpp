#include "engine/stats_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/economy.h"

namespace vallorn {

namespace {

int Round(double v) {
    return int(std::lround(v));
}

}  // namespace

const char* JudgedWord(TSKIJudged judged) {
    switch (judged) {
        case TSKIJudged::Good:
            return "good";
        case TSKIJudged::Average:
            return "average";
        case TSKIJudged::Bad:
            return "bad";
        default:
            return "";
    }
}

TSKIJudgedText JudgeShare(float percent, bool twoSteps) {
    TSKIJudgedText out;
    if (percent == 100.0f) {
        out.Text = "MAX";
    } else {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f %%", double(percent));
        out.Text = text;
    }
    if (twoSteps) {
        out.Judged = percent >= 50 ? TSKIJudged::Good : TSKIJudged::Bad;
    } else {
        out.Judged = percent >= 66   ? TSKIJudged::Good
                     : percent >= 33 ? TSKIJudged::Average
                                     : TSKIJudged::Bad;
    }
    return out;
}

float ScoreShare(float score) {
    return std::clamp(score, 0.0f, 25.0f) * 100.0f / 25.0f;
}

TSKIJudged JudgeTotalRating(float percent) {
    return percent >= 50 ? TSKIJudged::Good : percent >= 0 ? TSKIJudged::Average : TSKIJudged::Bad;
}

TSKIJudged JudgeWaiting(int percent) {
    return percent >= 11 ? TSKIJudged::Bad : percent >= 6 ? TSKIJudged::Average : TSKIJudged::Low;
}

TSKIJudged JudgeLeaving(int percent) {
    return percent >= 5 ? TSKIJudged::Bad : percent >= 3 ? TSKIJudged::Average : TSKIJudged::Low;
}

TSKIJudged JudgeTreesFelled(int32_t trees) {
    return trees >= 6 ? TSKIJudged::Bad : TSKIJudged::Plain;
}

TSKIJudged JudgeSnowQuality(float quality) {
    return quality < 50 ? TSKIJudged::Bad : TSKIJudged::Plain;
}

TSKISkierCounts CountSkiers(const TSKIEngine& engine) {
    TSKISkierCounts c;
    for (const auto& s : engine.Skiers) {
        ++c.Total;
        if (s->State < kSkierStateCount) ++c.ByState[s->State];
        // The most negative need, a later one only when strictly lower; none at 0 or above.
        const float needs[4] = {s->Happiness, s->Cold, s->Energy, s->Hunger};
        int worst = -1;
        float lowest = 0;
        for (int k = 0; k < 4; ++k) {
            if (needs[k] < lowest) {
                lowest = needs[k];
                worst = k;
            }
        }
        if (worst >= 0) ++c.ByConcern[size_t(worst)];
    }
    return c;
}

std::string CountWithShare(int32_t count, int32_t total) {
    return std::to_string(count) + " (" + std::to_string(SharePercent(count, total)) + "%)";
}

int DistributionBin(const TSKISkier& s, TSKIGraph graph) {
    int x = 0;
    switch (graph) {
        case TSKIGraph::Happiness:
            x = Round((s.Happiness + 100.0) * 2.5);
            break;
        case TSKIGraph::Cold:
            x = Round((s.Cold + 100.0) * 2.5);
            break;
        case TSKIGraph::Hunger:
            x = Round((s.Hunger + 100.0) * 2.5);
            break;
        case TSKIGraph::Energy:
            x = Round((s.Energy + 100.0) * 2.5);
            break;
        case TSKIGraph::Cash:
            x = s.Money / 2;
            break;
        case TSKIGraph::SpendingLimit:
            x = int(std::clamp<int64_t>(int64_t(s.SpendingLimit) * 5, -1, kGraphBins));
            break;
        case TSKIGraph::Skill:
            x = Round(s.Skill * 500.0);
            break;
        case TSKIGraph::Injured:
            x = s.Injured ? 25 : 475;
            break;
    }
    return std::clamp(x, 0, kGraphBins - 1);
}

TSKIDistribution SkierDistribution(const TSKIEngine& engine, TSKIGraph graph) {
    TSKIDistribution d;
    for (const auto& s : engine.Skiers) {
        uint8_t& bin = d.Bins[size_t(DistributionBin(*s, graph))];
        if (bin < 255) ++bin;
    }
    for (uint8_t b : d.Bins) d.Peak = std::max(d.Peak, int(b));
    return d;
}

int DistributionBand(int bin) {
    return bin < 166 ? 0 : bin < 333 ? 1 : 2;
}

std::optional<TSKIHistoryRange> HistoryRange(TSKIHistory series,
                                             const std::deque<int32_t>& values) {
    if (values.size() < 3) return std::nullopt;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    TSKIHistoryRange r;
    switch (series) {
        case TSKIHistory::Cash:
        case TSKIHistory::RatingPercent:
        case TSKIHistory::HourProfit: {
            const float m = std::max(float(*hi), std::fabs(float(*lo)));
            r = {-m, m};
            break;
        }
        case TSKIHistory::Skiers:
        case TSKIHistory::SpendingLimit:
            r = {0, float(*hi)};
            break;
        default:
            r = {-100, 100};
            break;
    }
    if (r.Max - r.Min == 0) r.Max = r.Min + 1;
    return r;
}

TSKIFinanceTable FinanceTable(const TSKIEngine& engine, bool allTimes) {
    enum { Income, Expense, Balance, Construction };
    enum { Lifts, Services, Restaurants, Loan, Marketing, Ecology, Rewards, Empty, Total };
    TSKIFinanceTable t{};
    for (const auto& s : engine.Sections) {
        if (!s->IsLift()) continue;
        if (allTimes) {
            t[Lifts][Income] += s->TotalIncome;
            t[Lifts][Expense] -= s->TotalExpense;
            t[Lifts][Construction] -= s->InvestedMoney;
        } else if (s->Status == kLiftOpen) {
            t[Lifts][Income] += s->PreviousTakings;
            t[Lifts][Expense] -= s->RunningCost;
        }
    }
    const float upgradeCost = engine.Game().UpgradeCost;
    for (const auto& b : engine.Buildings) {
        const bool restaurant = IsRestaurantType(b->Type);
        if (!restaurant && !IsServiceType(b->Type)) continue;
        auto& row = t[restaurant ? Restaurants : Services];
        const TSKIBuildingParams& p = b->Params();
        if (allTimes) {
            if (restaurant) row[Income] += b->TotalIncome;
            row[Expense] -= b->TotalExpense;
            // A building the level came with (its costs forgotten by the editor) cost the
            // player nothing.
            if (!b->CostsForgotten)
                row[Construction] -= p.Cost + std::lround(p.Cost * b->UpgradeBonus * upgradeCost);
        } else if (b->Open) {
            if (restaurant) row[Income] += b->PreviousTakings;
            row[Expense] -= p.RunningCost;
        }
    }
    if (allTimes) {
        const TSKIParkData& park = engine.Park;
        t[Loan][Income] = park.ParkLoan;
        t[Loan][Expense] = -int64_t(park.ParkLoanExpence);
        t[Marketing][Expense] = -int64_t(park.ParkMarketingExpence);
        t[Ecology][Construction] = -int64_t(park.ParkEcoExpence);
        t[Rewards][Income] = park.ParkRewards;
    }
    for (int r = Lifts; r <= Rewards; ++r) {
        t[size_t(r)][Balance] = t[size_t(r)][Income] + t[size_t(r)][Expense];
        for (int c = 0; c < kFinanceColumns; ++c) t[Total][size_t(c)] += t[size_t(r)][size_t(c)];
    }
    return t;
}

}  // namespace vallorn
