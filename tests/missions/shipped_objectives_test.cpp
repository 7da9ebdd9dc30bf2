// The objectives the game ships: every card a player can see, in the campaign, on the sandbox
// maps, in the star files and among the goals a sandbox game draws, opens a hint page that
// speaks of it, and a goal tied to a cell of the map carries that cell for the "Goto" button;
// the campaign's rewards leave a loan a cost, and the final mission is not won on a sunken
// rating.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/ini_file.h"
#include "base/objectives_record.h"
#include "engine/economy.h"
#include "missions/mission_windows.h"
#include "missions/missions.h"
#include "missions/objective_types.h"
#include "support/engine_fixture.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

// Goals whose test reads their cell: skiers at a place, a place to find, a slope's record.
bool ShippedGoalIsAtAPlace(uint8_t type) {
    return type == kObjectiveReachLocation || type == kObjectiveFind ||
           type == kObjectiveRaceRecord;
}

// Empty when the objective's hint is in order, else what is wrong with it.
std::string ShippedHintProblem(const TSKIObjective& o) {
    if (o.Help.empty()) return "no help page";
    const fs::path page = test::SourceRoot() / "assets" / "help" / (o.Help + ".html");
    if (!fs::is_regular_file(page)) return "help page " + page.string() + " is missing";
    if (test::ReadText(page).find("<h2>" + o.Name + "</h2>") == std::string::npos)
        return "help page " + o.Help + " has no section for it";
    return {};
}

// The objectives of every shipped file of `folder` (campaign, sandbox or worlds) that has any,
// by file name.
std::map<std::string, std::vector<TSKIObjective>> ShippedObjectivesIn(const char* folder) {
    std::map<std::string, std::vector<TSKIObjective>> files;
    for (const auto& entry : fs::directory_iterator(test::SourceRoot() / "assets" / folder)) {
        if (entry.path().extension() != ".ini") continue;
        const TIniFile file(entry.path());
        if (!file.SectionExists("SKIObjectives")) continue;
        std::string error;
        EXPECT_TRUE(ReadObjectives(file, files[entry.path().filename()], &error))
            << entry.path() << error;
    }
    return files;
}

TEST(ShippedObjectives, EveryCardHasItsHintAndEveryPlaceGoalItsGotoCell) {
    int walked = 0, files = 0;
    for (const char* folder : {"campaign", "sandbox", "worlds"}) {
        for (const auto& [name, objectives] : ShippedObjectivesIn(folder)) {
            ++files;
            for (const TSKIObjective& o : objectives) {
                if (o.Type == kObjectiveWait) continue;  // a wait has no card
                SCOPED_TRACE(name + ": " + o.Name);
                ++walked;
                EXPECT_EQ(ShippedHintProblem(o), "");
                const bool hasGoto = o.GridX != 0 || o.GridY != 0;
                EXPECT_TRUE(hasGoto || !ShippedGoalIsAtAPlace(o.Type));
                EXPECT_TRUE(o.GridX >= 0 && o.GridX < kGridSize && o.GridY >= 0 &&
                            o.GridY < kGridSize);
            }
        }
    }
    // 15 missions, the bonus map and five star files.
    EXPECT_EQ(files, 21);
    EXPECT_GE(walked, 80);

    // The goals a sandbox game draws, of every kind and difficulty.
    test::EngineFixture f;
    TSKIProfile profile;
    profile.Terms.UnlockedBuildings.fill(true);
    profile.Terms.UnlockedLifts.fill(true);
    TSKIMissions missions(*f, profile);
    std::set<std::string> drawn;
    for (int d = 1; d <= kMaxSandboxDiff; ++d) {
        for (uint64_t seed = 1; seed <= 100; ++seed) {
            f->Rng.Seed(seed);
            f->Objectives.clear();
            missions.DrawSandboxObjectives(d);
            for (const TSKIObjective& o : f->Objectives) {
                if (o.Type == kObjectiveWait || !drawn.insert(o.Name).second) continue;
                EXPECT_EQ(ShippedHintProblem(o), "") << "drawn goal " << o.Name;
            }
        }
    }
    // Seven kinds keep their title; the building goals have four and the lift goals five.
    EXPECT_EQ(drawn.size(), 7u + 4u + 5u);
}

// A new player who wins every reward of the campaign, in any order, still pays interest on a
// loan taken to the limit the bank then allows.
TEST(ShippedObjectives, TheCampaignsRewardsLeaveALoanACost) {
    test::EngineFixture f;
    f->Profile = TSKIProfileTerms::NewPlayer();
    int bankRewards = 0;
    for (const auto& [name, objectives] : ShippedObjectivesIn("campaign")) {
        for (const TSKIObjective& o : objectives) {
            const TSKIRewardKind& kind = RewardKind(o.Reward);
            if (!kind.Give) continue;
            bankRewards += o.Reward == kRewardLowerInterest || o.Reward == kRewardHigherLoanLimit;
            kind.Give(f->Park, f->Profile, BoundedRewardValue(o.Reward, o.RewardValue));
        }
    }
    EXPECT_GT(bankRewards, 0);
    EXPECT_GT(f->Profile.LoanLimit, TSKIProfileTerms::NewPlayer().LoanLimit);
    f->Park.ParkLoan = f->Profile.LoanLimit;
    EXPECT_GT(DailyLoanInterest(*f), 0) << "a loan of " << f->Profile.LoanLimit << " is free";
}

// With every other goal of the final mission met, the mission waits for a healthy rating: a
// resort whose skiers walk away by the hundred does not win it.
TEST(ShippedObjectives, TheFinalMissionIsWonOnlyWithAHealthyRating) {
    test::EngineFixture f;
    TSKIProfile profile;
    TRecordedMissionWindows windows;
    TSKIMissions missions(*f, profile, &windows);
    f->Objectives = ShippedObjectivesIn("campaign").at("Mission15.ini");
    for (TSKIObjective& o : f->Objectives) {
        o.Completed = o.Type != kObjectiveMoney;  // all but the fortune, which comes last
        o.Active = !o.Completed;
    }
    TSKIParkData& park = f->Park;
    park.ParkMissionIndex = kMissionAddon;  // records nothing in the profile
    park.ParkCash = 300000;
    park.ParkLoan = 0;
    park.ParkTreesFelled = 0;
    park.ParkRatingPercent = -106;
    missions.EvaluateObjectives(-1, -1);
    EXPECT_FALSE(park.AccomplishedShown);
    park.ParkRatingPercent = 60;
    missions.EvaluateObjectives(-1, -1);
    EXPECT_TRUE(park.AccomplishedShown);
}

}  // namespace
}  // namespace vallorn
