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
#include <vector>

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

// The source pixel a pixel of a side scaled from `from` to `to` pixels shows: the one under its
// centre, floor((index + 0.5) * from / to). Pure area colours survive because no pixel is
// blended.
std::vector<int> NearestSources(int to, int from) {
    std::vector<int> sources(static_cast<std::size_t>(std::max(to, 0)));
    for (int i = 0; i < to; ++i)
        sources[i] = static_cast<int>((2 * std::int64_t{i} + 1) * from / (2 * std::int64_t{to}));
    return sources;
}

// Fills the checked area map from its run codes, row by row from the top-left pixel, straight
// into `size` (the stored size, or the fitted one): each map pixel takes its nearest source
// pixel, so the result is the stored map scaled by ScaleAreaMap, without ever holding the
// stored map. A 12-megapixel map fitted to a screen is a few megabytes instead of 48.
void DecodeAreaMap(const std::vector<std::int32_t>& values, QSize size, TBitmap& map) {
    const int storedWidth = values[0];
    map.SetSize(size.width(), size.height());
    if (map.Empty() || storedWidth == 0)
        return;
    const std::vector<int> columns = NearestSources(size.width(), storedWidth);
    const std::vector<int> rows = NearestSources(size.height(), values[1]);
    // One stored row as area numbers; pixels past the last run are outside every area.
    std::vector<std::uint8_t> areas(static_cast<std::size_t>(storedWidth), 0);
    int row = 0;
    int column = 0;
    int shown = 0; // the next map row to fill
    const auto finishRow = [&] {
        for (bool first = true; shown < size.height() && rows[shown] == row; ++shown) {
            std::uint32_t* line = map.ScanLine(shown);
            if (first) {
                for (int x = 0; x < size.width(); ++x)
                    line[x] = 0xFF000000u | AreaColors[areas[columns[x]]];
                first = false;
            } else {
                std::memcpy(line, map.ScanLine(shown - 1), sizeof(std::uint32_t) * size.width());
            }
        }
        ++row;
        column = 0;
    };
    for (auto value = values.begin() + 2; value != values.end(); ++value) {
        // Area numbers past 4 mean nothing to the water; they are drawn as no area.
        const int code = *value % 10;
        const std::uint8_t area = code <= kAreaCount ? static_cast<std::uint8_t>(code) : 0;
        for (int length = *value / 10; length > 0;) {
            const int count = std::min(length, storedWidth - column);
            // Rows no map row shows are only counted through.
            if (shown < size.height() && rows[shown] == row)
                std::fill_n(areas.begin() + column, count, area);
            column += count;
            length -= count;
            if (column == storedWidth)
                finishRow();
        }
    }
    if (column > 0) {
        std::fill(areas.begin() + column, areas.end(), std::uint8_t{0});
        finishRow();
    }
}

// The area map brought to width x height by nearest source pixels, exactly as DecodeAreaMap
// would have decoded it at that size.
TBitmap ScaleAreaMap(const TBitmap& map, int width, int height) {
    const std::vector<int> columns = NearestSources(width, map.Width());
    const std::vector<int> rows = NearestSources(height, map.Height());
    TBitmap scaled(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = map.ScanLine(rows[y]);
        std::uint32_t* to = scaled.ScanLine(y);
        for (int x = 0; x < width; ++x)
            to[x] = from[columns[x]];
    }
    return scaled;
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
        DecodeAreaMap(loader.AreaValues, fit ? FittedSize(stored, *fit) : stored, AreaMap);
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
    // or to the wrong one, so it is stretched by repeating and dropping pixels only. A load
    // for this fit has decoded it at this size already.
    if (!AreaMap.Empty() && (AreaMap.Width() != width || AreaMap.Height() != height))
        AreaMap = ScaleAreaMap(AreaMap, width, height);
}

} // namespace ml
