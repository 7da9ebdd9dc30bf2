// The rows of the objective types and rewards: one at each number the files store, each with
// the texts and the rule or effect the game needs.
#include <gtest/gtest.h>

#include <string>

#include "base/ini_file.h"
#include "missions/objective_types.h"

namespace vallorn::test {
namespace {

bool HasValueSlot(const char* text) {
    return std::string(text).find("{}") != std::string::npos;
}

TEST(ObjectiveTypes, EveryStoredNumberHasARowAndSurvivesTheFile) {
    std::vector<TSKIObjective> list;
    ASSERT_EQ(ObjectiveKinds().size(), size_t(kObjectiveTypeCount));
    for (size_t n = 0; n < ObjectiveKinds().size(); ++n) {
        const TSKIObjectiveKind& kind = ObjectiveKinds()[n];
        SCOPED_TRACE(n);
        EXPECT_EQ(kind.Type, n);
        EXPECT_EQ(&ObjectiveKind(uint8_t(n)), &kind);
        EXPECT_STRNE(kind.EditorName, "");
        EXPECT_NE(kind.Met, nullptr);
        // Only the waiting objective goes without a card and a task line; a task names the
        // value exactly when the type shows one.
        EXPECT_EQ(std::string(kind.CardCaption).empty(), kind.Waits);
        EXPECT_EQ(std::string(kind.Task).empty(), kind.Waits);
        EXPECT_EQ(HasValueSlot(kind.Task), kind.Shown != TSKIValueShown::None);
        TSKIObjective o;
        o.Type = kind.Type;
        o.Value = int32_t(n) * 7;
        list.push_back(o);
    }
    ASSERT_EQ(RewardKinds().size(), size_t(kObjectiveRewardCount));
    for (size_t n = 0; n < RewardKinds().size(); ++n) {
        const TSKIRewardKind& kind = RewardKinds()[n];
        SCOPED_TRACE(n);
        EXPECT_EQ(kind.Reward, n);
        EXPECT_EQ(&RewardKind(uint8_t(n)), &kind);
        EXPECT_STRNE(kind.EditorName, "");
        // Every reward but "Nothing" gives something and says how much on the card and the note.
        const bool gives = kind.Give != nullptr;
        EXPECT_EQ(gives, n != kRewardNothing);
        EXPECT_EQ(HasValueSlot(kind.CardText), gives);
        EXPECT_EQ(HasValueSlot(kind.NoteText), gives);
        list[n].Reward = kind.Reward;
        list[n].RewardValue = int32_t(n);
    }

    // The numbers a mission file stores come back as the same types and rewards.
    TIniFile file;
    WriteObjectives(file, list);
    EXPECT_EQ(file.ReadInteger("SKIObjectives", "ObjectiveType20", -1), kObjectiveLongestLift);
    EXPECT_EQ(file.ReadInteger("SKIObjectives", "ObjectiveReward11", -1), kRewardPopularity);
    std::vector<TSKIObjective> back;
    std::string error;
    ASSERT_TRUE(ReadObjectives(file, back, &error)) << error;
    ASSERT_EQ(back.size(), list.size());
    for (size_t n = 0; n < list.size(); ++n) {
        EXPECT_EQ(back[n].Type, list[n].Type);
        EXPECT_EQ(back[n].Reward, list[n].Reward);
    }

    // A number the game does not know has an empty row that gives nothing.
    EXPECT_STREQ(ObjectiveKind(kObjectiveTypeCount).EditorName, "");
    EXPECT_EQ(RewardKind(kObjectiveRewardCount).Give, nullptr);
}

}  // namespace
}  // namespace vallorn::test
