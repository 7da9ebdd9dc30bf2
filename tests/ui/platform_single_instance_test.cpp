// One running copy: a second copy is refused and asks the first to raise its window; the lock
// is free again once the first copy is gone; the private fallback folder refuses a link.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/single_instance.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

TEST(SingleInstance, SecondCopyIsRefusedAndRaisesTheFirstOnce) {
    test::TempDir dir;
    {
        auto first = std::make_unique<TSKISingleInstance>(dir.Path());
        ASSERT_TRUE(first->Acquire());
        EXPECT_TRUE(first->Problem().empty()) << first->Problem();
        EXPECT_FALSE(first->RaiseRequested());

        TSKISingleInstance second(dir.Path());  // a separate open: flock conflicts in-process
        EXPECT_FALSE(second.Acquire());
        EXPECT_TRUE(first->RaiseRequested());
        EXPECT_FALSE(first->RaiseRequested());

        first.reset();
        TSKISingleInstance third(dir.Path());
        EXPECT_TRUE(third.Acquire());
        EXPECT_TRUE(third.Problem().empty()) << third.Problem();
        // The raise pipe of the new holder starts empty.
        EXPECT_FALSE(third.RaiseRequested());
    }
}

TEST(SingleInstance, PrivateFolderIsMadeOrRefused) {
    test::TempDir dir;
    std::string why;
    const auto made = dir / "vallorn-me";
    ASSERT_TRUE(TSKISingleInstance::PreparePrivateFolder(made, &why)) << why;
    struct stat st {};
    ASSERT_EQ(::stat(made.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    const auto link = dir / "vallorn-link";
    std::filesystem::create_directory_symlink(made, link);
    EXPECT_FALSE(TSKISingleInstance::PreparePrivateFolder(link, &why));
    EXPECT_NE(why.find("symbolic link"), std::string::npos) << why;

    test::WriteText(dir / "vallorn-file", "x");
    EXPECT_FALSE(TSKISingleInstance::PreparePrivateFolder(dir / "vallorn-file", &why));
}

}  // namespace
}  // namespace vallorn
