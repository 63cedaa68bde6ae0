#pragma once
// The mixer as a component the show owns: creating it creates the process's mixer, and its
// two properties open channels and take the output device.

#include "mixer/MixerEngine.h"

#include <QObject>

#include <cstdint>
#include <string>

namespace ml {

class TSoundMixer : public QObject {
public:
    // Raise EMixerError when no mixer can be created (for example without an output device).
    explicit TSoundMixer(QObject* owner);
    TSoundMixer(QObject* owner, const TMixConfig& config);
    // Closes every channel, releases the device and ends the mixer.
    ~TSoundMixer() override;

    bool Activated() const { return FActivated; }
    void SetActivated(bool value);

    // Bit i set: channel i is open. 255 opens all, 0 closes all; other values open or close
    // just the channels whose bit changes.
    std::uint8_t Channels() const { return FChannels; }
    void SetChannels(std::uint8_t value);

    // Refuses a sound that would take more than maxBytes once converted.
    TWaveData* LoadWave(const std::string& fileName, std::size_t maxBytes = kMaxWaveBytes);
    void ReleaseWave(TWaveData* wave);
    // Queues a play; notifyControl (may be null) receives MM_WOM_DONE with the channel and the
    // wave when it has been heard to the end. Returns the channel it was queued on.
    int PlayWave(int channel, TWaveData* wave, std::uint16_t loops, std::uint32_t flags,
                 QObject* notifyControl);

    TMixSession* Mixer() const { return FMixer; }
    const TWaveFormat& OutputFormat() const { return FMixer->Format; }

private:
    TMixSession* FMixer = nullptr;
    TPlayRequest FRequest;
    bool FActivated = false;
    std::uint8_t FChannels = 0;
};

} // namespace ml
