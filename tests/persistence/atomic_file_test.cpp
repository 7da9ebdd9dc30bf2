// Saving files: what stands at the path is respected, and a killed save leaves nothing behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/atomic_file.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;
using test::WriteText;

TEST(FileWriting, LinksAreFollowedAndReadOnlyFilesAndFoldersRefused) {
    TempDir dir;
    // A link keeps pointing to its file, which gets the new content; a chain of links too.
    fs::create_directories(dir / "real");
    WriteText(dir / "real/park.ski", "old");
    fs::create_symlink("real/park.ski", dir / "link.ski");
    fs::create_symlink("link.ski", dir / "chain.ski");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir / "chain.ski", "new", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "chain.ski"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ski"));
    EXPECT_EQ(ReadText(dir / "real/park.ski"), "new");
    // A link to a file not there yet creates that file.
    fs::create_symlink("real/later.ski", dir / "later.ski");
    ASSERT_TRUE(WriteFileAtomically(dir / "later.ski", "made", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "later.ski"));
    EXPECT_EQ(ReadText(dir / "real/later.ski"), "made");

    // Read-only files stay as they are, even for the super-user; the mode of others is kept.
    WriteText(dir / "locked.ski", "keep");
    fs::permissions(dir / "locked.ski", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(WriteFileAtomically(dir / "locked.ski", "lost", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(ReadText(dir / "locked.ski"), "keep");
    fs::permissions(dir / "locked.ski", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomically(dir / "locked.ski", "mine", &error)) << error;
    EXPECT_EQ(fs::status(dir / "locked.ski").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_FALSE(WriteFileAtomically(dir / "real", "x", &error));
    EXPECT_NE(error.find("folder"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(dir / "real"));
}

TEST(FileWriting, PipesAreWrittenInPlaceAndNeverWaitedFor) {
    TempDir dir;
    const fs::path fifo = dir / "report.json";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    // Nobody reads: refused at once instead of blocking.
    EXPECT_FALSE(WriteFileAtomically(fifo, "lost", &error));
    EXPECT_NE(error.find("reads"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_fifo(fifo));
    // A reader gets the content through the pipe, which stays a pipe.
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteFileAtomically(fifo, "{\"days\":1}", &error)) << error;
    char buffer[64] = {};
    EXPECT_EQ(read(reader, buffer, sizeof buffer), 10);
    close(reader);
    EXPECT_EQ(std::string(buffer), "{\"days\":1}");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(FileWriting, TemporariesOfKilledSavesGoWithTheNextSave) {
    TempDir dir;
    // Left by killed saves of park.ski: removed. Another file's, or one that a save still
    // holds open: kept.
    WriteText(dir / ".park.ski.tmp-4242-0", std::string(1000, 'x'));
    WriteText(dir / ".park.ski.tmp-4243-7", "half");
    WriteText(dir / ".other.ski.tmp-4242-1", "other");
    WriteText(dir / ".park.ski.tmp-4244-2", "in progress");
    const int busy = open((dir / ".park.ski.tmp-4244-2").c_str(), O_RDONLY);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(flock(busy, LOCK_EX), 0);

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir / "park.ski", "whole", &error)) << error;
    close(busy);
    EXPECT_EQ(ReadText(dir / "park.ski"), "whole");
    EXPECT_FALSE(fs::exists(dir / ".park.ski.tmp-4242-0"));
    EXPECT_FALSE(fs::exists(dir / ".park.ski.tmp-4243-7"));
    EXPECT_TRUE(fs::exists(dir / ".other.ski.tmp-4242-1"));
    EXPECT_TRUE(fs::exists(dir / ".park.ski.tmp-4244-2"));
}

}  // namespace
}  // namespace vallorn
