#include "studio/SlotPlayer.h"

#include "mixer/SoundMixer.h"

#include <exception>

namespace ml::studio {

namespace {

// The show opens its mixer in stereo at 22 kHz.
constexpr std::uint16_t kShowChannels = 2;
constexpr std::uint16_t kShowRate = 22;

} // namespace

TSlotPlayer::TSlotPlayer(QObject* parent) : QObject(parent) {}

TSlotPlayer::~TSlotPlayer() = default;

std::string TSlotPlayer::Play(const std::string& path, bool loop) {
    Stop();
    try {
        TMixConfig config;
        config.Flags = TMixConfig::kChannelsGiven | TMixConfig::kRateGiven;
        config.Channels = kShowChannels;
        config.Rate = kShowRate;
        Mixer = std::make_unique<TSoundMixer>(this, config);
        Mixer->SetChannels(1);
        Mixer->SetActivated(true);
        TWaveData* wave = Mixer->LoadWave(path);
        Mixer->PlayWave(0, wave, loop ? kLoopForever : 0, kPlayHighPriority, nullptr);
        return "";
    } catch (const std::exception& error) {
        Mixer.reset();
        return error.what();
    }
}

void TSlotPlayer::Stop() {
    Mixer.reset();
}

} // namespace ml::studio
