#pragma once
// One picture file (.qmp) in memory: the picture, its thumbnail, the decoded area map, one
// wave record per water area, the weather record and the sound table.

#include "platform/Bitmap.h"
#include "project/ProjectRecords.h"

#include <array>
#include <string>

namespace ml {

class TProject {
public:
    TProject();

    bool Loaded = false;
    std::string FileName;
    TBitmap Picture;
    TBitmap Thumbnail;
    TBitmap AreaMap;
    std::array<TWaveParam, kAreaCount> WaveParams{};
    TWeatherParam Weather{};
    std::string Title;
    std::string ExtraText;
    int Speed = 100;
    std::string LegacySound;
    std::array<SoundSlot, kSoundSlotCount> Sounds{};

    // Reads the whole file. On failure shows "File: " + path + "\r\n" + message and
    // returns false; the project keeps what it got so far. A thumbnail that cannot be read
    // is reported the same way, and the load goes on without it.
    bool Load(const std::string& path);
    // Reads only the head (title, extra text, thumbnail), for thumbnail grids.
    bool LoadHeader(const std::string& path);

    TWaveParam& WaveParam(int index) { return WaveParams.at(static_cast<std::size_t>(index)); }
    void SetSpeed(int value) { Speed = value; }
    // Index of the first empty sound slot, or 8 when all are used.
    int SoundCount() const;
    // Rescales picture, area map and wave sizes to width x height (see the unit).
    void FitToDisplay(bool keepAspect, int width, int height);

private:
    void Reset();
    void LoadThumbnail(const std::string& data, const std::string& path);
};

} // namespace ml
