// The main window's rules that need no display: the command line, the text lists, the help
// page a name opens and where the floating windows stand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"
#include "ui/command_line.h"
#include "ui/desktop_layout.h"
#include "ui/help_window.h"
#include "ui/text_lists.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

TEST(CommandLine, AcceptsAGameOrALevelWithARootAndRefusesTheRest) {
    TSKICommandLine c;
    EXPECT_FALSE(ParseCommandLine({"save/a.ski", "--root", "/tmp/x"}, c));
    EXPECT_EQ(c.Game, "save/a.ski");
    EXPECT_EQ(c.Root, "/tmp/x");
    EXPECT_FALSE(ParseCommandLine({"--level=Mountain"}, c));
    EXPECT_EQ(c.Level, "Mountain");
    EXPECT_TRUE(c.Game.empty());
    EXPECT_FALSE(ParseCommandLine({"--help"}, c));
    EXPECT_TRUE(c.Help);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--level"},
                                                {"--levle", "x"},
                                                {"a.ski", "b.ski"},
                                                {"a.ski", "--level", "Mountain"},
                                                {"--root="},
                                                {"--level", "a", "--level", "b"}}) {
        EXPECT_TRUE(ParseCommandLine(bad, c)) << bad[0];
    }
}

TEST(TextLists, KeepTrimmedNonBlankLinesAndTracksInsideTheDataFolder) {
    const test::TempDir temp;
    const fs::path& dir = temp.Path();
    {
        std::ofstream out(dir / "music.txt", std::ios::binary);
        out << "  calm.mp3 \r\n\r\n\t\n../../etc/passwd\nsub/x.mp3\nsnow.mp3";
    }
    const auto lines = ReadTextLines(dir / "music.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "calm.mp3");
    EXPECT_EQ(lines[3], "snow.mp3");
    const auto tracks = MusicTracks(dir, lines);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0], dir / "calm.mp3");
    EXPECT_EQ(tracks[1], dir / "snow.mp3");
    EXPECT_TRUE(ReadTextLines(dir / "missing.txt").empty());
    TSKIRandom rng(3);
    EXPECT_FALSE(PickRandom(std::vector<std::string>{}, rng));
    EXPECT_EQ(*PickRandom(std::vector<std::string>{"only"}, rng), "only");
}

TEST(HelpWindow, OpensTheFirstExistingFileAndCaptionsByPage) {
    const test::TempDir temp;
    const fs::path& root = temp.Path();
    fs::create_directories(root / "help");
    std::ofstream(root / "help" / "Contents.htm") << "<p>x</p>";
    std::ofstream(root / "help" / "Contents.html") << "<p>x</p>";
    std::ofstream(root / "help" / "Old.htm") << "<p>x</p>";
    std::ofstream(root / "GIF1.html") << "<p>x</p>";
    EXPECT_EQ(HelpFileFor(root, "Contents"), root / "help" / "Contents.html");
    EXPECT_EQ(HelpFileFor(root, "Old"), root / "help" / "Old.htm");
    EXPECT_EQ(HelpFileFor(root, "GIF1.html"), root / "GIF1.html");
    EXPECT_FALSE(HelpFileFor(root, "Missing"));
    EXPECT_FALSE(HelpFileFor(root, "../help/Contents"));
    EXPECT_EQ(HelpCaption("GIF3"), "Objective hint");
    EXPECT_EQ(HelpCaption("Welcome"), "");
    EXPECT_EQ(HelpCaption("CreditsOnly"), "");
    EXPECT_EQ(HelpCaption("Contents"), "Vallorn Manual");
}

TEST(ArrangeDesktop, PlacesAroundTheMainWindowAndKeepsEveryWindowOnScreen) {
    TSKIDesktop sizes;
    sizes.MenuBar = {0, 0, 500, 139};
    sizes.Loading = {0, 0, 640, 400};
    TSKIDesktop d = ArrangeDesktop({0, 0, 1024, 768}, sizes, 1024, 768);
    EXPECT_FLOAT_EQ(d.MenuBar.X, 39);
    EXPECT_FLOAT_EQ(d.MenuBar.Y, 768 - 167);
    EXPECT_FLOAT_EQ(d.Loading.X, 192);
    EXPECT_FLOAT_EQ(d.Loading.Y, 184 - 50);
    EXPECT_FLOAT_EQ(d.Tip.W, 400);
    EXPECT_FLOAT_EQ(d.Tip.X, 312);
    EXPECT_GE(d.Tip.Y, d.Loading.Y + d.Loading.H);  // the tip never covers the picture
    // At twice the scale a bar laid out in less than twice the height keeps its gap below.
    sizes.MenuBar.H = 200;
    EXPECT_FLOAT_EQ(ArrangeDesktop({0, 0, 1024, 768}, sizes, 1024, 768, 2).MenuBar.Y, 768 - 256);
    sizes.MenuBar.H = 139;

    // A small screen: nothing sticks out, the picture keeps its top left corner on screen.
    d = ArrangeDesktop({0, 0, 800, 300}, sizes, 800, 300);
    for (const TSKIRect& r : {d.MenuBar, d.Tip}) {
        EXPECT_GE(r.X, 0);
        EXPECT_GE(r.Y, 0);
        EXPECT_LE(r.X + r.W, 800);
        EXPECT_LE(r.Y + r.H, 300);
    }
    EXPECT_FLOAT_EQ(d.Loading.Y, 0);
    EXPECT_FLOAT_EQ(KeepOnScreen({900, -5, 200, 50}, 1024, 768).X, 824);
}

}  // namespace
}  // namespace vallorn
