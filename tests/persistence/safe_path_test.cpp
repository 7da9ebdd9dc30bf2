// Stored and typed names become paths only inside their folder.
#include <gtest/gtest.h>

#include "base/safe_path.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

TEST(FileNames, OnlyPlainNamesBecomePathsInTheirFolder) {
    for (const char* good : {"Training", "flat10.bmp", "My hill 2", "Mont-Blanc_1", "a..b"}) {
        EXPECT_FALSE(FileNameProblem(good)) << good;
        EXPECT_EQ(PathInFolder("/games/worlds", good, ".skil"),
                  fs::path("/games/worlds") / (std::string(good) + ".skil"));
    }
    const std::string tooLong(kMaxFileNameLength + 1, 'x');
    for (const std::string& bad :
         {std::string(), std::string(".."), std::string("."), std::string("../../x/Training"),
          std::string("/etc/passwd"), std::string("sub/name"), std::string("sub\\name"),
          std::string(".hidden"), std::string("line\nbreak"), std::string("tab\tname"),
          std::string("nul\0name", 8), tooLong}) {
        std::string why;
        EXPECT_TRUE(FileNameProblem(bad)) << bad;
        EXPECT_FALSE(PathInFolder("/games/worlds", bad, ".skil", &why)) << bad;
        EXPECT_NE(why.find("cannot name a file"), std::string::npos) << why;
        EXPECT_EQ(why.find('\n'), std::string::npos) << why;
    }
    EXPECT_FALSE(FileNameProblem(std::string(kMaxFileNameLength, 'x')));
}

}  // namespace
}  // namespace vallorn
