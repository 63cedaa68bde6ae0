#pragma once
// A wave output driver with no sound card behind it. Its one device plays at the format's
// byte rate by the clock it was given: whenever asked (or Update is called) it moves on by
// the time that has passed, records every byte it "played", marks finished headers done and
// posts their done messages like a real device. Tests advance the clock and deliver posted
// events to drive the mixer, and compare Played with the bytes they expect.

#include "platform/Clock.h"
#include "platform/WaveOut.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace ml::test {

class TVirtualWaveOut;

class TVirtualWaveOutDevice : public TWaveOutDevice {
public:
    TVirtualWaveOutDevice(TVirtualWaveOut& driver, const TWaveFormat& format, QObject* window);
    ~TVirtualWaveOutDevice() override;

    int PrepareHeader(TWaveHeader& header) override;
    int Write(TWaveHeader& header) override;
    void Pause() override;
    void Restart() override;
    void Reset() override;
    std::uint64_t Position() override;

    // Plays what the time since the last update allows.
    void Update();

    const TWaveFormat Format;
    bool Paused = false;

private:
    struct TQueued {
        TWaveHeader* Header;
        std::vector<std::uint8_t> Bytes;
        std::size_t Done = 0;
    };
    void Finish();

    TVirtualWaveOut& Driver;
    QObject* Window;
    std::deque<TQueued> Queue;
    std::uint32_t LastUpdate;
    std::uint64_t Remainder = 0; // byte-milliseconds not yet worth a whole byte
    std::uint64_t PlayedSinceReset = 0;
};

// Installs itself as the process's driver for its lifetime.
class TVirtualWaveOut : public TWaveOutDriver {
public:
    explicit TVirtualWaveOut(TClock& clock);
    ~TVirtualWaveOut() override;

    int DeviceCount() override { return Devices; }
    std::optional<TWaveOutCaps> Caps(int deviceId) override;
    bool IsFormatSupported(int deviceId, const TWaveFormat& format) override;
    std::unique_ptr<TWaveOutDevice> Open(int deviceId, const TWaveFormat& format,
                                         QObject* callbackWindow, int& error) override;

    // Advances the clock, lets the open device play, and delivers the posted messages (the
    // mixer refills its blocks in response), in steps of at most `step` milliseconds.
    void Run(std::uint32_t milliseconds, std::uint32_t step = 5);

    // What the device claims to be, and failures to act out.
    int Devices = 1;
    bool CapsAvailable = true;
    TWaveOutCaps DeviceCaps{"Virtual Wave Out", 2, false};
    bool FormatSupported = true;
    int OpenError = 0;
    int PrepareError = 0;
    int WriteError = 0;

    // What happened.
    TClock& Clock;
    TVirtualWaveOutDevice* Device = nullptr; // the open device, if any
    int LastDeviceId = 0;
    std::vector<std::uint8_t> Played;              // every byte played, in order
    std::vector<std::vector<std::uint8_t>> Writes; // every block written, as written
    int Resets = 0;
};

} // namespace ml::test
