#include "saver/SaverSounds.h"
#include "project/PictureFileWriter.h"
#include "project/Project.h"
#include "project/QMCProject.h"
#include "tests/mixer/WaveFiles.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualWaveOut.h"

#include <QObject>
#include <gtest/gtest.h>

namespace ml {
namespace {

// A short 16-bit mono WAVE file.
std::string WaveFile(int samples) {
    auto u32 = [](std::uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string data(static_cast<std::size_t>(samples) * 2, '\x10');
    return "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(22050) +
           u32(44100) + u16(2) + u16(16) + "data" + u32(data.size()) + data;
}

class SaverSoundsTest : public ::testing::Test {
protected:
    test::TTempDir Dir;
    test::TScopedManualClock Clock;
    test::TVirtualWaveOut Device{Clock};
    QObject Owner;
    TProject Picture;

    void AddSound(int slot, int mode, int minSeconds, int maxSeconds) {
        std::string path = Dir.Write("s" + std::to_string(slot) + ".wav", WaveFile(200));
        Picture.Sounds[slot] = MakeSoundSlot(path, mode, minSeconds, maxSeconds);
    }
    // Lets the show's ticks run for a while, one every 33 ms, and records the seconds (since
    // the picture was set up) at which each entry last started.
    std::vector<std::vector<std::int64_t>> Starts(TSaverSounds& sounds, int seconds) {
        std::vector<std::vector<std::int64_t>> starts(kSoundSlotCount);
        const std::uint32_t origin = Clock.Now;
        std::vector<std::uint32_t> last(kSoundSlotCount);
        for (int i = 0; i < kSoundSlotCount; ++i)
            last[i] = sounds.States()[i].LastStart;
        for (int t = 0; t < seconds * 1000; t += 33) {
            Clock.Advance(33);
            sounds.PlaySounds(Picture);
            for (int i = 0; i < kSoundSlotCount; ++i)
                if (sounds.States()[i].LastStart != last[i]) {
                    last[i] = sounds.States()[i].LastStart;
                    starts[i].push_back(static_cast<std::uint32_t>(last[i] - origin) / 1000);
                }
        }
        return starts;
    }
};

// Also when the millisecond counter wraps during the schedule.
TEST_F(SaverSoundsTest, LoopStartsOnceAndTimedSoundsRepeat) {
    AddSound(0, 0, 0, 0);
    AddSound(1, 2, 5, 0);
    AddSound(2, 1, 3, 3);
    for (std::uint32_t start : {1000u, 0xFFFFFFFFu - 7000}) {
        SCOPED_TRACE(start);
        Clock.Now = start;
        TSaverSounds sounds(&Owner);
        sounds.InitSounds(Picture);
        ASSERT_TRUE(sounds.HasMixer());
        sounds.PlaySounds(Picture);
        EXPECT_TRUE(sounds.States()[0].Started);
        auto starts = Starts(sounds, 16);
        EXPECT_EQ(starts[1], (std::vector<std::int64_t>{5, 10, 15}));
        EXPECT_EQ(starts[2], (std::vector<std::int64_t>{3, 6, 9, 12, 15}));
        EXPECT_TRUE(starts[0].empty()); // the loop never restarts

        sounds.FreeSounds();
        for (const auto& state : sounds.States())
            EXPECT_FALSE(state.Loaded);
    }
}

TEST_F(SaverSoundsTest, RandomPausesStayInTheirRange) {
    AddSound(0, 1, 2, 5); // pauses of 2, 3 or 4 seconds
    AddSound(1, 1, 6, 4); // the larger minimum: 4 or 5 seconds
    TSaverSounds sounds(&Owner);
    sounds.SeedRandom(7);
    sounds.InitSounds(Picture);
    auto starts = Starts(sounds, 60);
    for (int slot : {0, 1}) {
        const std::int64_t low = slot == 0 ? 2 : 4, high = slot == 0 ? 4 : 5;
        std::int64_t previous = 0;
        ASSERT_GT(starts[slot].size(), 8u);
        for (std::int64_t start : starts[slot]) {
            EXPECT_GE(start - previous, low);
            EXPECT_LE(start - previous, high);
            previous = start;
        }
    }
}

TEST_F(SaverSoundsTest, MissingFilesStaySilentAndAllEightSlotsAreUsed) {
    for (int i = 0; i < kSoundSlotCount; ++i)
        AddSound(i, 0, 0, 0);
    Picture.Sounds[3] = MakeSoundSlot(Dir.File("absent.wav"), 0, 0, 0);
    TSaverSounds sounds(&Owner);
    sounds.InitSounds(Picture);
    sounds.PlaySounds(Picture);
    for (int i = 0; i < kSoundSlotCount; ++i)
        EXPECT_EQ(sounds.States()[i].Started, i != 3) << i;
    Device.Run(200);
    EXPECT_FALSE(Device.Played.empty());
}

// The sounds of one picture may take 64 MiB in all once converted: two of 30 MiB fit, the
// third stays silent.
TEST_F(SaverSoundsTest, SoundsOfOnePictureShareABudget) {
    // 70,000 samples at 100 Hz become 70,000 x 220 stereo frames at 22050 Hz.
    const std::string slow = test::MakeWave(1, 100, 8, std::string(70000, '\x90'));
    for (int slot = 0; slot < 3; ++slot)
        Picture.Sounds[slot] =
            MakeSoundSlot(Dir.Write("slow" + std::to_string(slot) + ".wav", slow), 0, 0, 0);
    TSaverSounds sounds(&Owner);
    sounds.InitSounds(Picture);
    EXPECT_TRUE(sounds.States()[0].Loaded);
    EXPECT_TRUE(sounds.States()[1].Loaded);
    EXPECT_FALSE(sounds.States()[2].Loaded);
}

TEST_F(SaverSoundsTest, NoDeviceMeansNoMixerAndNoError) {
    Device.Devices = 0;
    AddSound(0, 0, 0, 0);
    TSaverSounds sounds(&Owner);
    sounds.InitSounds(Picture);
    sounds.PlaySounds(Picture);
    EXPECT_FALSE(sounds.HasMixer());
}

TEST_F(SaverSoundsTest, MusicListAndOrder) {
    TQMCSetting settings;
    settings.MusicFile = "/music/a.wav;;b.wav;";
    settings.MusicMode = 1;
    TSaverSounds sounds(&Owner);
    sounds.StartMusic(settings);
    ASSERT_EQ(sounds.MusicList().size(), 2u);
    EXPECT_EQ(sounds.MusicList()[0], "/music/a.wav");
    EXPECT_EQ(sounds.MusicList()[1].substr(sounds.MusicList()[1].size() - 6), "/b.wav");
    EXPECT_NE(sounds.MusicList()[1], "b.wav"); // bare names lie in the extraction folder
    int index = sounds.MusicIndex();
    EXPECT_EQ(index, 0);
    sounds.NextMusicIndex(index);
    sounds.NextMusicIndex(index);
    EXPECT_EQ(index, 0);

    settings.MusicMode = 0; // random order of two tracks alternates strictly
    TSaverSounds random(&Owner);
    random.StartMusic(settings);
    int track = random.MusicIndex();
    for (int i = 0; i < 10; ++i) {
        int before = track;
        random.NextMusicIndex(track);
        EXPECT_NE(track, before);
    }
    settings.MusicFile = "only.wav";
    TSaverSounds single(&Owner);
    single.StartMusic(settings);
    track = single.MusicIndex();
    single.NextMusicIndex(track);
    EXPECT_EQ(track, 0);

    settings.Music = false;
    TSaverSounds off(&Owner);
    off.StartMusic(settings);
    EXPECT_TRUE(off.MusicList().empty());
}

} // namespace
} // namespace ml
