#pragma once
// Everything about a picture file besides its pixels and its mask: what the author tunes in
// the studio and what make-qmp reads from a parameter file and its options.

#include "project/FileLoader.h"
#include "project/ProjectRecords.h"

#include <QSize>
#include <array>
#include <string>

namespace ml::studio {

// The stored-size limit a photo larger than this starts with: a large screen.
inline constexpr QSize kLargeScreen{1920, 1080};

using TWaves = std::array<TWaveParam, kAreaCount>;

struct TPictureSettings {
    TWaves Waves{};
    TWeatherParam Weather{};
    TSoundTable Sounds{};
    std::string Title;
    std::string ExtraText;
    // The largest size the picture is stored at, its proportions kept; empty keeps the size
    // it was opened at.
    QSize StoredLimit;
    int Quality = 90; // JPEG quality of the stored picture and thumbnail
};

bool SameWave(const TWaveParam& a, const TWaveParam& b);
bool SameWeather(const TWeatherParam& a, const TWeatherParam& b);
bool SameSounds(const TSoundTable& a, const TSoundTable& b);
bool operator==(const TPictureSettings& a, const TPictureSettings& b);

// The waves a new picture starts with: in area 1 the gentle, perspective swell of a calm lake,
// sized for the stored picture's width so that it shows on a small picture and on a large
// one; the other areas stay still until the author gives them waves.
TWaves StartingWaves(int storedWidth);
// No weather; should the author choose some, it falls at normal speed.
TWeatherParam StartingWeather();

// The values of the parameter file's [AreaN] and [Weather] keys in their records. Flags
// read 0 or 1 and are set by any value other than 0; unknown keys read 0 and set nothing.
int WaveValue(const TWaveParam& wave, const std::string& key);
void SetWaveValue(TWaveParam& wave, const std::string& key, int value);
int WeatherValue(const TWeatherParam& weather, const std::string& key);
void SetWeatherValue(TWeatherParam& weather, const std::string& key, int value);

// A slot's path as text.
std::string SlotPath(const SoundSlot& slot);

} // namespace ml::studio
