#include "backend/Jpeg.h"
#include "project/PictureFileWriter.h"
#include "project/QMCProject.h"
#include "saver/RunScreenSaver.h"
#include "saver/ShowWindow.h"
#include "tests/mixer/WaveFiles.h"
#include "tests/saver/ShowFixture.h"
#include "tests/support/VirtualWaveOut.h"

#include <QApplication>
#include <QScreen>
#include <gtest/gtest.h>
#include <set>

namespace ml {
namespace {

// A picture file whose whole lower half is water area 1 with typical waves, and rain over
// it if asked for.
std::string WaterPicture(const test::TTempDir& dir, const std::string& name, bool rain = false,
                         const TSoundTable& sounds = {}) {
    TBitmap picture(32, 24), areas(32, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x) {
            picture.SetPixel(x, y, static_cast<std::uint32_t>((y * 10) << 8 | x * 7));
            areas.SetPixel(x, y, y >= 12 ? AreaColors[1] : 0);
        }
    TPictureFileContent content;
    content.Title = name;
    content.ThumbnailData = EncodeJpeg(picture, 90);
    content.PictureData = EncodeJpeg(picture, 95);
    content.AreaValues = EncodeAreaMap(areas);
    TWaveParam& wave = content.WaveRecords[0];
    wave.Amplitude = 3, wave.WaveCount = 5, wave.PhaseStep = 15, wave.Direction = 1;
    wave.Vertical = 1, wave.Period = 360;
    for (int i = 1; i < 4; ++i)
        content.WaveRecords[i].Period = 360;
    if (rain)
        content.Weather = {2, 12, 4, 70, 10, 0};
    content.Sounds = sounds;
    return dir.Write(name, WritePictureFile(content));
}

class SaverFormTest : public test::TShowFixture {
protected:
    SaverFormTest() : TShowFixture(1) {}

    std::unique_ptr<TQMfmScrSvr> Show() {
        auto form = std::make_unique<TQMfmScrSvr>(Project);
        form->SetScreenSize(64, 48);
        form->FormShow();
        return form;
    }
    // Runs ticks until the clock has moved past the given time and lists the indexes shown.
    static std::vector<int> IndexesOverTicks(TQMfmScrSvr& form, int ticks) {
        std::vector<int> shown;
        for (int i = 0; i < ticks; ++i) {
            form.AppIdle();
            if (shown.empty() || shown.back() != form.CurrentIndex())
                shown.push_back(form.CurrentIndex());
        }
        return shown;
    }
};

TEST_F(SaverFormTest, EmptyProjectShowsNoWindow) {
    RunScreenSaver(Project);
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "No image found in Images List.");
    EXPECT_EQ(Messages.Messages[0].Icon, TMsgIcon::Information);
}

TEST_F(SaverFormTest, NoEnabledPictureAsksToConfigure) {
    Add(test::PlainPicture(Dir, "a.bmp", Qt::red), false);
    auto form = Show();
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "Unable to run screensaver.\r\nPlease configure!");
    EXPECT_FALSE(form->IdleInstalled());
}

TEST_F(SaverFormTest, TwoPicturesInRandomModeAlternateStrictly) {
    Add(test::PlainPicture(Dir, "a.bmp", Qt::red));
    Add(test::PlainPicture(Dir, "b.bmp", Qt::blue));
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        Project.Setting.ShowImageMode = mode;
        auto form = Show();
        // Every tick sleeps to 33 ms; a second holds about 31 ticks.
        std::vector<int> shown = IndexesOverTicks(*form, 31 * 8);
        ASSERT_GE(shown.size(), 7u);
        for (std::size_t i = 1; i < shown.size(); ++i)
            EXPECT_NE(shown[i], shown[i - 1]);
    }
}

// With three pictures a random order shows itself: the next picture is not always the one
// after (the clock fixes the seed, so the run is the same every time).
TEST_F(SaverFormTest, RandomModesWithThreePicturesAreNotSequential) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        Add(test::PlainPicture(Dir, name, Qt::green));
    Project.Setting.Duration = 0;
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        Project.Setting.ShowImageMode = mode;
        auto form = Show();
        const std::vector<int> shown = IndexesOverTicks(*form, 30);
        ASSERT_GE(shown.size(), 20u);
        int steps = 0;
        for (std::size_t i = 1; i < shown.size(); ++i)
            steps += shown[i] == (shown[i - 1] + 1) % 3;
        EXPECT_LT(steps, static_cast<int>(shown.size()) - 1);
        EXPECT_EQ(std::set<int>(shown.begin(), shown.end()).size(), 3u);
    }
}

TEST_F(SaverFormTest, SequentialOrderAndDuration) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        Add(test::PlainPicture(Dir, name, Qt::green));
    Project.Setting.ShowImageMode = 1;
    Project.Setting.Duration = 2;
    auto form = Show();
    EXPECT_EQ(form->CurrentIndex(), 0);
    std::uint32_t start = Clock.Now;
    std::vector<std::uint32_t> changes;
    int last = 0;
    for (int i = 0; i < 400; ++i) {
        form->AppIdle();
        if (form->CurrentIndex() != last) {
            changes.push_back(Clock.Now - start);
            last = form->CurrentIndex();
        }
    }
    ASSERT_GE(changes.size(), 3u);
    EXPECT_GE(changes[0], 2000u);
    EXPECT_LT(changes[0], 2100u);
    EXPECT_EQ(form->LoadedName(), form->CurrentName());
    // 0, 1, 2, 0, ...: the fourth picture is the first again.
    Project.Setting.Duration = 0;
    auto fast = Show();
    EXPECT_EQ(IndexesOverTicks(*fast, 4), (std::vector<int>{1, 2, 0, 1}));
}

TEST_F(SaverFormTest, NoAdvanceWhenRandomIsOff) {
    Add(test::PlainPicture(Dir, "a.bmp", Qt::red));
    Add(test::PlainPicture(Dir, "b.bmp", Qt::blue));
    Project.Setting.ShowImageMode = 1;
    Project.Setting.Random = false;
    auto form = Show();
    EXPECT_EQ(IndexesOverTicks(*form, 200), (std::vector<int>{0}));
}

TEST_F(SaverFormTest, FramesArePacedTo33Milliseconds) {
    Add(WaterPicture(Dir, "w.qmp"));
    auto form = Show();
    Clock.Sleeps.clear();
    form->AppIdle();
    Clock.Advance(10); // work that took 10 ms leaves 23 to wait
    form->PresentFrame();
    Clock.Advance(40); // a slow frame is not paced at all
    form->PresentFrame();
    EXPECT_EQ(Clock.Sleeps, (std::vector<std::uint32_t>{33, 23}));
}

// The millisecond counter wraps after 49.7 days; a show running across the wrap must neither
// sleep for the distance of the wrap nor stop changing pictures.
TEST_F(SaverFormTest, TicksCountOnAcrossTheCounterWrap) {
    Add(test::PlainPicture(Dir, "a.bmp", Qt::red));
    Add(test::PlainPicture(Dir, "b.bmp", Qt::blue));
    Project.Setting.ShowImageMode = 1;
    Clock.Now = 0xFFFFFFFFu - 300;
    auto form = Show();
    Clock.Sleeps.clear();
    Clock.Advance(340); // a slow frame (a crossfade) that ends after the wrap
    form->PresentFrame();
    EXPECT_TRUE(Clock.Sleeps.empty());
    EXPECT_EQ(IndexesOverTicks(*form, 31 * 3), (std::vector<int>{0, 1, 0, 1}));
    for (std::uint32_t sleep : Clock.Sleeps)
        EXPECT_LE(sleep, 33u);
}

TEST_F(SaverFormTest, WaterMovesAndTheFrameIsCentred) {
    Add(WaterPicture(Dir, "w.qmp"));
    Project.Setting.Stretch = false;
    auto form = Show();
    form->AppIdle();
    QImage first = form->Canvas().copy();
    for (int i = 0; i < 3; ++i)
        form->AppIdle();
    QImage later = form->Canvas();
    // The 32 x 24 picture sits in the middle of the 64 x 48 screen: black around it.
    EXPECT_EQ(later.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(first.copy(16, 12, 32, 12), later.copy(16, 12, 32, 12)); // sky: still
    EXPECT_NE(first.copy(16, 24, 32, 12), later.copy(16, 24, 32, 12)); // water: moving
}

// Frames go to the window in parts (the water rows, the drops taken off and drawn); what the
// window shows must still be the whole frame, with no drop left behind.
TEST_F(SaverFormTest, WindowShowsTheWholeFrameThoughOnlyPartsArePainted) {
    Add(WaterPicture(Dir, "w.qmp", true));
    Project.Setting.Stretch = false;
    auto form = Show();
    form->show();
    QApplication::processEvents();
    for (int i = 0; i < 30; ++i) {
        form->AppIdle();
        const QImage onScreen = form->screen()
                                    ->grabWindow(form->winId())
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(onScreen, form->Canvas().convertToFormat(QImage::Format_RGB32)) << "frame " << i;
    }
}

TEST_F(SaverFormTest, MouseMovesNeedMoreThanTwoPixelsAfterTheGraceMoves) {
    Add(test::PlainPicture(Dir, "a.bmp", Qt::red));
    auto form = Show();
    for (int i = 0; i < 5; ++i)
        form->FormMouseMove(100 * i, 100 * i); // ignored, however far
    form->FormMouseMove(10, 10);               // only recorded
    form->FormMouseMove(12, 8);
    EXPECT_FALSE(form->CloseRequested());
    form->FormMouseMove(15, 8);
    EXPECT_TRUE(form->CloseRequested());

    auto again = Show();
    EXPECT_TRUE(again->FormCloseQuery());
    EXPECT_EQ(SaverInputState().MoveGraceCount, 5);
}

TEST_F(SaverFormTest, KeysAndButtons) {
    Add(WaterPicture(Dir, "w.qmp"));
    auto form = Show();
    form->FormKeyDown(Qt::Key_Shift);
    form->FormKeyPress("");
    EXPECT_FALSE(form->CloseRequested());

    const QImage still = form->Generator().CurrentFrame().ToImage().copy();
    for (int i = 0; i < 4; ++i)
        form->AppIdle();
    EXPECT_NE(form->Generator().CurrentFrame().ToImage(), still);
    form->FormKeyDown(Qt::Key_F1);
    EXPECT_NE(form->Generator().CurrentFrame().ToImage(), still);
    form->FormKeyDown(Qt::Key_F1); // every second press puts the still picture back
    EXPECT_EQ(form->Generator().CurrentFrame().ToImage(), still);
    EXPECT_FALSE(form->CloseRequested());

    for (const char* text : {"a", "7", " ", "\r", "\x1b"}) {
        auto keyed = Show();
        keyed->FormKeyPress(text);
        EXPECT_TRUE(keyed->CloseRequested()) << int(text[0]);
    }
    auto clicked = Show();
    clicked->FormMouseDown();
    EXPECT_TRUE(clicked->CloseRequested());
}

TEST_F(SaverFormTest, CloseFreesTheShowInOrder) {
    Add(WaterPicture(Dir, "w.qmp"));
    auto form = Show();
    EXPECT_TRUE(form->IdleInstalled());
    form->FormClose();
    EXPECT_FALSE(form->IdleInstalled());
    EXPECT_FALSE(form->HasGenerator());
    EXPECT_TRUE(form->PictureList().empty());
}

TEST_F(SaverFormTest, MissingPictureFileKeepsThePreviousPicture) {
    Add(WaterPicture(Dir, "w.qmp"));
    Add(Dir.File("gone.qmp"));
    Project.Setting.ShowImageMode = 1;
    Project.Setting.Duration = 0;
    auto form = Show();
    form->AppIdle();
    EXPECT_EQ(form->CurrentName(), Dir.File("gone.qmp"));
    EXPECT_EQ(form->LoadedName(), Dir.File("w.qmp"));
}

// A picture's sounds end with it, whatever slots the next picture uses and whether or not the
// next one loads; only what was mixed ahead still plays out.
TEST_F(SaverFormTest, SoundsOfThePreviousPictureStopAtAChange) {
    test::TVirtualWaveOut device{Clock};
    const std::string tone =
        Dir.Write("tone.wav", test::MakeWave(1, 22050, 8, std::string(2000, '\xC0')));
    TSoundTable loops{};
    loops[0] = MakeSoundSlot(tone, 0, 0, 0);
    loops[1] = MakeSoundSlot(tone, 0, 0, 0);
    const std::string damaged = Dir.Write("damaged.qmp", "QM060697 and nothing else");
    const std::string undecodable = Dir.Write("undecodable.jpg", "not a JPEG");
    for (const std::string& next : {WaterPicture(Dir, "quiet.qmp"), damaged, undecodable}) {
        SCOPED_TRACE(next);
        Project.FileList = {};
        Add(WaterPicture(Dir, "loud.qmp", false, loops));
        Add(next);
        Project.Setting.ShowImageMode = 1;
        Project.Setting.Sound = true;
        auto form = Show();
        device.Run(300);
        ASSERT_FALSE(device.Played.empty());
        EXPECT_NE(device.Played.back(), 128); // the loops sound
        Clock.Advance(1000);
        form->AppIdle();
        // A plain picture that cannot be decoded leaves the old one on screen, silent.
        if (next != undecodable) {
            ASSERT_EQ(form->LoadedName(), next);
        }
        device.Run(1000); // what was mixed ahead (about 0.3 s) plays out
        device.Played.clear();
        device.Run(1000);
        EXPECT_EQ(device.Played, std::vector<std::uint8_t>(device.Played.size(), 128));
    }
}

} // namespace
} // namespace ml

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
