#include "startup/PreviewMode.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "tests/startup/StartupTestSupport.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

using TState = TForeignWindow::TState;

class PreviewModeTest : public ::testing::Test {
protected:
    PreviewModeTest() {
        TBitmap picture(6, 4);
        picture.Fill(0x336699);
        Session.PreviewPictureFile = Dir.Write("preview.jpg", EncodeJpeg(picture, 90));
        Session.CommandLine.HandleText = "4711";
        Session.OpenWindow = Opener.Function();
    }

    // Runs the mode and returns the error text, "" when it finished.
    std::string Run() {
        try {
            PreviewMode(Session);
        } catch (const Exception& error) {
            return error.Message();
        }
        return "";
    }

    test::TScopedManualClock Clock;
    test::TTempDir Dir;
    test::TFakeOpener Opener;
    TSaverSession Session;
};

TEST_F(PreviewModeTest, VisibleWindowIsDrawnAtOnceWithTheWholePicture) {
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(Opener.OpenedIds, std::vector<std::uint32_t>{4711});
    ASSERT_EQ(Opener.Window.Drawn.size(), 1u);
    EXPECT_EQ(Opener.Window.Drawn[0].Width(), 6);
    EXPECT_EQ(Opener.Window.Drawn[0].Height(), 4);
    EXPECT_TRUE(Clock.Sleeps.empty());
}

TEST_F(PreviewModeTest, HiddenWindowIsWaitedForUntilItShows) {
    Opener.Window.States = {TState::Hidden, TState::Hidden, TState::Hidden, TState::Viewable};
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(Opener.Window.Drawn.size(), 1u);
    EXPECT_EQ(Clock.Sleeps.size(), 3u);
}

TEST_F(PreviewModeTest, WaitGivesUpOnAMissingWindowAtOnceAndOnAHiddenOneAfterTenSeconds) {
    Opener.Window.States = {TState::Missing};
    EXPECT_EQ(Run(), "There is no window 4711 to draw the preview into");
    EXPECT_TRUE(Clock.Sleeps.empty());

    // A window that vanishes while we wait is given up on as soon as that is seen.
    Opener.Window.StateCalls = 0;
    Opener.Window.States = {TState::Hidden, TState::Missing};
    EXPECT_EQ(Run(), "There is no window 4711 to draw the preview into");

    const std::uint32_t start = Clock.Now;
    Opener.Window.StateCalls = 0;
    Opener.Window.States = {TState::Hidden};
    EXPECT_EQ(Run(), "Window 4711 did not become visible within 10 seconds");
    EXPECT_GE(Clock.Now - start, kHostWindowWaitMs);
    EXPECT_LT(Clock.Now - start, kHostWindowWaitMs + 100);
    EXPECT_TRUE(Opener.Window.Drawn.empty());
}

TEST_F(PreviewModeTest, HandleTextMustBeANumber) {
    Session.CommandLine.HandleText = "NOTANUMBER";
    EXPECT_EQ(Run(), "'NOTANUMBER' is not a valid integer value");
    Session.CommandLine.HandleText = "";
    EXPECT_EQ(Run(), "'' is not a valid integer value");
    EXPECT_TRUE(Opener.OpenedIds.empty());

    // A negative id reaches the window layer, which finds no such window.
    Session.CommandLine.HandleText = "-5";
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(Opener.OpenedIds, std::vector<std::uint32_t>{4294967291u});
}

TEST_F(PreviewModeTest, PictureErrorsReachTheCallerAndNothingIsDrawn) {
    Session.PreviewPictureFile = Dir.Write("preview.png", "whatever");
    EXPECT_EQ(Run(), "Unknown picture file extension (.png)");
    Session.PreviewPictureFile = Dir.File("gone.jpg");
    EXPECT_NE(Run().find("gone.jpg"), std::string::npos);
    Session.PreviewPictureFile = Dir.Write("broken.jpg", "not a jpeg");
    EXPECT_NE(Run(), "");
    EXPECT_TRUE(Opener.Window.Drawn.empty());
}

} // namespace
} // namespace ml
