#include "tests/mixer/MixerFixture.h"

namespace ml::test {
namespace {

using Bytes8 = std::vector<std::uint8_t>;

Bytes8 Repeat(const std::vector<int>& pattern, std::size_t count) {
    Bytes8 result;
    for (std::size_t i = 0; i < count; ++i)
        result.push_back(static_cast<std::uint8_t>(pattern[i % pattern.size()]));
    return result;
}

Bytes8 Head(const Bytes8& played, std::size_t count) {
    return Bytes8(played.begin(), played.begin() + std::min(count, played.size()));
}

TEST_F(MixerFixture, TwoChannelsStartingTogetherAreSummedAndClipped) {
    Start();
    TNoticeWindow notices;
    TWaveData* a = Wave({200, 60, 128, 250});
    TWaveData* b = Wave({100, 40, 200, 250});
    Play(0, a, 0, kPlayWait, &notices); // waits for b, so both start at the same byte
    Play(1, b, 0, 0, &notices);
    Out.Run(1000);

    Bytes8 expected = {172, 0, 200, 255};
    expected.resize(2048, 128);
    EXPECT_EQ(Out.Played, expected); // one block, then the device runs dry
    EXPECT_EQ(notices.Notices,
              (std::vector<std::pair<quintptr, quintptr>>{{0, quintptr(a)}, {1, quintptr(b)}}));
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize);
    EXPECT_TRUE(Mixer->Playing.empty());
}

TEST_F(MixerFixture, DefaultConfigurationWritesThreeBlocksOf2048Bytes) {
    Start();
    Play(0, Wave(140, 20000));
    ASSERT_EQ(Out.Writes.size(), 3u);
    for (const auto& block : Out.Writes)
        EXPECT_EQ(block.size(), 2048u);
    Out.Run(200); // one block played: it is mixed again and written behind the others
    EXPECT_EQ(Out.Writes.size(), 4u);
}

TEST_F(MixerFixture, ShowConfigurationKeepsQueuedStereoPlaysOnFrames) {
    const TMixConfig show{10, 3, 2, 22};
    Start(&show);
    TWaveData* wave = Wave({100, 200, 100, 200, 100, 200}); // left 100, right 200
    Play(0, wave);
    Play(0, wave, 0, kPlayHighPriority); // queued right behind the first, re-mixed
    EXPECT_EQ(Out.Writes.size(), 2u);
    EXPECT_EQ(Out.Writes[1].size(), 4096u);
    Out.Run(500);
    Bytes8 expected = Repeat({100, 200}, 12);
    expected.resize(4096, 128);
    EXPECT_EQ(Out.Played, expected);
}

struct TLoopRow {
    const char* Case;
    std::uint16_t Loops;
    std::size_t Sounding; // bytes of the pattern heard
};

class MixerLoops : public MixerFixture, public ::testing::WithParamInterface<TLoopRow> {};

TEST_P(MixerLoops, PlayLoopsPlusOneTimes) {
    Start();
    TNoticeWindow notices;
    // Five bytes do not divide the block length, so passes cross block boundaries.
    Play(2, Wave({1, 2, 3, 4, 5}), GetParam().Loops, 0, &notices);
    Out.Run(2000);
    const std::size_t sounding = std::min(GetParam().Sounding, Out.Played.size());
    EXPECT_EQ(Head(Out.Played, sounding), Repeat({1, 2, 3, 4, 5}, sounding));
    const bool endless = GetParam().Loops == kLoopForever;
    EXPECT_EQ(notices.Notices.size(), endless ? 0u : 1u);
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize - (endless ? 1 : 0));
    if (endless)
        EXPECT_GE(Out.Played.size(), 20000u); // still going after two seconds
    else
        EXPECT_EQ(Out.Played[sounding], 128);
}

INSTANTIATE_TEST_SUITE_P(Rows, MixerLoops,
                         ::testing::Values(TLoopRow{"Once", 0, 5}, TLoopRow{"ThreeTimes", 2, 15},
                                           TLoopRow{"Endless", kLoopForever, 1u << 30}),
                         [](const auto& info) { return std::string(info.param.Case); });

// A long sound on channel 0; 100 ms later (1102 bytes played, two blocks = 4096 mixed) a
// short one.
struct TQueueRow {
    const char* Case;
    std::string Ini;
    int Channel;
    std::uint32_t Flags;
    std::size_t SecondStartsAt;
};

class MixerQueueing : public MixerFixture, public ::testing::WithParamInterface<TQueueRow> {};

TEST_P(MixerQueueing, SecondPlayStartsWhereExpected) {
    const TQueueRow& row = GetParam();
    WriteIni(row.Ini);
    Start();
    Play(0, Wave(130, 3000));
    Out.Run(100);
    Play(row.Channel, Wave(140, 100), 0, row.Flags);
    Out.Run(1500);

    Bytes8 expected(std::max<std::size_t>(3000, row.SecondStartsAt + 100), 128);
    for (std::size_t i = 0; i < 3000; ++i)
        expected[i] = 130;
    for (std::size_t i = row.SecondStartsAt; i < row.SecondStartsAt + 100; ++i)
        expected[i] = expected[i] == 130 ? 142 : 140;
    EXPECT_EQ(Head(Out.Played, expected.size()), expected);
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MixerQueueing,
    ::testing::Values(
        TQueueRow{"BusyChannelWaitsForMixedOutput", "", 0, 0, 4096},
        TQueueRow{"BusyChannelHighPriorityFollowsAtOnce", "", 0, kPlayHighPriority, 3000},
        TQueueRow{"BusyChannelHighPriorityDeferredByB", "[default]\r\nRemix=2\r\n", 0,
                  kPlayHighPriority, 4096},
        TQueueRow{"FreeChannelWaitsForMixedOutput", "", 1, 0, 4096},
        TQueueRow{"FreeChannelHighPriorityHeardAtOnce", "", 1, kPlayHighPriority, 1102},
        TQueueRow{"FreeChannelHighPriorityByDevicePosition", "[default]\r\nGoodWavePos=1\r\n", 1,
                  kPlayHighPriority, 1102},
        TQueueRow{"FreeChannelHighPriorityDeferredByB", "[default]\r\nRemix=2\r\n", 1,
                  kPlayHighPriority, 4096}),
    [](const auto& info) { return std::string(info.param.Case); });

// The play ahead on the channel has been heard to its end (byte 1000) but not yet retired when
// the device reaches byte 1653: the new play starts there, whole.
TEST_F(MixerFixture, HighPriorityBehindAnEndedPlayLosesNoneOfItsBytes) {
    Start();
    Play(0, Wave(130, 1000));
    Clock.Advance(150);
    Play(0, Wave(140, 1000), 0, kPlayHighPriority);
    Out.Run(1000);
    Bytes8 expected(1000, 130);
    expected.resize(1653, 128);
    expected.resize(2653, 140);
    expected.resize(1653 + 2048, 128);
    EXPECT_EQ(Out.Played, expected);
}

TEST_F(MixerFixture, ClearQueueCutsTheOldPlayWithinTheRemix) {
    Start();
    Play(0, Wave(130, 3000));
    Out.Run(100);
    Play(0, Wave(140, 100), 0, kPlayClearQueue | kPlayHighPriority);
    Out.Run(1500);
    // The old play is gone from the playing position on; nothing of it plays after.
    Bytes8 expected(1102, 130);
    expected.resize(1202, 140);
    expected.resize(1102 + 2048, 128);
    EXPECT_EQ(Out.Played, expected);
}

TEST_F(MixerFixture, ReleasedWaveStopsOnEveryChannelAfterMixedOutput) {
    Start();
    TWaveData* w = Wave(150, 3000);
    TWaveData* x = Wave(100, 7000);
    Play(0, w, kLoopForever, kPlayWait);
    Play(1, w, kLoopForever, kPlayWait);
    Play(2, x);
    Play(2, w); // queued behind x
    Out.Run(100);
    MixerReleaseWave(Mixer, w);
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize - 1);
    Out.Run(2000);

    Bytes8 expected(6144, 144); // 128 + 22 + 22 - 28, mixed before the release
    expected.resize(7000, 100);
    expected.resize(8192, 128);
    EXPECT_EQ(Out.Played, expected);
    ExpectMixerError([&] { Play(0, w); }, "The given pointer was not valid");
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize);
}

TEST_F(MixerFixture, RemovingChannelsDropsTheirPlaysWithoutRemix) {
    Start();
    Play(3, Wave(130, 20000), kLoopForever);
    Play(4, Wave(130, 10), 0, kPlayWait);
    MixerRemoveChannel(Mixer, 3, 0);
    MixerRemoveChannel(Mixer, 4, 0);
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize);
    EXPECT_EQ(Out.Resets, 0);
    Out.Run(1000);
    EXPECT_EQ(Out.Played, Bytes8(3 * 2048, 130)); // the blocks already written still play
}

TEST_F(MixerFixture, DropQueueWithRemixSilencesAtOnce) {
    Start();
    Play(0, Wave(130, 20000), kLoopForever);
    Out.Run(100);
    MixerDropQueue(Mixer, 0, 1, true);
    Out.Run(1000);
    EXPECT_EQ(Out.Played, Bytes8(1102, 130));
}

TEST_F(MixerFixture, StalledDeviceDoesNotLoseThePlaysTheClockHasPassed) {
    Start();
    Play(0, Wave(130, 20000));
    Out.Device->Paused = true; // a sound server that starts late: the clock runs on alone
    Out.Run(2000);
    Out.Device->Paused = false;
    Out.Run(3000);
    Bytes8 expected(20000, 130);
    expected.resize(10 * 2048, 128);
    EXPECT_EQ(Out.Played, expected);
}

TEST_F(MixerFixture, IdleMixerStartsAgainFromPositionZero) {
    Start();
    Play(0, Wave(130, 10));
    Out.Run(1000);
    ASSERT_EQ(FreePlayEntries(), kPlayPoolSize);
    Play(0, Wave(140, 10), 0, kPlayHighPriority);
    EXPECT_EQ(Mixer->MixPosition, 2048);
    EXPECT_EQ(Out.Writes.back()[0], 140);
}

} // namespace
} // namespace ml::test
