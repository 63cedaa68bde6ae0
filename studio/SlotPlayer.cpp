#include "studio/SlotPlayer.h"

#include "mixer/SoundMixer.h"
#include "saver/SaverSounds.h"

#include <exception>

namespace ml::studio {

TSlotPlayer::TSlotPlayer(QObject* parent) : QObject(parent) {}

TSlotPlayer::~TSlotPlayer() = default;

std::string TSlotPlayer::Play(const std::string& path, bool loop) {
    Stop();
    try {
        Mixer = std::make_unique<TSoundMixer>(this, ShowMixerConfig());
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
