#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/ProgramPath.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace ml {
namespace {

TEST(PrivateFolder, IsCreatedForThisUserAlone) {
    test::TTempDir dir;
    std::string folder = dir.File("scratch/");
    EnsurePrivateFolder(folder);
    struct stat st;
    ASSERT_EQ(lstat(dir.File("scratch").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_NO_THROW(EnsurePrivateFolder(folder)); // an existing own folder is fine
}

TEST(PrivateFolder, RefusesALinkOrAFileInItsPlace) {
    test::TTempDir dir;
    ASSERT_EQ(mkdir(dir.File("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(symlink(dir.File("elsewhere").c_str(), dir.File("link").c_str()), 0);
    EXPECT_THROW(EnsurePrivateFolder(dir.File("link/")), EInOutError);
    dir.Write("plain", "x");
    EXPECT_THROW(EnsurePrivateFolder(dir.File("plain/")), EInOutError);
}

TEST(PrivateFolder, ExtractFolderIsTheTempPathAndTheProgramBaseName) {
    test::TTempDir dir;
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    std::string previous = saved ? saved : "";
    setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    std::string folder = GetExtractFolder("/opt/savers/my.saver.scr");
    const bool exists = DirectoryExists(folder);
    // The same folder for as long as this process holds it.
    const std::string again = GetExtractFolder("/usr/bin/my.scr");
    ReleaseExtractFolder("/opt/savers/my.saver.scr");
    if (saved)
        setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(folder, dir.Path() + "my/");
    EXPECT_TRUE(exists);
    EXPECT_EQ(again, folder);
    EXPECT_FALSE(DirectoryExists(folder));
}

} // namespace
} // namespace ml
