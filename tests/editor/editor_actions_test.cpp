// The editor's changes are player actions whose names are script lines: the lines the editor
// window's work leaves behind play it back on another copy of the park.
#include <gtest/gtest.h>

#include "editor/editor_actions.h"
#include "engine/arrivals.h"
#include "engine/level_file.h"
#include "persistence/state_hash.h"
#include "support/resort_builder.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

// The words of an action's name as the script reader splits them: blanks apart, texts in
// double quotes with \" \\ and \n inside.
std::vector<std::string> LineWords(const std::string& line) {
    std::vector<std::string> words;
    for (size_t k = 0; k < line.size();) {
        if (line[k] == ' ') {
            ++k;
            continue;
        }
        std::string w;
        if (line[k] == '"') {
            for (++k; k < line.size() && line[k] != '"'; ++k) {
                if (line[k] == '\\' && k + 1 < line.size()) {
                    ++k;
                    w += line[k] == 'n' ? '\n' : line[k];
                } else {
                    w += line[k];
                }
            }
            ++k;
        } else {
            while (k < line.size() && line[k] != ' ') w += line[k++];
        }
        words.push_back(w);
    }
    return words;
}

struct EditedPark {
    TSKIEngine e{TSKIEngineSetup{test::BuildRoot(), 5, nullptr}};
    EditedPark() {
        EXPECT_TRUE(LoadLevelFile(e, "Mountain", false).ok());
        EXPECT_TRUE(test::BuildResort(e).ok());
        UpdateArrivalPoint(e);
    }
};

TEST(EditorActions, TheEditorsWorkPlaysBackFromTheLinesItLeaves) {
    EditedPark played, replayed;
    TSKIEngine& e = played.e;
    int ai = 0, aj = 0;
    TSKIWorld::WorldToCell(e.ArrivalPoint, ai, aj);
    int slope = 0;
    while (!e.Sections[size_t(slope)]->IsSlope()) ++slope;
    e.Sections[size_t(slope)]->InvestedMoney = 95;  // a race record

    const std::vector<TSKIPlayerAction> work = {
        EditorOpenAction(true),
        EditorValueAction(TEditorValue::Cash, "250000"),
        EditorValueAction(TEditorValue::MaxSkiers, "12 000"),  // not a number: the default
        EditorCommandAction(TEditorCommand::GiveCash),
        AddSkiersAction(e.ArrivalPoint.x + 0.5f, e.ArrivalPoint.z),
        ObjectiveAction(-1, "add"),
        ObjectiveAction(-1, "add"),
        ObjectiveAction(0, "name", "The \"big\" resort"),
        ObjectiveAction(0, "value", "40"),
        ObjectiveAction(0, "unlock-objective", "Objective 2", 3),
        ObjectiveAction(0, "place", "10 20"),
        ObjectiveAction(1, "delete"),
        EditorCommandAction(TEditorCommand::ForgetAllCosts),
        EraseRecordAction(slope),
        FloodSnowAction(ai, aj),
        EditorCommandAction(TEditorCommand::EndDay),
    };
    std::vector<std::string> lines;
    for (const TSKIPlayerAction& a : work) {
        ASSERT_TRUE(PerformAction(e, a).Done()) << a.Name;
        lines.push_back(a.Name);
    }
    EXPECT_TRUE(e.EditorOpen);
    EXPECT_EQ(lines[2], "editor max-skiers \"12 000\"");
    EXPECT_EQ(e.Skiers.size(), 10u);
    EXPECT_EQ(e.Sections[size_t(slope)]->InvestedMoney, 0);
    ASSERT_EQ(e.Objectives.size(), 1u);
    EXPECT_EQ(e.Objectives[0].Name, "The \"big\" resort");
    EXPECT_EQ(e.Objectives[0].UnlocksObjectives[3], "Objective 2");
    EXPECT_EQ(lines[7], "objective 0 name \"The \\\"big\\\" resort\"");
    EXPECT_EQ(lines[15], "editor end-day");

    for (const std::string& line : lines) {
        std::string error;
        const auto action = EditorActionFromLine(LineWords(line), &error);
        ASSERT_TRUE(action) << line << ": " << error;
        EXPECT_EQ(action->Name, line);
        ASSERT_TRUE(PerformAction(replayed.e, *action).Done()) << line;
    }
    EXPECT_EQ(StateHashText(replayed.e), StateHashText(e));
    EXPECT_EQ(replayed.e.Objectives[0].Name, e.Objectives[0].Name);
    EXPECT_EQ(replayed.e.Objectives[0].GridX, 10);

    // Lines that name no editor action are refused with a reason.
    for (const char* bad : {"editor cash", "editor flood-snow 1", "editor fly", "objective x name",
                            "objective 0 unlock-mission 7 M", "editor reset-blocked 19"}) {
        std::string error;
        EXPECT_FALSE(EditorActionFromLine(LineWords(bad), &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

}  // namespace
}  // namespace vallorn
