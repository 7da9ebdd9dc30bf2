// Names from files and from the player never reach a file outside the folder they belong to.
#include <gtest/gtest.h>

#include "engine/level_file.h"
#include "persistence/saved_game.h"
#include "support/test_level.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;
using test::LevelFixture;
using test::TestLevel;

TEST(FileNames, LevelsAndSavedGamesNameNoFileOutsideTheirFolders) {
    LevelFixture f;
    const fs::path elsewhere = f.dir / "elsewhere";
    test::WriteTestLevel(elsewhere, TestLevel{});

    // Level names, relative and absolute: not looked for, the engine keeps what it had.
    for (const std::string& name :
         {std::string("../elsewhere/Test"), (elsewhere / "Test").string()}) {
        const TSKILevelLoadResult r = LoadLevelFile(*f, name, false);
        EXPECT_EQ(r.status, TSKILevelLoadResult::Missing) << name;
        EXPECT_NE(r.error.find("cannot name a file"), std::string::npos) << r.error;
        EXPECT_FALSE(f->HasGrid());
    }

    // A saved game naming such a level is refused before anything is loaded.
    for (const std::string& world :
         {std::string("../elsewhere/Test"), (elsewhere / "Test").string()}) {
        test::WriteText(f.dir / "bad.ski", "[SKIWorld]\nWorldName=" + world + "\n");
        EXPECT_FALSE(LoadGameFile(*f, f.dir / "bad.ski")) << world;
        EXPECT_NE(f->LoadError.find("WorldName"), std::string::npos) << f->LoadError;
        EXPECT_FALSE(f->HasGrid());
    }

    // The mission auto-save of a profile whose name would leave save/ writes nothing.
    ASSERT_TRUE(f.WriteAndLoad(TestLevel{}).ok());
    fs::create_directories(f->Folders.Save / "../escaped/auto");
    f->ProfileName = "../escaped";
    f->MissionNames = {"../../Mission"};
    f->Park.ParkMissionIndex = 0;
    CloseGame(*f);
    EXPECT_TRUE(fs::is_empty(f->Folders.Save / "../escaped/auto"));
    EXPECT_FALSE(fs::exists(f->Folders.Save / "../Mission.ski"));
}

}  // namespace
}  // namespace vallorn
