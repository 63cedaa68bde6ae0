#pragma once
// The water as the show computes it, running on the picture the studio edits: the real wave
// generator, rain and snow, at the show's pace of one frame every 33 milliseconds. Wave and
// weather changes reach the running water at once; only what needs it starts it afresh.

#include "effects/WaveGenerator.h"
#include "project/Project.h"
#include "studio/PictureSettings.h"

#include <QObject>
#include <QTimer>
#include <optional>

namespace ml::studio {

class TLiveWater : public QObject {
    Q_OBJECT
public:
    // The show's frame interval.
    static constexpr int kFrameMilliseconds = 33;

    explicit TLiveWater(QObject* parent = nullptr);

    // The stored picture and its mask in the exact area colours, the same size; starts the
    // water afresh.
    void SetPicture(const TBitmap& picture, const TBitmap& mask);
    void SetMask(const TBitmap& mask);
    void SetWaves(const TWaves& waves);
    void SetWeather(const TWeatherParam& weather);
    // The speed in percent, as the show's speed setting.
    void SetSpeed(int percent);
    int Speed() const { return Picture.Speed; }

    void SetRunning(bool running);
    bool Running() const { return Timer.isActive(); }
    // Computes the next frame (the timer calls it; tests call it directly).
    void Step();
    // The frame to show: the water with the weather on it, or the still picture.
    const TBitmap& Frame() const;
    // Tests fix the random source so that frames repeat.
    void SetFixedSeed(std::optional<std::uint64_t> seed) { Generator.SetFixedSeed(seed); }
    const TWaveGenerator& Waves() const { return Generator; }

    // True until the first frame after the water started afresh: everything is new then.
    // Afterwards the generator's ChangedParts say where a frame differs from the last.
    bool FreshFrame() const { return Fresh || !Started; }

signals:
    void frameReady();

private:
    void Restart();

    TProject Picture;
    TWaveGenerator Generator;
    QTimer Timer;
    bool Started = false;
    bool Fresh = true; // no frame since the water started
};

} // namespace ml::studio
