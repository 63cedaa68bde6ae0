#include "platform/WaveOut.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <deque>

namespace ml {

QEvent::Type TWaveOutMessage::EventType() {
    static const QEvent::Type type =
        static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + MM_WOM_DONE));
    return type;
}

void PostWaveOutMessage(QObject* receiver, int message, quintptr wParam, quintptr lParam) {
    QCoreApplication::postEvent(receiver, new TWaveOutMessage(message, wParam, lParam));
}

int TWaveOutDevice::PrepareHeader(TWaveHeader& header) {
    header.Flags |= TWaveHeader::kPrepared;
    return 0;
}

void TWaveOutDevice::UnprepareHeader(TWaveHeader& header) {
    header.Flags &= ~TWaveHeader::kPrepared;
}

namespace {

// Error numbers in the range callers of a wave output device are used to seeing.
constexpr int kErrorGeneral = 1;
constexpr int kErrorBadDeviceId = 2;
constexpr int kErrorBadFormat = 32;
constexpr int kErrorUnprepared = 34;

// How often the sink is topped up and finished blocks are reported. Blocks last 46 ms or
// more, so this keeps the ring well ahead of the speaker.
constexpr int kFeedIntervalMs = 10;

QAudioDevice DeviceById(int deviceId) {
    if (deviceId == TWaveOutDriver::kWaveMapper)
        return QMediaDevices::defaultAudioOutput();
    const QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
    if (deviceId < 0 || deviceId >= outputs.size())
        return {};
    return outputs[deviceId];
}

QAudioFormat ToAudioFormat(const TWaveFormat& format) {
    QAudioFormat result;
    result.setSampleRate(static_cast<int>(format.SamplesPerSec));
    result.setChannelCount(format.Channels);
    result.setSampleFormat(format.BitsPerSample == 16 ? QAudioFormat::Int16 : QAudioFormat::UInt8);
    return result;
}

// Plays through a QAudioSink in push mode. Written blocks are copied into a pending buffer
// that a timer feeds into the sink as it takes them. The sink's processed time, turned into
// bytes, is the count of bytes played (its free-space report jumps about too much to serve),
// and a header is done once that count passes its last byte.
class TQtWaveOutDevice : public TWaveOutDevice {
public:
    TQtWaveOutDevice(const QAudioDevice& device, const QAudioFormat& format, QObject* window)
        : Sink(device, format), Format(format), Window(window) {
        Start();
        Timer.setTimerType(Qt::PreciseTimer);
        Timer.setInterval(kFeedIntervalMs);
        QObject::connect(&Timer, &QTimer::timeout, [this] { Service(); });
        Timer.start();
    }

    ~TQtWaveOutDevice() override {
        Timer.stop();
        Sink.stop();
    }

    bool Started() const { return Io != nullptr && Sink.error() == QAudio::NoError; }

    int Write(TWaveHeader& header) override {
        if (!(header.Flags & TWaveHeader::kPrepared))
            return kErrorUnprepared;
        header.Flags = (header.Flags & ~TWaveHeader::kDone) | TWaveHeader::kInQueue;
        Pending.append(reinterpret_cast<const char*>(header.Data), header.BufferLength);
        Accepted += header.BufferLength;
        Queue.push_back({&header, Accepted});
        Feed();
        return 0;
    }

    void Pause() override { Sink.suspend(); }
    void Restart() override { Sink.resume(); }

    void Reset() override {
        Sink.stop();
        Pending.clear();
        Accepted = 0;
        HandedOver = 0;
        Played = 0;
        while (!Queue.empty())
            Finish();
        Start();
    }

    std::uint64_t Position() override {
        UpdatePlayed();
        return Played;
    }

private:
    struct TQueued {
        TWaveHeader* Header;
        std::uint64_t End; // byte count at which the header's last byte has played
    };

    void Feed() {
        // The sink's free-space report lags behind its draining, so offer everything and
        // keep what it does not take for the next tick.
        if (Io == nullptr || Pending.isEmpty())
            return;
        const qint64 taken = Io->write(Pending.constData(), Pending.size());
        if (taken > 0) {
            Pending.remove(0, taken);
            HandedOver += static_cast<std::uint64_t>(taken);
        }
    }

    void Start() {
        Io = Sink.start();
        StartUSecs = Sink.processedUSecs();
    }

    void UpdatePlayed() {
        const qint64 usecs = std::max<qint64>(0, Sink.processedUSecs() - StartUSecs);
        const auto bytes = static_cast<std::uint64_t>(Format.bytesForDuration(usecs));
        Played = std::max(Played, std::min(bytes, HandedOver));
    }

    void Finish() {
        TWaveHeader* header = Queue.front().Header;
        Queue.pop_front();
        header->Flags = (header->Flags & ~TWaveHeader::kInQueue) | TWaveHeader::kDone;
        PostWaveOutMessage(Window, MM_WOM_DONE, 0, reinterpret_cast<quintptr>(header));
    }

    void Service() {
        Feed();
        UpdatePlayed();
        while (!Queue.empty() && Queue.front().End <= Played)
            Finish();
    }

    QAudioSink Sink;
    QAudioFormat Format;
    QIODevice* Io = nullptr;
    qint64 StartUSecs = 0;
    QObject* Window;
    QTimer Timer;
    QByteArray Pending;
    std::deque<TQueued> Queue;
    std::uint64_t Accepted = 0;   // bytes written by the caller since the last reset
    std::uint64_t HandedOver = 0; // of those, bytes the sink has taken
    std::uint64_t Played = 0;
};

class TQtWaveOutDriver : public TWaveOutDriver {
public:
    // Without an application object there is no event loop to deliver done messages, so
    // there is nothing to play on either.
    int DeviceCount() override {
        if (QCoreApplication::instance() == nullptr)
            return 0;
        return static_cast<int>(QMediaDevices::audioOutputs().size());
    }

    std::optional<TWaveOutCaps> Caps(int deviceId) override {
        const QAudioDevice device = DeviceById(deviceId);
        if (device.isNull())
            return std::nullopt;
        TWaveOutCaps caps;
        caps.ProductName = device.description().toStdString();
        caps.Channels = device.maximumChannelCount();
        return caps;
    }

    bool IsFormatSupported(int deviceId, const TWaveFormat& format) override {
        const QAudioDevice device = DeviceById(deviceId);
        return !device.isNull() && device.isFormatSupported(ToAudioFormat(format));
    }

    std::unique_ptr<TWaveOutDevice> Open(int deviceId, const TWaveFormat& format,
                                         QObject* callbackWindow, int& error) override {
        const QAudioDevice device = DeviceById(deviceId);
        if (device.isNull()) {
            error = kErrorBadDeviceId;
            return nullptr;
        }
        const QAudioFormat audioFormat = ToAudioFormat(format);
        if (!device.isFormatSupported(audioFormat)) {
            error = kErrorBadFormat;
            return nullptr;
        }
        auto result = std::make_unique<TQtWaveOutDevice>(device, audioFormat, callbackWindow);
        if (!result->Started()) {
            error = kErrorGeneral;
            return nullptr;
        }
        error = 0;
        return result;
    }
};

TQtWaveOutDriver systemDriver;
TWaveOutDriver* installedDriver = nullptr;

} // namespace

TWaveOutDriver& WaveOut() {
    return installedDriver ? *installedDriver : systemDriver;
}

void SetWaveOut(TWaveOutDriver* driver) {
    installedDriver = driver;
}

} // namespace ml
