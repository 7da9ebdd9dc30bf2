// Action scripts through the vallorn-sim binary: bad scripts stop before the run, failed
// expectations and stopped runs exit 1 with the line, and the shipped example scripts build a
// small resort from an empty level that skiers use for a game day.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>

#include "engine/engine.h"
#include "persistence/saved_game.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

struct SimRun {
    int status = -1;
    std::string out, err, report;
};

SimRun Sim(const std::string& args, const test::TempDir& dir) {
    const fs::path err = dir / "err.txt", report = dir / "r.json";
    fs::remove(report);
    const std::string cmd = std::string(VALLORN_SIM) + " run --root " + test::BuildRoot().string() +
                            " --report " + report.string() + " " + args + " 2>" + err.string();
    SimRun r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = test::ReadText(err);
    if (fs::exists(report)) r.report = test::ReadText(report);
    return r;
}

SimRun Script(const std::string& text, const test::TempDir& dir, const std::string& more = {}) {
    test::WriteText(dir / "s.actions", text);
    return Sim("--level Training --ticks 5 --actions " + (dir / "s.actions").string() + more, dir);
}

// The number after "Key": in the JSON text, from the first occurrence at or after `from`.
long long JsonInt(const std::string& json, const std::string& key, size_t from = 0) {
    const auto at = json.find("\"" + key + "\": ", from);
    if (at == std::string::npos) return -1;
    return std::stoll(json.substr(at + key.size() + 4));
}

double JsonReal(const std::string& json, const std::string& key) {
    const auto at = json.find("\"" + key + "\": ");
    return at == std::string::npos ? -1 : std::stod(json.substr(at + key.size() + 4));
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ActionScripts, ABadScriptNamesEachBadLineAndDoesNotRun) {
    test::TempDir dir;
    const SimRun r = Script("cell 10 10\nclick twice\nwait 3\nbuild-lift 1 2 3 4 gondola\n", dir);
    EXPECT_EQ(r.status, 2);
    const std::string file = (dir / "s.actions").string();
    EXPECT_TRUE(Has(r.err, file + ":2: click takes nothing (1 given)")) << r.err;
    EXPECT_TRUE(Has(r.err, file + ":4: build-lift: unknown lift type 'gondola'")) << r.err;
    EXPECT_FALSE(Has(r.err, ":3:"));
    EXPECT_TRUE(r.report.empty());  // nothing ran, nothing was written
}

TEST(ActionScripts, AMissingScriptIsAnInputError) {
    test::TempDir dir;
    const SimRun r = Sim("--level Training --actions " + (dir / "none.actions").string(), dir);
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(Has(r.err, "cannot read the action script")) << r.err;
}

TEST(ActionScripts, FailedExpectationsExitOneWithTheirLinesAndTheReportSaysWhy) {
    test::TempDir dir;
    const SimRun r = Script("expect cash 50000\nexpect cash < 100\nexpect lifts 1\n", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "s.actions:2: expectation failed: expect cash < 100 (cash is 50000)"))
        << r.err;
    EXPECT_TRUE(Has(r.err, "s.actions:3: expectation failed")) << r.err;
    EXPECT_EQ(JsonInt(r.report, "ExpectsPassed"), 1);
    EXPECT_EQ(JsonInt(r.report, "ExpectsFailed"), 2);
    EXPECT_TRUE(Has(r.report, "\"Passed\": false"));
    EXPECT_EQ(JsonInt(r.report, "Line", r.report.find("ExpectFailures")), 2);
}

TEST(ActionScripts, AFailingActionIsReportedWithItsLineAndExpectOkStopsTheRun) {
    test::TempDir dir;
    // Without expect-ok the run goes on and passes; the refusal is in the report.
    SimRun r = Script("loan repay 5000\nexpect refused \"The loan is only 0,-\"\n", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    const size_t errors = r.report.find("ActionErrors");
    EXPECT_EQ(JsonInt(r.report, "Line", errors), 1);
    EXPECT_TRUE(Has(r.report, "\"Detail\": \"The loan is only 0,-\""));

    r = Script("expect-ok on\nloan take 5000\nbuild-lift 0 0 0 1 platter\nloan take 5000\n", dir,
               " --save " + (dir / "out.ski").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "s.actions:3: stopped: build-lift 0 0 0 1 platter was Refused"))
        << r.err;
    EXPECT_EQ(JsonInt(r.report, "StoppedAt"), 3);
    EXPECT_EQ(JsonInt(r.report, "ParkLoan"), 5000);  // line 4 never ran
    EXPECT_EQ(JsonInt(r.report, "TicksRun"), 0);     // nor did the rest of the run
}

TEST(ActionScripts, WaitsAdvanceTheGameAndTheRunLastsAsLongAsTheScript) {
    test::TempDir dir;
    const SimRun r = Script("wait 10\nexpect ticks 10\nwait 1 hours\nexpect ticks 96\n", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(JsonInt(r.report, "TicksRun"), 96);  // longer than --ticks 5
}

TEST(ActionScripts, ANewDayLeavesTheToolInHand) {
    test::TempDir dir;
    const SimRun r = Script(
        "cell 106 256\nmenu \"Services/Parking\"\nexpect tool 11\nwait 600\nexpect tool 0\n", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(JsonInt(r.report, "ExpectsPassed"), 2);
}

// The example scripts of tests/scripts: each builds a resort from an empty level, checks its
// own expectations and runs a game day in which skiers ride its lift.
class ExampleScript : public ::testing::TestWithParam<const char*> {};

TEST_P(ExampleScript, BuildsAResortThatSkiersUseForADay) {
    const std::string name = GetParam();
    const std::string level = name.rfind("mountain", 0) == 0 ? "Mountain" : "Training";
    const fs::path script = fs::path(VALLORN_SOURCE_ROOT) / "tests/scripts" / (name + ".actions");
    test::TempDir dir;
    const SimRun first = Sim("--level " + level + " --seed 4 --actions " + script.string(), dir);
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string& json = first.report;
    EXPECT_TRUE(Has(json, "\"Passed\": true"));
    EXPECT_EQ(JsonInt(json, "ExpectsFailed"), 0);
    EXPECT_GT(JsonInt(json, "ExpectsPassed"), 10);
    EXPECT_EQ(JsonInt(json, "DayChanges"), 1);
    const size_t lifts = json.find("\"Lifts\"");
    EXPECT_GT(JsonInt(json, "CustomersServed", lifts), 30);  // skiers rode the lift
    EXPECT_GT(JsonInt(json, "TotalIncome", lifts), 0);
    EXPECT_LT(JsonInt(json, "ParkCash"), 50000);        // building cost more than one day earned
    EXPECT_GT(JsonReal(json, "ParkSlopeLength"), 0.1);  // kilometres of slope

    // The same script, seed and frame time give the same park.
    const SimRun again = Sim("--level " + level + " --seed 4 --actions " + script.string(), dir);
    const auto hash = [](const std::string& j) { return j.substr(j.find("\"StateHash\"")); };
    EXPECT_EQ(hash(again.report).substr(0, 40), hash(json).substr(0, 40));
}

INSTANTIATE_TEST_SUITE_P(Scripts, ExampleScript,
                         ::testing::Values("training_direct", "training_menu", "mountain_economy"));

// A downhill race skied through held keys sets the slope's record, and the saved game keeps it.
TEST(ActionScripts, ARaceWithHeldKeysSetsARecordThatTheSavedGameKeeps) {
    const fs::path script =
        fs::path(VALLORN_SOURCE_ROOT) / "tests/scripts/starter_downhill_race.actions";
    test::TempDir dir;
    const fs::path saved = dir / "raced.ski";
    const SimRun run =
        Sim("--game " + (test::BuildRoot() / "worlds/Starter.ski").string() +
                " --ticks 1 --actions " + script.string() + " --save " + saved.string(),
            dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(JsonInt(run.report, "ExpectsFailed"), 0);
    TSKIEngine e({test::BuildRoot(), 3, nullptr});
    ASSERT_TRUE(LoadGameFile(e, saved)) << e.LoadError;
    ASSERT_EQ(e.Sections.size(), 5u);
    for (size_t k = 0; k < e.Sections.size(); ++k) {
        if (!e.Sections[k]->IsSlope()) continue;
        EXPECT_EQ(e.Sections[k]->InvestedMoney, k == 1 ? 4 : 0) << k;
    }
}

}  // namespace
}  // namespace vallorn
