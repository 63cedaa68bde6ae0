#include "platform/InstanceFolder.h"

#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ml {
namespace {

class InstanceFolderTest : public ::testing::Test {
protected:
    test::TTempDir Root;
    const std::string Lock = TInstanceFolder::kLockName;

    unsigned Mode(const std::string& name) {
        struct stat st;
        return lstat(Root.File(name).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    // A folder as a killed instance leaves it: its lock file and its files, nobody holding it.
    void Abandoned(const std::string& name) {
        Root.Write(name + "/" + Lock, "");
        Root.Write(name + "/picture.qmp", "left over");
    }
};

TEST_F(InstanceFolderTest, EachRunningInstanceHoldsAFolderOfItsOwn) {
    auto first = std::make_unique<TInstanceFolder>(Root.Path(), "lake");
    TInstanceFolder second(Root.Path(), "lake");
    EXPECT_EQ(first->Path(), Root.File("lake/"));
    EXPECT_TRUE(first->IsFirst());
    EXPECT_EQ(second.Path(), Root.File("lake-2/"));
    EXPECT_FALSE(second.IsFirst());
    EXPECT_EQ(Mode("lake"), 0700u);
    EXPECT_EQ(Mode("lake-2"), 0700u);

    // Released, the first folder goes and the next instance takes its name again.
    first->Release();
    first.reset();
    EXPECT_FALSE(DirectoryExists(Root.File("lake")));
    TInstanceFolder third(Root.Path(), "lake");
    EXPECT_EQ(third.Path(), Root.File("lake/"));
    // An instance that ends without Release (it crashed) lets its folder go all the same.
    auto crashed = std::make_unique<TInstanceFolder>(Root.Path(), "lake");
    EXPECT_EQ(crashed->Path(), Root.File("lake-3/"));
    crashed.reset();
    TInstanceFolder fourth(Root.Path(), "lake");
    EXPECT_EQ(fourth.Path(), Root.File("lake-3/"));
}

TEST_F(InstanceFolderTest, FoldersOfKilledInstancesAreCleanedAtTheNextStart) {
    Abandoned("lake");
    Abandoned("lake-2");
    Abandoned("lake-7");
    // Names that are not another instance of this saver, and a folder no saver made.
    Abandoned("lake-x");
    Abandoned("lake-07");
    Root.Write("lake-5/notes.txt", "someone's");
    // A live instance's folder is left alone.
    Root.Write("lake-3/" + Lock, "");
    const int held = open(Root.File("lake-3/" + Lock).c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    TInstanceFolder folder(Root.Path(), "lake");
    EXPECT_EQ(folder.Path(), Root.File("lake/"));
    EXPECT_FALSE(FileExists(Root.File("lake/picture.qmp")));
    EXPECT_FALSE(DirectoryExists(Root.File("lake-2")));
    EXPECT_FALSE(DirectoryExists(Root.File("lake-7")));
    EXPECT_TRUE(FileExists(Root.File("lake-x/picture.qmp")));
    EXPECT_TRUE(FileExists(Root.File("lake-07/picture.qmp")));
    EXPECT_TRUE(FileExists(Root.File("lake-5/notes.txt")));
    EXPECT_TRUE(FileExists(Root.File("lake-3/" + Lock)));
    close(held);
}

TEST_F(InstanceFolderTest, OnlyAPrivateFolderOfOursIsUsed) {
    // A link in the folder's place, and a folder of that name holding someone else's files.
    test::TTempDir elsewhere;
    ASSERT_EQ(symlink(elsewhere.Path().c_str(), Root.File("linked").c_str()), 0);
    EXPECT_THROW(TInstanceFolder(Root.Path(), "linked"), EInOutError);
    Root.Write("pulse/native", "a socket, say");
    EXPECT_THROW(TInstanceFolder(Root.Path(), "pulse"), EInOutError);
    EXPECT_TRUE(FileExists(Root.File("pulse/native")));
    EXPECT_FALSE(FileExists(Root.File("pulse/" + Lock)));

    // An empty folder with looser rights is taken and made private.
    ASSERT_EQ(mkdir(Root.File("open").c_str(), 0777), 0);
    ASSERT_EQ(chmod(Root.File("open").c_str(), 0777), 0);
    TInstanceFolder taken(Root.Path(), "open");
    EXPECT_EQ(Mode("open"), 0700u);

    if (geteuid() == 0) {
        // Only root can hand a folder to another user; it must not be trusted then.
        ASSERT_EQ(mkdir(Root.File("theirs").c_str(), 0700), 0);
        ASSERT_EQ(chown(Root.File("theirs").c_str(), 12345, 12345), 0);
        EXPECT_THROW(TInstanceFolder(Root.Path(), "theirs"), EInOutError);
    }
}

TEST_F(InstanceFolderTest, ReleaseKeepsAFolderThatStillHoldsFiles) {
    auto folder = std::make_unique<TInstanceFolder>(Root.Path(), "lake");
    Root.Write("lake/unknown", "x");
    folder->Release();
    folder.reset();
    // The lock file stays with it, so the next instance knows the folder and cleans it.
    EXPECT_TRUE(FileExists(Root.File("lake/" + Lock)));
    TInstanceFolder next(Root.Path(), "lake");
    EXPECT_EQ(next.Path(), Root.File("lake/"));
    EXPECT_FALSE(FileExists(Root.File("lake/unknown")));
}

} // namespace
} // namespace ml
