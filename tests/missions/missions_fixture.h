// An engine with no level, a profile and the missions bound to them, the windows recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "missions/missions.h"
#include "support/engine_fixture.h"

namespace vallorn::test {

// The recording windows, with the note and the accomplished window held open on demand.
class HeldWindows : public TRecordedMissionWindows {
public:
    bool NoteShowing() const override { return noteOpen; }
    bool AccomplishedShowing() const override { return accomplishedOpen; }
    bool noteOpen = false;
    bool accomplishedOpen = false;
};

class MissionsFixture : public ::testing::Test {
protected:
    MissionsFixture() { missions = std::make_unique<TSKIMissions>(*e, profile, &windows); }

    // An objective appended to the engine's list, active and primary.
    TSKIObjective& Add(uint8_t type, int32_t value, const std::string& name = "Goal") {
        TSKIObjective o;
        o.Type = type;
        o.Value = value;
        o.Name = name;
        o.Active = true;
        e->Objectives.push_back(o);
        return e->Objectives.back();
    }
    TSKIObjective& At(size_t i) { return e->Objectives[i]; }
    void Evaluate(int building = -1, int lift = -1) {
        missions->EvaluateObjectives(building, lift);
    }
    // The profile as its file holds it now.
    TSKIProfile ProfileOnDisk() {
        TSKIProfile back;
        back.Name = profile.Name;
        std::string error;
        EXPECT_TRUE(ReadProfile(back, e->Folders.Save, &error)) << error;
        return back;
    }

    EngineFixture e;
    TSKIProfile profile;
    HeldWindows windows;
    std::unique_ptr<TSKIMissions> missions;
};

}  // namespace vallorn::test
