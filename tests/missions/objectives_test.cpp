// Objectives met and broken by type, completed with their unlocks and rewards, failed on
// time, reopened, announced; the mission check.
#include "base/ini_file.h"
#include "engine/clock.h"
#include "missions/objective_texts.h"
#include "missions_fixture.h"

namespace vallorn::test {
namespace {

using Objectives = MissionsFixture;

TEST_F(Objectives, ParkValueTypesAreMetAtTheirTargetAndBrokenJustBelow) {
    struct Case {
        uint8_t type;
        float TSKIParkData::*field;
    };
    const Case cases[] = {
        {1, &TSKIParkData::ParkRating},        {5, &TSKIParkData::ParkSlopeLength},
        {6, &TSKIParkData::ParkSnowQuality},   {11, &TSKIParkData::ParkLiftScore},
        {12, &TSKIParkData::ParkBuildScore},   {14, &TSKIParkData::ParkRatingPercent},
        {15, &TSKIParkData::ParkAvgHappiness}, {16, &TSKIParkData::ParkAvgCold},
        {17, &TSKIParkData::ParkAvgHunger},    {18, &TSKIParkData::ParkAvgEnergy}};
    TSKIObjective o;
    o.Value = 50;
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.type));
        o.Type = c.type;
        e->Park.*c.field = 50.0f;
        EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
        EXPECT_FALSE(ObjectiveBroken(*e, o));
        e->Park.*c.field = 49.9f;
        EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
        EXPECT_TRUE(ObjectiveBroken(*e, o));
        e->Park.*c.field = 0;
    }

    // Cash: met only without a loan; broken by cash alone.
    o.Type = 0;
    e->Park.ParkCash = 50;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    e->Park.ParkLoan = 1;
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    EXPECT_FALSE(ObjectiveBroken(*e, o));
    e->Park.ParkCash = 49;
    EXPECT_TRUE(ObjectiveBroken(*e, o));

    // Trees cut down: met up to the value, broken beyond it.
    o.Type = 4;
    e->Park.ParkTreesFelled = 50;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    EXPECT_FALSE(ObjectiveBroken(*e, o));
    e->Park.ParkTreesFelled = 51;
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    EXPECT_TRUE(ObjectiveBroken(*e, o));

    // Skiers in the park.
    o.Type = 2;
    o.Value = 2;
    e->Skiers.push_back(std::make_unique<TSKISkier>(*e, TSKISkierRecord{}));
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    EXPECT_TRUE(ObjectiveBroken(*e, o));
    e->Skiers.push_back(std::make_unique<TSKISkier>(*e, TSKISkierRecord{}));
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    EXPECT_FALSE(ObjectiveBroken(*e, o));

    // Only the value types reopen.
    for (uint8_t type : {3, 7, 8, 9, 10, 13, 19, 20}) {
        o.Type = type;
        o.Value = 1000000;
        EXPECT_FALSE(ObjectiveBroken(*e, o)) << int(type);
    }
}

TEST_F(Objectives, PlaceTypesLookNearTheirCell) {
    e->Grid.assign(size_t(kGridSide) * kGridSide, TerrainCell{});
    TSKIObjective o;
    // 3: a skier within five cells in both directions, the grid's edges included.
    o.Type = 3;
    o.GridX = 100, o.GridY = 200;
    e->Cell(105, 195).Crowd = 2;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    e->Cell(105, 195).Crowd = 1;
    e->Cell(106, 200).Crowd = 2;
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    o.GridX = o.GridY = kGridSize;
    e->Cell(kGridSize, kGridSize - 5).Crowd = 2;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    // A place as far off as a file can hold is near no cell (the square around it once
    // overflowed).
    for (const int32_t far : {INT32_MAX, INT32_MIN, INT32_MAX - 3}) {
        o.GridX = far, o.GridY = kGridSize;
        EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1)) << far;
        o.GridX = kGridSize, o.GridY = far;
        EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1)) << far;
    }

    // 10: the camera's focus point closer than V to the cell's world point.
    o.Type = 10;
    o.Value = 10;
    o.GridX = 10, o.GridY = 20;
    const TSKIVector cell = e->CellToWorld(10, 20, false);
    e->Viewpoint.FocusX = cell.x + 9.9f, e->Viewpoint.FocusZ = cell.z;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    e->Viewpoint.FocusX = cell.x, e->Viewpoint.FocusZ = cell.z + 10.0f;
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));

    // 13: only on the record event, for the race's own slope; an empty cell is no slope.
    o.Type = 13;
    o.GridX = 30, o.GridY = 40;
    EXPECT_FALSE(ObjectiveMet(*e, o, -2, -1));  // no section there, no race: -1 == -1
    e->Cell(30, 40).Section = 0;
    e->RaceSlope = 0;
    EXPECT_TRUE(ObjectiveMet(*e, o, -2, -1));
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    e->RaceSlope = 1;
    EXPECT_FALSE(ObjectiveMet(*e, o, -2, -1));

    // 19: a slope long enough with a skier near its first point.
    auto slope = std::make_unique<TSKISection>(*e);
    const TSKIVector start = e->CellToWorld(300, 300, false);
    slope->Points = {start, start + TSKIVector(0, 0, 100, 0)};  // 500 metres
    e->Sections.push_back(std::move(slope));
    o.Type = 19;
    o.Value = 500;
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    e->Cell(304, 296).Crowd = 2;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    o.Value = 501;
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
}

TEST_F(Objectives, BuildTypesAreMetOnlyOnTheirEvent) {
    e.AddBuilding(kBuildHospital, {0, 0, 0, 1});
    e.AddLift({{0, 0, 0, 1}, {0, 0, 100, 1}}, kLiftQuadChair);  // 500 metres
    TSKIObjective o;
    o.Type = 7;
    o.Value = kBuildHospital;
    EXPECT_TRUE(ObjectiveMet(*e, o, kBuildHospital, -1));
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    EXPECT_FALSE(ObjectiveMet(*e, o, kBuildKiosk, -1));
    o.Value = kBuildKiosk;  // built, the event says, but there is none
    EXPECT_FALSE(ObjectiveMet(*e, o, kBuildKiosk, -1));
    o.Type = 8;
    o.Value = kLiftQuadChair;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, kLiftQuadChair));
    EXPECT_FALSE(ObjectiveMet(*e, o, kLiftQuadChair, -1));
    o.Type = 20;
    o.Value = 500;
    EXPECT_TRUE(ObjectiveMet(*e, o, -1, -1));
    o.Value = 501;
    EXPECT_FALSE(ObjectiveMet(*e, o, -1, -1));
    o.Type = 9;
    EXPECT_FALSE(ObjectiveMet(*e, o, -2, 0));

    // Construction's report reaches the evaluation.
    Add(7, kBuildHospital);
    Evaluate();
    EXPECT_FALSE(At(0).Completed);
    e->OnBuilt(kBuiltBuilding, kBuildHospital);
    EXPECT_TRUE(At(0).Completed);
}

TEST_F(Objectives, TimeLimitsCompleteWaitsAndFailTheRest) {
    auto limit = [](TSKIObjective& o) { o.TimeStarted = 5, o.TimeGoal = 10; };
    limit(Add(9, 0, "Wait"));
    Add(9, 0, "Forever");
    limit(Add(0, 1000000000, "Rich"));
    limit(Add(0, 0, "Met on the last tick"));
    e->Park.ParkTime = 15;
    At(3).Active = false;
    Evaluate();
    EXPECT_FALSE(At(0).Completed || At(2).Completed);
    EXPECT_TRUE(At(2).Active);

    e->Park.ParkTime = 16;
    At(3).Active = true;
    windows.Refreshes = 0;
    Evaluate();
    EXPECT_TRUE(At(0).Completed);
    EXPECT_FALSE(At(1).Completed);
    EXPECT_FALSE(At(2).Active || At(2).Completed);
    EXPECT_TRUE(At(3).Completed);
    // The failure waits for OK and the window is rebuilt; a wait completes without a note.
    ASSERT_EQ(windows.Notes.size(), 2u);
    EXPECT_EQ(windows.Notes[0].Objective.Name, "Rich");
    EXPECT_FALSE(windows.Notes[0].Completed);
    EXPECT_TRUE(windows.Notes[0].Wait);
    EXPECT_EQ(windows.Notes[1].Objective.Name, "Met on the last tick");
    EXPECT_TRUE(windows.Notes[1].Completed);
    EXPECT_FALSE(windows.Notes[1].Wait);
    EXPECT_GE(windows.Refreshes, 3);

    e->Park.ParkTime = 1000000;
    Evaluate();
    EXPECT_FALSE(At(1).Completed);
}

TEST_F(Objectives, AReversibleGoalReopensAndPaysAgain) {
    TSKIObjective& cash = Add(0, 60000);
    cash.Reversible = true;
    cash.Reward = 1;
    cash.RewardValue = 500;
    Add(0, 60000, "Once").Reward = 1;
    At(1).RewardValue = 1;
    TSKIObjective& trees = Add(4, 3, "Trees");
    trees.Reversible = true;
    trees.Primary = false;
    e->Park.ParkCash = 60000;
    e->Park.ParkTreesFelled = 3;
    Evaluate();
    EXPECT_TRUE(At(0).Completed && At(1).Completed && At(2).Completed);
    EXPECT_EQ(e->Park.ParkCash, 60501);
    ASSERT_EQ(windows.Notes.size(), 1u);  // only the one that is not reversible
    EXPECT_EQ(windows.Notes[0].Objective.Name, "Once");

    e->Park.ParkCash = 59999;
    e->Park.ParkTreesFelled = 4;
    Evaluate();
    EXPECT_TRUE(At(0).Active && !At(0).Completed);
    EXPECT_TRUE(At(1).Completed);
    EXPECT_TRUE(At(2).Active && !At(2).Completed);

    e->Park.ParkCash = 60000;
    Evaluate();
    EXPECT_TRUE(At(0).Completed);
    EXPECT_EQ(e->Park.ParkCash, 60500);
    EXPECT_EQ(e->Park.ParkRewards, 1001);
}

TEST_F(Objectives, UnlocksFindObjectivesAndMissionsByName) {
    profile.Name = "Ann";
    profile.Missions = {{"a.ski", "First", kMissionCompleted, 0, 0},
                        {"b.ski", "Second", kMissionLocked, 0, 0}};
    TSKIObjective& key = Add(0, 0, "Key");
    key.UnlocksObjectives = {"Twin", "", "Nobody"};
    key.UnlocksMissions = {"", "Second", "No such mission"};
    for (const char* name : {"Twin", "Other", "Twin", "Twin"}) Add(1, 1000000, name).Active = false;
    At(4).Completed = true;
    At(4).TimeStarted = 3;
    e->Park.ParkTime = 77;
    Evaluate();

    EXPECT_TRUE(At(1).Active && At(3).Active);
    EXPECT_EQ(At(1).TimeStarted, 77);
    EXPECT_EQ(At(3).TimeStarted, 77);
    EXPECT_FALSE(At(2).Active);
    EXPECT_FALSE(At(4).Active);
    EXPECT_EQ(At(4).TimeStarted, 3);
    EXPECT_EQ(e->NewObjectives, (std::vector<std::string>{"Key", "Twin", "Twin"}));
    EXPECT_EQ(profile.Missions[1].State, kMissionUnlocked);
    EXPECT_EQ(ProfileOnDisk().Missions[1].State, kMissionUnlocked);
}

TEST_F(Objectives, EveryProfileRewardFollowsItsRule) {
    profile.Name = "Ann";
    struct Case {
        uint8_t reward;
        int32_t value;
        std::function<void(TSKIProfileTerms&)> expect;  // from a new player's terms
    };
    const Case cases[] = {
        {2, 5, [](auto& t) { t.Friends = 5, t.FriendsEnabled = true; }},
        {2, -1, [](auto&) {}},
        {3, kLiftCableCar, [](auto& t) { t.UnlockedLifts[kLiftCableCar] = true; }},
        {3, 99, [](auto&) {}},
        {4, kBuildParking, [](auto& t) { t.UnlockedBuildings[kBuildParking] = true; }},
        {5, 0, [](auto& t) { t.LoanInterest = 0; }},
        {5, 2, [](auto&) {}},
        {6, 50000, [](auto& t) { t.LoanLimit = 50000; }},
        {6, 1000, [](auto&) {}},
        {7, 1000, [](auto& t) { t.MarketingPriceCheap = 1000; }},
        {7, 2000, [](auto&) {}},
        {8, 2000, [](auto& t) { t.MarketingPriceNormal = 2000; }},
        {9, 5000, [](auto& t) { t.MarketingPriceVIP = 5000; }},
        {10, 9000, [](auto&) {}},
        {10, 900, [](auto& t) { t.PRCampPrice = 900; }},
    };
    // Terms compared as the profile compares them.
    auto same = [this](const TSKIProfileTerms& a, const TSKIProfileTerms& b) {
        TSKIProfile x = profile, y = profile;
        x.Terms = a, y.Terms = b;
        return x == y;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.reward) + " of " + std::to_string(c.value));
        profile.Terms = TSKIProfileTerms::NewPlayer();
        e->Objectives.clear();
        TSKIObjective& o = Add(0, 0);
        o.Reward = c.reward;
        o.RewardValue = c.value;
        Evaluate();
        TSKIProfileTerms want = TSKIProfileTerms::NewPlayer();
        c.expect(want);
        EXPECT_TRUE(same(profile.Terms, want));
        EXPECT_TRUE(same(e->Profile, want));  // what the economy reads follows
        EXPECT_TRUE(same(ProfileOnDisk().Terms, want));
    }
    // An unset price takes the reward, however high.
    profile.Terms.MarketingPriceCheap = 0;
    e->Objectives.clear();
    Add(0, 0).Reward = 7;
    At(0).RewardValue = 2000;
    Evaluate();
    EXPECT_EQ(ProfileOnDisk().Terms.MarketingPriceCheap, 2000);
    // Popularity goes to the park.
    e->Objectives.clear();
    Add(0, 0).Reward = 11;
    At(0).RewardValue = 7;
    Evaluate();
    EXPECT_FLOAT_EQ(e->Park.ParkPopularity, 7.0f);
}

TEST_F(Objectives, EachObjectiveIsAnnouncedOncePerGame) {
    Add(0, 1000000000, "A");
    Add(9, 0, "Wait").TimeGoal = 100;
    Add(1, 1000000, "B").Help = "GIFbuild";
    Add(1, 1000000, "Hidden").Active = false;
    Add(1, 1000000, "Old").Completed = true;
    windows.noteOpen = true;
    Evaluate();
    EXPECT_TRUE(e->NewObjectives.empty());

    windows.noteOpen = false;
    Evaluate();
    Evaluate();
    const std::vector<std::string> ab{"A", "B"};
    EXPECT_EQ(e->NewObjectives, ab);
    missions->ShowNewObjectives();
    EXPECT_EQ(windows.Announced, ab);
    EXPECT_EQ(windows.HelpTopics, std::vector<std::string>{"GIFbuild"});
    EXPECT_TRUE(e->NewObjectives.empty());
    Evaluate();
    EXPECT_TRUE(e->NewObjectives.empty());

    // A saved game read back announces the objectives still open.
    At(0).Completed = true;
    TIniFile file;
    WriteObjectives(file, e->Objectives);
    std::string error;
    ASSERT_TRUE(ReadObjectives(file, e->Objectives, &error)) << error;
    Evaluate();
    EXPECT_EQ(e->NewObjectives, std::vector<std::string>{"B"});

    // The periodic update shows on the next tick what its evaluation found.
    missions->ShowNewObjectives();
    windows.Announced.clear();
    Add(1, 1000000, "C");
    PeriodicTick(*e);
    EXPECT_TRUE(windows.Announced.empty());
    EXPECT_EQ(e->NewObjectives, std::vector<std::string>{"C"});
    PeriodicTick(*e);
    EXPECT_EQ(windows.Announced, std::vector<std::string>{"C"});
}

TEST_F(Objectives, TheMissionIsAccomplishedOnceNoPrimaryIsOpen) {
    Add(1, 1000000, "Side").Primary = false;
    e->Park.ParkMissionIndex = kMissionAddon;
    windows.accomplishedOpen = true;
    Evaluate();
    EXPECT_TRUE(windows.Accomplished.empty());
    windows.accomplishedOpen = false;
    Evaluate();
    Evaluate();
    EXPECT_EQ(windows.Accomplished.size(), 1u);
    EXPECT_TRUE(e->Park.AccomplishedShown);

    // A new game with a primary objective open.
    e->Park.AccomplishedShown = 0;
    Add(1, 1000000, "Main");
    Evaluate();
    EXPECT_EQ(windows.Accomplished.size(), 1u);
    e->Park.ParkRating = 1000000;
    Evaluate();
    EXPECT_EQ(windows.Accomplished.size(), 2u);
}

}  // namespace
}  // namespace vallorn::test
