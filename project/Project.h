#pragma once
// One picture file (.qmp) in memory: the picture, its thumbnail, the decoded area map, one
// wave record per water area, the weather record and the sound table.

#include "platform/Bitmap.h"
#include "project/ProjectRecords.h"

#include <QSize>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace ml {

// A size to bring a picture to, as FitToDisplay takes it.
struct TDisplayFit {
    bool KeepAspect = false;
    int Width = 0;
    int Height = 0;
};
using TFitFor = std::function<std::optional<TDisplayFit>(QSize stored)>;

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
    // With fitFor, the picture ends as FitToDisplay brings it to the fit fitFor gives for the
    // size the file stores (none: as stored), but a large one is decoded only as large as the
    // fit needs (see DecodeJpeg), which saves most of the time a big photo takes to load. The
    // area map and wave sizes come out just as after FitToDisplay.
    bool Load(const std::string& path, const TFitFor& fitFor = {});
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
    // FitToDisplay for a picture stored at stored size, whatever size it was decoded at.
    void FitFrom(QSize stored, const TDisplayFit& fit);
    void LoadThumbnail(const std::string& data, const std::string& path);
};

} // namespace ml
