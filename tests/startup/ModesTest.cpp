#include "startup/ConfigureMode.h"
#include "startup/PreviewMode.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "tests/project/ArchiveTestSupport.h"
#include "tests/startup/StartupTestSupport.h"
#include "tests/support/RecordingSink.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

// A program file named my.saver.scr carrying a project with one picture, an optional preview
// picture and an interface description with one window.
class ModesTest : public ::testing::Test {
protected:
    void Pack(const std::string& previewLine,
              const std::string& ui = "1\r\n1\r\nobject MainWindow: TForm\r\n0\r\n0\r\n") {
        TBitmap picture(4, 4);
        picture.Fill(0xFF8000);
        const std::string settings =
            BuildArchive({"[FileList]\r\nlake.qmp=1\r\n",
                          "[General]\r\nProductName=Lake\r\n[Advance]\r\n" + previewLine + "\r\n",
                          "[UI]\r\nUIFile=ui.wui\r\n"});
        const std::string archive = BuildArchive(
            {settings, "lake.qmp\r\nprev.jpg", BuildArchive({"QM", EncodeJpeg(picture, 90)}), ui});
        Session.ProgramPath = Programs.Write("my.saver.scr", "program image" + archive);
        Session.OpenWindow = Opener.Function();
        Session.CommandLine.HandleText = "99";
    }

    test::TScopedTempPath Temp;
    const std::string Folder = Temp.Folder().Path() + "my/";
    test::TTempDir Programs;
    test::TRecordingSink Messages;
    test::TFakeOpener Opener;
    TSaverSession Session;
};

TEST_F(ModesTest, PreviewDrawsTheProjectsPreviewAndLeavesTheExtractedFiles) {
    Pack("PreviewFile=C:\\Work\\prev.jpg");
    PreviewMode(Session);
    EXPECT_EQ(Session.PreviewPictureFile, Folder + "prev.jpg");
    ASSERT_EQ(Opener.Window.Drawn.size(), 1u);
    EXPECT_EQ(Opener.Window.Drawn[0].Width(), 4);
    EXPECT_EQ(Session.Forms.Count(), 1);
    EXPECT_TRUE(FileExists(Folder + "prev.jpg"));
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(ModesTest, PreviewWithoutAPreviewPictureDoesNothing) {
    Pack("MusicFile=");
    // The handle is only read when there is something to draw.
    Session.CommandLine.HandleText = "NOTANUMBER";
    PreviewMode(Session);
    EXPECT_TRUE(Opener.OpenedIds.empty());
}

TEST_F(ModesTest, ConfigureWithoutItsWindowReportsAndStillCleansUp) {
    // The description holds no window named MainWindow: the lookup fails before anything is
    // built, and the extracted files go all the same.
    Pack("PreviewFile=prev.jpg", "1\r\n1\r\nobject Other: TForm\r\n0\r\n0\r\n");
    EXPECT_THROW(ConfigureMode(Session), EListError);
    EXPECT_EQ(Session.Project.Setting.ProductName, "Lake");
    EXPECT_FALSE(DirectoryExists(Folder));
}

// A project that fails to load (here its description) leaves nothing behind either.
TEST_F(ModesTest, AFailedLoadStillRemovesTheExtractedFiles) {
    Pack("PreviewFile=prev.jpg", "two\r\n");
    EXPECT_THROW(ConfigureMode(Session), EConvertError);
    EXPECT_FALSE(DirectoryExists(Folder));
    EXPECT_TRUE(Messages.Messages.empty());
}

} // namespace
} // namespace ml
