// A saved game is read within what a park can hold: a file that holds more lifts, carriers,
// slope nodes, painted slope ground, buildings, vehicles or skiers than any park is refused as
// it is read, before anything is built, so no file within the size limit loads for minutes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "persistence/saved_game.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

// `count` lines made by `line` (given the line's number) under a section header.
std::string Lines(const std::string& section, int count,
                  const std::function<std::string(int)>& line) {
    std::string text = "[" + section + "]\n";
    for (int k = 0; k < count; ++k) text += line(k);
    return text;
}

std::string SlopeLine(int k, int nodes, const char* width, float step) {
    std::string line =
        std::to_string(k) + "=SLOPE|10|10|20|20|S|" + std::to_string(nodes - 1) + "|";
    for (int n = 0; n < nodes; ++n) {
        // Back and forth across the map's middle.
        const int at = n % 2 == 0 ? 0 : 1;
        line += std::to_string(-100 - int(step) * at) + "|" + width + "|" +
                std::to_string(100 + int(step) * at) + "|";
    }
    return line + "\n" + std::to_string(k) + "s=" + std::string(64, '0') + "\n";
}

TEST(SavedGameLimits, AFileHoldingMoreThanAParkHoldsIsRefusedAsItIsRead) {
    const std::string head = "[SKIWorld]\nWorldName=Test\n[SKIParkData]\nParkName=Crowded\n";
    const std::string liftBlock =
        "01000C0024000000000000000000000000000000010000000000000000000000";
    struct Case {
        const char* what;
        std::string body;
    };
    const Case cases[] = {
        {"lifts", Lines("SKISections", 1025,
                        [&](int k) {
                            const std::string i = std::to_string(20 + k % 400);
                            return std::to_string(k) + "=LIFT|" + i + "|20|" + i + "|60|L|0|\n" +
                                   std::to_string(k) + "s=" + liftBlock + "\n";
                        })},
        {"carriers", "[SKISections]\n0=LIFT|20|20|20|60|L|513|" +
                         [] {
                             std::string c;
                             for (int k = 0; k < 513; ++k) c += "-80|10|100|1|0|";
                             return c;
                         }() +
                         "\n0s=" + liftBlock + "\n"},
        {"slope nodes", Lines("SKISections", 2, [](int k) { return SlopeLine(k, 20000, "8", 4); })},
        // Few nodes, but long and wide segments painted over and over.
        {"slope ground",
         Lines("SKISections", 1, [](int k) { return SlopeLine(k, 2000, "64", 1200); })},
        {"buildings",
         Lines("SKIBuildings", 16385, [](int k) { return std::to_string(k) + "s=00\n"; })},
        {"vehicles",
         Lines("SKIVehicles", 65537, [](int k) { return std::to_string(k) + "s=00\n"; })},
        {"skiers", Lines("StreamSKISkiers", kMaxParkSkiers + 1,
                         [](int k) { return std::to_string(k) + "=00\n"; })},
    };
    test::LevelFixture f;
    test::WriteTestLevel(f.Worlds(), test::TestLevel{});
    for (const Case& c : cases) {
        const std::filesystem::path file = f.dir / "crowded.ski";
        test::WriteText(file, head + c.body);
        EXPECT_FALSE(LoadGameFile(*f, file)) << c.what;
        EXPECT_NE(f->LoadError.find("than a park holds"), std::string::npos)
            << c.what << ": " << f->LoadError;
        EXPECT_TRUE(f->Sections.empty() && f->Buildings.empty() && f->Skiers.empty()) << c.what;
    }
}

}  // namespace
}  // namespace vallorn
