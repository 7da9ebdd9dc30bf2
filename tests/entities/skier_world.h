// A flat loaded level (ground at height 10) on which skier and building tests lay out their
// own slopes, lifts, links and buildings by hand, cell by cell.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/engine.h"
#include "support/test_level.h"

namespace vallorn::test {

class SkierWorld : public ::testing::Test {
protected:
    void SetUp() override {
        const TSKILevelLoadResult r = f.WriteAndLoad(TestLevel{});
        ASSERT_TRUE(r.ok()) << r.error;
        f->Park.ParkAccidentCooldown = 0;
        f->Park.ParkSandboxDiff = 1;
    }

    TSKIEngine& E() { return *f; }

    // The world point of cell (i, j), where a skier stands.
    static TSKIVector At(int i, int j) {
        return TSKIVector(-4.0f * float(i) - 0.5f, 10.2f, 4.0f * float(j) - 0.5f, 1.0f);
    }

    TSKISkier& AddSkier(TSKIVector position, TSKISkierRecord record = {}) {
        record.Position = position;
        f->Skiers.push_back(std::make_unique<TSKISkier>(*f, record));
        TSKISkier& s = *f->Skiers.back();
        s.DecisionTimer = 100;  // no decision and no needs check unless a test asks
        s.NeedsTimer = 100;
        return s;
    }

    int32_t AddSlope(std::vector<TSKIVector> points) {
        auto s = std::make_unique<TSKISection>(*f);
        s->Kind = kSectionSlope;
        s->Points = std::move(points);
        f->Sections.push_back(std::move(s));
        return int32_t(f->Sections.size() - 1);
    }

    // A quad chairlift (capacity 4) from `lower` toward `upper`; queue place k stands k
    // units behind the first point along +z, so the line runs away from the gate.
    int32_t AddLift(TSKIVector lower, TSKIVector upper, uint8_t status = kLiftOpen) {
        auto s = std::make_unique<TSKISection>(*f);
        s->Kind = kSectionLift;
        s->LiftType = 3;
        s->Status = status;
        s->Points = {lower, upper};
        for (int k = 0; k < kQueueSlots; ++k) {
            s->QueuePositions[size_t(k)] = lower + TSKIVector(0, 0, float(k), 0);
        }
        f->Sections.push_back(std::move(s));
        return int32_t(f->Sections.size() - 1);
    }

    TSKISection& Section(int32_t index) { return *f->Sections[size_t(index)]; }

    void SetLinks(int i, int j, std::vector<TSKINavLink> links) {
        TerrainCell& c = f->Cell(i, j);
        c.NavLinkCount = uint8_t(links.size());
        for (size_t k = 0; k < links.size(); ++k) c.NavLinks[k] = links[k];
    }

    LevelFixture f;
};

}  // namespace vallorn::test
