#pragma once
// Plays one picture sound so the author can hear it, through the show's own mixer and at the
// show's output format: what plays here is what the show will play. A failure (no output
// device, a file the mixer cannot read) is reported, never thrown at the window.

#include <QObject>
#include <memory>
#include <string>

namespace ml {
class TSoundMixer;
}

namespace ml::studio {

class TSlotPlayer : public QObject {
    Q_OBJECT
public:
    explicit TSlotPlayer(QObject* parent = nullptr);
    ~TSlotPlayer() override;

    // Starts the sound, once or looping until Stop; a sound already playing stops first.
    // Returns "" when it plays, else why not.
    std::string Play(const std::string& path, bool loop);
    void Stop();
    bool Playing() const { return Mixer != nullptr; }

private:
    std::unique_ptr<TSoundMixer> Mixer;
};

} // namespace ml::studio
