// A slope or a lift: the path the player laid, its stations and its state.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/types.h"

namespace vallorn {

class TSKIEngine;

enum : uint8_t { kSectionLift = 0, kSectionSlope = 1 };
enum : uint8_t { kLiftOpen = 0, kLiftClosed = 1, kLiftBroken = 2 };
enum : uint8_t { kDifficultyBlue = 0, kDifficultyRed = 1, kDifficultyBlack = 2 };

class TSKISection {
public:
    explicit TSKISection(TSKIEngine& engine) : Engine(engine) {}
    virtual ~TSKISection() = default;

    bool IsSlope() const { return Kind == kSectionSlope; }
    bool IsLift() const { return Kind == kSectionLift; }

    TSKIEngine& Engine;
    uint8_t Kind = kSectionSlope;
    uint8_t LiftType = 0;            // lifts: index into the lift catalogue
    uint8_t Status = kLiftOpen;      // lifts: 0 open, 1 closed, 2 broken down
    uint8_t Difficulty = kDifficultyBlue;  // slopes: sign colour
    std::vector<TSKIVector> Points;  // path nodes (slope nodes, lift line nodes)
    std::vector<float> Widths;       // slopes: width at each node, in cells
    std::vector<TSKIVector> Poles;   // lifts: pole positions (stations are the first and last points)
};

}  // namespace vallorn
