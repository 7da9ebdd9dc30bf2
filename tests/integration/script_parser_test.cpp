// The runner's action-script parser: every command in its accepted forms, and every kind of
// bad line reported with the file and its line number before anything runs.
#include <gtest/gtest.h>

#include "script_parser.h"

namespace vallorn::sim {
namespace {

std::vector<std::string> Errors(const std::string& text) {
    Script s;
    return ParseScript(text, "s.actions", s);
}

TEST(ScriptParser, EveryCommandParsesWithItsArguments) {
    const std::string text = R"S(# a comment line

cursor -512.5 1024,25
cell 0 512
click
hold left on
hold shift off
key backspace
key escape
key 8
menu "Replace lift/Six chairlift (1.234.567,-)"   # trailing comment
answer yes
answer no 3
wait 10
wait 2 hours
wait 30 frames
wait 5 ticks
expect-ok on
expect cash < 100000
expect lifts 1
expect popularity >= 2.5
expect text "Lift too short!"
expect message "Say \"hi\""
expect refused "Not enough money!"
expect done
lift-price 0 12
building-price 3 0
lift-open 0 off
building-open 1 on
lift-upgrade 2
building-upgrade 4
loan take 5000
loan repay 5000
marketing exclusive skilled
pr
build-lift 112 244 140 244 quad
build-lift 112 244 140 244 6
slope-start 140 244
slope-node 132 234
slope-finish 112 244
building parking 106 256
building 12 100 240 90
tree 10 10
area 2 50 60
delete-section 1
delete-building 0
replace-lift 0 cablecar
race 1
hold ctrl on
)S";
    Script s;
    const auto errors = ParseScript(text, "all.actions", s);
    ASSERT_TRUE(errors.empty()) << errors.front();
    ASSERT_EQ(s.Steps.size(), 47u);
    EXPECT_EQ(s.File, "all.actions");
    EXPECT_EQ(s.Steps[0].Line, 3);  // comments and blank lines take no step
    EXPECT_EQ(s.Steps[0].Command, "cursor");
    EXPECT_DOUBLE_EQ(ArgReal(s.Steps[0], 1), 1024.25);
    const ScriptStep& menu = s.Steps[8];
    EXPECT_EQ(menu.Args, std::vector<std::string>{"Replace lift/Six chairlift (1.234.567,-)"});
    EXPECT_EQ(menu.Text, "menu \"Replace lift/Six chairlift (1.234.567,-)\"");
    EXPECT_EQ(s.Steps[20].Args.back(), "Say \"hi\"");
    EXPECT_EQ(ArgInt(s.Steps[34], 2), 140);
    EXPECT_EQ(s.Steps[34].Args.back(), "6");
}

TEST(ScriptParser, TypesAreNamedOrNumbered) {
    EXPECT_EQ(LiftTypeArg("platter"), 0);
    EXPECT_EQ(LiftTypeArg("six"), 6);
    EXPECT_EQ(LiftTypeArg("4"), 4);
    EXPECT_EQ(LiftTypeArg("7"), -1);
    EXPECT_EQ(LiftTypeArg("Quad"), -1);
    EXPECT_EQ(BuildingTypeArg("kiosk"), 12);
    EXPECT_EQ(BuildingTypeArg("snowcannon"), 0);
    EXPECT_EQ(BuildingTypeArg("13"), -1);
}

TEST(ScriptParser, EachBadLineIsNamedWithItsFileAndLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"jump 1 2", "unknown command 'jump'"},
        {"click now", "click takes nothing (1 given)"},
        {"cell 1", "cell takes i j (1 given)"},
        {"cell 1 2 3", "cell takes i j (3 given)"},
        {"cell 1 513", "cell: j must be from 0 to 512"},
        {"cell x 2", "cell: i must be a whole number, not 'x'"},
        {"cursor 1 north", "cursor: z must be a number, not 'north'"},
        // The runner takes reals as floats: one beyond a float's range is refused.
        {"cursor 1e39 0", "cursor: x must be from -1000000 to 1000000"},
        {"building stall 1 2 -1e300", "building: direction must be from -360 to 360"},
        {"hold right on",
         "hold: button or key must be one of left|shift|w|s|a|d|ctrl, not 'right'"},
        {"key 9", "key: key must be one of backspace|escape|1|2|3|4|5|6|7|8, not '9'"},
        {"menu", "menu takes caption path (0 given)"},
        {"menu \"Build lift", "a text is not closed with \""},
        {"answer maybe", "answer: yes|no must be one of yes|no, not 'maybe'"},
        {"answer yes 0", "answer: count must be from 1 to 1000"},
        {"wait 5 days", "wait: unit must be one of ticks|frames|hours, not 'days'"},
        {"wait -1", "wait: count must be from 0 to 1000000000"},
        {"expect-ok maybe", "expect-ok: on|off must be one of on|off, not 'maybe'"},
        {"lift-price 0 70000", "lift-price: price must be from 0 to 65535"},
        {"loan borrow 5000", "loan: take|repay must be one of take|repay, not 'borrow'"},
        {"loan take 0", "loan: amount must be from 1 to 2000000000"},
        {"marketing vip skiers",
         "marketing: price must be one of cheap|normal|exclusive, not 'vip'"},
        {"build-lift 1 2 3 4 gondola",
         "build-lift: unknown lift type 'gondola' (0..6 or "
         "platter|tbar|double|quad|cablecar|tram|six)"},
        {"building castle 1 2",
         "building: unknown building type 'castle' (0..12 or "
         "snowcannon|stall|rescue|snowbar|patrol|hospital|garage|cot|"
         "shelter|sightseeing|parking|selfservice|kiosk)"},
        {"building stall 1 2 east", "building: direction must be a number, not 'east'"},
        {"replace-lift 0", "replace-lift takes lift lift type (1 given)"},
        {"expect",
         "expect needs text|message|refused \"TEXT\", done, or a quantity, a "
         "comparison and a number"},
        {"expect money 5",
         "unknown quantity 'money' (cash|loan|lifts|slopes|buildings|"
         "skiers|tool|riders|served|income|trees|ticks|day|popularity|speed|race-time)"},
        {"expect cash ~ 5", "unknown comparison '~' (==|!=|<|<=|>|>=)"},
        {"expect cash < lots", "expect cash needs a number, not 'lots'"},
        {"expect text", "expect text needs one text in quotes"},
        {"expect done now", "expect done takes nothing more"},
    };
    for (const auto& [line, message] : cases) {
        const auto errors = Errors("click\n\n" + line + "\n");
        ASSERT_EQ(errors.size(), 1u) << line;
        EXPECT_EQ(errors[0], "s.actions:3: " + message) << line;
    }
}

TEST(ScriptParser, EveryBadLineIsReportedNotOnlyTheFirst) {
    const auto errors = Errors("click\nfly\ncell 1 2\nwait x\r\nclick\n");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("s.actions:2: ", 0), 0u);
    EXPECT_EQ(errors[1].rfind("s.actions:4: ", 0), 0u);  // a CRLF line ending is fine
    EXPECT_EQ(Errors(std::string("click\ncell 1\0 2\n", 16))[0],
              "s.actions:2: the line holds a NUL byte");
    // Words of a binary file are quoted printable and short.
    EXPECT_EQ(Errors("\x01\xff" + std::string(50, 'x') + "\n")[0],
              "s.actions:1: unknown command '??" + std::string(38, 'x') + "...'");
}

}  // namespace
}  // namespace vallorn::sim
