#include "studio/LiveWater.h"

namespace ml::studio {

TLiveWater::TLiveWater(QObject* parent) : QObject(parent) {
    Timer.setInterval(kFrameMilliseconds);
    connect(&Timer, &QTimer::timeout, this, &TLiveWater::Step);
    Picture.Weather = {};
    for (TWaveParam& wave : Picture.WaveParams)
        wave.Period = 360;
}

void TLiveWater::SetPicture(const TBitmap& picture, const TBitmap& mask) {
    Picture.Picture = picture;
    Picture.AreaMap = mask;
    Restart();
}

void TLiveWater::SetMask(const TBitmap& mask) {
    Picture.AreaMap = mask;
    Restart();
}

void TLiveWater::SetWaves(const TWaves& waves) {
    // The generator reads the wave records every frame, so most changes show with the next
    // one; the column jitter is drawn when the water starts, so a new range starts it again.
    bool jitterChanged = false;
    for (std::size_t i = 0; i < waves.size(); ++i)
        jitterChanged |= waves[i].JitterRange != Picture.WaveParams[i].JitterRange;
    std::copy(waves.begin(), waves.end(), Picture.WaveParams.begin());
    if (jitterChanged)
        Restart();
}

void TLiveWater::SetWeather(const TWeatherParam& weather) {
    // Speed, angle and length are read every frame; a new kind or count needs new particles.
    const bool newParticles =
        weather.Kind != Picture.Weather.Kind || weather.Count != Picture.Weather.Count;
    Picture.Weather = weather;
    if (newParticles && Started)
        Generator.SetWeather(weather.Kind > 0);
}

void TLiveWater::SetSpeed(int percent) {
    Picture.SetSpeed(percent);
    // The generator takes the speed when a picture is attached; attaching again changes
    // nothing else.
    Generator.SetProject(Picture);
}

void TLiveWater::SetRunning(bool running) {
    if (running)
        Timer.start();
    else
        Timer.stop();
}

void TLiveWater::Restart() {
    Started = false;
    if (Picture.Picture.Empty() || Picture.AreaMap.Width() != Picture.Picture.Width() ||
        Picture.AreaMap.Height() != Picture.Picture.Height())
        return;
    Generator.SetProject(Picture);
    Generator.SetWeather(false);
    Generator.Initialize();
    Generator.SetWeather(Picture.Weather.Kind > 0);
    Started = true;
    Fresh = true;
    emit frameReady();
}

void TLiveWater::Step() {
    if (!Started)
        return;
    Generator.NextFrame();
    Fresh = false;
    emit frameReady();
}

const TBitmap& TLiveWater::Frame() const {
    return Started ? Generator.CurrentFrame() : Picture.Picture;
}

} // namespace ml::studio
