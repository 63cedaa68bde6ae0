#include "demo/DemoProject.h"

#include "demo/Ambience.h"
#include "demo/Music.h"
#include "demo/Scenes.h"
#include "project/ProjectRecords.h"

#include <sstream>

namespace ml {

namespace {

struct TSoundUse {
    std::string Path;
    int Mode = 0; // 0 loop, 1 random pause of MinSeconds..MaxSeconds-1, 2 every MinSeconds
    int MinSeconds = 0;
    int MaxSeconds = 0;
};

TWaveParam Wave(int amplitude, int waveCount, int phaseStep, int direction, bool horizontal,
                bool vertical, bool perspective, int jitterRange) {
    TWaveParam p;
    p.Amplitude = amplitude;
    p.WaveCount = waveCount;
    p.PhaseStep = phaseStep;
    p.Direction = direction;
    p.Horizontal = horizontal ? 1 : 0;
    p.Vertical = vertical ? 1 : 0;
    p.Perspective = perspective ? 1 : 0;
    p.Period = 360;
    p.JitterRange = jitterRange;
    return p;
}

TWeatherParam Weather(int kind, int count, int speedIndex, int angle, int length) {
    TWeatherParam w;
    w.Kind = kind;
    w.Count = count;
    w.SpeedIndex = speedIndex;
    w.Angle = angle;
    w.Length = length;
    return w;
}

// Unused areas are written too, with a period of 360: a zero period would stop the
// animation of the whole picture, not only of the empty area.
std::string ParamsIni(const std::vector<TWaveParam>& areas, const TWeatherParam& weather,
                      const std::vector<TSoundUse>& sounds) {
    std::ostringstream ini;
    const char* eol = "\r\n";
    for (int i = 0; i < kAreaCount; ++i) {
        TWaveParam p = i < static_cast<int>(areas.size()) ? areas[i] : TWaveParam{};
        if (p.Period == 0) {
            p.Period = 360;
        }
        ini << "[Area" << i + 1 << "]" << eol << "Amplitude=" << p.Amplitude << eol
            << "WaveCount=" << p.WaveCount << eol << "PhaseStep=" << p.PhaseStep << eol
            << "Direction=" << p.Direction << eol << "Horizontal=" << int(p.Horizontal) << eol
            << "Vertical=" << int(p.Vertical) << eol << "Perspective=" << int(p.Perspective) << eol
            << "Period=" << p.Period << eol << "JitterRange=" << p.JitterRange << eol;
    }
    ini << "[Weather]" << eol << "Kind=" << weather.Kind << eol << "Count=" << weather.Count << eol
        << "SpeedIndex=" << weather.SpeedIndex << eol << "Angle=" << weather.Angle << eol
        << "Length=" << weather.Length << eol;
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        ini << "[Sound" << i + 1 << "]" << eol << "Path=" << sounds[i].Path << eol
            << "Mode=" << sounds[i].Mode << eol << "MinSeconds=" << sounds[i].MinSeconds << eol
            << "MaxSeconds=" << sounds[i].MaxSeconds << eol;
    }
    return ini.str();
}

TDemoScene Scene(std::string name, std::string title, demo::TSceneArt art, std::string params) {
    return {std::move(name), std::move(title), std::move(art.Picture), std::move(art.AreaMask),
            std::move(params)};
}

constexpr const char* kRain = "rain.wav";
constexpr const char* kWind = "wind.wav";
constexpr const char* kLapping = "lapping.wav";
constexpr const char* kBird = "bird.wav";

// The bird sings every 5 to 9 seconds: the pause is drawn from MinSeconds to MaxSeconds - 1.
const TSoundUse kDistantBird{kBird, 1, 5, 10};

} // namespace

std::vector<TDemoScene> DemoScenes() {
    std::vector<TDemoScene> scenes;
    // Rain roughens a lake: low, closely spaced waves broken up column by column.
    scenes.push_back(
        Scene("dusk-lake", "Lake at Dusk", demo::PaintDuskLake(),
              ParamsIni({Wave(4, 34, 10, 1, false, true, true, 2)}, Weather(2, 450, 12, 82, 14),
                        {{kRain, 0, 0, 0}, {kLapping, 0, 0, 0}})));
    // A still mountain lake: slow, gentle swell; the snow drifts down slowly.
    scenes.push_back(Scene("mountain-lake", "Mountain Lake in Snow", demo::PaintMountainLake(),
                           ParamsIni({Wave(3, 48, 6, 1, false, true, true, 0)},
                                     Weather(1, 320, 4, 90, 10), {{kWind, 0, 0, 0}})));
    // The open sea rolls in long swells that grow towards the viewer; the sun's glitter path
    // has the same swell but sparkles, broken up per column.
    scenes.push_back(Scene("sea-horizon", "Sea in the Evening Sun", demo::PaintSeaHorizon(),
                           ParamsIni({Wave(9, 40, 12, 1, false, true, true, 0),
                                      Wave(9, 40, 12, 1, true, true, true, 5)},
                                     Weather(0, 0, 0, 0, 0),
                                     {{kLapping, 0, 0, 0}, {kWind, 0, 0, 0}, kDistantBird})));
    // The river flows sideways: horizontal displacement drifting upstream-to-downstream.
    scenes.push_back(Scene("river", "River in Summer", demo::PaintRiver(),
                           ParamsIni({Wave(6, 30, 10, 0, true, false, true, 3)},
                                     Weather(0, 0, 0, 0, 0), {{kLapping, 0, 0, 0}, kDistantBird})));
    return scenes;
}

QImage DemoPlainPicture() {
    return demo::PaintNightHills();
}

QImage DemoPreview() {
    // The middle 4:3 part of the dusk lake, where the shore lights are.
    const QImage picture = demo::PaintDuskLake().Picture;
    const int width = picture.height() * 4 / 3;
    return picture.copy((picture.width() - width) / 2, 0, width, picture.height())
        .scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

std::vector<TDemoSound> DemoSounds() {
    using demo::EncodeWav;
    return {{kRain, EncodeWav(demo::RainLoop())},
            {kWind, EncodeWav(demo::WindLoop())},
            {kLapping, EncodeWav(demo::LappingLoop())},
            {kBird, EncodeWav(demo::BirdCall())}};
}

std::vector<TDemoSound> DemoMusic() {
    using demo::EncodeWav;
    return {{"evening.wav", EncodeWav(demo::EveningMusic())},
            {"morning.wav", EncodeWav(demo::MorningMusic())}};
}

} // namespace ml
