#include "studio/PictureSettings.h"

#include "tools/authoring/IniSchema.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ml::studio {

namespace {

// The records are plain bytes as stored, padding included; comparing the bytes compares what
// the file would hold.
template <class Record> bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

struct TWaveNumber {
    const char* Key;
    std::int32_t TWaveParam::*Member;
};
struct TWaveFlag {
    const char* Key;
    std::uint8_t TWaveParam::*Member;
};
struct TWeatherNumber {
    const char* Key;
    std::int32_t TWeatherParam::*Member;
};

constexpr TWaveNumber kWaveNumbers[] = {
    {"Amplitude", &TWaveParam::Amplitude}, {"WaveCount", &TWaveParam::WaveCount},
    {"PhaseStep", &TWaveParam::PhaseStep}, {"Direction", &TWaveParam::Direction},
    {"Period", &TWaveParam::Period},       {"JitterRange", &TWaveParam::JitterRange}};
constexpr TWaveFlag kWaveFlags[] = {{"Horizontal", &TWaveParam::Horizontal},
                                    {"Vertical", &TWaveParam::Vertical},
                                    {"Perspective", &TWaveParam::Perspective}};
constexpr TWeatherNumber kWeatherNumbers[] = {{"Kind", &TWeatherParam::Kind},
                                              {"Count", &TWeatherParam::Count},
                                              {"SpeedIndex", &TWeatherParam::SpeedIndex},
                                              {"Angle", &TWeatherParam::Angle},
                                              {"Length", &TWeatherParam::Length}};

} // namespace

int WaveValue(const TWaveParam& wave, const std::string& key) {
    for (const auto& field : kWaveNumbers)
        if (key == field.Key)
            return wave.*field.Member;
    for (const auto& field : kWaveFlags)
        if (key == field.Key)
            return wave.*field.Member != 0 ? 1 : 0;
    return 0;
}

void SetWaveValue(TWaveParam& wave, const std::string& key, int value) {
    for (const auto& field : kWaveNumbers)
        if (key == field.Key)
            wave.*field.Member = value;
    for (const auto& field : kWaveFlags)
        if (key == field.Key)
            wave.*field.Member = value != 0 ? 1 : 0;
}

int WeatherValue(const TWeatherParam& weather, const std::string& key) {
    for (const auto& field : kWeatherNumbers)
        if (key == field.Key)
            return weather.*field.Member;
    return 0;
}

void SetWeatherValue(TWeatherParam& weather, const std::string& key, int value) {
    for (const auto& field : kWeatherNumbers)
        if (key == field.Key)
            weather.*field.Member = value;
}

bool SameWave(const TWaveParam& a, const TWaveParam& b) {
    return SameBytes(a, b);
}

bool SameWeather(const TWeatherParam& a, const TWeatherParam& b) {
    return SameBytes(a, b);
}

bool SameSounds(const TSoundTable& a, const TSoundTable& b) {
    return SameBytes(a, b);
}

bool operator==(const TPictureSettings& a, const TPictureSettings& b) {
    return SameBytes(a.Waves, b.Waves) && SameWeather(a.Weather, b.Weather) &&
           SameSounds(a.Sounds, b.Sounds) && a.Title == b.Title && a.ExtraText == b.ExtraText &&
           a.StoredLimit == b.StoredLimit && a.Quality == b.Quality;
}

TWaves StartingWaves(int storedWidth) {
    TWaves waves{};
    for (const authoring::TKeyRule& key : authoring::PictureParamsSchema().Find("Area1")->Keys)
        for (TWaveParam& still : waves)
            SetWaveValue(still, key.Name, key.Default);
    TWaveParam& wave = waves[0];
    wave.Amplitude = std::max(2, static_cast<int>(std::lround(storedWidth / 250.0)));
    wave.WaveCount = 34;
    wave.PhaseStep = 10;
    wave.Direction = 1;
    wave.Vertical = 1;
    wave.Perspective = 1;
    return waves;
}

TWeatherParam StartingWeather() {
    TWeatherParam weather;
    for (const authoring::TKeyRule& key : authoring::PictureParamsSchema().Find("Weather")->Keys)
        SetWeatherValue(weather, key.Name, key.Default);
    return weather;
}

std::string SlotPath(const SoundSlot& slot) {
    return std::string(slot.Path, slot.PathLength);
}

} // namespace ml::studio
