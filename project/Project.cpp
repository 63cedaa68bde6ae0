#include "project/Project.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"
#include "project/FileLoader.h"

#include <algorithm>
#include <cstring>

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

} // namespace ml
