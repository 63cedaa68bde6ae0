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

// Checks the area map's values against the picture before any pixel of the map exists: its
// size must be the picture's, and its runs must fit in its pixels (a run past the last row
// fails with the bitmap's own scan-line message). Runs that cover fewer pixels are fine; the
// rest of the map lies outside every area.
void CheckAreaMap(const std::vector<std::int32_t>& values, QSize picture) {
    const int width = values[0];
    const int height = values[1];
    if (width < 0 || height < 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        throw EReadError("The area map size " + SizeText(width, height) + " is out of range");
    auto negative = std::find_if(values.begin() + 2, values.end(), [](auto v) { return v < 0; });
    if (negative != values.end())
        throw EReadError("Negative run value (" + std::to_string(*negative) + ") in the area map");
    // The water is computed pixel by pixel over both; a map of another size would send the
    // generator outside one of them.
    if (width != picture.width() || height != picture.height())
        throw EReadError("The area map (" + SizeText(width, height) +
                         ") does not match the picture (" +
                         SizeText(picture.width(), picture.height()) + ")");
    std::int64_t pixels = 0;
    for (auto value = values.begin() + 2; value != values.end(); ++value)
        pixels += *value / 10;
    if (pixels > std::int64_t{width} * height)
        throw EInvalidOperation(kScanLineOutOfRange);
}

// Fills the checked area map from its run codes, row by row from the top-left pixel.
void DecodeAreaMap(const std::vector<std::int32_t>& values, TBitmap& map) {
    const int width = values[0];
    map.SetWidth(width);
    map.SetHeight(values[1]);
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

// The size FitToDisplay brings a picture of the stored size to; the stored size itself when
// there is nothing to scale by.
QSize FittedSize(QSize stored, const TDisplayFit& fit) {
    int width = fit.Width;
    int height = fit.Height;
    if (stored.width() < 1 || stored.height() < 1 || width < 1 || height < 1)
        return stored;
    if (fit.KeepAspect) {
        const double ratio = static_cast<double>(stored.width()) / stored.height();
        if (stored.width() > std::int64_t{stored.height()} * width / height)
            height = std::max(1, RoundToInt(width / ratio));
        else
            width = std::max(1, RoundToInt(height * ratio));
    }
    return QSize(width, height);
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

bool TProject::Load(const std::string& path, const TFitFor& fitFor) {
    Reset();
    QSize stored;
    std::optional<TDisplayFit> fit;
    try {
        TFileLoader loader;
        loader.LoadFromFile(path);
        Picture = DecodeJpeg(loader.PictureData, [&](QSize size) {
            stored = size;
            if (fitFor)
                fit = fitFor(size);
            return fit ? FittedSize(size, *fit) : size;
        });
        CheckAreaMap(loader.AreaValues, stored);
        DecodeAreaMap(loader.AreaValues, AreaMap);
        LoadThumbnail(loader.ThumbnailData, path);
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
    } catch (const std::exception& e) {
        ShowErrorMessage("File: " + path + "\r\n" + e.what());
    }
    // A failed load is fitted as far as it got, as a caller fitting afterwards would.
    if (fit && !Picture.Empty())
        FitFrom(stored, *fit);
    return Loaded;
}

void TProject::LoadThumbnail(const std::string& data, const std::string& path) {
    // The show never shows the thumbnail: a damaged one is reported and the picture is used
    // all the same, with an empty thumbnail.
    try {
        Thumbnail = DecodeJpeg(data);
    } catch (const Exception& e) {
        ShowErrorMessage("File: " + path + "\r\nThe thumbnail cannot be read: " + e.Message());
        Thumbnail = TBitmap();
        Thumbnail.SetPixelFormat(TPixelFormat::pf32bit);
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
    FitFrom(QSize(Picture.Width(), Picture.Height()), {keepAspect, width, height});
}

void TProject::FitFrom(QSize stored, const TDisplayFit& fit) {
    const int pictureWidth = stored.width();
    const int pictureHeight = stored.height();
    // Without a picture or a target there is no ratio to scale by.
    if (pictureWidth < 1 || pictureHeight < 1 || fit.Width < 1 || fit.Height < 1)
        return;
    const QSize fitted = FittedSize(stored, fit);
    const int width = fitted.width();
    const int height = fitted.height();

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
