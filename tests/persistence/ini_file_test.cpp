#include "base/ini_file.h"

#include <gtest/gtest.h>

#include "base/number_format.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCase) {
    auto ini = TIniFile::FromText("[LevelData]\nLevelScaleXZ=4\n[other]\nKey=v\n");
    EXPECT_TRUE(ini.SectionExists("leveldata"));
    EXPECT_EQ(ini.ReadString("LEVELDATA", "levelscalexz"), "4");
    EXPECT_EQ(ini.ReadString("Other", "KEY"), "v");
    EXPECT_FALSE(ini.ValueExists("Other", "Missing"));
    EXPECT_EQ(ini.ReadString("Other", "Missing", "dflt"), "dflt");
}

TEST(IniFile, ListsKeysInFileOrderAndKeepsTheFirstOfDuplicates) {
    auto ini = TIniFile::FromText("[Lifts]\nPlatter=1\nTBar\nChair=\n; note\nplatter=2\n");
    // A line without "=" is not a key; comments are not keys.
    const auto keys = ini.SectionKeys("lifts");
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0], "Platter");
    EXPECT_EQ(keys[1], "Chair");
    EXPECT_EQ(keys[2], "platter");
    EXPECT_EQ(ini.ReadString("Lifts", "PLATTER"), "1");
    EXPECT_TRUE(ini.SectionKeys("none").empty());
}

TEST(IniFile, ValuesRunToTheEndOfTheLineAtAnyLength) {
    const std::string longValue(200000, '7');
    auto ini = TIniFile::FromText("[Rows]\r\n0=" + longValue + "\r\nname = a = b \r\n");
    EXPECT_EQ(ini.ReadString("Rows", "0"), longValue);
    EXPECT_EQ(ini.ReadString("Rows", "name"), "a = b");
}

TEST(IniFile, WriteReplacesInItsSectionOrAppendsAndKeepsUnknownSections) {
    auto ini = TIniFile::FromText(
        "; made by hand\n[Mission]\nGoal=3\n[LevelData]\nA=1\nB=2\n[Foreign]\nX=y\n");
    ini.WriteString("leveldata", "a", "10");
    ini.WriteInteger("LevelData", "C", -5);
    ini.WriteString("New", "K", "v");
    EXPECT_EQ(ini.ToText(),
              "; made by hand\n\n[Mission]\nGoal=3\n\n[LevelData]\nA=10\nB=2\nC=-5\n\n"
              "[Foreign]\nX=y\n\n[New]\nK=v\n");
}

TEST(IniFile, EraseSectionAndDeleteKey) {
    auto ini = TIniFile::FromText("[A]\nx=1\n[B]\ny=2\nz=3\n[C]\nw=4\n");
    ini.EraseSection("b");
    EXPECT_FALSE(ini.SectionExists("B"));
    EXPECT_EQ(ini.ReadString("C", "w"), "4");  // the index still finds later sections
    ini.WriteString("B", "y", "5");            // a new B goes to the end
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"A", "C", "B"}));
    ini.DeleteKey("a", "X");
    EXPECT_FALSE(ini.ValueExists("A", "x"));
    EXPECT_TRUE(ini.SectionExists("A"));
}

TEST(IniFile, WrittenValuesStayOnOneLine) {
    TIniFile ini;
    ini.WriteString("S", "name", "two\nlines\r");
    auto back = TIniFile::FromText(ini.ToText());
    EXPECT_EQ(back.ReadString("S", "name"), "two lines");
    EXPECT_EQ(back.SectionKeys("S").size(), 1u);
}

// Every key of every named section with its value, in file order.
std::vector<std::string> Keys(const TIniFile& ini) {
    std::vector<std::string> out;
    for (const std::string& section : ini.Sections())
        for (const std::string& key : ini.SectionKeys(section))
            out.push_back(section + "/" + key + "=" + ini.ReadString(section, key));
    return out;
}

TEST(IniFile, RoundTripsKeepEveryKeyInItsSection) {
    // Read and written back, files keep their keys where they were, and their text.
    for (const char* text : {"[A]\nx=1\n[ ]\ny=2\n", "[A]\nx=1\n=[B]\ny=2\n",
                             "top=1\n[A]\nx=1\n[]\n[B]\n z = 3\n[  ]\nw=4\n[a]\nv=5\n"}) {
        const TIniFile first = TIniFile::FromText(text);
        const TIniFile second = TIniFile::FromText(first.ToText());
        EXPECT_EQ(Keys(second), Keys(first)) << text;
        EXPECT_EQ(second.ToText(), first.ToText()) << text;
    }
    EXPECT_EQ(Keys(TIniFile::FromText("[A]\nx=1\n[ ]\ny=2\n")), std::vector<std::string>{"A/x=1"});
    EXPECT_EQ(Keys(TIniFile::FromText("[A]\nx=1\n=[B]\ny=2\n")),
              (std::vector<std::string>{"A/x=1", "A/y=2"}));

    // Names that could not be read back as written are not written; blanks around names go.
    TIniFile ini;
    EXPECT_TRUE(ini.WriteString("A", "x", "1"));
    for (const auto& [section, key] :
         std::vector<std::pair<std::string, std::string>>{{" ", "y"},
                                                          {"", "y"},
                                                          {"A]B", "y"},
                                                          {"A\nB", "y"},
                                                          {"A", ""},
                                                          {"A", " "},
                                                          {"A", "[B]"},
                                                          {"A", "k=v"},
                                                          {"A", ";note"},
                                                          {"A", "#note"},
                                                          {"A", "two\nlines"}})
        EXPECT_FALSE(ini.WriteString(section, key, "[B]")) << "[" << section << "] " << key;
    EXPECT_TRUE(ini.WriteInteger(" a ", " z ", 3));
    const TIniFile back = TIniFile::FromText(ini.ToText());
    EXPECT_EQ(Keys(back), (std::vector<std::string>{"A/x=1", "A/z=3"}));
    EXPECT_EQ(Keys(back), Keys(ini));
}

TEST(IniFile, NumbersFallBackToTheirDefaults) {
    auto ini = TIniFile::FromText(
        "[S]\ni=42\nbad=4x\nneg=-7\nb=2\nbz=0\nbb=yes\nf=0.06\ng=0,06\nh=1.5.2\nempty=\n");
    EXPECT_EQ(ini.ReadInteger("S", "i", 0), 42);
    EXPECT_EQ(ini.ReadInteger("S", "bad", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "empty", 3), 3);
    EXPECT_TRUE(ini.ReadBool("S", "b", false));
    EXPECT_FALSE(ini.ReadBool("S", "bz", true));
    EXPECT_TRUE(ini.ReadBool("S", "bb", true));
    EXPECT_FALSE(ini.ReadBool("S", "missing", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", 1), 0.06);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "g", 1), 0.06);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "h", 7.5), 7.5);
}

TEST(IniFile, ThousandthsRule) {
    auto ini = TIniFile::FromText("[T]\nLiftSpeed=2500\nComma=2,5\nBad=fast\nNeg=-0,1\n");
    EXPECT_DOUBLE_EQ(ini.ReadThousandths("T", "LiftSpeed", "10"), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadThousandths("T", "Comma", "10"), 0.0025);
    EXPECT_DOUBLE_EQ(ini.ReadThousandths("T", "Missing", "10"), 0.01);
    EXPECT_DOUBLE_EQ(ini.ReadThousandths("T", "Missing", "-0,1"), -0.0001);
    EXPECT_DOUBLE_EQ(ini.ReadThousandths("T", "Bad", "60"), 0.06);
    EXPECT_DOUBLE_EQ(ini.ReadThousandths("T", "Neg", "0"), -0.0001);
}

TEST(IniFile, BinaryBlocksAreHexPairsOfEitherCase) {
    TIniFile ini;
    const uint8_t bytes[] = {0x00, 0xAB, 0x10, 0xFF};
    ini.WriteBinary("H", "0", bytes, sizeof bytes);
    EXPECT_EQ(ini.ReadString("H", "0"), "00AB10FF");
    auto back = TIniFile::FromText("[H]\n0=00ab10Ff\n1=0G\n2=ABC\n");
    std::vector<uint8_t> out;
    ASSERT_TRUE(back.ReadBinary("H", "0", out));
    EXPECT_EQ(out, std::vector<uint8_t>(bytes, bytes + 4));
    EXPECT_FALSE(back.ReadBinary("H", "1", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(back.ReadBinary("H", "2", out));
    EXPECT_FALSE(back.ReadBinary("H", "3", out));
}

TEST(IniFile, SavesThroughATemporaryFileAndReadsBack) {
    test::TempDir dir;
    const auto path = dir / "sub" / "x.ini";
    TIniFile ini(path);
    EXPECT_FALSE(ini.Exists());
    ini.WriteFloat("S", "r", 12.34f);
    std::string error;
    ASSERT_TRUE(ini.Save(&error)) << error;
    TIniFile back(path);
    EXPECT_TRUE(back.Exists());
    EXPECT_EQ(back.ReadString("S", "r"), "12,3400001525879");
    // Nothing but the file itself is left in the folder.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir / "sub")) (void)e, ++files;
    EXPECT_EQ(files, 1);
}

TEST(IniFile, FailedSaveLeavesTheOldFileAndSaysWhy) {
    test::TempDir dir;
    const auto path = dir / "kept.ini";
    test::WriteText(path, "[A]\nx=1\n");
    // A folder standing where the temporary file's folder should be makes the save fail.
    TIniFile ini;
    ini.WriteString("A", "x", "2");
    std::string error;
    EXPECT_FALSE(ini.SaveToFile(dir / "kept.ini" / "inner.ini", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::ReadText(path), "[A]\nx=1\n");
}

TEST(NumberFormat, RealsAreWrittenWithFifteenDigitsAndADecimalComma) {
    EXPECT_EQ(FormatReal(12.34f), "12,3400001525879");
    EXPECT_EQ(FormatReal(0.5), "0,5");
    EXPECT_EQ(FormatReal(1250), "1250");
    EXPECT_EQ(FormatReal(-3.25), "-3,25");
    EXPECT_EQ(FormatReal(0), "0");
    EXPECT_EQ(FormatReal(1e-5), "1E-5");
    EXPECT_EQ(FormatReal(1e20), "1E20");
    EXPECT_EQ(FormatReal(0.1f), "0,100000001490116");
}

TEST(NumberFormat, RealsReadBackExactlyAsWritten) {
    for (float v : {12.34f, -0.001f, 1e-7f, 3.4e38f, 256.0f, 0.3f}) {
        auto back = ParseReal(FormatReal(v));
        ASSERT_TRUE(back.has_value()) << FormatReal(v);
        EXPECT_EQ(float(*back), v) << FormatReal(v);
    }
}

TEST(NumberFormat, ParsingAcceptsPointOrCommaAndRejectsTheRest) {
    EXPECT_EQ(ParseReal("0.06"), 0.06);
    EXPECT_EQ(ParseReal("0,06"), 0.06);
    EXPECT_EQ(ParseReal(" -2,5 "), -2.5);
    EXPECT_EQ(ParseReal("+3"), 3.0);
    EXPECT_EQ(ParseReal("1,5E-5"), 1.5e-5);
    EXPECT_EQ(ParseReal(",5"), 0.5);
    for (const char* bad :
         {"", "abc", "1,2,3", "1.2.3", "1,5x", "e5", "1E", "-", ",", "nan", "inf", "1e999"}) {
        EXPECT_FALSE(ParseReal(bad).has_value()) << bad;
    }
    EXPECT_EQ(ParseInteger("-12"), -12);
    EXPECT_EQ(ParseInteger(" 7 "), 7);
    EXPECT_FALSE(ParseInteger("1.0").has_value());
    EXPECT_FALSE(ParseInteger("99999999999999999999").has_value());
    EXPECT_FALSE(ParseInteger("--1").has_value());
}

}  // namespace
}  // namespace vallorn
