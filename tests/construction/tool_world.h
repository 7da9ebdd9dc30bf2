// A loaded test level on which the construction tests play: the mouse points at a cell, a
// frame runs, the mouse button is pressed, keys are typed.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "construction/construction.h"
#include "engine/engine.h"
#include "support/test_level.h"

namespace vallorn::test {

class ToolWorld : public ::testing::Test {
protected:
    void SetUp() override {
        const TSKILevelLoadResult r = f.WriteAndLoad(Level());
        ASSERT_TRUE(r.ok()) << r.error;
        f->Park.ParkCash = 10000000;
        tool.CursorSnap = false;
        f->OnBuilt = [this](int kind, uint8_t type) { built.emplace_back(kind, type); };
    }
    virtual TestLevel Level() const { return TestLevel{}; }

    // Points the mouse at the cell and runs one frame of the tools.
    const std::string& Hover(int i, int j, float dt = 1.0f / 30) {
        con.SetCursorTarget(f->CellToWorld(i, j, true));
        con.UpdateTools(dt);
        return tool.ToolText;
    }
    void Click(int i, int j) {
        Hover(i, j);
        con.ToolClick();
    }
    // A row of the level's LevelBasicBlocked text: '0' everywhere but `mark` on [j0, j1].
    static std::string Row(int j0, int j1, char mark) {
        std::string row(512, '0');
        for (int j = j0; j <= j1; ++j) row[size_t(j)] = mark;
        return row;
    }
    TSKISection& Lift(int lowerI, int lowerJ, int upperI, int upperJ, uint8_t type = 3) {
        TSKILiftRecord record;
        record.LiftType = type;
        TSKISection* s = f->CreateLift(lowerI, lowerJ, upperI, upperJ, record);
        EXPECT_NE(s, nullptr);
        f->RebuildNavigation();
        return *s;
    }
    TSKIBuildingRecord At(uint8_t type, int i, int j) const {
        TSKIBuildingRecord r;
        r.Type = type;
        r.Position = f->CellToWorld(i, j, true);
        return r;
    }
    int32_t Cash() const { return f->Park.ParkCash; }

    mutable LevelFixture f;
    TSKIToolState tool;
    TSKIConstruction con{*f, tool};
    std::vector<std::pair<int, uint8_t>> built;  // what the objectives were told
};

}  // namespace vallorn::test
