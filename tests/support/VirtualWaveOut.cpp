#include "tests/support/VirtualWaveOut.h"

#include <QCoreApplication>

namespace ml::test {

TVirtualWaveOutDevice::TVirtualWaveOutDevice(TVirtualWaveOut& driver, const TWaveFormat& format,
                                             QObject* window)
    : Format(format), Driver(driver), Window(window), LastUpdate(driver.Clock.GetTickCount()) {}

TVirtualWaveOutDevice::~TVirtualWaveOutDevice() {
    if (Driver.Device == this)
        Driver.Device = nullptr;
}

int TVirtualWaveOutDevice::PrepareHeader(TWaveHeader& header) {
    if (Driver.PrepareError != 0)
        return Driver.PrepareError;
    return TWaveOutDevice::PrepareHeader(header);
}

int TVirtualWaveOutDevice::Write(TWaveHeader& header) {
    Update();
    if (Driver.WriteError != 0)
        return Driver.WriteError;
    if (!(header.Flags & TWaveHeader::kPrepared))
        return 34;
    header.Flags = (header.Flags & ~TWaveHeader::kDone) | TWaveHeader::kInQueue;
    Queue.push_back({&header, {header.Data, header.Data + header.BufferLength}});
    Driver.Writes.push_back(Queue.back().Bytes);
    return 0;
}

void TVirtualWaveOutDevice::Pause() {
    Update();
    Paused = true;
}

void TVirtualWaveOutDevice::Restart() {
    Update();
    Paused = false;
}

void TVirtualWaveOutDevice::Reset() {
    Update();
    while (!Queue.empty())
        Finish();
    PlayedSinceReset = 0;
    Remainder = 0;
    ++Driver.Resets;
}

std::uint64_t TVirtualWaveOutDevice::Position() {
    Update();
    return PlayedSinceReset;
}

void TVirtualWaveOutDevice::Finish() {
    TWaveHeader* header = Queue.front().Header;
    Queue.pop_front();
    header->Flags = (header->Flags & ~TWaveHeader::kInQueue) | TWaveHeader::kDone;
    PostWaveOutMessage(Window, MM_WOM_DONE, 0, reinterpret_cast<quintptr>(header));
}

void TVirtualWaveOutDevice::Update() {
    const std::uint32_t now = Driver.Clock.GetTickCount();
    const std::uint32_t elapsed = now - LastUpdate;
    LastUpdate = now;
    // A paused or starved device does not move; time spent so is not made up later.
    if (Paused || Queue.empty()) {
        Remainder = 0;
        return;
    }
    Remainder += std::uint64_t{elapsed} * Format.AvgBytesPerSec;
    std::uint64_t budget = Remainder / 1000;
    Remainder %= 1000;
    while (budget > 0 && !Queue.empty()) {
        TQueued& front = Queue.front();
        const std::size_t take = std::min<std::uint64_t>(budget, front.Bytes.size() - front.Done);
        Driver.Played.insert(Driver.Played.end(), front.Bytes.begin() + front.Done,
                             front.Bytes.begin() + front.Done + take);
        front.Done += take;
        budget -= take;
        PlayedSinceReset += take;
        if (front.Done == front.Bytes.size())
            Finish();
    }
    if (Queue.empty())
        Remainder = 0;
}

TVirtualWaveOut::TVirtualWaveOut(TClock& clock) : Clock(clock) {
    SetWaveOut(this);
}

TVirtualWaveOut::~TVirtualWaveOut() {
    SetWaveOut(nullptr);
}

std::optional<TWaveOutCaps> TVirtualWaveOut::Caps(int) {
    if (!CapsAvailable)
        return std::nullopt;
    return DeviceCaps;
}

bool TVirtualWaveOut::IsFormatSupported(int, const TWaveFormat&) {
    return FormatSupported;
}

std::unique_ptr<TWaveOutDevice> TVirtualWaveOut::Open(int deviceId, const TWaveFormat& format,
                                                      QObject* callbackWindow, int& error) {
    error = OpenError;
    if (OpenError != 0)
        return nullptr;
    LastDeviceId = deviceId;
    auto device = std::make_unique<TVirtualWaveOutDevice>(*this, format, callbackWindow);
    Device = device.get();
    return device;
}

void TVirtualWaveOut::Run(std::uint32_t milliseconds, std::uint32_t step) {
    // Each step lets the device play and the mixer answer, like a device interrupt followed
    // by the event loop.
    while (milliseconds > 0) {
        const std::uint32_t now = std::min(step, milliseconds);
        milliseconds -= now;
        Clock.Sleep(now);
        if (Device != nullptr)
            Device->Update();
        QCoreApplication::sendPostedEvents();
    }
}

} // namespace ml::test
