// The player's profile: its file read and written, the names a player may give, and profiles
// created, deleted and chosen at start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "base/atomic_file.h"
#include "base/desktop.h"
#include "base/params.h"
#include "editor/objective_editor.h"
#include "missions/missions.h"
#include "missions/profile.h"
#include "support/engine_fixture.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;
using test::WriteText;

// Three missions with a stray line before the end marker, a state letter "X", tags in other
// case, "abc" where numbers belong, and no [PRCampPrice], [CampFinishRead] or [SandBox].
const char* const kOddTemplate =
    "\xEF\xBB\xBF[Missions-Start]\n"
    "m1.ski\nFirst run\nO\n10\n20\n-------------------\n"
    "m2.ski\nSecond run\nX\n30\n40\n-------------------\n"
    "m3.ski\nThird run\nC\n-5\n60\n-------------------\n"
    "stray\n"
    "[missions-end]\n"
    "[FRIENDS]\n4\n"
    "[FriendsEnabled]\nY\n"
    "[UnlockedLifts]\nY\nN\ny\nY\n"  // "y" is not "Y"; the last three lines are other tags'
    "[UnlockedBuildings]\nN\nN\nN\nN\nN\nN\nN\nN\nN\nN\nY\nN\nY\n"
    "[LoanInterest]\nabc\n"
    "[LoanLimit]\n 45000 \n"
    "[marketingpricecheap]\n100\n"
    "[MarketingPriceNormal]\n12x\n"
    "[MarketingPriceVIP]\n99999999999\n"
    "[CampCompleted]\nY\n"
    "[SandboxNotifRead]\nN\n"
    "[SandboxDiff]\nabc\n";

// The number of lines of `text` when each ends in CR LF, otherwise -1.
long CrLfLines(const std::string& text) {
    long lines = 0;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\n') continue;
        if (k == 0 || text[k - 1] != '\r') return -1;
        ++lines;
    }
    return lines;
}

TEST(ProfileFile, ReaderTakesTheLayoutItsOwnWay) {
    TSKIProfile p;
    p.Name = "Anna";
    std::string error;
    ASSERT_TRUE(ParseProfile(kOddTemplate, p, &error)) << error;
    EXPECT_EQ(p.Name, "Anna");
    ASSERT_EQ(p.MissionCount(), 3);
    EXPECT_EQ(p.Missions[0], (TSKIMissionData{"m1.ski", "First run", kMissionUnlocked, 10, 20}));
    EXPECT_EQ(p.Missions[1].State, kMissionLocked);
    EXPECT_EQ(p.Missions[2], (TSKIMissionData{"m3.ski", "Third run", kMissionCompleted, -5, 60}));

    const TSKIProfileTerms& t = p.Terms;
    EXPECT_EQ(t.Friends, 4);
    EXPECT_TRUE(t.FriendsEnabled);
    EXPECT_EQ(t.UnlockedLifts,
              (std::array<bool, 7>{true, false, false, true, false, false, false}));
    EXPECT_TRUE(t.UnlockedBuildings[10] && t.UnlockedBuildings[12] && !t.UnlockedBuildings[11]);
    EXPECT_TRUE(p.SandboxUnlocked);  // follows building 10
    // Numbers that do not parse, and tags that are missing, take the stated defaults.
    EXPECT_EQ(t.LoanInterest, 6);
    EXPECT_EQ(t.LoanLimit, 45000);
    EXPECT_EQ(t.MarketingPriceCheap, 100);
    EXPECT_EQ(t.MarketingPriceNormal, 7000);
    EXPECT_EQ(t.MarketingPriceVIP, 15000);
    EXPECT_EQ(t.PRCampPrice, 7000);
    EXPECT_EQ(p.SandboxDiff, 1);
    EXPECT_TRUE(p.CampCompleted);
    EXPECT_FALSE(p.SandboxNotifRead || p.CampFinishRead);
    for (const TSKISandboxMap& m : p.SandBox) EXPECT_EQ(m, TSKISandboxMap{});
}

TEST(ProfileFile, MapPositionThatIsNoNumberFailsAndLeavesTheObject) {
    TSKIProfile p;
    p.Name = "Anna";
    p.Terms.Friends = 9;
    const TSKIProfile before = p;
    for (const char* bad : {"top", "", "1.5"}) {
        const std::string text = std::string("[Missions-Start]\nm.ski\nM\nO\n") + bad +
                                 "\n5\n---\n[Missions-End]\n[Friends]\n1\n";
        std::string error;
        EXPECT_FALSE(ParseProfile(text, p, &error)) << bad;
        EXPECT_NE(error.find("mission 1"), std::string::npos) << error;
        EXPECT_EQ(p, before);
    }
}

TSKIProfile RichProfile() {
    TSKIProfile p;
    p.Name = "Bo";
    p.Missions = {{"a.ski", "Alpha", kMissionCompleted, 1, 2},
                  {"b.ski", "Beta", kMissionUnlocked, -3, 4},
                  {"c.ski", "Gamma", kMissionLocked, 5, 6}};
    TSKIProfileTerms& t = p.Terms;
    t.Friends = 3;
    t.FriendsEnabled = true;
    t.UnlockedLifts[2] = t.UnlockedLifts[6] = true;
    t.UnlockedBuildings[0] = t.UnlockedBuildings[10] = t.UnlockedBuildings[12] = true;
    t.LoanInterest = 2;
    t.LoanLimit = 80000;
    t.MarketingPriceCheap = 11;
    t.MarketingPriceNormal = 22;
    t.MarketingPriceVIP = 33;
    t.PRCampPrice = 44;
    p.CampCompleted = p.SandboxUnlocked = p.CampFinishRead = p.SandboxNotifRead = true;
    p.SandboxDiff = 4;
    p.SandBox[0] = {"Valley", 3};
    p.SandBox[20] = {"Bonus", 5};
    return p;
}

TEST(ProfileFile, WrittenWithCrLfInItsOrderAndReadBackEqual) {
    const TSKIProfile p = RichProfile();
    const std::string text = ProfileText(p);
    EXPECT_EQ(text.rfind("[Missions-Start]\r\na.ski\r\nAlpha\r\nC\r\n1\r\n2\r\n"
                         "-------------------\r\nb.ski\r\n",
                         0),
              0u);
    // 2 markers + 6 per mission + 2 + 2 + 8 + 14 + 12 + 8 + 1 + 2 per sandbox map.
    EXPECT_EQ(CrLfLines(text), 2 + 18 + 46 + 1 + 42);
    EXPECT_NE(text.find("[SandboxDiff]\r\n4\r\n[CampFinishRead]\r\nY\r\n[SandBox]\r\nValley\r\n3"),
              std::string::npos);

    TSKIProfile back;
    back.Name = "Bo";
    ASSERT_TRUE(ParseProfile(text, back));
    EXPECT_EQ(back, p);

    // A line break inside a name cannot shift the lines after it.
    TSKIProfile broken = p;
    broken.Missions[0].Name = "Al\r\npha";
    ASSERT_TRUE(ParseProfile(ProfileText(broken), back));
    EXPECT_EQ(back.Missions[0].Name, "Al  pha");
    EXPECT_EQ(back.Missions[2], p.Missions[2]);
    EXPECT_EQ(back.SandBox, p.SandBox);
}

TEST(ProfileFile, ReadAndWrittenUnderSaveAndUnlockedByName) {
    TempDir dir;
    TSKIProfile p = RichProfile();
    p.Missions.push_back({"d.ski", "Beta", kMissionLocked, 0, 0});
    std::string error;
    ASSERT_TRUE(WriteProfile(p, dir.Path(), &error)) << error;
    EXPECT_EQ(ReadText(dir / "Bo.prof"), ProfileText(p));

    // Both locked missions named Beta open; the completed and unlocked ones stay.
    EXPECT_TRUE(UnlockMission(p, "Beta"));
    EXPECT_EQ(p.Missions[1].State, kMissionUnlocked);
    EXPECT_EQ(p.Missions[3].State, kMissionUnlocked);
    EXPECT_FALSE(UnlockMission(p, "Beta"));
    EXPECT_FALSE(UnlockMission(p, "Alpha"));
    EXPECT_FALSE(UnlockMission(p, "Nobody"));

    TSKIProfile read;
    read.Name = "Bo";
    ASSERT_TRUE(ReadProfile(read, dir.Path(), &error)) << error;
    EXPECT_EQ(read.Missions[3].State, kMissionLocked);  // the file has what was written
    // No file: nothing read, the object kept. A name no player could give reaches no file.
    TSKIProfile none = RichProfile();
    none.Name = "Nobody";
    EXPECT_TRUE(ReadProfile(none, dir.Path()));
    EXPECT_EQ(none.Missions.size(), 3u);
    none.Name = "../Bo";
    EXPECT_FALSE(WriteProfile(none, dir / "save", &error));
    EXPECT_FALSE(ReadProfile(none, dir / "save", &error));
    EXPECT_EQ(error, "Invalid profile name !");
}

TEST(CurrentProfile, TermsReachTheEngineAndTheSandboxNoticeIsWritten) {
    test::EngineFixture e;
    TSKIProfile p = RichProfile();
    p.SandboxUnlocked = p.SandboxNotifRead = false;
    TSKIMissions missions(*e, p);
    EXPECT_EQ(e->Profile.LoanLimit, 80000);
    EXPECT_EQ(e->Profile.UnlockedBuildings, p.Terms.UnlockedBuildings);
    EXPECT_EQ(e->ProfileName, "Bo");
    const fs::path file = e->Folders.Save / "Bo.prof";
    missions.SandboxNotice();
    EXPECT_FALSE(p.SandboxNotifRead || fs::exists(file));
    p.SandboxUnlocked = true;
    missions.SandboxNotice();
    TSKIProfile read;
    read.Name = "Bo";
    ASSERT_TRUE(ReadProfile(read, e->Folders.Save));
    EXPECT_TRUE(p.SandboxNotifRead && read.SandboxNotifRead);
}

TEST(PlayerNames, RefusedAndAccepted) {
    const std::string longest(kMaxPlayerNameLength, 'a');
    for (const std::string& name : {std::string("Player"), std::string("Anna Maria-2"),
                                    std::string("ski.park"), std::string("Élise"), longest}) {
        EXPECT_FALSE(PlayerNameProblem(name)) << name;
        EXPECT_FALSE(SaveNameProblem(name)) << name;
    }
    for (const std::string& name :
         {longest + "a", std::string(), std::string("a/b"), std::string("a\\b"), std::string(".."),
          std::string("a..b"), std::string(".hidden"), std::string("."), std::string("tab\there"),
          std::string("del\x7f"), std::string("n\0", 2), std::string("line\nbreak")}) {
        EXPECT_EQ(PlayerNameProblem(name).value_or(""), "Invalid profile name !") << name;
        EXPECT_EQ(SaveNameProblem(name).value_or(""), "Invalid file name !") << name;
    }
    std::string error;
    EXPECT_EQ(SavedGamePath("save", "Anna", "02_Save"), fs::path("save/Anna/02_Save.ski"));
    EXPECT_FALSE(SavedGamePath("save", "Anna", "../../x", &error));
    EXPECT_EQ(error, "Invalid file name !");
    EXPECT_FALSE(SavedGamePath("save", "..", "x", &error));
    EXPECT_EQ(error, "Invalid profile name !");
}

struct TFolders {
    TempDir dir;
    TSKIFolders f;
    TFolders() {
        f.Root = dir.Path();
        f.Worlds = dir / "worlds";
        f.Save = dir / "save";
        fs::create_directories(f.Worlds);
    }
};

TEST(ProfileCreation, MakesFoldersAndCopiesTheTemplate) {
    TFolders w;
    WriteText(w.f.Worlds / "missions.txt", kOddTemplate);
    TSKIProfile p;
    std::string error;
    ASSERT_EQ(CreateProfile(w.f, "Anna", p, &error), TSKIProfileCreated::Created) << error;
    EXPECT_TRUE(fs::is_directory(w.f.Save / "Anna" / "auto"));
    // A copy line by line, with CR LF line ends.
    std::string copy = ReadText(w.f.Save / "Anna.prof");
    EXPECT_EQ(CrLfLines(copy), std::count(copy.begin(), copy.end(), '\n'));
    copy.erase(std::remove(copy.begin(), copy.end(), '\r'), copy.end());
    EXPECT_EQ(copy, kOddTemplate);
    EXPECT_EQ(p.Name, "Anna");
    EXPECT_EQ(p.MissionCount(), 3);
    EXPECT_EQ(p.Terms.Friends, 4);

    // The folder alone, or the file alone, means the profile exists; a refused name makes
    // nothing.
    TSKIProfile other = p;
    fs::create_directories(w.f.Save / "Bo");
    WriteText(w.f.Save / "Cy.prof", "x");
    for (const char* name : {"Anna", "Bo", "Cy"})
        EXPECT_EQ(CreateProfile(w.f, name, other, &error), TSKIProfileCreated::Exists) << name;
    EXPECT_EQ(error, "Profile already exists !");
    EXPECT_EQ(ReadText(w.f.Save / "Cy.prof"), "x");
    for (const char* name : {"../Anna2", "a/b", ".x"})
        EXPECT_EQ(CreateProfile(w.f, name, other, &error), TSKIProfileCreated::Invalid) << name;
    EXPECT_EQ(other, p);
    EXPECT_FALSE(fs::exists(w.dir / "Anna2"));
    EXPECT_EQ(std::distance(fs::directory_iterator(w.f.Save), fs::directory_iterator()), 4);
}

TEST(ProfileCreation, MissingOrDamagedTemplateMakesNothing) {
    TFolders w;
    TSKIProfile p;
    std::string error;
    EXPECT_EQ(CreateProfile(w.f, "Anna", p, &error), TSKIProfileCreated::Failed);
    EXPECT_NE(error.find("missions.txt"), std::string::npos) << error;
    WriteText(w.f.Worlds / "missions.txt",
              "[Missions-Start]\na\nb\nO\ntop\n1\n-\n[Missions-End]\n");
    EXPECT_EQ(CreateProfile(w.f, "Anna", p, &error), TSKIProfileCreated::Failed);
    EXPECT_FALSE(fs::exists(w.f.Save / "Anna"));
    EXPECT_FALSE(fs::exists(w.f.Save / "Anna.prof"));
    EXPECT_TRUE(p.Name.empty());
}

// Answers the input boxes from a list (nothing: Cancel) and answers every question `yes`.
class TScriptedDialogs : public THeadlessDialogs {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> errors, asked;
    bool yes = true;
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool AskYesNo(const std::string& text, bool) override {
        asked.push_back(text);
        return yes;
    }
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& initial) override {
        asked.push_back(caption + "|" + prompt + "|" + initial);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

TEST(ProfileCreation, AskedUntilCreatedOrCancelled) {
    TFolders w;
    WriteText(w.f.Worlds / "missions.txt", ProfileText(RichProfile()));
    fs::create_directories(w.f.Save / "Player");
    TScriptedDialogs d;
    d.answers = {"Player", "../x", "Anna"};
    TSKIProfile p;
    ASSERT_TRUE(AskNewProfile(d, w.f, p));
    EXPECT_EQ(p.Name, "Anna");
    EXPECT_EQ(d.errors,
              (std::vector<std::string>{"Profile already exists !", "Invalid profile name !"}));
    EXPECT_EQ(d.asked, (std::vector<std::string>{"New profile|Enter new profile name:|Player",
                                                 "New profile|Enter new profile name:|Player",
                                                 "New profile|Enter new profile name:|../x"}));
    d.answers = {"Anna", std::nullopt};
    EXPECT_FALSE(AskNewProfile(d, w.f, p));
    // A player who keeps giving a refused name is not asked for ever.
    THeadlessDialogs headless;
    EXPECT_FALSE(AskNewProfile(headless, w.f, p));
    EXPECT_EQ(p.Name, "Anna");
}

TEST(ProfileCreation, NamesOfTheGamesOwnFilesAreRefusedAndTheirFilesStayWritable) {
    TFolders w;
    WriteText(w.f.Worlds / "missions.txt", ProfileText(RichProfile()));
    TSKIProfile p;
    std::string error;
    // Any letter case, with or without an extension.
    for (const std::string& name :
         std::vector<std::string>{"Options.ini", "OPTIONS.INI", "options", "Options.prof",
                                  kObjectiveScratchFile, "initemp", "auto", "Auto.ski"}) {
        EXPECT_EQ(CreateProfile(w.f, name, p, &error), TSKIProfileCreated::Invalid) << name;
        EXPECT_EQ(error.rfind("Invalid profile name !\r\"" + name + "\"", 0), 0u) << error;
    }
    EXPECT_FALSE(fs::exists(w.f.Save));
    // "Create new" says which file the name belongs to and asks again.
    TScriptedDialogs d;
    d.answers = {"Options.ini", "Autumn"};
    ASSERT_TRUE(AskNewProfile(d, w.f, p));
    EXPECT_EQ(p.Name, "Autumn");
    ASSERT_EQ(d.errors.size(), 1u);
    EXPECT_NE(d.errors[0].find("options file Options.ini"), std::string::npos) << d.errors[0];
    // The options and the objective editor's scratch file can still be written.
    EXPECT_TRUE(SaveOptions(w.f.Save, TSKIEngineOptions{}, &error)) << error;
    EXPECT_TRUE(WriteFileAtomically(w.f.Save / kObjectiveScratchFile, "[x]\n", &error)) << error;
    EXPECT_EQ(ListProfiles(w.f.Save), std::vector<std::string>{"Autumn"});
}

TEST(ProfileDeletion, RemovesOnlyThatProfileAndNeverFollowsLinks) {
    TFolders w;
    const fs::path outside = w.dir / "outside";
    fs::create_directories(outside / "dir");
    WriteText(outside / "precious.txt", "keep");
    WriteText(outside / "dir" / "inner.txt", "keep");
    for (const char* name : {"Anna", "Bo"}) {
        fs::create_directories(w.f.Save / name / "auto");
        WriteText(w.f.Save / (std::string(name) + ".prof"), "p");
        WriteText(w.f.Save / name / "01_Save.ski", "s");
        WriteText(w.f.Save / name / "auto" / "First run.ski", "a");
    }
    fs::create_symlink(outside / "precious.txt", w.f.Save / "Bo" / "link.ski");
    fs::create_symlink(outside / "dir", w.f.Save / "Bo" / "auto" / "linkdir");
    fs::create_symlink(outside, w.f.Save / "Cy");  // a link where a profile folder should be
    fs::create_symlink(outside / "precious.txt", w.f.Save / "Cy.prof");

    TScriptedDialogs d;
    TSKIProfile current;
    current.Name = "Anna";
    ASSERT_TRUE(AskDeleteProfile(d, w.f, "Bo", current));
    EXPECT_EQ(d.asked.at(0),
              "This will delete all saved games and campaign !\rAre you sure you want to delete "
              "Bo profile ?");
    EXPECT_TRUE(d.errors.empty()) << d.errors.front();
    EXPECT_TRUE(current.Name.empty());  // deleting another profile still leaves none current
    EXPECT_FALSE(fs::exists(fs::symlink_status(w.f.Save / "Bo")));
    EXPECT_FALSE(fs::exists(w.f.Save / "Bo.prof"));
    EXPECT_TRUE(fs::exists(w.f.Save / "Anna" / "auto" / "First run.ski"));
    EXPECT_TRUE(fs::exists(w.f.Save / "Anna.prof"));

    std::string error;
    EXPECT_TRUE(DeleteProfile(w.f, "Cy", &error)) << error;
    EXPECT_FALSE(fs::exists(fs::symlink_status(w.f.Save / "Cy")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(w.f.Save / "Cy.prof")));
    EXPECT_EQ(ReadText(outside / "precious.txt"), "keep");
    EXPECT_EQ(ReadText(outside / "dir" / "inner.txt"), "keep");

    // Names that would leave save/ are refused; a folder of the player's own is left and told.
    fs::create_directories(w.dir / "x");
    for (const char* bad : {"../x", "..", ""}) {
        EXPECT_FALSE(DeleteProfile(w.f, bad, &error)) << bad;
        EXPECT_EQ(error, "Invalid profile name !");
    }
    EXPECT_TRUE(fs::exists(w.dir / "x"));
    fs::create_directories(w.f.Save / "Anna" / "mine");
    EXPECT_FALSE(DeleteProfile(w.f, "Anna", &error));
    EXPECT_NE(error.find("save/Anna/mine"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(w.f.Save / "Anna.prof"));
    EXPECT_FALSE(fs::exists(w.f.Save / "Anna" / "auto"));

    // No: nothing happens.
    d.yes = false;
    current.Name = "Anna";
    EXPECT_FALSE(AskDeleteProfile(d, w.f, "Anna", current));
    EXPECT_EQ(current.Name, "Anna");
    EXPECT_TRUE(fs::exists(w.f.Save / "Anna" / "mine"));
}

TEST(ProfileChoice, LastProfileThenLastListedThenNone) {
    TempDir dir;
    const fs::path save = dir / "save";
    EXPECT_EQ(StartupProfileName(save, "Anna"), "");  // no save folder at all
    fs::create_directories(save / "Dora.prof");       // a folder, not a profile
    WriteText(dir / "evil.prof", "p");
    for (const char* f : {"Anna.prof", "Cy.prof", "Bo.prof", ".prof", ".h.prof", "Zed.ski"})
        WriteText(save / f, "p");
    EXPECT_EQ(ListProfiles(save), (std::vector<std::string>{"Anna", "Bo", "Cy"}));
    const struct {
        const char* last;
        const char* chosen;
    } cases[] = {{"Bo", "Bo"}, {"Gone", "Cy"}, {"", "Cy"}, {"../evil", "Cy"}, {"Dora", "Cy"}};
    for (const auto& c : cases) EXPECT_EQ(StartupProfileName(save, c.last), c.chosen) << c.last;
}

}  // namespace
}  // namespace vallorn
