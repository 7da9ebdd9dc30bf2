// The day-by-day figures of a run: what balancing a park looks at (cash, rating, crowd,
// accidents and deaths, rides per lift, who skis which slope).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace vallorn {
class TSKIEngine;
class TSKISkier;
}  // namespace vallorn

namespace vallorn::sim {

class JsonWriter;

struct DayRow {
    struct Lift {
        int64_t Index = 0;
        int64_t Rides = 0;
    };
    struct Slope {
        int64_t Index = 0;
        char Colour = 'b';              // b blue, r red, k black
        double Mean = 0;                // skiers on it, mean over the day's ticks
        double BySkill[3] = {0, 0, 0};  // beginners, intermediates, pros
    };
    int64_t Day = 0;
    int64_t Cash = 0, Profit = 0;
    double Rating = 0, Happy = 0, IdlePercent = 0;
    int64_t Skiers = 0;
    int64_t Accidents = 0, Bare = 0, Deaths = 0, Unhappy = 0, Broke = 0;
    std::vector<Lift> Lifts;
    std::vector<Slope> Slopes;
};

// Watches the engine after every frame and closes a row at every day change.
class DayTable {
public:
    explicit DayTable(const TSKIEngine& engine);
    void AfterFrame();
    const std::vector<DayRow>& Rows() const { return rows_; }

    std::string Text() const;  // the header line and one line per day
    void WriteJson(JsonWriter& w) const;

private:
    struct SectionCounts {
        int64_t ridesAtStart = 0;
        double skillTicks[3] = {0, 0, 0};
    };
    void StartDay();
    void SampleTick();
    void NoteAccident();
    void CloseDay();

    const TSKIEngine& e_;
    std::vector<DayRow> rows_;
    std::vector<SectionCounts> sections_;  // by section index, grown as sections appear
    int64_t lastTick_ = 0, lastDays_ = 0, ticksToday_ = 0;
    int32_t lastCooldown_ = 0;
    int64_t cashAtStart_ = 0, diedAtStart_ = 0, unhappyAtStart_ = 0, brokeAtStart_ = 0;
    int64_t accidents_ = 0, bare_ = 0;
    double idleShareSum_ = 0;
    std::unordered_set<const TSKISkier*> injured_;
};

}  // namespace vallorn::sim
