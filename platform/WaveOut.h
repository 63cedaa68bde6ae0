#pragma once
// The wave output device the software mixer feeds. The mixer hands the device whole blocks of
// PCM bytes; the device plays them in order, marks each header done when its last byte has
// been played and then posts a done message (number 957) to the callback object the device
// was opened with. The message arrives through the event loop, so the mixer refills its
// blocks on the thread that owns that object and needs no locks.
//
// Production code talks to WaveOut(), which plays on the system's default output through
// QAudioSink; tests install a virtual driver with SetWaveOut.

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ml {

// PCM format of a wave: tag 1, channels, rate, bytes per second, bytes per frame, bits.
struct TWaveFormat {
    std::uint16_t FormatTag = 1;
    std::uint16_t Channels = 1;
    std::uint32_t SamplesPerSec = 11025;
    std::uint32_t AvgBytesPerSec = 11025;
    std::uint16_t BlockAlign = 1;
    std::uint16_t BitsPerSample = 8;
};

// Header of one block handed to the device. The memory stays the caller's; the device keeps
// a copy of the bytes from the moment of the write, and reports back through Flags.
struct TWaveHeader {
    static constexpr std::uint32_t kDone = 0x01;     // played (or returned by a reset)
    static constexpr std::uint32_t kPrepared = 0x02; // may be written
    static constexpr std::uint32_t kInQueue = 0x10;  // written, not yet played

    std::uint8_t* Data = nullptr;
    std::uint32_t BufferLength = 0;
    std::uint32_t Flags = 0;
    std::uint32_t Loops = 0;
};

// What the system tells about an output device.
struct TWaveOutCaps {
    std::string ProductName;
    int Channels = 2;
    // A device that blocks until a write has played cannot run beside other programs.
    bool Synchronous = false;
};

// The number of the device's block-done message, also used for the mixer's own play notices.
inline constexpr int MM_WOM_DONE = 957;

// A posted message in the manner of a window message: a number and two parameters. The
// device sends MM_WOM_DONE with the header's address as second parameter; the mixer sends
// MM_WOM_DONE with a channel and a wave to whoever asked to hear about a finished play.
class TWaveOutMessage : public QEvent {
public:
    static QEvent::Type EventType();

    TWaveOutMessage(int message, quintptr wParam, quintptr lParam)
        : QEvent(EventType()), Message(message), WParam(wParam), LParam(lParam) {}

    int Message;
    quintptr WParam;
    quintptr LParam;
};

// Posts a TWaveOutMessage to an object; it is delivered later by the receiver's event loop.
void PostWaveOutMessage(QObject* receiver, int message, quintptr wParam, quintptr lParam);

// One open output device. Destroying it closes it; callers reset it first so that no header
// is still queued.
class TWaveOutDevice {
public:
    virtual ~TWaveOutDevice() = default;

    // Marks a header as usable for writes; 0 on success, else an error number.
    virtual int PrepareHeader(TWaveHeader& header);
    virtual void UnprepareHeader(TWaveHeader& header);
    // Queues the header's bytes behind those already written; 0 on success, else an error
    // number. Clears the done flag.
    virtual int Write(TWaveHeader& header) = 0;
    // Pause holds playback (writes still queue); Restart resumes it.
    virtual void Pause() = 0;
    virtual void Restart() = 0;
    // Stops at once: every queued header is marked done (and its message posted) and the
    // position starts again from 0.
    virtual void Reset() = 0;
    // Bytes played since the device was opened or last reset.
    virtual std::uint64_t Position() = 0;
};

// The set of output devices, numbered from 0; -1 names the system's default device.
class TWaveOutDriver {
public:
    static constexpr int kWaveMapper = -1;

    virtual ~TWaveOutDriver() = default;
    virtual int DeviceCount() = 0;
    // Nothing when the device cannot be asked.
    virtual std::optional<TWaveOutCaps> Caps(int deviceId) = 0;
    virtual bool IsFormatSupported(int deviceId, const TWaveFormat& format) = 0;
    // Opens a device; done messages go to callbackWindow. On failure returns nothing and
    // sets error to a non-zero number.
    virtual std::unique_ptr<TWaveOutDevice> Open(int deviceId, const TWaveFormat& format,
                                                 QObject* callbackWindow, int& error) = 0;
};

// The process-wide driver: QAudioSink on the system's outputs unless one was installed.
TWaveOutDriver& WaveOut();
// Installs a driver (not owned); nullptr restores the system one.
void SetWaveOut(TWaveOutDriver* driver);

} // namespace ml
