// The level being generated: heights of the 513 x 513 cell world points, the per-cell flags
// that go into the level file, the road centre line and the decorative houses. The shaping
// passes (terrain_*.cpp), the feature passes (level_features.cpp), the texture painter and
// the writer all work on this one record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vallorn::datagen {

constexpr int kCells = 512;         // cells per side written to the level file
constexpr int kVerts = kCells + 1;  // height samples per side (the grid's 513 points)
constexpr double kCellWorld = 4.0;  // world units per cell edge

// Per-cell flag bits.
enum : uint8_t {
    kFlagSnow = 1,     // natural snow
    kFlagTree = 2,     // a tree stands on the cell
    kFlagBlocked = 4,  // blocked terrain
    kFlagRoad = 8,     // road (written as 'R'; wins over the other flags)
    kFlagHouse = 16,   // footprint of a decorative house (never written)
};

struct TPoint {
    double i = 0, j = 0;  // cell coordinates, fractional
};

struct THouse {
    int32_t tag = 0;            // house model 0..9
    double i = 0, j = 0;        // cell coordinates of the house centre
    double dirI = 1, dirJ = 0;  // facing, a unit vector in cell coordinates
};

// The shape of a level's road: its centre line from the map edge inwards and the flat
// area at its upper end where parking lots go.
struct TRoadPlan {
    std::vector<TPoint> line;  // centre line, first point on the map edge
    double halfWidth = 1.25;   // cells within this distance of the line are road
    double plateauRadius = 0;  // flattened area around the last point (cells), 0 = none
};

struct TLevel {
    std::string name;
    float blockThreshold = 7.0f;  // LevelBlockThreshold: |dh| x scaleY above it blocks
    float scaleY = 2.0f;          // LevelScaleY
    float skirtBottom = -40.0f;   // lowest point of the map's edge skirt, world units
    std::vector<float> heights = std::vector<float>(size_t(kVerts) * kVerts, 0.0f);
    std::vector<uint8_t> flags = std::vector<uint8_t>(size_t(kCells) * kCells, 0);
    std::vector<float> roadDistance;  // per height sample: distance to the road line, cells
    TRoadPlan road;
    std::vector<THouse> houses;

    float& H(int i, int j) { return heights[size_t(i) * kVerts + j]; }
    float H(int i, int j) const { return heights[size_t(i) * kVerts + j]; }
    uint8_t& F(int i, int j) { return flags[size_t(i) * kCells + j]; }
    uint8_t F(int i, int j) const { return flags[size_t(i) * kCells + j]; }
    bool Has(int i, int j, uint8_t bit) const { return (F(i, j) & bit) != 0; }

    // Height at fractional cell coordinates, bilinear, clamped to the grid.
    double HeightAt(double ci, double cj) const;
    // Steepness as rise per world unit (central differences of the height samples).
    double Slope(int i, int j) const;
    double SlopeAt(double ci, double cj) const;
    // Largest height difference to the four neighbours, world units.
    double MaxStep(int i, int j) const;
    // Distance of a point to the road line in cells (a large value without a road).
    double RoadDistanceAt(double ci, double cj) const;
};

}  // namespace vallorn::datagen
