// What the shipped levels offer a player: where the snow, the forests, the cliffs, the road,
// the parking space and the houses are, and that the ground pictures show them where the
// cells are.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>

#include "base/image_io.h"
#include "base/params.h"
#include "shipped_level.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

using test::ShippedLevel;
using test::TShippedLevel;

template <typename Pred>
int CountCells(Pred pred) {
    int n = 0;
    for (int i = 0; i < 512; ++i)
        for (int j = 0; j < 512; ++j) n += pred(i, j) ? 1 : 0;
    return n;
}

// Road cells that cannot be reached from a road cell on the map's edge through road cells.
int RoadCellsCutOffFromTheEdge(const TShippedLevel& level) {
    std::vector<char> seen(512 * 512, 0);
    std::deque<std::pair<int, int>> open;
    for (int k = 0; k < 512; ++k) {
        for (auto [i, j] : {std::pair{0, k}, {511, k}, {k, 0}, {k, 511}}) {
            if (level.Road(i, j) && !seen[i * 512 + j]) {
                seen[i * 512 + j] = 1;
                open.push_back({i, j});
            }
        }
    }
    while (!open.empty()) {
        auto [i, j] = open.front();
        open.pop_front();
        for (auto [a, b] : {std::pair{i - 1, j}, {i + 1, j}, {i, j - 1}, {i, j + 1}}) {
            if (a < 0 || b < 0 || a > 511 || b > 511 || seen[a * 512 + b] || !level.Road(a, b))
                continue;
            seen[a * 512 + b] = 1;
            open.push_back({a, b});
        }
    }
    return CountCells([&](int i, int j) { return level.Road(i, j) && !seen[i * 512 + j]; });
}

// Cells where a building of footprint `size` would pass the placement rules: every cell whose
// world point lies within `size` units is free ground (no road, no blocked terrain) at most 4
// units above or below the centre, and (for a parking lot) a road cell lies within 30 units.
int BuildingSpots(const TShippedLevel& level, int size, bool nearRoad) {
    int spots = 0;
    for (int i = 32; i < 480; ++i) {
        for (int j = 32; j < 480; ++j) {
            bool ok = true;
            for (int a = i - size; a <= i + size && ok; ++a) {
                for (int b = j - size; b <= j + size && ok; ++b) {
                    const float dh = level.H(a, b) - level.H(i, j);
                    if (std::hypot(4.0f * (a - i), 4.0f * (b - j), dh) >= float(size)) continue;
                    ok = !level.Road(a, b) && !level.Blocked(a, b) && std::fabs(dh) <= 4;
                }
            }
            bool road = !nearRoad;
            for (int a = i - 8; a <= i + 8 && ok && !road; ++a)
                for (int b = j - 8; b <= j + 8 && !road; ++b)
                    road = level.Road(a, b) && std::hypot(4.0f * (a - i), 4.0f * (b - j)) < 30;
            spots += ok && road;
        }
    }
    return spots;
}

int ParkingSize() {
    TSKIParameters params;
    LoadCatalogues(test::BuildRoot() / "data", params);
    return params.Buildings[kBuildParking].Size;
}

// Whether a lift of `type` can go up `rise` or more from free ground within 25 cells of the
// road's inner end: a straight line no longer than the type's LiftMaxLength whose cells (one
// sample per 4 units, as the placement preview samples it) are neither blocked nor road.
bool LiftFromTheRoadEnd(const TShippedLevel& level, int type, float rise) {
    TSKIParameters params;
    LoadCatalogues(test::BuildRoot() / "data", params);
    const TSKILiftParams& lift = params.Lifts[size_t(type)];
    int ei = 0, ej = 0, inner = -1;  // the road cell farthest from the map's edge
    for (int i = 0; i < 512; ++i) {
        for (int j = 0; j < 512; ++j) {
            const int depth = std::min({i, j, 511 - i, 511 - j});
            if (level.Road(i, j) && depth > inner) inner = depth, ei = i, ej = j;
        }
    }
    auto clear = [&](int i0, int j0, int i1, int j1) {
        const float length = 4.0f * std::hypot(float(i1 - i0), float(j1 - j0));
        const int samples = int(length / 4) + 1;
        for (int k = 0; k <= samples; ++k) {
            const float t = float(k) / float(samples);
            const int i = int(std::lround(i0 + t * (i1 - i0))),
                      j = int(std::lround(j0 + t * (j1 - j0)));
            if (level.Road(i, j) || level.Blocked(i, j)) return false;
        }
        return true;
    };
    const int reach = int(lift.MaxLength / 4);
    for (int i0 = std::max(1, ei - 25); i0 <= std::min(510, ei + 25); i0 += 5) {
        for (int j0 = std::max(1, ej - 25); j0 <= std::min(510, ej + 25); j0 += 5) {
            if (level.Road(i0, j0) || level.Blocked(i0, j0)) continue;
            for (int i1 = std::max(1, i0 - reach); i1 <= std::min(510, i0 + reach); i1 += 4) {
                for (int j1 = std::max(1, j0 - reach); j1 <= std::min(510, j0 + reach); j1 += 4) {
                    const float length = 4.0f * std::hypot(float(i1 - i0), float(j1 - j0));
                    if (length > lift.MaxLength || length < 2 * lift.PoleMinDist) continue;
                    if (level.H(i1, j1) - level.H(i0, j0) < rise) continue;
                    if (clear(i0, j0, i1, j1)) return true;
                }
            }
        }
    }
    return false;
}

TEST(Mountain, RisesFromAValleyFloorToHighSummits) {
    const auto& m = ShippedLevel("Mountain");
    ASSERT_TRUE(m.Complete());
    const auto [lo, hi] = std::minmax_element(m.heights.begin(), m.heights.end());
    EXPECT_GE(*lo, 15.0f);
    EXPECT_LE(*lo, 30.0f);
    EXPECT_GE(*hi, 400.0f);
    EXPECT_LE(*hi, 470.0f);
    // Both low ground for the resort's base and a large high area for long runs.
    EXPECT_GT(CountCells([&](int i, int j) { return m.H(i, j) < 80; }), 512 * 512 / 20);
    EXPECT_GT(CountCells([&](int i, int j) { return m.H(i, j) > 300; }), 512 * 512 / 10);
}

TEST(Mountain, SnowLiesHighAndForestsGrowLowInPatches) {
    const auto& m = ShippedLevel("Mountain");
    ASSERT_TRUE(m.Complete());
    const int snow = CountCells([&](int i, int j) { return m.Snow(i, j); });
    EXPECT_GT(snow, 512 * 512 * 4 / 10);
    EXPECT_LT(snow, 512 * 512 * 9 / 10);
    const int high = CountCells([&](int i, int j) { return m.H(i, j) > 250 && !m.Blocked(i, j); });
    const int highSnow = CountCells(
        [&](int i, int j) { return m.H(i, j) > 250 && !m.Blocked(i, j) && m.Snow(i, j); });
    EXPECT_GT(highSnow, high * 97 / 100) << "high ground without snow";
    EXPECT_LT(CountCells([&](int i, int j) { return m.Snow(i, j) && m.H(i, j) < 80; }), snow / 50);

    const int trees = CountCells([&](int i, int j) { return m.Tree(i, j); });
    EXPECT_GT(trees, 512 * 512 / 20);
    EXPECT_LT(trees, 512 * 512 / 4);
    EXPECT_EQ(CountCells([&](int i, int j) { return m.Tree(i, j) && m.H(i, j) > 300; }), 0);
    EXPECT_EQ(CountCells([&](int i, int j) { return m.Tree(i, j) && m.Blocked(i, j); }), 0);
    // Forest, not a sprinkle: most trees stand among other trees.
    const int amongTrees = CountCells([&](int i, int j) {
        if (!m.Tree(i, j) || i == 0 || j == 0 || i == 511 || j == 511) return false;
        int n = 0;
        for (int a = -1; a <= 1; ++a)
            for (int b = -1; b <= 1; ++b) n += m.Tree(i + a, j + b);
        return n >= 4;
    });
    EXPECT_GT(amongTrees, trees * 7 / 10);
}

TEST(Mountain, BlocksOnlyCliffSteepGround) {
    const auto& m = ShippedLevel("Mountain");
    ASSERT_TRUE(m.Complete());
    const float limit = m.blockThreshold / m.scaleY;  // 3.5 world units between neighbours
    const int blocked = CountCells([&](int i, int j) { return m.Blocked(i, j); });
    EXPECT_GT(blocked, 512 * 512 * 2 / 100);
    EXPECT_LT(blocked, 512 * 512 * 15 / 100);
    EXPECT_EQ(CountCells([&](int i, int j) {
                  return m.Blocked(i, j) && m.MaxStep(i, j) <= limit - 0.01f &&
                         !m.NearHouse(i, j, 1);
              }),
              0)
        << "blocked cells on ground that is not steep";
    // The editor's speck removal frees lone steep cells and thin ribs, not the cliffs.
    const int steep = CountCells([&](int i, int j) {
        return i > 0 && j > 0 && i < 511 && j < 511 && m.MaxStep(i, j) > limit + 0.01f;
    });
    const int steepBlocked = CountCells([&](int i, int j) {
        return i > 0 && j > 0 && i < 511 && j < 511 && m.MaxStep(i, j) > limit + 0.01f &&
               m.Blocked(i, j);
    });
    EXPECT_GT(steepBlocked, steep * 3 / 5);
    // The cliffs, twice as steep as the limit, stay closed.
    const int cliff = CountCells([&](int i, int j) {
        return i > 0 && j > 0 && i < 511 && j < 511 && m.MaxStep(i, j) > 2 * limit;
    });
    const int cliffBlocked = CountCells([&](int i, int j) {
        return i > 0 && j > 0 && i < 511 && j < 511 && m.MaxStep(i, j) > 2 * limit &&
               m.Blocked(i, j);
    });
    EXPECT_GT(cliffBlocked, cliff * 9 / 10);
}

TEST(Mountain, RoadClimbsGentlyFromTheMapEdgeToRoomForParking) {
    const auto& m = ShippedLevel("Mountain");
    ASSERT_TRUE(m.Complete());
    EXPECT_GT(CountCells([&](int i, int j) { return m.Road(i, j); }), 300);
    EXPECT_EQ(RoadCellsCutOffFromTheEdge(m), 0);
    float steepest = 0;
    for (int i = 0; i < 511; ++i) {
        for (int j = 0; j < 511; ++j) {
            if (!m.Road(i, j)) continue;
            if (m.Road(i + 1, j))
                steepest = std::max(steepest, std::fabs(m.H(i + 1, j) - m.H(i, j)));
            if (m.Road(i, j + 1))
                steepest = std::max(steepest, std::fabs(m.H(i, j + 1) - m.H(i, j)));
        }
    }
    EXPECT_LT(steepest, 1.0f) << "a road step steeper than 25 %";
    // Two to three cells wide: no road cell stands alone across the road.
    EXPECT_EQ(CountCells([&](int i, int j) {
                  if (!m.Road(i, j) || i == 0 || j == 0 || i == 511 || j == 511) return false;
                  return !m.Road(i - 1, j) && !m.Road(i + 1, j) && !m.Road(i, j - 1) &&
                         !m.Road(i, j + 1);
              }),
              0);
    EXPECT_GE(BuildingSpots(m, ParkingSize(), true), 20) << "no room for parking by the road";
}

TEST(Mountain, LiftsCanClimbFromTheParkingPlateau) {
    const auto& m = ShippedLevel("Mountain");
    ASSERT_TRUE(m.Complete());
    EXPECT_TRUE(LiftFromTheRoadEnd(m, 0, 25.0f)) << "no beginner platter lift by the car park";
    EXPECT_TRUE(LiftFromTheRoadEnd(m, 3, 120.0f)) << "no quad chairlift up the valley's side";
    EXPECT_TRUE(LiftFromTheRoadEnd(m, 4, 220.0f)) << "no cable car to the high ground";
}

TEST(Mountain, HousesStandBesideTheRoadOnGentleGround) {
    const auto& m = ShippedLevel("Mountain");
    ASSERT_TRUE(m.Complete());
    ASSERT_GE(m.houses.size(), 3u);
    EXPECT_LE(m.houses.size(), 10u);
    for (const TSKIHouse& house : m.houses) {
        EXPECT_LE(house.Tag, 3);
        int hi, hj;
        test::NearestCell(house.Position, hi, hj);
        bool roadNear = false;
        for (int a = hi - 2; a <= hi + 2; ++a) {
            for (int b = hj - 2; b <= hj + 2; ++b) {
                EXPECT_FALSE(m.Road(a, b)) << "house at " << hi << "," << hj << " on the road";
                EXPECT_LT(m.MaxStep(a, b), 1.5f) << "house at " << hi << "," << hj;
                EXPECT_FALSE(m.Tree(a, b)) << "tree in the house at " << hi << "," << hj;
            }
        }
        for (int a = hi - 10; a <= hi + 10; ++a)
            for (int b = hj - 10; b <= hj + 10; ++b) roadNear = roadNear || m.Road(a, b);
        EXPECT_TRUE(roadNear) << "house at " << hi << "," << hj << " far from the road";
    }
}

TEST(Training, IsAGentleSnowyHillWithARoadAndAFewTrees) {
    const auto& t = ShippedLevel("Training");
    ASSERT_TRUE(t.Complete());
    const float hi = *std::max_element(t.heights.begin(), t.heights.end());
    EXPECT_GT(hi, 80.0f);
    EXPECT_LT(hi, 250.0f);
    const int gentle = CountCells([&](int i, int j) { return t.MaxStep(i, j) < 2.0f; });
    EXPECT_GT(gentle, 512 * 512 * 97 / 100);
    EXPECT_EQ(CountCells([&](int i, int j) { return t.Blocked(i, j) && !t.NearHouse(i, j, 1); }),
              0);
    EXPECT_EQ(CountCells([&](int i, int j) { return !t.Road(i, j) && !t.Snow(i, j); }), 0);
    const int trees = CountCells([&](int i, int j) { return t.Tree(i, j); });
    EXPECT_GT(trees, 512 * 512 / 500);
    EXPECT_LT(trees, 512 * 512 / 25);
    EXPECT_GT(CountCells([&](int i, int j) { return t.Road(i, j); }), 100);
    EXPECT_EQ(RoadCellsCutOffFromTheEdge(t), 0);
    EXPECT_GE(t.houses.size(), 1u);
    EXPECT_GE(BuildingSpots(t, ParkingSize(), true), 20);
    EXPECT_TRUE(LiftFromTheRoadEnd(t, 0, 20.0f)) << "no platter lift up the hill";
}

TEST(Blank, IsFlatAndEmpty) {
    const auto& b = ShippedLevel("blank");
    ASSERT_TRUE(b.Complete());
    for (int i = 0; i < 512; ++i) EXPECT_EQ(b.rows[size_t(i)], std::string(512, '0')) << i;
    EXPECT_TRUE(b.houseBytes.empty());
    const auto [lo, hi] = std::minmax_element(b.heights.begin(), b.heights.end());
    EXPECT_EQ(*lo, *hi);
    EXPECT_GT(*lo, 0.0f);
    EXPECT_LT(*lo, 50.0f);
}

double Luma(const TSKIImage& image, int i, int j) {
    double sum = 0;  // the four pixels covering cell (i, j)
    for (int x = 2 * i; x <= 2 * i + 1; ++x) {
        for (int y = 2 * j; y <= 2 * j + 1; ++y) {
            const TSKIColor c = image.Get(x, y);
            sum += 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
        }
    }
    return sum / 4;
}

// Mean brightness of the cells that pass `pred`, over the inner map.
template <typename Pred>
double MeanLuma(const TSKIImage& image, Pred pred) {
    double sum = 0;
    int n = 0;
    for (int i = 2; i < 510; ++i) {
        for (int j = 2; j < 510; ++j) {
            if (!pred(i, j)) continue;
            sum += Luma(image, i, j);
            ++n;
        }
    }
    EXPECT_GT(n, 0);
    return n ? sum / n : 0;
}

TEST(MountainPictures, ShowRoadForestAndRockOverTheirCells) {
    const auto& m = ShippedLevel("Mountain");
    ASSERT_TRUE(m.Complete());
    TSKIImage snow, ground;
    std::string error;
    ASSERT_TRUE(LoadJpeg(test::BuildRoot() / "worlds" / "MountainMAP.jpg", snow, &error)) << error;
    ASSERT_TRUE(LoadJpeg(test::BuildRoot() / "worlds" / "MountainMAPs.jpg", ground, &error))
        << error;
    ASSERT_EQ(snow.Width(), 1024);
    ASSERT_EQ(snow.Height(), 1024);
    ASSERT_EQ(ground.Width(), 1024);
    ASSERT_EQ(ground.Height(), 1024);

    auto all8 = [&](int i, int j, auto has) {
        for (int a = -1; a <= 1; ++a)
            for (int b = -1; b <= 1; ++b)
                if (!has(i + a, j + b)) return false;
        return true;
    };
    auto road = [&](int i, int j) { return m.Road(i, j); };
    auto tree = [&](int i, int j) { return m.Tree(i, j); };
    auto open = [&](int i, int j) {
        return all8(i, j, [&](int a, int b) { return !m.Tree(a, b) && !m.Road(a, b); }) &&
               m.MaxStep(i, j) < 1.5f;
    };
    const double snowOpen = MeanLuma(snow, open);
    const double groundOpen = MeanLuma(ground, open);
    EXPECT_GT(snowOpen, 170);  // snow is bright
    EXPECT_LT(groundOpen, snowOpen - 40);

    // Asphalt shows dark exactly where the road cells are (this also pins the pixel layout:
    // the road is only two to three cells wide).
    EXPECT_LT(MeanLuma(ground, [&](int i, int j) { return m.Road(i, j) && all8(i, j, road); }),
              groundOpen - 20);
    EXPECT_LT(MeanLuma(snow, [&](int i, int j) { return m.Road(i, j) && all8(i, j, road); }),
              snowOpen - 25);
    // Forest is darker than open ground in both pictures.
    const auto forest = [&](int i, int j) { return all8(i, j, tree) && m.MaxStep(i, j) < 1.5f; };
    EXPECT_LT(MeanLuma(snow, forest), snowOpen - 40);
    EXPECT_LT(MeanLuma(ground, forest), groundOpen - 15);
    // Rock breaks through the snow on the cliffs.
    EXPECT_LT(MeanLuma(snow, [&](int i, int j) { return m.MaxStep(i, j) > 7.0f; }), snowOpen - 40);
}

}  // namespace
}  // namespace vallorn
