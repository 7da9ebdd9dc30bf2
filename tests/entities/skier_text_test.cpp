// The skier description shown next to the cursor.
#include <gtest/gtest.h>

#include "entities/skier_world.h"

namespace vallorn {
namespace {

using SkierText = test::SkierWorld;

TEST_F(SkierText, TheDescriptionListsStateNeedsMoneyAndSkill) {
    TSKISkier& s = AddSkier(At(100, 100), {.Money = 1234, .SpendingLimit = 45, .Skill = 0.5f});
    s.State = kSkierSkiing;
    s.Happiness = 50;
    s.Cold = -100;
    s.Hunger = 1;  // 50.5 rounds to even
    s.Energy = 3;  // 51.5 rounds to even
    EXPECT_EQ(s.HoverText(7),
              "Skier 7:skiing\rHappiness:75%\rCold:0%\rHunger:50%\rEnergy:52%\rMoney:1.234,-"
              "\rSpend. limit:45,-\rSkill:intermediate");
    s.Skill = 0.2f;
    EXPECT_NE(s.HoverText(7).find("\rSkill:beginner"), std::string::npos);
    s.Skill = 0.7f;
    EXPECT_NE(s.HoverText(7).find("\rSkill:pro"), std::string::npos);
}

TEST_F(SkierText, TheStateTextNamesWhatTheSkierDoesInABuilding) {
    TSKISkier& s = AddSkier(At(100, 100));
    const std::pair<uint8_t, const char*> states[] = {
        {kSkierIdle, "Skier 0:idle\r"},       {kSkierOnLift, "Skier 0:on lift\r"},
        {kSkierWaiting, "Skier 0:waiting\r"}, {kSkierLeaving, "Skier 0:leaving\r"},
        {kSkierInjured, "Skier 0:injured\r"},
    };
    for (const auto& [state, text] : states) {
        s.State = state;
        EXPECT_EQ(s.HoverText(0).rfind(text, 0), 0u) << text;
    }
    TSKIBuilding b(E());
    s.State = kSkierInBuilding;
    s.Building = &b;
    const std::pair<uint8_t, const char*> places[] = {
        {kBuildStall, "Skier 0:dining\r"},
        {kBuildSnowBar, "Skier 0:dining\r"},
        {kBuildSelfService, "Skier 0:dining\r"},
        {kBuildKiosk, "Skier 0:dining\r"},
        {kBuildCot, "Skier 0:resting\r"},
        {kBuildShelter, "Skier 0:in shelter\r"},
        {kBuildSightseeing, "Skier 0:sightseeing\r"},
        {kBuildHospital, "Skier 0\r"},
    };
    for (const auto& [type, text] : places) {
        b.Type = type;
        EXPECT_EQ(s.HoverText(0).rfind(text, 0), 0u) << text;
    }
    s.Building = nullptr;
}

TEST_F(SkierText, TheEngineDescribesTheNearestSkierOnTheCellUnderTheCursor) {
    AddSkier(At(100, 100) + TSKIVector(1.5f, 0, 0, 0));
    AddSkier(At(100, 100) + TSKIVector(0, 0, 0.5f, 0));
    AddSkier(At(101, 100));  // nearer than 4 but on another cell
    const TSKIVector cursor = At(100, 100) + TSKIVector(0, -0.2f, 0, 0);
    EXPECT_EQ(E().NearestSkierText(cursor).rfind("Skier 1:idle\r", 0), 0u);

    E().Skiers.erase(E().Skiers.begin() + 1);
    EXPECT_EQ(E().NearestSkierText(cursor).rfind("Skier 0:idle\r", 0), 0u);
    EXPECT_EQ(E().NearestSkierText(At(110, 110)), "");
}

}  // namespace
}  // namespace vallorn
