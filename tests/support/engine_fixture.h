// An engine in a fresh program folder, with the shipped parameter files, its clock running
// and no level loaded. Its terrain mesh cache is the one the test processes share.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/engine.h"
#include "support/test_support.h"

namespace vallorn::test {

// Records what the engine shows; answers questions with a scripted answer.
class FakeDialogs : public IDialogs {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInformation(const std::string& text) override { infos.push_back(text); }
    bool AskYesNo(const std::string& text, bool) override {
        questions.push_back(text);
        return answer;
    }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string& initial) override {
        return initial;
    }
    void ShowDayReport(const TSKIParkData& start, const TSKIParkData& end, int happy) override {
        reports.push_back({start, end, happy});
    }
    struct Report {
        TSKIParkData start, end;
        int happy;
    };
    std::vector<std::string> errors, infos, questions;
    std::vector<Report> reports;
    bool answer = true;
};

// Success when the invariant checker finds nothing; else one line per problem:
// `EXPECT_TRUE(ParkConsistent(*e));` after anything that removes entities.
::testing::AssertionResult ParkConsistent(const TSKIEngine& engine);

class EngineFixture {
public:
    explicit EngineFixture(uint64_t seed = 7) {
        MakeProgramFolder(dir.Path());
        engine = std::make_unique<TSKIEngine>(TSKIEngineSetup{dir.Path(), seed, &dialogs});
        engine->Folders.Cache = SharedMeshCache();
        engine->Running = true;
    }
    TSKIEngine& operator*() { return *engine; }
    TSKIEngine* operator->() { return engine.get(); }

    // A building of the given type placed at a world point, open.
    TSKIBuilding& AddBuilding(uint8_t type, TSKIVector position, bool open = true);
    // A lift whose line runs through the given points.
    TSKISection& AddLift(std::vector<TSKIVector> points, uint8_t type = kLiftQuadChair);

    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TSKIEngine> engine;
};

}  // namespace vallorn::test
