// The texts of objectives: one line of each shape.
#include "missions/objective_texts.h"
#include "support/engine_fixture.h"

namespace vallorn::test {
namespace {

TSKIObjective Goal(uint8_t type, int32_t value, bool completed = false) {
    TSKIObjective o;
    o.Type = type;
    o.Value = value;
    o.Completed = completed;
    return o;
}

TEST(ObjectiveTexts, TheCardValueShowsWhatIsLeft) {
    EngineFixture e;
    TSKIParkData& p = e->Park;
    p.ParkCash = 40000;
    p.ParkRating = 40.5f;
    p.ParkTreesFelled = 3;
    p.ParkSlopeLength = 1.25f;
    p.ParkLiftScore = 12.5f;
    p.ParkAvgHappiness = 70.2f;
    const std::pair<TSKIObjective, const char*> cases[] = {
        {Goal(0, 50000), "50.000,- (10.000,- left)"},
        {Goal(0, 50000, true), "50.000,-"},
        {Goal(1, 100), "100 (60 left)"},
        {Goal(4, 10), "10 trees (7 trees left)"},
        {Goal(5, 3), "3 km (1.75 km left)"},
        {Goal(11, 20), "20 points (7.50 points left)"},
        {Goal(15, 80), "80% (10% left)"},
        {Goal(15, 60), "60% (0% left)"},
        {Goal(19, 1500), "1500 meters."},
        {Goal(8, kLiftQuadChair), "Quad chairlift"},
        {Goal(3, 0), ""},
    };
    for (const auto& [o, text] : cases) EXPECT_EQ(ObjectiveCardValue(*e, o), text) << int(o.Type);
    p.ParkLoan = 1;
    EXPECT_EQ(ObjectiveCardValue(*e, Goal(0, 50000)), "50.000,- There must be no bank loan!");
    EXPECT_EQ(ObjectiveCardCaption(Goal(14, 0)), "Achieve rating percentage:");
}

TEST(ObjectiveTexts, TaskRewardAndNoteLinesKeepTheGamesWording) {
    EngineFixture e;
    EXPECT_EQ(ObjectiveTaskLine(*e, Goal(0, 1000)), "Earn cash: 1.000,-");
    EXPECT_EQ(ObjectiveTaskLine(*e, Goal(15, 80)), "Get 80 % averidge skier happiness.");
    EXPECT_EQ(ObjectiveTaskLine(*e, Goal(7, kBuildKiosk)), "Build Kiosk.");
    EXPECT_EQ(ObjectiveTaskLine(*e, Goal(9, 5)), "");

    TSKIObjective o = Goal(0, 0);
    o.Reward = 9;
    o.RewardValue = 5000;
    EXPECT_EQ(RewardCardText(*e, o), "Reward - Exclusive marketing price: 5.000,-");
    EXPECT_EQ(RewardNoteText(*e, o), "Reward - exclusive marketing price: : 5.000,-");
    o.Reward = 5;
    o.RewardValue = 2;
    EXPECT_EQ(RewardCardText(*e, o), "Reward: bank interest 2%.");
    EXPECT_EQ(RewardNoteText(*e, o), "Reward: lower bank interest to 2%.");
    o.Reward = 3;
    o.RewardValue = kLiftCableCar;
    EXPECT_EQ(RewardNoteText(*e, o), "Reward: blueprints for Cable car.");

    o.Name = "Rich";
    TSKIObjectiveNoteText note = ObjectiveNote(*e, o, true);
    EXPECT_EQ(note.Caption, "Objective completed");
    EXPECT_EQ(note.Note, "You completed this objective.");
    EXPECT_EQ(note.Task, "Earn cash: 0,-");
    EXPECT_EQ(ObjectiveNote(*e, o, false).Note, "You failed to complete this objective.");
    o.TimeGoal = 10;
    note = ObjectiveNote(*e, o, false);
    EXPECT_EQ(note.Caption, "Objective failed !");
    EXPECT_EQ(note.Note, "You failed to complete this objective because time ran out!");

    EXPECT_STREQ(ObjectiveTypeName(20), "Longest lift");
    EXPECT_STREQ(RewardName(9), "VIP marketing price");
    EXPECT_STREQ(ObjectiveTypeName(kObjectiveTypeCount), "");
}

TEST(ObjectiveTexts, RaceRecordTimeLeftAndButtons) {
    EngineFixture e;
    e->Grid.assign(size_t(kGridSide) * kGridSide, TerrainCell{});
    auto slope = std::make_unique<TSKISection>(*e);
    slope->InvestedMoney = 75;  // the slope's record in seconds
    e->Sections.push_back(std::move(slope));
    e->Cell(30, 40).Section = 0;
    TSKIObjective o = Goal(13, 0);
    o.GridX = 30, o.GridY = 40;
    EXPECT_EQ(ObjectiveTaskLine(*e, o), "Race record 1 minute, 15 seconds");
    EXPECT_EQ(ObjectiveCardValue(*e, o), "1 minute, 15 seconds");
    EXPECT_TRUE(ObjectiveGotoShown(o));

    o.TimeStarted = 100, o.TimeGoal = 200;
    e->Park.ParkTime = 225;
    EXPECT_TRUE(ObjectiveTimeShown(o));
    EXPECT_EQ(ObjectiveTimeLeft(*e, o), "1 minute, 15 seconds");
    e->Park.ParkTime = 400;
    EXPECT_EQ(ObjectiveTimeLeft(*e, o), "0 seconds");
    o.Completed = true;
    EXPECT_FALSE(ObjectiveTimeShown(o));

    o.Type = 10;
    EXPECT_FALSE(ObjectiveGotoShown(o));
    EXPECT_FALSE(ObjectiveGotoShown(Goal(3, 0)));
    EXPECT_FALSE(ObjectiveHelpShown(o));
}

}  // namespace
}  // namespace vallorn::test
