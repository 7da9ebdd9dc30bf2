// The drive of the simulation: the frame handler, the periodic game tick, the calendar and
// the day change.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr float kMaxFrameStep = 0.1f;  // a stalled frame advances the park at most this
constexpr float kRefreshInterval = 1.0f / 15.0f;
constexpr float kAnimationInterval = 0.04f;  // character animation frames
constexpr int kAnimationFrames = 20;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

void TSKIEngine::OnProgress(double deltaTime) {
    // The scene timer runs only while a level is loaded; halted while a level is replaced.
    if (Halted || !Running) return;

    // Camera and construction-tool input, then the view upkeep, run here with the raw frame
    // time; they belong to the camera, tools and renderer and come with them.

    const double dt = std::isfinite(deltaTime) && deltaTime > 0 ? deltaTime : 0.0;
    const float simDt = float(std::min<double>(dt, kMaxFrameStep)) * Park.ParkSpeed;
    UpdateEntities(simDt);

    // Falling snow particles advance with simDt (snow model).

    TickAccumulator += simDt;
    if (TickAccumulator > Params.Game.TickTime) PeriodicTick();
}

void TSKIEngine::UpdateEntities(float simDt) {
    if (Busy) return;

    // Entity steps, each over its container from the last element to the first:
    //   1. the player's own skier in ride modes 13 and 15, else the normal camera;
    //   2. the overlay dots of the skiers in view and each skier's frame update;
    //   3. every section with its carriers;
    //   4. every vehicle.
    // The entity behaviours plug in here as they are built.

    if (Park.ParkSpeed != 0) {
        if (Options.Detail > 0) {
            RefreshTimer += simDt;
            while (RefreshTimer > kRefreshInterval) {
                RefreshTimer -= kRefreshInterval;
                ++RefreshRequests;
            }
        }
        AnimationTimer += simDt;
        while (AnimationTimer > kAnimationInterval) {
            AnimationTimer -= kAnimationInterval;
            for (uint8_t& phase : AnimationPhase) {
                phase = uint8_t((phase + 1) % kAnimationFrames);
            }
        }
    }
}

void TSKIEngine::PeriodicTick() {
    if (Busy) return;
    const TSKIGameParams& g = Params.Game;

    // 1. The clock.
    TickAccumulator = 0;
    const TSKICalendar before = Calendar(Park.ParkTime);
    Park.ParkTime += 1;
    ++TicksRun;

    // 2. Crowd counters: one plus the skiers standing on the cell.
    UpdateCrowdCounters();

    // 3. Where skiers arrive.
    UpdateArrivalPoint();

    // 4. Skier needs (last to first).
    // 5. Accidents: a cooldown counts down; when it has run out an accident may happen.
    if (Park.ParkAccidentCooldown >= 0) Park.ParkAccidentCooldown -= 1;
    // 6. Section and building upkeep (last to first).
    // 7. Averages, scores, penalties, popularity and rating.
    // 8. New objectives are shown.

    // 9. History, snow quality, parking and park messages.
    HistoryAccumulator += g.TickTime;
    if (HistoryAccumulator > g.HistoryInterval) {
        SampleHistory();
        AllocateParking();
        HistoryAccumulator = 0;
    }

    // 10. Highlight mode 14 is refreshed every tick by the display palette.

    // 11. The accounting hour.
    HourAccumulator += g.TickTime;
    if (HourAccumulator > 60.0f * g.TickTime) {
        ++AccountingHours;
        HourAccumulator = 0;
    }

    // 12. Arrivals.
    Park.ParkSpawnCounter += 1;
    if (Park.ParkSpawnCounter > Park.ParkSpawnSpeed && ArrivalBuilding) {
        Park.ParkSpawnCounter = 0;
        double n = std::clamp(double(Park.ParkRatingPercent) * 0.1, 2.0, 15.0);
        n = Rng.Uniform() * n;
        const int count = int(n);
        SpawnSkiers(count, ArrivalPoint, 10, 10, false);
        if (ArrivalBuilding) {
            ArrivalBuilding->CustomersServed = CappedAdd(ArrivalBuilding->CustomersServed, count);
        }
    }

    // 13. Objectives are evaluated.

    // 14. The day change.
    const TSKICalendar after = Calendar(Park.ParkTime);
    if (after.Day != before.Day) DayChange();
}

void TSKIEngine::UpdateCrowdCounters() {
    if (Grid.empty()) {
        crowdedCells_.clear();
        return;
    }
    for (uint32_t index : crowdedCells_) Grid[index].Crowd = 1;
    crowdedCells_.clear();
    for (const auto& skier : Skiers) {
        const uint8_t st = skier->State;
        if (st != kSkierIdle && st != kSkierSkiing && st != kSkierWaiting &&
            st != kSkierInBuilding) {
            continue;
        }
        if (!PositionInGrid(skier->Position)) continue;
        int i, j;
        WorldToCell(skier->Position, i, j);
        TerrainCell& cell = Cell(i, j);
        if (cell.Crowd >= 250) continue;
        if (cell.Crowd == 1) crowdedCells_.push_back(uint32_t(i) * kGridSide + uint32_t(j));
        cell.Crowd += 1;
    }
}

TSKICalendar TSKIEngine::Calendar(int32_t ticks) {
    const int64_t L = std::max(1, Params.Game.DayLength);
    const int64_t D = std::max(1, Params.Game.DaysInSeason);
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
    ClockText =
        std::to_string(c.Hour) + ":" + (c.Minute < 10 ? "0" : "") + std::to_string(c.Minute);
    return c;
}

void TSKIEngine::DayChange() {
    Busy = true;
    Dialogs->SetBusyCursor(true);
    ++DayChanges;

    // Today's weather, and the report on the day that ended.
    Park.ParkWeather = float(Rng.Uniform());
    const int happy = CountHappySkiers();
    const TSKIParkData endOfDay = TakeSnapshot();
    Dialogs->ShowDayReport(StartOfDay, endOfDay, happy);
    StartOfDay = TakeSnapshot();

    // Overnight snow grows or melts with the weather; the terrain textures follow.
    if (HasGrid()) RebuildOverlay(TSKIOverlay::SnowOverlay);

    // Vehicles, lift carriers and buildings return to their start-of-day state.
    for (auto& building : Buildings) {
        building->Occupants = 0;
        building->SeatOccupants.fill(nullptr);
    }

    // Every skier comes back to the arrival point in the morning, except the unhappy ones.
    for (size_t k = 0; k < Skiers.size();) {
        TSKISkier& skier = *Skiers[k];
        if (skier.Happiness < -33.0f) {
            RemoveSkier(k);
            continue;
        }
        skier.Building = nullptr;
        skier.Init();
        skier.Position = ArrivalPoint;
        skier.Position.x += float(Rng.Between(-20.0, 20.0));
        skier.Position.z += float(Rng.Between(-20.0, 20.0));
        skier.SmoothingAnchor = skier.SmoothedPosition = skier.Position;
        ++k;
    }

    // Friends come every morning, whatever the rating or the parking capacity.
    if (Profile.Friends > 0 && Profile.FriendsEnabled) {
        SpawnSkiers(Profile.Friends, ArrivalPoint, 3, 10, true);
        if (ArrivalBuilding) {
            ArrivalBuilding->CustomersServed =
                CappedAdd(ArrivalBuilding->CustomersServed, Profile.Friends);
        }
    }

    // The bank takes the day's interest.
    Park.ParkCash -= Park.ParkLoanInterest;
    Park.ParkLoanExpence += Park.ParkLoanInterest;

    ConstructionTool = 0;  // leaves the ride modes too
    Dialogs->SetBusyCursor(false);
    Busy = false;
}

void TSKIEngine::RemoveSkier(size_t index) {
    if (index >= Skiers.size()) return;
    const TSKISkier* gone = Skiers[index].get();
    for (auto& b : Buildings) {
        for (TSKISkier*& seat : b->SeatOccupants) {
            if (seat == gone) seat = nullptr;
        }
    }
    Skiers.erase(Skiers.begin() + long(index));
}

}  // namespace vallorn
