#include "support/engine_fixture.h"

#include "engine/invariants.h"

namespace vallorn::test {

::testing::AssertionResult ParkConsistent(const TSKIEngine& engine) {
    const std::vector<std::string> problems = CheckInvariants(engine);
    if (problems.empty()) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "the park is inconsistent:";
    for (const std::string& line : problems) failure << "\n  " << line;
    return failure;
}

TSKIBuilding& EngineFixture::AddBuilding(uint8_t type, TSKIVector position, bool open) {
    auto b = std::make_unique<TSKIBuilding>(*engine);
    b->Type = type;
    b->Position = position;
    b->Open = open;
    engine->Buildings.push_back(std::move(b));
    return *engine->Buildings.back();
}

TSKISection& EngineFixture::AddLift(std::vector<TSKIVector> points, uint8_t type) {
    auto s = std::make_unique<TSKISection>(*engine);
    s->Kind = kSectionLift;
    s->LiftType = type;
    s->Points = std::move(points);
    engine->Sections.push_back(std::move(s));
    return *engine->Sections.back();
}

}  // namespace vallorn::test
