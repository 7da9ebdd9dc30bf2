// The saved games of a profile as the load and save window lists them, and the periodic
// autosave that keeps the last mornings of a running game.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "engine/clock.h"
#include "missions/missions.h"
#include "persistence/saved_game.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

// A running game on a test level, and the profile "Ann" with one mission, "First".
struct SavesFixture : test::LevelFixture {
    SavesFixture() {
        EXPECT_TRUE(WriteAndLoad(test::TestLevel{}).ok());
        engine->Park.ParkMissionIndex = kMissionUnlimitedSandbox;
        profile.Name = "Ann";
        profile.Missions = {{"Start.ski", "First"}};
        fs::create_directories(Own() / "auto");
        missions = std::make_unique<TSKIMissions>(*engine, profile);
    }
    fs::path Own() const { return engine->Folders.Save / "Ann"; }

    TSKIProfile profile;
    std::unique_ptr<TSKIMissions> missions;
};

void SetWrittenTime(const fs::path& path, int64_t seconds) {
    const timespec times[2] = {{std::time_t(seconds), 0}, {std::time_t(seconds), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// The time zone of the process, for as long as the object lives.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_)
            setenv("TZ", old_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> old_;
};

std::vector<std::string> SavedGameLabels(const std::vector<TSKISavedGame>& games) {
    std::vector<std::string> labels;
    for (const TSKISavedGame& g : games) labels.push_back((g.Auto ? "auto/" : "") + g.Name);
    return labels;
}

TEST(SavedGames, ListedNewestFirstWithTimeAndParkAndWhyOneCannotBeOpened) {
    SavesFixture f;
    f->Park.ParkName = "Alpha";
    ASSERT_TRUE(SaveGameFile(*f, f.Own() / "Old.ski"));
    f->Park.ParkName = "Beta";
    ASSERT_TRUE(SaveGameFile(*f, f.Own() / "New.ski"));
    // A name the window's typed-name rule refuses, and a mission's automatic save.
    ASSERT_TRUE(SaveGameFile(*f, f.Own() / "a..b.ski"));
    ASSERT_TRUE(SaveGameFile(*f, f.Own() / "auto" / "First.ski"));
    test::WriteText(f.Own() / "Lost.ski", "[SKIWorld]\nWorldName=Nowhere\n");
    test::WriteText(f.Own() / "Notes.ski", "[SKIParkData]\nParkName=Gamma\n");
    // Not the player's saved games: a hidden file, a folder, another kind of file.
    test::WriteText(f.Own() / ".hidden.ski", test::ReadText(f.Own() / "Old.ski"));
    fs::create_directories(f.Own() / "Dir.ski");
    test::WriteText(f.Own() / "Old.txt", "x");
    const int64_t t0 = 1772357400;  // 2026-03-01 09:30 UTC
    const std::pair<const char*, int> minutes[] = {{"Old.ski", 0},         {"Notes.ski", 5},
                                                   {"Lost.ski", 10},       {"a..b.ski", 20},
                                                   {"auto/First.ski", 30}, {"New.ski", 60}};
    for (const auto& [file, m] : minutes) SetWrittenTime(f.Own() / file, t0 + 60 * m);

    const std::vector<TSKISavedGame> games = ListSavedGames(f->Folders, "Ann");
    EXPECT_EQ(SavedGameLabels(games),
              (std::vector<std::string>{"New", "auto/First", "a..b", "Lost", "Notes", "Old"}));
    ASSERT_EQ(games.size(), 6u);
    EXPECT_EQ(games[0].Time, t0 + 3600);
    EXPECT_EQ(games[0].Park, "Beta");
    EXPECT_EQ(games[5].Park, "Alpha");
    EXPECT_EQ(games[4].Park, "Gamma");
    EXPECT_EQ(games[3].Problem, "its level \"Nowhere\" is missing from worlds/");
    EXPECT_EQ(games[4].Problem, "it is not a saved game: it names no level");
    for (const size_t k : {0, 1, 2, 5}) EXPECT_EQ(games[k].Problem, "") << games[k].Name;
    // A name that could not be typed still loads from where the list found it.
    CloseGame(*f);
    EXPECT_TRUE(LoadGameFile(*f, games[2].Path)) << f->LoadError;
    {
        const ScopedTimeZone utc("UTC0");
        EXPECT_EQ(SavedGameTimeText(games[0].Time), "2026-03-01 10:30");
    }
    EXPECT_TRUE(ListSavedGames(f->Folders, "Bo").empty());
    EXPECT_TRUE(ListSavedGames(f->Folders, "..").empty());
}

TEST(Autosave, EveryMorningTheThreeNewestAreKeptAndEachLoads) {
    SavesFixture f;
    f->Park.ParkName = "Test/Park";  // a separator in the park's name stays out of the path
    const fs::path resume = f.Own() / "auto" / "First.ski";
    ASSERT_TRUE(SaveGameFile(*f, resume));
    const std::string resumeText = test::ReadText(resume);
    const auto nextMorning = [&] {
        const int64_t days = f->DayChanges;
        while (f->DayChanges == days) PeriodicTick(*f);
        return f.missions->Autosave();
    };
    // No profile, or no game: nothing is saved.
    f.profile.Name.clear();
    EXPECT_FALSE(nextMorning());
    f.profile.Name = "Ann";
    f->Park.ParkMissionIndex = kMissionNone;
    EXPECT_FALSE(nextMorning());
    f->Park.ParkMissionIndex = kMissionUnlimitedSandbox;
    const fs::path folder = f.Own() / "auto";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    std::vector<fs::path> written;
    for (int k = 0; k < 4; ++k) {
        const auto file = nextMorning();
        ASSERT_TRUE(file) << k;
        written.push_back(*file);
        const auto files = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
        EXPECT_EQ(files, std::min(k + 1, 3) + 1) << k;
    }
    EXPECT_EQ(written[0], folder / "Autosave Test Park day 4.ski");
    EXPECT_EQ(written[3], folder / "Autosave Test Park day 7.ski");
    EXPECT_FALSE(fs::exists(written[0]));
    EXPECT_EQ(test::ReadText(resume), resumeText);
    EXPECT_TRUE(f.dialogs.errors.empty());

    // The load window shows them, newest first; each loads at the morning it was written.
    EXPECT_EQ(
        SavedGameLabels(ListSavedGames(f->Folders, "Ann")),
        (std::vector<std::string>{"auto/Autosave Test Park day 7", "auto/Autosave Test Park day 6",
                                  "auto/Autosave Test Park day 5", "auto/First"}));
    for (int k = 1; k < 4; ++k) {
        CloseGame(*f);
        ASSERT_TRUE(LoadGameFile(*f, written[size_t(k)])) << f->LoadError;
        EXPECT_EQ(f->Park.ParkTime / f->Params.Game.DayLength + 1, k + 4);
        EXPECT_EQ(f->Park.ParkName, "Test/Park");
    }
}

}  // namespace
}  // namespace vallorn
