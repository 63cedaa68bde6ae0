#pragma once
// A mixer on the virtual device, driven by a manual clock, with its "MIXER.INI" in a fresh
// folder.

#include "mixer/MixerEngine.h"
#include "mixer/MixerError.h"
#include "tests/mixer/WaveFiles.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualWaveOut.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <functional>

namespace ml::test {

// Records the done notices the mixer posts.
class TNoticeWindow : public QObject {
public:
    std::vector<std::pair<quintptr, quintptr>> Notices; // channel, wave

protected:
    bool event(QEvent* event) override {
        if (event->type() != TWaveOutMessage::EventType())
            return QObject::event(event);
        auto* message = static_cast<TWaveOutMessage*>(event);
        EXPECT_EQ(message->Message, MM_WOM_DONE);
        Notices.emplace_back(message->WParam, message->LParam);
        return true;
    }
};

inline void ExpectMixerError(const std::function<void()>& call, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const EMixerError& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

class MixerFixture : public ::testing::Test {
protected:
    void SetUp() override { SetMixerIniFileName(Dir.File("MIXER.INI")); }
    void TearDown() override {
        if (CurrentSession())
            MixerEndSession(CurrentSession().get());
        SetMixerIniFileName("");
    }

    void WriteIni(const std::string& text) {
        if (!text.empty())
            Dir.Write("MIXER.INI", text);
    }

    // A mixer with every channel open that holds the device.
    TMixSession* Start(const TMixConfig* config = nullptr) {
        Mixer = MixerConfigureInit(config);
        MixerAddChannel(Mixer, 0, 1);
        MixerActivate(Mixer, true);
        return Mixer;
    }

    // A sound already in the output format, so its bytes are the bytes played.
    TWaveData* Wave(const std::vector<int>& bytes) {
        const std::string image =
            MakeWave(Mixer->Format.Channels, Mixer->Format.SamplesPerSec, 8, Bytes(bytes));
        return MixerLoadWave(
            Mixer, TWaveSource::MemoryImage(reinterpret_cast<const std::uint8_t*>(image.data()),
                                            image.size()));
    }
    TWaveData* Wave(int value, int length) { return Wave(std::vector<int>(length, value)); }

    int Play(int channel, TWaveData* wave, std::uint16_t loops = 0, std::uint32_t flags = 0,
             QObject* notify = nullptr) {
        TPlayRequest request;
        request.Mixer = Mixer;
        request.Channel = channel;
        request.Wave = wave;
        request.Flags = flags;
        request.Loops = loops;
        request.NotifyWindow = notify;
        MixerPlay(&request);
        return request.Channel;
    }

    TScopedManualClock Clock;
    TVirtualWaveOut Out{Clock};
    TTempDir Dir;
    TMixSession* Mixer = nullptr;
};

} // namespace ml::test
