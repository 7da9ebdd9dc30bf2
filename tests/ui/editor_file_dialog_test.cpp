// The level editor's file dialogs: a picture is found by browsing from the game's folder to
// any other, a level or game is picked among the shipped worlds or the add-ons, and a name
// never leads out of the folder shown.
#include "ui/editor_file_dialog.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

using TNames = std::vector<std::string>;

TEST(EditorFileDialog, APictureIsFoundInAnyFolderAndALevelAmongTheShippedOnesOrTheAddons) {
    test::TempDir dir;
    const fs::path game = dir / "game", pictures = dir / "maps" / "alps";
    for (const fs::path& p : {game / "worlds", game / "addons", pictures, dir / ".hidden"})
        fs::create_directories(p);
    for (const fs::path& p :
         {game / "worlds" / "Valley.skil", game / "worlds" / "Valley.ski",
          game / "addons" / "Mine.skil", pictures / "Peaks.PNG", pictures / "notes.txt"})
        test::WriteText(p, "x");

    // A height map: up from the game's folder, into another and down to the picture.
    const TSKIFileFilter bitmaps{"Bitmaps", {".bmp", ".png"}, ""};
    TSKIEditorFileDialog picture;
    TSKIFilePlaces anywhere;
    anywhere.AnyFolder = true;
    picture.Open("Select height map", game, bitmaps, anywhere);
    EXPECT_EQ(picture.Subfolders(), (TNames{"addons", "worlds"}));
    EXPECT_TRUE(picture.Files().empty());
    ASSERT_TRUE(picture.Up());
    EXPECT_EQ(picture.Subfolders(), (TNames{"game", "maps"}));  // hidden folders stay hidden
    EXPECT_FALSE(picture.Enter("nowhere"));
    ASSERT_TRUE(picture.Enter("maps"));
    ASSERT_TRUE(picture.Enter("alps"));
    EXPECT_EQ(picture.Files(), (TNames{"Peaks.PNG"}));
    std::string why;
    const auto chosen = picture.PathFor("Peaks.PNG", &why);
    ASSERT_TRUE(chosen) << why;
    EXPECT_TRUE(fs::equivalent(*chosen, pictures / "Peaks.PNG"));

    // A level: the add-ons first, the shipped levels a button away; no other folder.
    const TSKIFileFilter levels{"Levels", {".skil"}, ".skil"};
    TSKIFilePlaces worlds;
    worlds.Named = {{"Add-ons", game / "addons"}, {"Shipped", game / "worlds"}};
    TSKIEditorFileDialog level;
    level.Open("Load level", game / "addons", levels, worlds);
    EXPECT_EQ(level.Files(), (TNames{"Mine.skil"}));
    EXPECT_TRUE(level.Subfolders().empty());
    EXPECT_FALSE(level.Up());
    EXPECT_FALSE(level.GoTo(2));
    ASSERT_TRUE(level.GoTo(1));
    EXPECT_EQ(level.Files(), (TNames{"Valley.skil"}));
    const auto shipped = level.PathFor("Valley", &why);  // the extension added
    ASSERT_TRUE(shipped) << why;
    EXPECT_TRUE(fs::equivalent(*shipped, game / "worlds" / "Valley.skil"));
    EXPECT_FALSE(level.PathFor("../addons/Mine", &why));
    EXPECT_FALSE(why.empty());
}

}  // namespace
}  // namespace vallorn
