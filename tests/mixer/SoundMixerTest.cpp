#include "mixer/SoundMixer.h"
#include "tests/mixer/MixerFixture.h"

namespace ml::test {
namespace {

std::vector<bool> OpenChannels(const TSoundMixer& mixer) {
    return std::vector<bool>(mixer.Mixer()->Open.begin(), mixer.Mixer()->Open.end());
}

TEST_F(MixerFixture, ChannelsMaskOpensAndClosesChannelsBitByBit) {
    TSoundMixer mixer(nullptr);
    const std::pair<std::uint8_t, std::vector<bool>> steps[] = {
        {3, {1, 1, 0, 0, 0, 0, 0, 0}},
        {5, {1, 0, 1, 0, 0, 0, 0, 0}}, // channel 1 closed, channel 2 opened
        {255, {1, 1, 1, 1, 1, 1, 1, 1}},
        {0x80, {0, 0, 0, 0, 0, 0, 0, 1}},
        {0, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [mask, open] : steps) {
        mixer.SetChannels(mask);
        EXPECT_EQ(mixer.Channels(), mask);
        EXPECT_EQ(OpenChannels(mixer), open) << int(mask);
        EXPECT_EQ(mixer.Mixer()->OpenChannels, std::count(open.begin(), open.end(), true));
    }
}

TEST_F(MixerFixture, ShowUseOfTheComponent) {
    const std::string path = Dir.Write("rain.wav", MakeWave(1, 11025, 8, Bytes({150, 110})));
    TNoticeWindow notices;
    {
        QObject owner;
        auto* mixer = new TSoundMixer(&owner, TMixConfig{10, 3, 2, 22});
        mixer->SetChannels(255);
        mixer->SetActivated(true);
        EXPECT_TRUE(mixer->Activated());
        EXPECT_EQ(Out.LastDeviceId, TWaveOutDriver::kWaveMapper);
        EXPECT_EQ(mixer->OutputFormat().Channels, 2);

        TWaveData* wave = mixer->LoadWave(path);
        // Mono 11025 becomes stereo 22050: 150 150, 130 130, then the last frame twice.
        EXPECT_EQ(wave->Data, (std::vector<std::uint8_t>{150, 150, 130, 130, 110, 110, 110, 110}));
        EXPECT_EQ(mixer->PlayWave(5, wave, 0, kPlayHighPriority, &notices), 5);
        Out.Run(300);
        EXPECT_EQ(notices.Notices.size(), 1u);
        mixer->PlayWave(5, wave, kLoopForever, kPlayHighPriority, nullptr);
        mixer->ReleaseWave(wave);
        ExpectMixerError([&] { mixer->ReleaseWave(wave); }, "The given pointer was not valid");
    } // the owner frees the component, which ends the mixer
    EXPECT_FALSE(CurrentSession());
    EXPECT_EQ(Out.Device, nullptr);
    EXPECT_EQ(FreePlayEntries(), kPlayPoolSize);
}

TEST_F(MixerFixture, ComponentFailsWithoutAnOutputDevice) {
    Out.Devices = 0;
    ExpectMixerError([] { TSoundMixer mixer(nullptr); }, "No wave output devices available");
    Out.Devices = 1;
    TSoundMixer first(nullptr);
    ExpectMixerError([] { TSoundMixer second(nullptr); }, "Session already initialized");
    EXPECT_TRUE(CurrentSession());
}

} // namespace
} // namespace ml::test
