#include "day_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/engine.h"
#include "json_writer.h"

namespace vallorn::sim {

namespace {

int SkillClass(float skill) {
    return skill < 0.33f ? 0 : skill < 0.66f ? 1 : 2;
}

char Colour(uint8_t difficulty) {
    return difficulty == kDifficultyBlack ? 'k' : difficulty == kDifficultyRed ? 'r' : 'b';
}

double Tenths(double v) {
    return std::round(v * 10.0) / 10.0;
}

}  // namespace

DayTable::DayTable(const TSKIEngine& engine) : e_(engine) {
    lastTick_ = e_.TicksRun;
    lastDays_ = e_.DayChanges;
    lastCooldown_ = e_.Park.ParkAccidentCooldown;
    StartDay();
}

void DayTable::StartDay() {
    const TSKIParkData& p = e_.Park;
    cashAtStart_ = p.ParkCash;
    diedAtStart_ = p.ParkLeftBecauseDied;
    unhappyAtStart_ = p.ParkLeftBecauseUnhappy;
    brokeAtStart_ = p.ParkLeftBecauseNoMoney;
    accidents_ = bare_ = ticksToday_ = 0;
    idleShareSum_ = 0;
    sections_.assign(e_.Sections.size(), {});
    for (size_t k = 0; k < e_.Sections.size(); ++k)
        sections_[k].ridesAtStart = e_.Sections[k]->CustomersServed;
}

void DayTable::AfterFrame() {
    // Only an accident raises the cooldown; the tick lowers it by one.
    if (e_.Park.ParkAccidentCooldown > lastCooldown_) NoteAccident();
    lastCooldown_ = e_.Park.ParkAccidentCooldown;
    if (e_.TicksRun != lastTick_) {
        lastTick_ = e_.TicksRun;
        SampleTick();
    }
    if (e_.DayChanges != lastDays_) {
        lastDays_ = e_.DayChanges;
        CloseDay();
        StartDay();
    }
}

void DayTable::NoteAccident() {
    ++accidents_;
    std::unordered_set<const TSKISkier*> now;
    for (const auto& s : e_.Skiers) {
        if (s->State != kSkierInjured) continue;
        now.insert(s.get());
        if (!injured_.count(s.get()) && !s->Cell.NaturalSnow && !s->Cell.ArtificialSnow) ++bare_;
    }
    injured_ = std::move(now);
}

void DayTable::SampleTick() {
    ++ticksToday_;
    if (sections_.size() < e_.Sections.size()) sections_.resize(e_.Sections.size());
    int64_t idle = 0;
    for (const auto& s : e_.Skiers) {
        if (s->State == kSkierIdle) ++idle;
        if (s->State != kSkierSkiing || !s->CurrentSection || !s->CurrentSection->IsSlope())
            continue;
        const int32_t at = e_.IndexOf(s->CurrentSection);
        if (at < 0 || size_t(at) >= sections_.size()) continue;
        sections_[size_t(at)].skillTicks[SkillClass(s->Skill)] += 1;
    }
    if (!e_.Skiers.empty()) idleShareSum_ += double(idle) / double(e_.Skiers.size());
}

void DayTable::CloseDay() {
    const TSKIParkData& p = e_.Park;
    DayRow r;
    r.Day = int64_t(rows_.size()) + 1;
    r.Cash = p.ParkCash;
    r.Profit = p.ParkCash - cashAtStart_;
    r.Rating = Tenths(p.ParkRatingPercent);
    r.Happy = Tenths(p.ParkAvgHappiness);
    r.Skiers = int64_t(e_.Skiers.size());
    r.Accidents = accidents_;
    r.Bare = bare_;
    r.Deaths = std::max<int64_t>(0, p.ParkLeftBecauseDied - diedAtStart_);
    r.Unhappy = std::max<int64_t>(0, p.ParkLeftBecauseUnhappy - unhappyAtStart_);
    r.Broke = std::max<int64_t>(0, p.ParkLeftBecauseNoMoney - brokeAtStart_);
    const double ticks = double(std::max<int64_t>(1, ticksToday_));
    r.IdlePercent = Tenths(100.0 * idleShareSum_ / ticks);
    for (size_t k = 0; k < e_.Sections.size(); ++k) {
        const TSKISection& s = *e_.Sections[k];
        const SectionCounts& c = k < sections_.size() ? sections_[k] : SectionCounts{};
        if (s.IsLift()) {
            r.Lifts.push_back(
                {int64_t(k), std::max<int64_t>(0, s.CustomersServed - c.ridesAtStart)});
            continue;
        }
        DayRow::Slope slope;
        slope.Index = int64_t(k);
        slope.Colour = Colour(s.Difficulty);
        for (int q = 0; q < 3; ++q) {
            slope.BySkill[q] = Tenths(c.skillTicks[q] / ticks);
            slope.Mean += c.skillTicks[q] / ticks;
        }
        slope.Mean = Tenths(slope.Mean);
        r.Slopes.push_back(slope);
    }
    rows_.push_back(std::move(r));
}

std::string DayTable::Text() const {
    std::string out =
        "# Day     Cash   Profit Rating Skiers Happy Accidents Bare Deaths Unhappy Broke Idle"
        " Lifts Slopes\n";
    char buf[256];
    for (const DayRow& r : rows_) {
        std::snprintf(buf, sizeof buf,
                      "%5lld %8lld %8lld %6.1f %6lld %5.1f %9lld %4lld %6lld %7lld %5lld %4.1f ",
                      (long long)r.Day, (long long)r.Cash, (long long)r.Profit, r.Rating,
                      (long long)r.Skiers, r.Happy, (long long)r.Accidents, (long long)r.Bare,
                      (long long)r.Deaths, (long long)r.Unhappy, (long long)r.Broke, r.IdlePercent);
        out += buf;
        std::string lifts, slopes;
        for (const DayRow::Lift& l : r.Lifts) {
            std::snprintf(buf, sizeof buf, "%sL%lld:%lld", lifts.empty() ? "" : ",",
                          (long long)l.Index, (long long)l.Rides);
            lifts += buf;
        }
        for (const DayRow::Slope& s : r.Slopes) {
            std::snprintf(buf, sizeof buf, "%sS%lld%c:%.1f/%.1f/%.1f/%.1f",
                          slopes.empty() ? "" : ",", (long long)s.Index, s.Colour, s.Mean,
                          s.BySkill[0], s.BySkill[1], s.BySkill[2]);
            slopes += buf;
        }
        out += (lifts.empty() ? "-" : lifts) + " " + (slopes.empty() ? "-" : slopes) + "\n";
    }
    return out;
}

void DayTable::WriteJson(JsonWriter& w) const {
    w.BeginArray("Days");
    for (const DayRow& r : rows_) {
        w.BeginObject();
        w.Field("Day", r.Day);
        w.Field("Cash", r.Cash);
        w.Field("Profit", r.Profit);
        w.Field("Rating", r.Rating);
        w.Field("Skiers", r.Skiers);
        w.Field("Happy", r.Happy);
        w.Field("Accidents", r.Accidents);
        w.Field("Bare", r.Bare);
        w.Field("Deaths", r.Deaths);
        w.Field("Unhappy", r.Unhappy);
        w.Field("Broke", r.Broke);
        w.Field("Idle", r.IdlePercent);
        w.BeginArray("Lifts");
        for (const DayRow::Lift& l : r.Lifts) {
            w.BeginObject();
            w.Field("Index", l.Index);
            w.Field("Rides", l.Rides);
            w.EndObject();
        }
        w.EndArray();
        w.BeginArray("Slopes");
        for (const DayRow::Slope& s : r.Slopes) {
            w.BeginObject();
            w.Field("Index", s.Index);
            w.Field("Colour", std::string(1, s.Colour));
            w.Field("Mean", s.Mean);
            w.Field("Beginners", s.BySkill[0]);
            w.Field("Intermediates", s.BySkill[1]);
            w.Field("Pros", s.BySkill[2]);
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace vallorn::sim
