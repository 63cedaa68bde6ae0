#pragma once
// Writes picture files (.qmp): the inverse of TFileLoader. The authoring tool builds pictures
// with it, and tests build well-formed and damaged files from it.

#include "platform/Bitmap.h"
#include "project/FileLoader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ml {

struct TPictureFileContent {
    std::string Title;
    std::string ExtraText;
    std::string ThumbnailData; // a complete JPEG stream
    // Normally four, area 1 first; any number is written as given.
    std::vector<TWaveParam> WaveRecords = std::vector<TWaveParam>(kAreaCount);
    std::vector<std::int32_t> AreaValues; // width, height, run codes
    std::string PictureData;              // a complete JPEG stream
    std::string LegacySound;
    TWeatherParam Weather{};
    // Files written before sound tables existed end after the weather record.
    bool WithSoundTable = true;
    TSoundTable Sounds{};
};

std::string WritePictureFile(const TPictureFileContent& content);

// The run codes of an area map: pixels in the colours of AreaColors mark areas 1 to 4, every
// other colour is outside all areas. Returns width, height, then the runs row by row.
std::vector<std::int32_t> EncodeAreaMap(const TBitmap& areaMap);

// A sound slot for a path of at most 255 bytes; longer paths raise EConvertError.
SoundSlot MakeSoundSlot(const std::string& path, int mode, int minSeconds, int maxSeconds);

} // namespace ml
