#include "resort_planner.h"

#include <algorithm>
#include <cmath>

#include "construction/construction.h"
#include "construction/construction_actions.h"
#include "engine/player_actions.h"
#include "park/resort_layout.h"
#include "run_bands.h"

namespace vallorn::plan {

namespace {

const char* const kBuildingNames[] = {
    "snowcannon", "stall",   "rescue",      "snowbar", "patrol",      "hospital", "garage",
    "cot",        "shelter", "sightseeing", "parking", "selfservice", "kiosk"};
const char* const kLiftNames[] = {"platter", "tbar", "double", "quad", "cablecar", "tram", "six"};

// What a line of each colour asks of the ground: its lift, the least rise and the gradient of
// the lift line (the run beside it follows the same ground).
struct TLineKind {
    int liftType;
    float rise, gradient, maxLength;
};

// How far from the base (in cells, along either axis) a lift's lower station may lie for the
// arriving crowd to find it.
constexpr int kWalkFromBase = 30;

TLineKind KindOf(char colour) {
    if (colour == 'k') return {kLiftTBar, 25.0f, 0.45f, 110.0f};
    if (colour == 'r') return {kLiftQuadChair, 20.0f, 0.3f, 120.0f};
    return {kLiftTBar, 8.0f, 0.12f, 100.0f};
}

class Planner {
public:
    Planner(TSKIEngine& e, const TPlanOptions& o) : e_(e), o_(o), tools_(e, state_) {}

    TResortPlan Run() {
        int ri = 0, rj = 0;
        if (!e_.HasGrid() || !datagen::RoadEnd(e_, ri, rj)) {
            plan_.error = "the level has no road";
            return plan_;
        }
        Line("expect-ok on");
        if (o_.loan > 0) Do(TakeLoanAction(o_.loan), "loan take " + std::to_string(o_.loan));

        // A parking lot on flat ground by the road's end: the base.
        int base[2];
        if (o_.parkings < 1 || !Place(kBuildParking, ri, rj, 3, 30, base)) {
            plan_.error = "no flat ground for parking by the road";
            return plan_;
        }
        const int bi = base[0], bj = base[1];
        const int keepOff = int(e_.Params.Buildings[kBuildParking].Size / 4) + 4;

        // The lines, each a lift from near the base and a run back down beside it.
        for (char colour : o_.colours) {
            TLineKind kind = KindOf(colour);
            if (o_.liftType >= 0) kind.liftType = o_.liftType;
            // A red or black line goes where its band holds most of the ground: a run beside
            // a lift of a middling gradient is blue, the bands being steeper than any
            // gradient a whole line keeps from station to station.
            // Each try that finds no run costs a lift taken down: two tries at most. The
            // lift starts within a walk of the base, or nobody finds it.
            bool found = false;
            int tries = colour == 'b' ? 0 : 2;
            for (int around : {16, kWalkFromBase}) {
                if (tries == 0 || found) break;
                for (const TLiftLine& steep :
                     SteepLines(e_, kind.liftType, colour, bi, bj, around, keepOff, kind.rise,
                                kind.maxLength, size_t(tries))) {
                    --tries;
                    found = BuildLine(kind.liftType, steep.data(), colour, true);
                    if (found || tries == 0) break;
                }
            }
            // Otherwise (and for a blue one) a line of the colour's gradient.
            int line[4];
            for (int around : {16, 28, 44, 64, 80}) {
                if (found) break;
                if (datagen::FindLiftLine(e_, kind.liftType, bi, bj, around, keepOff, kind.rise,
                                          kind.gradient, line, kind.maxLength)) {
                    found = BuildLine(kind.liftType, line, colour);
                }
            }
        }
        if (plan_.lifts == 0) {
            plan_.error = "no ground for a lift near the parking";
            return plan_;
        }
        // More lots, one for each further line whose lift starts within a walk of the base:
        // the crowd arrives at the lots and finds only the lifts near it, so parking for more
        // skiers than those lifts carry fills their queues and sends the rest home unhappy.
        int near = 0;
        for (const auto& [i, j] : lowerStations_)
            if (std::max(std::abs(i - bi), std::abs(j - bj)) <= kWalkFromBase) ++near;
        for (int k = 1; k < std::min(o_.parkings, near); ++k) {
            int at[2];
            Place(kBuildParking, ri, rj, 3, 30, at);
        }

        // Services at the base, then snow on the runs and a snowcat for the base area.
        int at[2];
        if (o_.rescue) Place(kBuildSkiPatrol, bi, bj, 4, 24, at);
        if (o_.food) {
            Place(kBuildSnowBar, bi, bj, 4, 24, at);
            Place(kBuildStall, bi, bj, 4, 24, at);
        }
        if (o_.warmth) Place(kBuildShelter, bi, bj, 4, 24, at);
        if (o_.cannons) PlaceCannons();
        if (o_.grooming && Place(kBuildSnowcatGarage, bi, bj, 4, 24, at)) {
            const size_t garage = e_.Buildings.size() - 1;
            Do(SetAreaAction(garage, bi, bj),
               "area " + std::to_string(garage) + " " + Cell(bi, bj));
        }
        SetPrices();
        plan_.treesFelled = e_.Park.ParkTreesFelled;
        if (!o_.campaign.empty()) Campaign();
        Line("expect-ok off");

        // The loan is repaid as the takings come in; a refused repayment waits for the next.
        if (o_.loan > 0) {
            Line("wait 35 hours");
            for (int paid = 0; paid < o_.loan; paid += 10000) {
                Line("loan repay " + std::to_string(std::min(10000, o_.loan - paid)));
                Line("wait 21 hours");
            }
        }
        for (int k = 0; k < o_.upgrades; ++k) {
            for (size_t s = 0; s < e_.Sections.size(); ++s)
                if (e_.Sections[s]->IsLift()) Line("lift-upgrade " + std::to_string(s));
            Line("wait 21 hours");
        }
        return plan_;
    }

private:
    static std::string Cell(int i, int j) { return std::to_string(i) + " " + std::to_string(j); }

    void Line(const std::string& text) { plan_.lines.push_back(text); }

    bool Do(const TSKIPlayerAction& action, const std::string& text) {
        if (!PerformAction(e_, action).Done()) return false;
        Line(text);
        return true;
    }

    // Whether a building of `type` on (i, j) would fell a tree (it clears the cells within its
    // size around its own).
    bool FellsTrees(uint8_t type, int i, int j) const {
        const int size = int(e_.Params.Buildings[type].Size);
        for (int a = i - size; a <= i + size; ++a)
            for (int b = j - size; b <= j + size; ++b)
                if (e_.CellInGrid(a, b) && e_.Cell(a, b).Tree) return true;
        return false;
    }

    // A building of `type` on the first cell, in rings from `from` to `to` around (ci, cj),
    // where the player action takes it; its cell in `at`. A cell where it fells no tree comes
    // first: every felled tree costs rating for good.
    bool Place(uint8_t type, int ci, int cj, int from, int to, int at[2]) {
        const int radius = std::max(1, int(e_.Params.Buildings[type].Size / 4) + 1);
        for (bool sparing : {true, false}) {
            for (int d = from; d <= to; ++d) {
                for (int a = ci - d; a <= ci + d; ++a) {
                    for (int b = cj - d; b <= cj + d; ++b) {
                        if (std::max(std::abs(a - ci), std::abs(b - cj)) != d) continue;
                        if (!datagen::FlatFree(e_, a, b, radius, 3.0f)) continue;
                        if (sparing && FellsTrees(type, a, b)) continue;
                        if (Do(PlaceBuildingAction(type, a, b), std::string("building ") +
                                                                    kBuildingNames[type] + " " +
                                                                    Cell(a, b))) {
                            at[0] = a, at[1] = b;
                            return true;
                        }
                    }
                }
            }
        }
        return false;
    }

    // The lift, then a run from its top to its bottom bowing off to one side or the other:
    // first to a side where the run takes `colour`.
    bool BuildLine(int liftType, const int line[4], char colour, bool needRun = false) {
        const std::string lift = Cell(line[0], line[1]) + " " + Cell(line[2], line[3]);
        if (!Do(BuildLiftAction(line[0], line[1], line[2], line[3], uint8_t(liftType)),
                "build-lift " + lift + " " + kLiftNames[liftType]))
            return false;
        ++plan_.lifts;
        lowerStations_.emplace_back(line[0], line[1]);
        std::vector<float> sides;
        for (bool wanted : {true, false}) {
            for (float side : {9.0f, -9.0f, 14.0f, -14.0f, 6.0f, -6.0f, 20.0f, -20.0f}) {
                if ((BandsAlong(e_, RunCells(line, side)).Colour() == colour) == wanted)
                    sides.push_back(side);
            }
        }
        for (float side : sides) {
            if (LayRun(line, side)) return true;
        }
        if (!needRun) return true;  // a lift with no run: its riders walk down
        // A steep line is for its run: without one the lift goes again.
        const size_t built = e_.Sections.size() - 1;
        if (Do(DeleteSectionAction(built), "delete-section " + std::to_string(built))) {
            --plan_.lifts;
            lowerStations_.pop_back();
        }
        return false;
    }

    // The cells of a run's nodes from the top station down, bowing `side` cells off the line.
    static std::vector<std::pair<int, int>> RunCells(const int line[4], float side) {
        const float di = float(line[2] - line[0]), dj = float(line[3] - line[1]);
        const float len = std::hypot(di, dj);
        const float si = -dj / len, sj = di / len;
        std::vector<std::pair<int, int>> cells{{line[2], line[3]}};
        const int n = 5;
        for (int m = 1; m < n; ++m) {
            const float t = float(m) / float(n);
            const float bow = std::sin(t * 3.14159265f) * side;
            cells.emplace_back(
                std::clamp(int(std::lround(line[2] - t * di + si * bow)), 3, kGridSize - 4),
                std::clamp(int(std::lround(line[3] - t * dj + sj * bow)), 3, kGridSize - 4));
        }
        cells.emplace_back(line[0], line[1]);
        return cells;
    }

    bool LayRun(const int line[4], float side) {
        const std::vector<std::pair<int, int>> cells = RunCells(line, side);
        std::vector<std::string> run{"slope-start " + Cell(line[2], line[3])};
        if (!PerformAction(e_, SlopeStartAction(tools_, line[2], line[3])).Done()) return false;
        for (size_t m = 1; m + 1 < cells.size(); ++m) {
            const auto [i, j] = cells[m];
            if (!PerformAction(e_, SlopeNodeAction(tools_, i, j)).Done()) {
                tools_.ToolKey(kKeyEscape);
                return false;
            }
            run.push_back("slope-node " + Cell(i, j));
        }
        if (!PerformAction(e_, SlopeFinishAction(tools_, line[0], line[1])).Done()) {
            tools_.ToolKey(kKeyEscape);
            return false;
        }
        run.push_back("slope-finish " + Cell(line[0], line[1]));
        for (const std::string& text : run) Line(text);
        ++plan_.slopes;
        const TSKISection& slope = *e_.Sections.back();
        plan_.colours += slope.Difficulty == kDifficultyBlack ? 'k'
                         : slope.Difficulty == kDifficultyRed ? 'r'
                                                              : 'b';
        return true;
    }

    // Cannons along every run, each covering ground the others do not (a cannon snows a
    // square of about 40 cells).
    void PlaceCannons() {
        std::vector<std::pair<int, int>> placed;
        std::vector<std::pair<int, int>> wanted;
        for (const auto& s : e_.Sections) {
            if (s->IsLift()) continue;
            for (const TSKIVector& p : s->Points) {
                int i = 0, j = 0;
                e_.WorldToCell(p, i, j);
                wanted.emplace_back(i, j);
            }
        }
        for (const auto& [i, j] : wanted) {
            const bool covered = std::any_of(placed.begin(), placed.end(), [&](const auto& c) {
                return std::max(std::abs(c.first - i), std::abs(c.second - j)) < 16;
            });
            if (covered || placed.size() >= 6) continue;
            int at[2];
            if (Place(kBuildSnowCannon, i, j, 0, 8, at)) {
                placed.emplace_back(at[0], at[1]);
                ++plan_.cannons;
            }
        }
    }

    void SetPrices() {
        if (o_.priceFactor == 1.0) return;
        for (size_t s = 0; s < e_.Sections.size(); ++s) {
            const TSKISection& section = *e_.Sections[s];
            if (!section.IsLift()) continue;
            const int price =
                int(std::lround(e_.Params.Lifts[section.LiftType].DefaultPrice * o_.priceFactor));
            Do(SetLiftPriceAction(s, price),
               "lift-price " + std::to_string(s) + " " + std::to_string(price));
        }
        for (size_t b = 0; b < e_.Buildings.size(); ++b) {
            const int cost = e_.Params.Buildings[e_.Buildings[b]->Type].ServiceCost;
            if (cost <= 0) continue;
            const int price = int(std::lround(cost * o_.priceFactor));
            Do(SetBuildingPriceAction(b, price),
               "building-price " + std::to_string(b) + " " + std::to_string(price));
        }
    }

    void Campaign() {
        if (o_.campaign == "pr") {
            Do(PRCampaignAction(), "pr");
            return;
        }
        Do(MarketingAction(2, 2), "marketing normal skiers");
    }

    TSKIEngine& e_;
    TPlanOptions o_;
    std::vector<std::pair<int, int>> lowerStations_;  // the cell of each lift's lower station
    TSKIToolState state_;
    TSKIConstruction tools_;
    TResortPlan plan_;
};

}  // namespace

TPlanOptions SensiblePlayer() {
    return {};
}

TPlanOptions CarelessPlayer() {
    TPlanOptions o;
    o.cannons = o.grooming = o.rescue = false;
    o.parkings = 1;
    return o;
}

TPlanOptions GreedyPlayer() {
    TPlanOptions o;
    o.rescue = o.food = false;
    o.priceFactor = 3.0;
    return o;
}

std::string TResortPlan::Text() const {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TResortPlan PlanResort(TSKIEngine& engine, const TPlanOptions& options) {
    return Planner(engine, options).Run();
}

}  // namespace vallorn::plan
