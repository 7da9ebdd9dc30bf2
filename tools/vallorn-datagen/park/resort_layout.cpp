#include "park/resort_layout.h"

#include <algorithm>
#include <cmath>

namespace vallorn::datagen {

namespace {

// The straight line between two cells crosses neither blocked ground, roads nor occupied
// cells.
bool ClearLine(const TSKIEngine& e, int i0, int j0, int i1, int j1) {
    const int steps = std::max(std::abs(i1 - i0), std::abs(j1 - j0)) + 1;
    for (int k = 0; k <= steps; ++k) {
        const float t = float(k) / float(steps);
        const int i = int(std::lround(i0 + t * (i1 - i0)));
        const int j = int(std::lround(j0 + t * (j1 - j0)));
        if (!FreeGround(e, i, j)) return false;
    }
    return true;
}

TSKIVector Node(const TSKIEngine& e, int i, int j, float width) {
    TSKIVector p = e.CellToWorld(i, j, false);
    p.y = e.Cell(i, j).Height;
    p.w = width;
    return p;
}

int Radius(const TSKIEngine& e, uint8_t type) {
    return std::max(1, int(e.Params.Buildings[type].Size / 4) + 1);
}

}  // namespace

bool RoadEnd(const TSKIEngine& e, int& ri, int& rj) {
    int depth = -1;
    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < kGridSize; ++j) {
            if (e.Cell(i, j).Kind != kCellRoad) continue;
            const int d = std::min({i, j, kGridSize - 1 - i, kGridSize - 1 - j});
            if (d > depth) depth = d, ri = i, rj = j;
        }
    }
    return depth >= 0;
}

bool FreeGround(const TSKIEngine& e, int i, int j) {
    if (i < 2 || j < 2 || i > kGridSize - 3 || j > kGridSize - 3) return false;
    const TerrainCell& c = e.Cell(i, j);
    return c.Kind == kCellFree && !c.Blocked;
}

bool FlatFree(const TSKIEngine& e, int i, int j, int radius, float step) {
    for (int a = i - radius; a <= i + radius; ++a) {
        for (int b = j - radius; b <= j + radius; ++b) {
            if (!FreeGround(e, a, b)) return false;
            if (std::fabs(e.Cell(a, b).Height - e.Cell(i, j).Height) > step) return false;
        }
    }
    return true;
}

bool FindLiftLine(const TSKIEngine& e, int liftType, int ci, int cj, int around, int keepOff,
                  float rise, float gradient, int out[4], float maxLength) {
    const TSKILiftParams& lift = e.Params.Lifts[size_t(liftType)];
    const float longest = maxLength > 0 ? std::min(maxLength, lift.MaxLength) : lift.MaxLength;
    const int reach = int(longest / kCellSize) - 1;
    const int minCells = int(std::ceil(2 * lift.PoleMinDist / kCellSize)) + 1;
    float best = -1;
    for (int a0 = ci - around; a0 <= ci + around; a0 += 2) {
        for (int b0 = cj - around; b0 <= cj + around; b0 += 2) {
            if (std::max(std::abs(a0 - ci), std::abs(b0 - cj)) < keepOff) continue;
            if (!FlatFree(e, a0, b0, 2, 2.0f)) continue;
            for (int a1 = a0 - reach; a1 <= a0 + reach; a1 += 3) {
                for (int b1 = b0 - reach; b1 <= b0 + reach; b1 += 3) {
                    const float cells = std::hypot(float(a1 - a0), float(b1 - b0));
                    if (cells > float(reach) || cells < float(minCells)) continue;
                    if (!FlatFree(e, a1, b1, 2, 2.5f)) continue;
                    const float up = e.Cell(a1, b1).Height - e.Cell(a0, b0).Height;
                    if (up < rise) continue;
                    // Prefer the wanted gradient: good skiing back down.
                    const float score = -std::fabs(up / (cells * kCellSize) - gradient);
                    if (score > best && ClearLine(e, a0, b0, a1, b1)) {
                        best = score;
                        out[0] = a0, out[1] = b0, out[2] = a1, out[3] = b1;
                    }
                }
            }
        }
    }
    return best >= -0.5f && best != -1;
}

int LaySlope(TSKIEngine& e, const int line[4], float side, float width) {
    const float di = float(line[2] - line[0]), dj = float(line[3] - line[1]);
    const float len = std::hypot(di, dj);
    const float si = -dj / len, sj = di / len;  // sideways, across the lift line
    std::vector<TSKIVector> nodes;
    const int n = 6;
    for (int m = 0; m <= n; ++m) {
        const float t = float(m) / float(n);
        const float bow = std::sin(t * 3.14159265f) * side + (m == 0 || m == n ? side * 0.4f : 0);
        const int i = int(std::lround(line[2] - t * di + si * bow));
        const int j = int(std::lround(line[3] - t * dj + sj * bow));
        nodes.push_back(
            Node(e, std::clamp(i, 1, kGridSize - 2), std::clamp(j, 1, kGridSize - 2), width));
    }
    return e.IndexOf(e.CreateSlope(nodes));
}

int PlaceNear(TSKIEngine& e, uint8_t type, int ci, int cj, int from, int to, int offset) {
    const int radius = Radius(e, type);
    for (int d = from; d < to; ++d) {
        for (int a = ci - d; a <= ci + d; ++a) {
            for (int b = cj - d; b <= cj + d; ++b) {
                if (std::max(std::abs(a - ci), std::abs(b - cj)) != d) continue;
                if ((a + b + offset) % 3 != 0) continue;
                if (!FlatFree(e, a, b, radius, 3.0f)) continue;
                TSKIBuildingRecord r;
                r.Type = type;
                r.ServicePrice = uint16_t(e.Params.Buildings[type].ServiceCost);
                r.Position = e.CellToWorld(a, b, true);
                return e.IndexOf(e.CreateBuilding(r));
            }
        }
    }
    return -1;
}

TResortLayout BuildResort(TSKIEngine& e, int liftType, float rise, int slopes,
                          float maxLiftLength) {
    TResortLayout out;
    int ri = 0, rj = 0;
    if (!e.HasGrid() || !RoadEnd(e, ri, rj)) {
        out.error = "the level has no road";
        return out;
    }
    const int parkingRadius = Radius(e, kBuildParking);

    // The parking lot: flat free ground next to the road's end.
    int pi = -1, pj = -1;
    for (int d = 2; d < 20 && pi < 0; ++d) {
        for (int a = ri - d; a <= ri + d && pi < 0; ++a) {
            for (int b = rj - d; b <= rj + d && pi < 0; ++b) {
                if (std::max(std::abs(a - ri), std::abs(b - rj)) != d) continue;
                if (FlatFree(e, a, b, parkingRadius, 3.0f)) pi = a, pj = b;
            }
        }
    }
    if (pi < 0) {
        out.error = "no flat ground for parking by the road";
        return out;
    }

    // The lift: a lower station near the parking lot, an upper one at least `rise` higher
    // within the type's reach, with a clear line between them.
    int line[4] = {0, 0, 0, 0};
    if (!FindLiftLine(e, liftType, pi, pj, 14, parkingRadius + 4, rise, 0.3f, line,
                      maxLiftLength)) {
        out.error = "no ground for the lift near the parking lot";
        return out;
    }
    out.lowerI = line[0], out.lowerJ = line[1], out.upperI = line[2], out.upperJ = line[3];

    TSKIBuildingRecord parking;
    parking.Type = kBuildParking;
    parking.Position = e.CellToWorld(pi, pj, true);
    out.parking = e.IndexOf(e.CreateBuilding(parking));

    TSKILiftRecord record;
    record.LiftType = uint8_t(liftType);
    record.TicketPrice = uint16_t(e.Params.Lifts[size_t(liftType)].DefaultPrice);
    out.lift = e.IndexOf(e.CreateLift(out.lowerI, out.lowerJ, out.upperI, out.upperJ, record));

    // Slopes: each bowing out to its own side of the lift line.
    for (int k = 0; k < slopes; ++k) {
        const float side = (k % 2 == 0 ? 1.0f : -1.0f) * (8.0f + 6.0f * float(k / 2));
        out.slopes.push_back(LaySlope(e, line, side, k == 0 ? 8.0f : 6.0f));
    }

    // A stall and a shelter on free ground near the bottom station.
    out.stall = PlaceNear(e, kBuildStall, out.lowerI, out.lowerJ, 4, 16, 0);
    out.shelter = PlaceNear(e, kBuildShelter, out.lowerI, out.lowerJ, 4, 16, 1);
    if (out.stall < 0 || out.shelter < 0) out.error = "no ground for the restaurants";
    e.RebuildNavigation();
    return out;
}

}  // namespace vallorn::datagen
