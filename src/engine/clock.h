// The drive of the simulation: the frame handler, the periodic game tick, the calendar and
// the day change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/engine.h"

namespace vallorn {

struct TSKICalendar {
    int32_t Season = 1;  // 1-based
    int32_t Day = 0;     // within the season, 0-based
    int32_t Hour = 9;
    int32_t Minute = 0;
};

// Frame handler: runs once per rendered frame with the frame's real time in seconds.
void OnProgress(TSKIEngine& engine, double deltaTime);
// The park's simulated time step for a frame of `deltaTime` real seconds: a stalled frame
// counts as a short one, and the park's speed scales it (none while paused).
float FrameStep(const TSKIEngine& engine, double deltaTime);
// Entity update with the simulated time step.
void UpdateEntities(TSKIEngine& engine, float simDt);
// The periodic game tick.
void PeriodicTick(TSKIEngine& engine);
// The calendar of a park time.
TSKICalendar CalendarAt(const TSKIEngine& engine, int32_t ticks);
// The time of day of a calendar as the windows show it ("9:05").
std::string ClockText(const TSKICalendar& calendar);
void DayChange(TSKIEngine& engine);
// Recounts the skiers standing on each cell (only the cells counted last time are reset).
void UpdateCrowdCounters(TSKIEngine& engine);
// Removes a skier; every stored skier index is fixed up.
void RemoveSkier(TSKIEngine& engine, size_t index);
// Lets the skier at `index` go in the middle of a pass over the skiers: every queue place,
// carrier seat, building seat and rescue that names it is freed at once, and its place in the
// list is left empty until CompactSkiers closes the gaps (once per pass, however many left).
void SkierDeparts(TSKIEngine& engine, size_t index);
// Closes the gaps departures left, keeping the skiers' order, and renumbers the rescue
// vehicles' patients.
void CompactSkiers(TSKIEngine& engine);

}  // namespace vallorn
