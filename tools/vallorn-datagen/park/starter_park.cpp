#include "park/starter_park.h"
#include "engine/arrivals.h"
#include "engine/level_file.h"
#include "engine/snow.h"
#include "persistence/saved_game.h"

#include <algorithm>
#include <cstdlib>

#include "construction/construction.h"

namespace vallorn::datagen {

namespace {

// A second parking lot beside the first, where the game's own placement rules allow one
// (close to the road, on free, even ground).
int SecondParking(TSKIEngine& e, int first) {
    int ci, cj;
    TSKIEngine::WorldToCell(e.Buildings[size_t(first)]->Position, ci, cj);
    for (int d = 6; d < 30; ++d) {
        for (int a = ci - d; a <= ci + d; ++a) {
            for (int b = cj - d; b <= cj + d; ++b) {
                if (std::max(std::abs(a - ci), std::abs(b - cj)) != d) continue;
                if (!TSKIEngine::CellInGrid(a, b)) continue;
                TSKIBuildingRecord r;
                r.Type = kBuildParking;
                r.Position = e.CellToWorld(a, b, true);
                if (ValidateBuilding(e, r, false).rfind("OK", 0) != 0) continue;
                return e.IndexOf(e.CreateBuilding(r));
            }
        }
    }
    return -1;
}

}  // namespace

std::string BuildStarterPark(TSKIEngine& e, TStarterPark* out) {
    TStarterPark park;
    // A short quad chairlift: skiers ride it several times a day.
    park.main = BuildResort(e, kLiftQuadChair, 45.0f, 2, 380.0f);
    if (!park.main.ok()) return park.main.error;
    const int li = park.main.lowerI, lj = park.main.lowerJ;
    park.secondParking = SecondParking(e, park.main.parking);
    if (park.secondParking < 0) return "no ground for a second parking lot";

    // A beginners' T-bar near the bottom station, gentle and short, with its own slope.
    int line[4] = {0, 0, 0, 0};
    if (!FindLiftLine(e, kLiftTBar, li, lj, 24, 8, 20.0f, 0.18f, line))
        return "no ground for the T-bar";
    TSKILiftRecord tbar;
    tbar.LiftType = kLiftTBar;
    tbar.TicketPrice = uint16_t(e.Params.Lifts[kLiftTBar].DefaultPrice);
    park.beginnerLift = e.IndexOf(e.CreateLift(line[0], line[1], line[2], line[3], tbar));
    park.beginnerSlope = LaySlope(e, line, 6.0f, 6.0f);

    // Services around the bottom station; the cannon covers the lower slopes. The patrol and
    // the garage come with their vehicles, one on each seat.
    park.snowCannon = PlaceNear(e, kBuildSnowCannon, li, lj, 6, 30, 2);
    park.skiPatrol = PlaceNear(e, kBuildSkiPatrol, li, lj, 4, 30, 0);
    park.garage = PlaceNear(e, kBuildSnowcatGarage, li, lj, 4, 30, 1);
    if (park.snowCannon < 0 || park.skiPatrol < 0 || park.garage < 0)
        return "no ground for the services";
    RebuildSnowOverlay(e);
    e.RebuildNavigation();
    AllocateParking(e);
    if (out) *out = park;
    return {};
}

bool WriteStarterPark(const std::filesystem::path& root, std::string* error) {
    TSKIEngine engine({root, 1, nullptr});
    const TSKILevelLoadResult loaded = LoadLevelFile(engine, kStarterLevel, false);
    if (!loaded.ok()) {
        *error = std::string("cannot load ") + kStarterLevel + ": " + loaded.error;
        return false;
    }
    TStarterPark park;
    const std::string why = BuildStarterPark(engine, &park);
    if (!why.empty()) {
        *error = "starter park: " + why;
        return false;
    }
    engine.Park.ParkName = "Starter park";
    engine.Park.ParkMissionIndex = kMissionUnlimitedSandbox;
    engine.Park.ParkSandboxDiff = kSandboxDiffUnlimited;
    engine.Park.ParkCash = 200000;
    const TSKIVector focus = engine.Buildings[size_t(park.main.parking)]->Position;
    engine.Viewpoint.FocusX = focus.x;
    engine.Viewpoint.FocusZ = focus.z;
    return SaveGameFile(engine, root / "worlds" / kStarterFile, error);
}

}  // namespace vallorn::datagen
