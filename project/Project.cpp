#include "project/Project.h"

#include "backend/Jpeg.h"
#include "effects/FastBMP.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"
#include "project/FileLoader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace ml {

namespace {

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// Fills the area map from its run codes, row by row from the top-left pixel. A run that would
// go past the last row fails with the bitmap's own scan-line message; pixels no run reaches
// stay black, outside every area.
void DecodeAreaMap(const std::vector<std::int32_t>& values, TBitmap& map) {
    const int width = values[0];
    const int height = values[1];
    if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        throw EReadError("The area map size " + SizeText(width, height) + " is out of range");
    auto negative = std::find_if(values.begin() + 2, values.end(), [](auto v) { return v < 0; });
    if (negative != values.end())
        throw EReadError("Negative run value (" + std::to_string(*negative) + ") in the area map");

    map.SetWidth(width);
    map.SetHeight(height);
    // A map without pixels has no first row to start on, whichever side is zero.
    if (map.Empty())
        throw EInvalidOperation(kScanLineOutOfRange);
    std::uint32_t* line = map.ScanLine(0);
    int row = 0;
    int column = 0;
    for (auto value = values.begin() + 2; value != values.end(); ++value) {
        const int area = *value % 10;
        // Area numbers past 4 mean nothing to the water; they are drawn as no area.
        const std::uint32_t color = 0xFF000000u | (area <= kAreaCount ? AreaColors[area] : 0);
        for (int length = *value / 10; length > 0;) {
            if (column == width) {
                line = map.ScanLine(++row);
                column = 0;
            }
            const int count = std::min(length, width - column);
            std::fill_n(line + column, count, color);
            column += count;
            length -= count;
        }
    }
}

// Rounds to the nearest integer, halves to even, and keeps the result inside 32 bits so that a
// wild value from a file cannot overflow.
int RoundToInt(double value) {
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<int>(std::clamp(std::nearbyint(value), low, high));
}

} // namespace

TProject::TProject() {
    Reset();
}

void TProject::Reset() {
    Loaded = false;
    FileName.clear();
    for (TBitmap* bitmap : {&Thumbnail, &Picture, &AreaMap}) {
        *bitmap = TBitmap();
        bitmap->SetPixelFormat(TPixelFormat::pf32bit);
    }
    WaveParams = {};
    Weather = {};
    Title.clear();
    ExtraText.clear();
    LegacySound.clear();
    Sounds = {};
}

bool TProject::Load(const std::string& path) {
    Reset();
    try {
        TFileLoader loader;
        loader.LoadFromFile(path);
        DecodeAreaMap(loader.AreaValues, AreaMap);
        Picture = DecodeJpeg(loader.PictureData);
        Thumbnail = DecodeJpeg(loader.ThumbnailData);
        // The water is computed pixel by pixel over both; a map of another size would send
        // the generator outside one of them.
        if (AreaMap.Width() != Picture.Width() || AreaMap.Height() != Picture.Height())
            throw EReadError("The area map (" + SizeText(AreaMap.Width(), AreaMap.Height()) +
                             ") does not match the picture (" +
                             SizeText(Picture.Width(), Picture.Height()) + ")");
        WaveParams = loader.WaveParams;
        Weather = loader.Weather;
        Sounds = loader.Sounds;
        FileName = path;
        Title = loader.Title;
        ExtraText = loader.ExtraText;
        LegacySound = loader.LegacySound;
        AddLegacySound(Sounds, LegacySound);
        LegacySound.clear();
        Loaded = true;
        return true;
    } catch (const std::exception& e) {
        ShowErrorMessage("File: " + path + "\r\n" + e.what());
        return false;
    }
}

bool TProject::LoadHeader(const std::string& path) {
    Reset();
    try {
        TFileLoader loader;
        loader.LoadHeaderFromFile(path);
        Thumbnail = DecodeJpeg(loader.ThumbnailData);
        FileName = path;
        Title = loader.Title;
        ExtraText = loader.ExtraText;
        Loaded = true;
        return true;
    } catch (const std::exception& e) {
        ShowErrorMessage("File: " + path + "\r\n" + e.what());
        return false;
    }
}

int TProject::SoundCount() const {
    return UsedSoundSlots(Sounds);
}

void TProject::FitToDisplay(bool keepAspect, int width, int height) {
    const int pictureWidth = Picture.Width();
    const int pictureHeight = Picture.Height();
    // Without a picture or a target there is no ratio to scale by.
    if (pictureWidth < 1 || pictureHeight < 1 || width < 1 || height < 1)
        return;
    if (keepAspect) {
        const double ratio = static_cast<double>(pictureWidth) / pictureHeight;
        if (pictureWidth > std::int64_t{pictureHeight} * width / height)
            height = std::max(1, RoundToInt(width / ratio));
        else
            width = std::max(1, RoundToInt(height * ratio));
    }

    // Wave sizes are in pixels of the picture, so they grow and shrink with it: the amplitude
    // with the width, the row jitter with the height.
    for (TWaveParam& wave : WaveParams) {
        wave.Amplitude = RoundToInt(static_cast<double>(wave.Amplitude) * width / pictureWidth);
        wave.JitterRange =
            RoundToInt(static_cast<double>(wave.JitterRange) * height / pictureHeight);
    }

    TFastBMP source;
    source.LoadFromBitmap(Picture);
    TFastBMP scaled(width, height);
    source.ScaleBilinearInto(scaled);
    Picture.SetSize(width, height);
    scaled.PaintAt(Picture, 0, 0);

    // The area map must keep pure area colours: a blended edge pixel would belong to no area
    // or to the wrong one, so it is stretched by repeating and dropping pixels only.
    if (!AreaMap.Empty())
        AreaMap = TBitmap(
            AreaMap.ToImage().scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

} // namespace ml
