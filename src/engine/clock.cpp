// The drive of the simulation: the frame handler, the periodic game tick, the calendar and
// the day change.
#include <algorithm>
#include <cmath>

#include "base/saturating.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr float kMaxFrameStep = 0.1f;  // a stalled frame advances the park at most this
constexpr float kRefreshInterval = 1.0f / 15.0f;
constexpr float kAnimationInterval = 0.04f;  // character animation frames
constexpr int kAnimationFrames = 20;
constexpr float kOverlayDotHeight = 3.0f;
constexpr float kCrowdDotHeight = 1.0f;
constexpr TSKIColor kCrowdDotColor{128, 128, 128};

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
    UpdateSnowfall(simDt);

    TickAccumulator += simDt;
    if (TickAccumulator > Params.Game.TickTime) PeriodicTick();
}

void TSKIEngine::UpdateEntities(float simDt) {
    if (Busy) return;

    // The player's own skier runs here in the ride modes (13 free ride, 15 race).

    // Skiers, last to first: their dots where the ground is drawn, then their frame update.
    OverlayDots.clear();
    CrowdDots.clear();
    for (size_t k = Skiers.size(); k-- > 0;) {
        TSKISkier& skier = *Skiers[k];
        if (CellInView(skier.Position)) {
            if (OverlayMode != 0) {
                TSKIVector p = skier.Position;
                p.y += kOverlayDotHeight;
                OverlayDots.push_back({p, OverlayColor(OverlayMode, skier)});
            }
            if (!skier.ShowsDetailedModel) {
                TSKIVector p = skier.Position;
                p.y += kCrowdDotHeight;
                CrowdDots.push_back({p, kCrowdDotColor});
            }
        }
        if (!skier.Tick(simDt)) RemoveSkier(k);
    }
    // Sections with their carriers, last to first.
    for (size_t k = Sections.size(); k-- > 0;) Sections[k]->Tick(simDt);
    // Vehicles, last to first: a grey dot for types without a low-detail model.
    for (size_t k = Vehicles.size(); k-- > 0;) {
        const TSKIVehicle& v = *Vehicles[k];
        if (v.Type < kVehicleTypeCount && Params.Vehicles[v.Type].ModelLow.empty() &&
            !v.SuppressDot) {
            TSKIVector p = v.Position;
            p.y += kCrowdDotHeight;
            CrowdDots.push_back({p, kCrowdDotColor});
        }
        Vehicles[k]->Tick(simDt);
    }

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
    AddTo(Park.ParkTime, 1);
    ++TicksRun;

    // 2. Crowd counters: one plus the skiers standing on the cell.
    UpdateCrowdCounters();

    // 3. Where skiers arrive.
    UpdateArrivalPoint();

    // 4. Skier needs, last to first; the dead are removed.
    for (size_t k = Skiers.size(); k-- > 0;) {
        if (!Skiers[k]->Periodic()) RemoveSkier(k);
    }

    // 5. Accidents: a cooldown counts down; once it has run out, skiers from a random one on
    // are offered the accident test until one of them falls.
    if (Park.ParkAccidentCooldown >= 0) {
        Park.ParkAccidentCooldown -= 1;
    } else if (!Skiers.empty()) {
        const size_t start = size_t(Rng.Range(0, int32_t(Skiers.size()) - 2));
        for (size_t k = start; k < Skiers.size(); ++k) {
            Skiers[k]->AccidentTest();
            if (Park.ParkAccidentCooldown >= 0) break;
        }
    }

    // 6. Section and building upkeep, last to first: queues are recounted and closed
    // restaurants send their customers out.
    for (size_t k = Sections.size(); k-- > 0;) Sections[k]->RecountQueue();
    for (size_t k = Buildings.size(); k-- > 0;) {
        TSKIBuilding& b = *Buildings[k];
        if (!b.Open && b.Params().Category == kCategoryRestaurant && b.Occupants > 0) {
            b.EvictAll();
        }
    }

    // 7. Averages, scores, penalties, popularity and rating.
    UpdateRating();
    // 8. New objectives are shown.

    // 9. History, snow quality, parking and park messages.
    HistoryAccumulator += g.TickTime;
    if (HistoryAccumulator > g.HistoryInterval) {
        SampleHistory();
        ComputeSnowQuality();
        AllocateParking();
        ParkMessageSample();
        HistoryAccumulator = 0;
    }

    // 10. Highlight mode 14 is refreshed every tick by the display palette.

    // 11. The accounting hour.
    HourAccumulator += g.TickTime;
    if (HourAccumulator > 60.0f * g.TickTime) {
        HourlyAccounting();
        ++AccountingHours;
        HourAccumulator = 0;
    }

    // 12. Arrivals.
    Park.ParkSpawnCounter += 1;
    if (Park.ParkSpawnCounter > Park.ParkSpawnSpeed && ArrivalBuilding) {
        Park.ParkSpawnCounter = 0;
        double n = std::clamp(double(Park.ParkRatingPercent) * 0.1, 2.0, 15.0);
        n = Rng.Uniform() * n;
        // Only the skiers who got in are counted by the lot: a full park turns a wave away.
        const int count = SpawnSkiers(int(n), ArrivalPoint, 10, 10, false);
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
    EndOfDaySnow();

    // Vehicles, lift carriers and buildings return to their start-of-day state.
    ResetVehiclesForDay();
    for (auto& section : Sections) {
        for (auto& carrier : section->Carriers) carrier->Unload();
        section->QueueSlots.fill(nullptr);
        section->QueueLength = 0;
    }
    for (auto& building : Buildings) building->ResetForDay();

    // Every skier comes back to the arrival point in the morning, except the unhappy ones.
    for (size_t k = 0; k < Skiers.size();) {
        TSKISkier& skier = *Skiers[k];
        if (skier.Happiness < -33.0f) {
            RemoveSkier(k);
            continue;
        }
        // The injured are healed overnight and start the day idle; a skier who set off home
        // (and was counted as gone) keeps going.
        skier.Building = nullptr;
        skier.Injured = false;
        skier.RescueAssigned = false;
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
    TakeFrom(Park.ParkCash, Park.ParkLoanInterest);
    AddTo(Park.ParkLoanExpence, Park.ParkLoanInterest);

    ResetSnowfall();
    Dialogs->SetBusyCursor(false);
    Busy = false;
}

void TSKIEngine::RemoveSkier(size_t index) {
    if (index >= Skiers.size()) return;
    const TSKISkier* gone = Skiers[index].get();
    VehiclesSkierRemoved(index);
    for (auto& section : Sections) {
        section->LeaveQueue(gone);
        for (auto& carrier : section->Carriers) carrier->RemoveRider(gone);
    }
    for (auto& b : Buildings) {
        for (TSKISkier*& seat : b->SeatOccupants) {
            if (seat == gone) {
                seat = nullptr;
                if (b->Occupants > 0) --b->Occupants;
            }
        }
    }
    Skiers.erase(Skiers.begin() + long(index));
}

}  // namespace vallorn
