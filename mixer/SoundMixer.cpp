#include "mixer/SoundMixer.h"

#include "mixer/MixerError.h"

namespace ml {

TSoundMixer::TSoundMixer(QObject* owner) : QObject(owner), FMixer(MixerInit()) {
    if (FMixer == nullptr)
        throw EMixerError("Initialization failed (MixerInit)");
}

TSoundMixer::TSoundMixer(QObject* owner, const TMixConfig& config)
    : QObject(owner), FMixer(MixerConfigureInit(&config)) {
    if (FMixer == nullptr)
        throw EMixerError("Initialization failed(MixerConfigureInit)");
}

TSoundMixer::~TSoundMixer() {
    // Closing channels drops plays without re-mixing, and releasing resets the device, so
    // nothing here is expected to fail; a destructor must not throw either way.
    try {
        SetChannels(0);
        SetActivated(false);
        MixerEndSession(FMixer);
    } catch (const EMixerError&) {
    }
}

void TSoundMixer::SetActivated(bool value) {
    if (value == FActivated)
        return;
    MixerActivate(FMixer, value);
    FActivated = value;
}

void TSoundMixer::SetChannels(std::uint8_t value) {
    if (value == 255) {
        MixerAddChannel(FMixer, 0, 1);
    } else if (value == 0) {
        MixerRemoveChannel(FMixer, 0, 1);
    } else {
        const unsigned changed = value ^ FChannels;
        for (int c = 0; c < kMixerChannels; ++c) {
            const unsigned bit = 1u << c;
            if (!(changed & bit))
                continue;
            if (value & bit)
                MixerAddChannel(FMixer, c, 0);
            else
                MixerRemoveChannel(FMixer, c, 0);
        }
    }
    FChannels = value;
}

TWaveData* TSoundMixer::LoadWave(const std::string& fileName, std::size_t maxBytes) {
    return MixerLoadWave(FMixer, TWaveSource::File(fileName), maxBytes);
}

void TSoundMixer::ReleaseWave(TWaveData* wave) {
    MixerReleaseWave(FMixer, wave);
}

int TSoundMixer::PlayWave(int channel, TWaveData* wave, std::uint16_t loops, std::uint32_t flags,
                          QObject* notifyControl) {
    FRequest = TPlayRequest{};
    FRequest.Mixer = FMixer;
    FRequest.Channel = channel;
    FRequest.Wave = wave;
    FRequest.NotifyWindow = notifyControl;
    FRequest.Flags = flags;
    FRequest.Loops = loops;
    MixerPlay(&FRequest);
    return FRequest.Channel;
}

} // namespace ml
