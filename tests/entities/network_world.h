// A loaded test level (flat at height 10 unless a test asks for other ground) on which the
// network tests create slopes and lifts through the engine's own creation functions.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "support/test_level.h"

namespace vallorn::test {

class NetworkWorld : public ::testing::Test {
protected:
    void SetUp() override {
        const TSKILevelLoadResult r = f.WriteAndLoad(Level());
        ASSERT_TRUE(r.ok()) << r.error;
    }
    virtual TestLevel Level() const { return TestLevel{}; }

    TSKIEngine& E() { return *f; }

    // The world point of cell (i, j) on the ground; w carries a slope width.
    TSKIVector At(int i, int j, float w = 1) const {
        TSKIVector p = f->CellToWorld(i, j, false);
        p.y = f->Cell(i, j).Height;
        p.w = w;
        return p;
    }

    // A slope through the cells, every point `width` cells wide.
    TSKISection& Slope(const std::vector<std::pair<int, int>>& cells, float width = 3,
                       const std::string& name = {}) {
        std::vector<TSKIVector> points;
        for (const auto& [i, j] : cells) points.push_back(At(i, j, width));
        TSKISection* s = f->CreateSlope(points, name);
        EXPECT_NE(s, nullptr);
        return *s;
    }

    TSKISection& Lift(int lowerI, int lowerJ, int upperI, int upperJ, uint8_t type = 3,
                      uint8_t status = kLiftOpen, uint16_t price = 0) {
        TSKILiftRecord record;
        record.LiftType = type;
        record.Status = status;
        record.TicketPrice = price;
        TSKISection* s = f->CreateLift(lowerI, lowerJ, upperI, upperJ, record);
        EXPECT_NE(s, nullptr);
        return *s;
    }

    TSKISkier& AddSkier(TSKIVector position, TSKISkierRecord record = {}) {
        record.Position = position;
        f->Skiers.push_back(std::make_unique<TSKISkier>(*f, record));
        TSKISkier& s = *f->Skiers.back();
        s.DecisionTimer = s.NeedsTimer = s.QueueCheckTimer = 100;
        return s;
    }

    // A carrier of the lift placed on its cable's first point.
    TSKIGondole& AddCarrier(TSKISection& lift) {
        lift.Carriers.insert(lift.Carriers.begin(), std::make_unique<TSKIGondole>(lift));
        lift.Carriers.front()->Init();
        return *lift.Carriers.front();
    }

    static float Dist(const TSKIVector& a, const TSKIVector& b) {
        const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    static float Flat(const TSKIVector& a, const TSKIVector& b) {
        return std::hypot(a.x - b.x, a.z - b.z);
    }
    int CellI(const TSKIVector& p) const {
        int i, j;
        TSKIEngine::WorldToCell(p, i, j);
        return i;
    }
    int CellJ(const TSKIVector& p) const {
        int i, j;
        TSKIEngine::WorldToCell(p, i, j);
        return j;
    }
    const TerrainCell& CellOf(const TSKIVector& p) const { return f->Cell(CellI(p), CellJ(p)); }

    mutable LevelFixture f;  // read by the const helpers
};

}  // namespace vallorn::test
