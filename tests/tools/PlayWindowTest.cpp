// The play window: it plays what the files say, plays it again when they change (saved in
// place or renamed over), keeps the last good picture while an edit does not build, and ends
// on Escape.

#include "tools/authoring/PlayWindow.h"
#include "saver/ShowWindow.h"
#include "tests/support/ManualClock.h"
#include "tests/tools/AuthoringFixture.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

namespace ml::authoring {
namespace {

const char* const kStill = "[Area1]\nAmplitude=0\n";
const char* const kWaves = "[Area1]\nAmplitude=6\nWaveCount=9\nPhaseStep=25\nVertical=1\n";

class PlayWindowTest : public ::testing::Test {
protected:
    TPictureFileRecipe Recipe() {
        TPictureFileRecipe recipe;
        recipe.Image = Dir.Write("lake.png", test::Encoded(test::Landscape(80, 60), "PNG"));
        recipe.Areas = Dir.Write("mask.png", test::Encoded(test::LowerHalfMask(80, 60), "PNG"));
        recipe.Params = Dir.Write("params.ini", kStill);
        return recipe;
    }

    // A few frames of the show; the pacing waits take no time on the manual clock.
    static QImage FrameAfterSteps(TPlayWindow& window) {
        for (int i = 0; i < 5; ++i)
            window.Show()->AppIdle();
        return window.Frame();
    }

    static bool Loads(TPlayWindow& window) {
        QSignalSpy loaded(&window, &TPlayWindow::Loaded);
        return loaded.wait(5000);
    }

    static bool SameRows(const QImage& a, const QImage& b, int from, int to) {
        return a.copy(0, from, a.width(), to - from) == b.copy(0, from, b.width(), to - from);
    }

    test::TScopedManualClock Clock;
    test::TTempDir Dir;
};

TEST_F(PlayWindowTest, AChangedParameterFileShowsAtOnce) {
    TPlayWindow window(PlaySourceOf(Recipe()), QSize(80, 60));
    window.show();
    ASSERT_NE(window.Show(), nullptr);
    EXPECT_TRUE(window.Scene().Findings.empty()) << test::AllText(window.Scene().Findings);
    const QImage still = FrameAfterSteps(window);
    EXPECT_EQ(FrameAfterSteps(window), still) << "still water does not move";

    Dir.Write("params.ini", kWaves);
    ASSERT_TRUE(Loads(window)) << "no reload after the parameter file changed";
    const QImage moving = FrameAfterSteps(window);
    EXPECT_TRUE(SameRows(moving, still, 0, 28)) << "the dry land stays as it was";
    EXPECT_FALSE(SameRows(moving, still, 32, 60)) << "the water moves now";
}

TEST_F(PlayWindowTest, AnEditThatDoesNotBuildKeepsTheLastPictureAndSaysWhy) {
    TPlayWindow window(PlaySourceOf(Recipe()), QSize(80, 60));
    window.show();
    const TQMfmScrSvr* before = window.Show();

    QSignalSpy loaded(&window, &TPlayWindow::Loaded);
    Dir.Write("params.ini", "[Area1]\nAmplitud=6\n");
    ASSERT_TRUE(loaded.wait(5000));
    const auto findings = loaded.takeFirst().at(0).value<TFindings>();
    EXPECT_TRUE(test::Says(findings, "Amplitud is not a known key")) << test::AllText(findings);
    EXPECT_EQ(window.Show(), before) << "the show goes on with the last picture that built";
}

TEST_F(PlayWindowTest, APictureFileRenamedOverTheOldOneIsPlayedAgain) {
    // make-qmp writes a new file and renames it over the old one, as most editors save.
    const std::string file = test::MakePictureFile(Dir, "lake.qmp", kStill, 80, 60);
    TPlayWindow window(PlaySourceOf(file), QSize(80, 60));
    window.show();
    const QImage still = FrameAfterSteps(window);

    for (const char* params : {kWaves, kStill}) {
        const std::string fresh = test::MakePictureFile(Dir, "fresh.qmp", params, 80, 60);
        ASSERT_EQ(std::rename(fresh.c_str(), file.c_str()), 0);
        ASSERT_TRUE(Loads(window)) << "no reload after " << params;
    }
    EXPECT_EQ(FrameAfterSteps(window), still) << "the second replacement was seen too";
}

TEST_F(PlayWindowTest, EscapeEndsTheWindowAndTheShow) {
    TPlayWindow window(PlaySourceOf(Recipe()), QSize(80, 60));
    window.show();
    ASSERT_NE(window.Show(), nullptr);
    QTest::keyClick(window.Show(), Qt::Key_A);
    QTest::mouseMove(window.Show(), QPoint(40, 40));
    EXPECT_TRUE(window.isVisible()) << "keys and the mouse leave the show running here";
    EXPECT_NE(window.Show(), nullptr);
    QTest::keyClick(window.Show(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.Show(), nullptr);
}

} // namespace
} // namespace ml::authoring
