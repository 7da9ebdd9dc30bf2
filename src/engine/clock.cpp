// The drive of the simulation: the frame handler, the periodic game tick, the calendar and
// the day change.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/saturating.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/economy.h"
#include "engine/engine.h"
#include "engine/history.h"
#include "engine/snow.h"

namespace vallorn {

namespace {

constexpr float kMaxFrameStep = 0.1f;  // a stalled frame advances the park at most this

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

void OnProgress(TSKIEngine& engine, double deltaTime) {
    // The scene timer runs only while a level is loaded; halted while a level is replaced.
    if (engine.Halted || !engine.Running) return;

    // Camera and construction-tool input, then the view upkeep, run here with the raw frame
    // time; they belong to the camera, tools and renderer and come with them.

    const float simDt = FrameStep(engine, deltaTime);
    UpdateEntities(engine, simDt);

    engine.TickAccumulator += simDt;
    if (engine.TickAccumulator > engine.Params.Game.TickTime) PeriodicTick(engine);
}

float FrameStep(const TSKIEngine& engine, double deltaTime) {
    const double dt = std::isfinite(deltaTime) && deltaTime > 0 ? deltaTime : 0.0;
    return float(std::min<double>(dt, kMaxFrameStep)) * engine.Park.ParkSpeed;
}

void UpdateEntities(TSKIEngine& engine, float simDt) {
    if (engine.Busy) return;

    // The player's own skier runs here in the ride modes (13 free ride, 15 race).

    // Skiers, last to first (the view draws their dots: presentation/dots.h).
    for (size_t k = engine.Skiers.size(); k-- > 0;) {
        if (!engine.Skiers[k]->Tick(simDt)) SkierDeparts(engine, k);
    }
    CompactSkiers(engine);
    // Sections with their carriers, last to first.
    for (size_t k = engine.Sections.size(); k-- > 0;) engine.Sections[k]->Tick(simDt);
    // Vehicles, last to first.
    for (size_t k = engine.Vehicles.size(); k-- > 0;) engine.Vehicles[k]->Tick(simDt);
}

void PeriodicTick(TSKIEngine& engine) {
    if (engine.Busy) return;
    const TSKIGameParams& g = engine.Params.Game;

    // 1. The clock.
    engine.TickAccumulator = 0;
    const TSKICalendar before = CalendarAt(engine, engine.Park.ParkTime);
    AddTo(engine.Park.ParkTime, 1);
    ++engine.TicksRun;

    // 2. Crowd counters: one plus the skiers standing on the cell.
    UpdateCrowdCounters(engine);

    // 3. Where skiers arrive.
    UpdateArrivalPoint(engine);

    // 4. Skier needs, last to first; the dead are removed.
    for (size_t k = engine.Skiers.size(); k-- > 0;) {
        if (!engine.Skiers[k]->Periodic()) SkierDeparts(engine, k);
    }
    CompactSkiers(engine);

    // 5. Accidents: a cooldown counts down; once it has run out, skiers from a random one on
    // are offered the accident test until one of them falls.
    if (engine.Park.ParkAccidentCooldown >= 0) {
        engine.Park.ParkAccidentCooldown -= 1;
    } else if (!engine.Skiers.empty()) {
        const size_t start = size_t(engine.Rng.Range(0, int32_t(engine.Skiers.size()) - 2));
        for (size_t k = start; k < engine.Skiers.size(); ++k) {
            engine.Skiers[k]->AccidentTest();
            if (engine.Park.ParkAccidentCooldown >= 0) break;
        }
    }

    // 6. Section and building upkeep, last to first: queues are recounted and closed
    // restaurants send their customers out.
    for (size_t k = engine.Sections.size(); k-- > 0;) engine.Sections[k]->RecountQueue();
    for (size_t k = engine.Buildings.size(); k-- > 0;) {
        TSKIBuilding& b = *engine.Buildings[k];
        if (!b.Open && b.Params().Category == kCategoryRestaurant && b.Occupants > 0) {
            b.EvictAll();
        }
    }

    // 7. Averages, scores, penalties, popularity and rating.
    UpdateRating(engine);
    // 8. New objectives are shown.
    if (engine.OnShowNewObjectives) engine.OnShowNewObjectives();

    // 9. History, snow quality, parking and park messages.
    engine.HistoryAccumulator += g.TickTime;
    if (engine.HistoryAccumulator > g.HistoryInterval) {
        SampleHistory(engine);
        ComputeSnowQuality(engine);
        AllocateParking(engine);
        ParkMessageSample(engine);
        engine.HistoryAccumulator = 0;
    }

    // 10. The view's queue beams follow the queues.
    engine.Display().QueuesMoved(engine);

    // 11. The accounting hour.
    engine.HourAccumulator += g.TickTime;
    if (engine.HourAccumulator > 60.0f * g.TickTime) {
        HourlyAccounting(engine);
        ++engine.AccountingHours;
        engine.HourAccumulator = 0;
    }

    // 12. Arrivals.
    engine.Park.ParkSpawnCounter += 1;
    if (engine.Park.ParkSpawnCounter > engine.Park.ParkSpawnSpeed && engine.ArrivalBuilding) {
        engine.Park.ParkSpawnCounter = 0;
        double n = std::clamp(double(engine.Park.ParkRatingPercent) * 0.1, 2.0, 15.0);
        n = engine.Rng.Uniform() * n;
        // Only the skiers who got in are counted by the lot: a full park turns a wave away.
        const int count = SpawnSkiers(engine, int(n), engine.ArrivalPoint, 10, 10, false);
        if (engine.ArrivalBuilding) {
            engine.ArrivalBuilding->CustomersServed =
                CappedAdd(engine.ArrivalBuilding->CustomersServed, count);
        }
    }

    // 13. Objectives are evaluated.
    if (engine.OnEvaluateObjectives) engine.OnEvaluateObjectives(-1, -1);

    // 14. The day change: a new day number, or the first day of a new season (with one day
    // a season, the day number is always 0).
    const TSKICalendar after = CalendarAt(engine, engine.Park.ParkTime);
    if (after.Day != before.Day || after.Season != before.Season) DayChange(engine);
}

void UpdateCrowdCounters(TSKIEngine& engine) {
    if (engine.Grid.empty()) {
        engine.CrowdedCells.clear();
        return;
    }
    for (uint32_t index : engine.CrowdedCells) engine.Grid[index].Crowd = 1;
    engine.CrowdedCells.clear();
    for (const auto& skier : engine.Skiers) {
        const uint8_t st = skier->State;
        if (st != kSkierIdle && st != kSkierSkiing && st != kSkierWaiting &&
            st != kSkierInBuilding) {
            continue;
        }
        if (!engine.PositionInGrid(skier->Position)) continue;
        int i, j;
        engine.WorldToCell(skier->Position, i, j);
        TerrainCell& cell = engine.Cell(i, j);
        if (cell.Crowd >= 250) continue;
        if (cell.Crowd == 1) engine.CrowdedCells.push_back(uint32_t(i) * kGridSide + uint32_t(j));
        cell.Crowd += 1;
    }
}

std::string ClockText(const TSKICalendar& c) {
    return std::to_string(c.Hour) + ":" + (c.Minute < 10 ? "0" : "") + std::to_string(c.Minute);
}

TSKICalendar CalendarAt(const TSKIEngine& engine, int32_t ticks) {
    const int64_t L = std::max(1, engine.Params.Game.DayLength);
    const int64_t D = std::max(1, engine.Params.Game.DaysInSeason);
    const int64_t t = ticks;
    TSKICalendar c;
    const int64_t season = FloorDiv(t, L * D) + 1;
    const int64_t inSeason = t - (season - 1) * L * D;
    const int64_t day = FloorDiv(inSeason, L);
    const int64_t r = inSeason - day * L;
    c.Season = int32_t(season);
    c.Day = int32_t(day);
    c.Hour = int32_t(FloorDiv(7 * r, L) + 9);
    const double h = double(L) / 7.0;  // ticks per hour
    c.Minute = int32_t(std::floor((double(r) - (c.Hour - 9) * h) * 60.0 / h));
    c.Minute = std::clamp(c.Minute, 0, 59);
    return c;
}

void DayChange(TSKIEngine& engine) {
    engine.Busy = true;
    engine.Dialogs->SetBusyCursor(true);
    ++engine.DayChanges;

    // Today's weather, and the report on the day that ended.
    engine.Park.ParkWeather = float(engine.Rng.Uniform());
    const int happy = CountHappySkiers(engine);
    const TSKIParkData endOfDay = engine.TakeSnapshot();
    engine.Dialogs->ShowDayReport(engine.StartOfDay, endOfDay, happy);
    engine.StartOfDay = engine.TakeSnapshot();

    // Overnight snow grows or melts with the weather; the terrain textures follow.
    EndOfDaySnow(engine);

    // Vehicles, lift carriers and buildings return to their start-of-day state.
    engine.ResetVehiclesForDay();
    for (auto& section : engine.Sections) {
        for (auto& carrier : section->Carriers) carrier->Unload();
        section->QueueSlots.fill(nullptr);
        section->QueueLength = 0;
    }
    for (auto& building : engine.Buildings) building->ResetForDay();

    // Every skier comes back to the arrival point in the morning, except the unhappy ones.
    for (size_t k = 0; k < engine.Skiers.size(); ++k) {
        TSKISkier& skier = *engine.Skiers[k];
        if (skier.Happiness < kNeedLow) {
            SkierDeparts(engine, k);
            continue;
        }
        // The injured are healed overnight and start the day idle; a skier who set off home
        // (and was counted as gone) keeps going.
        skier.Building = nullptr;
        skier.Injured = false;
        skier.RescueAssigned = false;
        skier.Init();
        skier.Position = engine.ArrivalPoint;
        skier.Position.x += float(engine.Rng.Between(-20.0, 20.0));
        skier.Position.z += float(engine.Rng.Between(-20.0, 20.0));
        skier.SmoothingAnchor = skier.SmoothedPosition = skier.Position;
    }
    CompactSkiers(engine);

    SpreadReturningSkiers(engine);

    // Friends come every morning, whatever the rating or the parking capacity.
    if (engine.Profile.Friends > 0 && engine.Profile.FriendsEnabled) {
        const int came = SpawnSkiers(engine, std::min(engine.Profile.Friends, kMaxParkSkiers),
                                     engine.ArrivalPoint, 3, 10, true);
        if (engine.ArrivalBuilding) {
            engine.ArrivalBuilding->CustomersServed =
                CappedAdd(engine.ArrivalBuilding->CustomersServed, came);
        }
    }

    // The bank takes the day's interest.
    TakeFrom(engine.Park.ParkCash, engine.Park.ParkLoanInterest);
    AddTo(engine.Park.ParkLoanExpence, engine.Park.ParkLoanInterest);

    engine.Dialogs->SetBusyCursor(false);
    engine.Busy = false;
}

void SkierDeparts(TSKIEngine& engine, size_t index) {
    if (index >= engine.Skiers.size() || !engine.Skiers[index]) return;
    const TSKISkier* gone = engine.Skiers[index].get();
    engine.ForgetPatient(gone);
    for (auto& section : engine.Sections) {
        section->LeaveQueue(gone);
        // Riders sit on the first seats, counted: an empty carrier holds no one.
        for (auto& carrier : section->Carriers)
            if (carrier->RiderCount > 0) carrier->RemoveRider(gone);
    }
    for (auto& b : engine.Buildings) {
        for (TSKISkier*& seat : b->SeatOccupants) {
            if (seat == gone) {
                seat = nullptr;
                if (b->Occupants > 0) --b->Occupants;
            }
        }
    }
    engine.Skiers[index].reset();
}

void CompactSkiers(TSKIEngine& engine) {
    auto& skiers = engine.Skiers;
    // The new place of every skier, or -1 for one that left.
    std::vector<int32_t> moved(skiers.size(), -1);
    size_t kept = 0;
    for (size_t k = 0; k < skiers.size(); ++k) {
        if (!skiers[k]) continue;
        moved[k] = int32_t(kept);
        if (kept != k) skiers[kept] = std::move(skiers[k]);
        ++kept;
    }
    if (kept == skiers.size()) return;
    skiers.resize(kept);
    for (const auto& vehicle : engine.Vehicles) {
        const int32_t p = vehicle->PatientIndex;
        if (p >= 0 && size_t(p) < moved.size()) vehicle->PatientIndex = moved[size_t(p)];
    }
}

void RemoveSkier(TSKIEngine& engine, size_t index) {
    SkierDeparts(engine, index);
    CompactSkiers(engine);
}

}  // namespace vallorn
