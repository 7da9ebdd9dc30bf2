#include "ui/info_fields.h"

#include <algorithm>
#include <cmath>

#include "entities/building.h"
#include "entities/gondole.h"
#include "entities/section.h"

namespace vallorn {

namespace {

std::string Metres(float value) {
    return std::to_string(std::lround(value)) + " meters";
}

float ShownHeight(float terrainHeight) {
    return terrainHeight * 3.0f + 500.0f;
}

std::string QualityPercent(float quality) {
    return std::to_string(int(quality * 100.0f + 1e-3f)) + "%";
}

std::string CellHeightText(const TSKIEngine& e, int i, int j) {
    if (!e.HasGrid() || i < 0 || j < 0 || i > kGridSize || j > kGridSize) return HeightText(0);
    return HeightText(e.Cell(i, j).Height);
}

// `points` samples of the polyline, by distance along it (the ends included).
std::vector<TSKIVector> Resample(const std::vector<TSKIVector>& line, int points) {
    std::vector<TSKIVector> out;
    if (line.empty()) return out;
    points = std::max(points, 2);
    std::vector<float> along(line.size(), 0.0f);
    for (size_t k = 1; k < line.size(); ++k) {
        const float dx = line[k].x - line[k - 1].x, dz = line[k].z - line[k - 1].z;
        along[k] = along[k - 1] + std::sqrt(dx * dx + dz * dz);
    }
    const float total = along.back();
    size_t seg = 1;
    for (int n = 0; n < points; ++n) {
        const float d = total * float(n) / float(points - 1);
        while (seg + 1 < line.size() && along[seg] < d) ++seg;
        if (line.size() == 1 || total <= 0) {
            out.push_back(line.front());
            continue;
        }
        const float len = along[seg] - along[seg - 1];
        const float t = len > 0 ? std::clamp((d - along[seg - 1]) / len, 0.0f, 1.0f) : 0.0f;
        out.push_back(line[seg - 1] + (line[seg] - line[seg - 1]) * t);
    }
    return out;
}

}  // namespace

TSKIInfoTarget PickInfoTarget(const TSKIEngine& e, const TerrainCell& cell) {
    if (const TSKISection* s = e.SectionByIndex(cell.Section)) {
        return {s->IsLift() ? TSKIInfoKind::Lift : TSKIInfoKind::Slope, size_t(cell.Section)};
    }
    if (e.BuildingByIndex(cell.Building)) return {TSKIInfoKind::Building, size_t(cell.Building)};
    return {};
}

std::string PassengersText(int riders, int carriers, int capacity) {
    const int seats = carriers * capacity;
    long percent = 0;
    if (riders > 0 && seats > 0) {
        percent = std::lround(std::min(100.0, riders * 100.0 / seats));
    }
    return std::to_string(riders) + " (" + std::to_string(percent) + "% of maximum capacity)";
}

std::string TooExpensiveText(int tooExpensive, int served) {
    if (served <= 0) return "0";
    const int n = std::min(tooExpensive, served);
    return std::to_string(n) + " x (" + std::to_string(std::lround(n * 100.0 / served)) +
           "% of total customers)";
}

std::string HeightText(float terrainHeight) {
    return std::to_string(int(ShownHeight(terrainHeight))) + " meters";
}

std::string OccupancyText(uint8_t buildingType, int count) {
    const bool one = count == 1;
    std::string unit;
    switch (buildingType) {
        case kBuildParking:
            unit = one ? " car" : " cars";
            break;
        case kBuildStall:
        case kBuildSnowBar:
        case kBuildSelfService:
        case kBuildKiosk:
            unit = one ? " customer" : " customers";
            break;
        case kBuildCot:
        case kBuildShelter:
        case kBuildSightseeing:
            unit = one ? " visitor" : " visitors";
            break;
        case kBuildRescueStation:
        case kBuildHospital:
            unit = " rescue helicopter";
            break;
        case kBuildSkiPatrol:
            unit = one ? " rescue snowmobile" : " rescue snowmobiles";
            break;
        case kBuildSnowcatGarage:
            unit = " snowcat";
            break;
        default:
            break;
    }
    return std::to_string(count) + unit;
}

std::string BuildingServicesText(const TSKIBuildingParams& type) {
    std::string text;
    auto add = [&](float refill, const char* name) {
        if (refill <= 0) return;
        if (!text.empty()) text += ", ";
        text += name;
    };
    add(type.RefillCold, "Warm up");
    add(type.RefillEnergy, "Rest");
    add(type.RefillHunger, "Food");
    return text;
}

TSKILiftInfo LiftInfo(const TSKIEngine& e, const TSKISection& lift) {
    const TSKILiftParams& type = lift.Type();
    TSKILiftInfo f;
    f.Name = lift.Name;
    f.StartHeight = CellHeightText(e, lift.LowerI, lift.LowerJ);
    f.EndHeight = CellHeightText(e, lift.UpperI, lift.UpperJ);
    f.Length = Metres(lift.LengthMetres);
    f.Type = type.DisplayName.empty() ? type.Name : type.DisplayName;
    f.Gondolas = std::to_string(lift.Carriers.size());
    int riders = 0;
    for (const auto& c : lift.Carriers) riders += c->RiderCount;
    f.Passengers = PassengersText(riders, int(lift.Carriers.size()), type.GondoleCapacity);
    f.Queue = std::to_string(std::max<int>(lift.QueueLength, 0));
    f.Status = lift.Status;
    f.StatusText = lift.Status == kLiftOpen     ? "Opened"
                   : lift.Status == kLiftClosed ? "Closed"
                                                : "Unavailable";
    f.Price = FormatMoney(lift.TicketPrice);
    f.RunningCost = FormatMoney(lift.RunningCost) + "/hour.";
    f.Income = FormatMoney(lift.TotalIncome);
    f.Expense = FormatMoney(lift.TotalExpense);
    f.Balance = FormatMoney(int32_t(int64_t(lift.TotalIncome) - lift.TotalExpense));
    f.TooExpensive = TooExpensiveText(lift.TooExpensiveCount, lift.CustomersServed);
    f.Served = std::to_string(lift.CustomersServed);
    f.Invested = FormatMoney(lift.InvestedMoney, true);
    f.Quality = type.ServiceQuality + lift.UpgradeBonus;
    f.QualityText = QualityPercent(f.Quality);
    return f;
}

TSKISlopeInfo SlopeInfo(const TSKIEngine& e, const TSKISection& slope) {
    TSKISlopeInfo f;
    f.Name = slope.Name;
    int i0 = slope.LowerI, j0 = slope.LowerJ, i1 = slope.UpperI, j1 = slope.UpperJ;
    if (!slope.Points.empty()) {
        TSKIWorld::WorldToCell(slope.Points.front(), i0, j0);
        TSKIWorld::WorldToCell(slope.Points.back(), i1, j1);
    }
    f.StartHeight = CellHeightText(e, i0, j0);
    f.EndHeight = CellHeightText(e, i1, j1);
    f.Length = Metres(slope.LengthMetres);
    f.Difficulty = slope.Difficulty;
    static const char* const kNames[] = {"Blue", "Red", "Black"};
    f.DifficultyText = kNames[std::min<int>(slope.Difficulty, 2)];
    f.Shares = "Blue: " + std::to_string(std::lround(slope.BlueShare)) +
               "% Red: " + std::to_string(std::lround(slope.RedShare)) +
               "% Black: " + std::to_string(std::lround(slope.BlackShare)) + "%";
    f.BestTime = slope.InvestedMoney > 0 ? FormatDuration(slope.InvestedMoney) : "Not set";
    return f;
}

TSKIBuildingInfo BuildingInfo(const TSKIBuilding& b) {
    const TSKIBuildingParams& type = b.Params();
    TSKIBuildingInfo f;
    f.Type = type.Name;
    f.Open = b.Open;
    f.Capacity = std::to_string(type.Capacity);
    f.Occupancy = OccupancyText(b.Type, b.Type == kBuildParking ? b.CarCount : b.Occupants);
    f.Services = BuildingServicesText(type);
    f.Price = FormatMoney(b.ServicePrice);
    f.Served = std::to_string(b.CustomersServed);
    f.RunningCost = FormatMoney(type.RunningCost) + "/hour.";
    f.Income = FormatMoney(b.TotalIncome);
    f.Expense = FormatMoney(b.TotalExpense);
    f.Balance = FormatMoney(int32_t(b.TotalIncome) - int32_t(b.TotalExpense));
    f.TooExpensive = TooExpensiveText(b.TooExpensiveCount, b.CustomersServed);
    f.Quality = type.ServiceQuality + b.UpgradeBonus;
    f.QualityText = QualityPercent(f.Quality);
    f.HasPrice = type.Category == kCategoryRestaurant;
    f.SharesTypePrice = f.HasPrice;
    f.IsGarage = type.Category == kCategorySnowCatGarage;
    return f;
}

TSKIRelief LiftRelief(const TSKIEngine& e, const TSKISection& lift, int points) {
    TSKIRelief r;
    if (!e.HasGrid()) return r;
    const std::vector<TSKIVector> line =
        lift.Points.size() >= 2
            ? lift.Points
            : std::vector<TSKIVector>{e.CellToWorld(lift.LowerI, lift.LowerJ, false),
                                      e.CellToWorld(lift.UpperI, lift.UpperJ, false)};
    for (const TSKIVector& p : Resample(line, points))
        r.Heights.push_back(ShownHeight(e.TerrainHeight(p)));
    return r;
}

TSKIRelief SlopeRelief(const TSKIEngine& e, const TSKISection& slope, int points) {
    TSKIRelief r;
    if (!e.HasGrid()) return r;
    const auto& line = slope.DetailLine.size() >= 2 ? slope.DetailLine : slope.Points;
    for (const TSKIVector& p : Resample(line, points)) {
        r.Heights.push_back(ShownHeight(e.TerrainHeight(p)));
        int i, j;
        TSKIWorld::WorldToCell(p, i, j);
        i = std::clamp(i, 0, kGridSize);
        j = std::clamp(j, 0, kGridSize);
        r.Difficulty.push_back(SteepnessDifficulty(e.Cell(i, j).Steepness));
    }
    return r;
}

TSKIPlacement PlaceOnScreen(float x, float y, float w, float h, float screenW, float screenH) {
    return {std::max(0.0f, std::min(x, screenW - w)), std::max(0.0f, std::min(y, screenH - h))};
}

void QualityColour(float quality, float rgb[3]) {
    const float t = std::clamp(quality / 2.0f, 0.0f, 1.0f);
    rgb[0] = t < 0.5f ? 0.9f : 0.9f * (1.0f - t) * 2.0f;
    rgb[1] = t < 0.5f ? 0.8f * t * 2.0f : 0.8f;
    rgb[2] = 0.1f;
}

}  // namespace vallorn
