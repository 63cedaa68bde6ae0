#pragma once
// Small, valid picture files built with our own writer and JPEG encoder, for the picture
// file tests to load as they are or to damage on purpose.

#include "backend/Jpeg.h"
#include "project/PictureFileWriter.h"

#include <cstring>
#include <string>

namespace ml::test {

// A picture of w x h with a colour ramp, so that scaling shows.
inline TBitmap RampBitmap(int w, int h) {
    TBitmap bitmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap.SetPixel(x, y, static_cast<std::uint32_t>((x * 255 / w) << 16 | (y * 255 / h)));
    return bitmap;
}

// An 8 x 6 area map: rows 0-1 no area, rows 2-3 area 1, row 4 areas 2 and 3 (half each),
// row 5 area 4.
inline TBitmap SampleMask() {
    TBitmap mask(8, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            int area = y < 2 ? 0 : y < 4 ? 1 : y == 4 ? (x < 4 ? 2 : 3) : 4;
            mask.SetPixel(x, y, AreaColors[area]);
        }
    return mask;
}

inline TWaveParam SampleWave(int seed) {
    TWaveParam wave;
    wave.Amplitude = 6 + seed;
    wave.WaveCount = 17;
    wave.PhaseStep = 15;
    wave.Direction = 1;
    wave.Vertical = 1;
    wave.Perspective = static_cast<std::uint8_t>(seed % 2);
    wave.Period = 360;
    wave.JitterRange = seed;
    return wave;
}

// Every field set to something recognisable; the sound table has two slots in use.
inline TPictureFileContent SampleContent() {
    TPictureFileContent content;
    content.Title = "Harbour at dusk";
    content.ExtraText = "second line";
    content.ThumbnailData = EncodeJpeg(RampBitmap(4, 3), 90);
    for (int i = 0; i < kAreaCount; ++i)
        content.WaveRecords[static_cast<std::size_t>(i)] = SampleWave(i);
    content.AreaValues = EncodeAreaMap(SampleMask());
    content.PictureData = EncodeJpeg(RampBitmap(8, 6), 90);
    content.LegacySound = "<NO SOUND>";
    content.Weather = TWeatherParam{2, 300, 4, 20, 5, 0};
    content.Sounds[0] = MakeSoundSlot("waves.wav", 0, 0, 0);
    content.Sounds[1] = MakeSoundSlot("gull.wav", 1, 5, 20);
    return content;
}

inline std::string SlotPath(const SoundSlot& slot) {
    return std::string(slot.Path, slot.PathLength);
}

// Overwrites the 32-bit value at a byte offset.
inline void PatchInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// Byte offsets of the fields of a file written from `content`.
struct TFieldOffsets {
    std::size_t Title, ExtraText, ThumbnailSize, WaveCount, AreaLength, PictureSize, Legacy,
        Weather, Sounds;
};

inline TFieldOffsets OffsetsOf(const TPictureFileContent& c) {
    TFieldOffsets o{};
    o.Title = 8;
    o.ExtraText = o.Title + 4 + c.Title.size();
    o.ThumbnailSize = o.ExtraText + 4 + c.ExtraText.size();
    o.WaveCount = o.ThumbnailSize + 4 + c.ThumbnailData.size();
    o.AreaLength = o.WaveCount + 4 + 32 * c.WaveRecords.size();
    o.PictureSize = o.AreaLength + 4 + 4 * c.AreaValues.size();
    o.Legacy = o.PictureSize + 4 + c.PictureData.size();
    o.Weather = o.Legacy + 4 + c.LegacySound.size();
    o.Sounds = o.Weather + 24;
    return o;
}

} // namespace ml::test
