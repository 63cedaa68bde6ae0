#include "tests/mixer/MixerFixture.h"

namespace ml::test {
namespace {

struct TConfigRow {
    const char* Case;
    std::string Ini;
    std::optional<TMixConfig> Config;
    int DeviceChannels;
    // expected
    int Channels;
    std::uint32_t Rate;
    std::uint32_t BlockLength;
    int BlockCount;
    TRemixStrategy Remix;
    bool GoodPosition;
    int DeviceId;
};

constexpr auto A = TRemixStrategy::A;
constexpr auto B = TRemixStrategy::B;
const TMixConfig kShow{10, 3, 2, 22};

class MixerConfiguration : public MixerFixture, public ::testing::WithParamInterface<TConfigRow> {};

TEST_P(MixerConfiguration, ReadsSettings) {
    const TConfigRow& row = GetParam();
    WriteIni(row.Ini);
    Out.Devices = 2;
    Out.DeviceCaps.Channels = row.DeviceChannels;
    TMixSession* mixer = MixerConfigureInit(row.Config ? &*row.Config : nullptr);
    EXPECT_EQ(mixer->Format.Channels, row.Channels);
    EXPECT_EQ(mixer->Format.BlockAlign, row.Channels);
    EXPECT_EQ(mixer->Format.SamplesPerSec, row.Rate);
    EXPECT_EQ(mixer->Format.AvgBytesPerSec, row.Rate * row.Channels);
    EXPECT_EQ(mixer->Format.BitsPerSample, 8);
    EXPECT_EQ(mixer->BlockLength, row.BlockLength);
    EXPECT_EQ(mixer->BlockCount, row.BlockCount);
    EXPECT_EQ(mixer->Remix, row.Remix);
    EXPECT_EQ(mixer->GoodPosition, row.GoodPosition);
    EXPECT_EQ(mixer->DeviceId, row.DeviceId);
    EXPECT_EQ(mixer->DeviceSection, "Virtual Wave Out");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MixerConfiguration,
    ::testing::Values(
        TConfigRow{"NoFileAtAll", "", std::nullopt, 2, 1, 11025, 2048, 3, A, false, -1},
        TConfigRow{"ShowsConfigurationOnStereoDevice", "", kShow, 2, 2, 22050, 4096, 3, A, false,
                   -1},
        TConfigRow{"ShowsConfigurationOnMonoDevice", "", kShow, 1, 1, 22050, 4096, 3, A, false, -1},
        TConfigRow{"ConfigWithWrongSizeIgnored", "", TMixConfig{9, 3, 2, 22}, 2, 1, 11025, 2048, 3,
                   A, false, -1},
        TConfigRow{"Rate44WithoutBlockLengthGives4096", "", TMixConfig{10, 2, 1, 44}, 2, 1, 44100,
                   4096, 3, A, false, -1},
        TConfigRow{"UnknownConfigRateKeepsIniRate", "[default]\r\nSamplesPerSec=44\r\n",
                   TMixConfig{10, 2, 1, 33}, 2, 1, 44100, 4096, 3, A, false, -1},
        TConfigRow{"ConfigRateBeatsIni", "[default]\r\nSamplesPerSec=44\r\n",
                   TMixConfig{10, 2, 1, 11}, 2, 1, 11025, 2048, 3, A, false, -1},
        TConfigRow{"DefaultSectionValues",
                   "[default]\r\nRemix=2\r\nGoodWavePos=1\r\nWaveBlocks=9\r\nWaveBlockLen=1027\r\n"
                   "SamplesPerSec=22\r\n",
                   std::nullopt, 2, 1, 22050, 1024, 6, B, true, -1},
        TConfigRow{"DeviceSectionOverridesDefault",
                   "[default]\r\nWaveBlocks=4\r\nWaveBlockLen=1000\r\nRemix=2\r\n"
                   "[virtual wave out]\r\nWaveBlocks=1\r\nRemix=1\r\nSamplesPerSec=22\r\n",
                   std::nullopt, 2, 1, 22050, 1000, 2, A, false, -1},
        TConfigRow{"TinyBlockLengthClamped", "[default]\r\nWaveBlockLen=100\r\n", std::nullopt, 2,
                   1, 11025, 512, 3, A, false, -1},
        TConfigRow{"KnownDeviceNumberKept", "[general]\r\nWaveOutDevice=1\r\n", std::nullopt, 2, 1,
                   11025, 2048, 3, A, false, 1},
        TConfigRow{"DeviceNumberBeyondCountIsDefault", "[general]\r\nWaveOutDevice=2\r\n",
                   std::nullopt, 2, 1, 11025, 2048, 3, A, false, -1}),
    [](const auto& info) { return std::string(info.param.Case); });

TEST_F(MixerFixture, StartFailuresLeaveNoMixer) {
    const std::string sync = "Virtual Wave Out is a syncronous (blocking) wave output device.  "
                             "This will not permit audio to play while other applications are "
                             "running";
    struct TRow {
        std::function<void()> Arrange;
        std::string Message;
    } rows[] = {
        {[&] { Out.Devices = 0; }, "No wave output devices available"},
        {[&] { Out.DeviceCaps.Synchronous = true; }, sync},
        {[&] { WriteIni("[not compatible]\r\nVirtual Wave Out=1\r\n"); },
         "Virtual Wave Out is not compatible with the realtime mixer"},
    };
    for (const TRow& row : rows) {
        Out.Devices = 1;
        Out.DeviceCaps.Synchronous = false;
        WriteIni("[not compatible]\r\n");
        row.Arrange();
        ExpectMixerError([] { MixerInit(); }, row.Message);
        EXPECT_FALSE(CurrentSession());
    }
}

TEST_F(MixerFixture, UnaskableDeviceIsCalledUnknown) {
    Out.CapsAvailable = false;
    EXPECT_EQ(MixerInit()->DeviceSection, "Unknown Device");
}

TEST_F(MixerFixture, CallsRefuseBadArguments) {
    TMixSession* mixer = MixerInit();
    TWaveData* wave = nullptr;
    TMixSession stranger; // intact magic fields, but not the process's mixer
    TPlayRequest request;
    request.Mixer = mixer;

    ExpectMixerError([] { MixerInit(); }, "Session already initialized");
    ExpectMixerError([&] { MixerActivate(&stranger, true); }, "Invalid Session handle");
    ExpectMixerError([&] { MixerActivate(nullptr, true); }, "Invalid Session handle");
    ExpectMixerError([&] { MixerAddChannel(mixer, 0, 3); }, "Invalid Flags");
    ExpectMixerError([&] { MixerAddChannel(mixer, 8, 0); }, "Invalid channel number");
    ExpectMixerError([&] { MixerAddChannel(mixer, 0, 2); }, "Invalid number of channels");
    ExpectMixerError([&] { MixerAddChannel(mixer, 9, 2); }, "Invalid number of channels");
    ExpectMixerError([&] { MixerDropQueue(mixer, 2, 0, true); },
                     "The specified channel was not open");
    ExpectMixerError([&] { MixerDropQueue(mixer, -1, 0, true); }, "Invalid channel number");
    ExpectMixerError([&] { MixerReleaseWave(mixer, nullptr); }, "The given pointer was not valid");
    ExpectMixerError([&] { MixerPlay(nullptr); }, "nil parameters pointer passed to MixerPlay");
    ExpectMixerError([&] { MixerPlay(&request); }, "nil wave pointer passed to MixerPlay!");

    Mixer = mixer;
    wave = Wave(130, 10);
    request.Wave = wave;
    ExpectMixerError([&] { MixerPlay(&request); },
                     "Wave device not allocated, call MixerActivate(hMixSession,TRUE)");
    MixerActivate(mixer, true);
    ExpectMixerError([&] { MixerPlay(&request); },
                     "You must open a channel before you can play a wave");
    MixerAddChannel(mixer, 1, 0);
    ExpectMixerError([&] { MixerAddChannel(mixer, 1, 0); }, "The channel has already been opened");
    ExpectMixerError([&] { MixerPlay(&request); }, "The specified channel was not open");
    request.Channel = 8;
    ExpectMixerError([&] { MixerPlay(&request); }, "Invalid channel number");
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize);

    Out.FormatSupported = false;
    ExpectMixerError([&] { Wave(1, 1); }, "The waveform device can\u00b4t play this format");
    EXPECT_EQ(mixer->Waves.size(), 1u);
}

TEST_F(MixerFixture, DeviceFailuresWhenTakingAndWriting) {
    Mixer = MixerInit();
    MixerAddChannel(Mixer, 0, 1);
    Out.OpenError = 2;
    ExpectMixerError([&] { MixerActivate(Mixer, true); },
                     "Failed to open waveform output device #2");
    Out.OpenError = 0;
    Out.PrepareError = 5;
    ExpectMixerError([&] { MixerActivate(Mixer, true); }, "Unable to prepare wave header #5");
    EXPECT_FALSE(Mixer->Active);
    EXPECT_FALSE(Mixer->Blocks);
    EXPECT_EQ(Out.Device, nullptr);

    Out.PrepareError = 0;
    MixerActivate(Mixer, true);
    TWaveData* wave = Wave(130, 10);
    Out.WriteError = 3;
    ExpectMixerError([&] { Play(0, wave); }, "Failed to write block to device");
    EXPECT_TRUE(Mixer->Playing.empty());
    EXPECT_EQ(Mixer->AvailableBlock(), &(*Mixer->Blocks)[0]);
}

TEST_F(MixerFixture, PoolOf99PlaysIsSharedAndGivenBackAtTheEnd) {
    Start();
    TWaveData* wave = Wave(130, 10);
    for (int i = 0; i < kPlayPoolSize; ++i)
        Play(i % 8, wave, 0, kPlayWait);
    ExpectMixerError([&] { Play(0, wave, 0, kPlayWait); }, "Not enough memory");
    EXPECT_EQ(Mixer->Pending.size(), std::size_t(kPlayPoolSize));
    MixerEndSession(Mixer);
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize);
}

TEST_F(MixerFixture, LeastRecentlyUsedChannel) {
    Mixer = MixerInit();
    MixerAddChannel(Mixer, 1, 0);
    MixerAddChannel(Mixer, 2, 0);
    MixerAddChannel(Mixer, 3, 0);
    MixerActivate(Mixer, true);
    TWaveData* longWave = Wave(130, 20000);
    // Channel 0 is closed: the choice starts at the first open channel, takes empty channels
    // first, then the one played longest ago.
    const int expected[] = {1, 2, 3, 1, 2};
    for (int channel : expected)
        EXPECT_EQ(Play(7, longWave, 0, kPlayLruChannel), channel);
}

TEST_F(MixerFixture, ActivationIsRepeatableAndKeepsPlays) {
    Start();
    TWaveData* wave = Wave(130, 20000);
    Play(0, wave);
    Out.Run(100);
    MixerActivate(Mixer, true); // already held: nothing happens
    MixerActivate(Mixer, false);
    EXPECT_EQ(Out.Device, nullptr);
    EXPECT_EQ(Mixer->MixPosition, 1102); // where the device had got to
    MixerActivate(Mixer, true);
    Out.Run(2000);
    // The play goes on from where the device stopped; it holds 20000 bytes in all.
    EXPECT_EQ(std::count(Out.Played.begin(), Out.Played.end(), 130), 20000);
}

} // namespace
} // namespace ml::test
