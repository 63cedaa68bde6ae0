#include "project/PictureFileWriter.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ml {

namespace {

void PutRaw(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}

void PutInt32(std::string& out, std::int32_t value) {
    PutRaw(out, &value, sizeof value);
}

void PutBlock(std::string& out, const std::string& bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw EConvertError("A picture file block cannot hold " + std::to_string(bytes.size()) +
                            " bytes");
    PutInt32(out, static_cast<std::int32_t>(bytes.size()));
    out += bytes;
}

int AreaNumberOfColor(std::uint32_t color) {
    color &= 0x00FFFFFFu;
    for (int area = 1; area <= kAreaCount; ++area)
        if (AreaColors[area] == color)
            return area;
    return 0;
}

// One run code holds at most this many pixels without overflowing 32 bits.
constexpr std::int64_t kMaxRun = (std::numeric_limits<std::int32_t>::max() - 9) / 10;

void PutRun(std::vector<std::int32_t>& values, int area, std::int64_t length) {
    for (; length > 0; length -= kMaxRun)
        values.push_back(static_cast<std::int32_t>(std::min(length, kMaxRun) * 10 + area));
}

} // namespace

std::string WritePictureFile(const TPictureFileContent& content) {
    std::string out(kPictureFileMagic, 8);
    PutBlock(out, content.Title);
    PutBlock(out, content.ExtraText);
    PutBlock(out, content.ThumbnailData);
    PutInt32(out, static_cast<std::int32_t>(content.WaveRecords.size()));
    for (const TWaveParam& wave : content.WaveRecords)
        PutRaw(out, &wave, sizeof wave);
    PutInt32(out, static_cast<std::int32_t>(content.AreaValues.size()));
    for (std::int32_t value : content.AreaValues)
        PutInt32(out, value);
    PutBlock(out, content.PictureData);
    PutBlock(out, content.LegacySound);
    PutRaw(out, &content.Weather, sizeof content.Weather);
    if (content.WithSoundTable)
        for (const SoundSlot& slot : content.Sounds)
            PutRaw(out, &slot, sizeof slot);
    return out;
}

std::vector<std::int32_t> EncodeAreaMap(const TBitmap& areaMap) {
    std::vector<std::int32_t> values{areaMap.Width(), areaMap.Height()};
    int area = -1;
    std::int64_t length = 0;
    for (int y = 0; y < areaMap.Height(); ++y) {
        const std::uint32_t* row = areaMap.ScanLine(y);
        for (int x = 0; x < areaMap.Width(); ++x) {
            int next = AreaNumberOfColor(row[x]);
            if (next != area) {
                PutRun(values, area, length);
                area = next;
                length = 0;
            }
            ++length;
        }
    }
    PutRun(values, area, length);
    return values;
}

SoundSlot MakeSoundSlot(const std::string& path, int mode, int minSeconds, int maxSeconds) {
    SoundSlot slot;
    if (path.size() > sizeof slot.Path)
        throw EConvertError("A sound path holds at most " + std::to_string(sizeof slot.Path) +
                            " bytes: " + path);
    slot.PathLength = static_cast<std::uint8_t>(path.size());
    std::memcpy(slot.Path, path.data(), path.size());
    slot.Mode = mode;
    slot.MinSeconds = minSeconds;
    slot.MaxSeconds = maxSeconds;
    return slot;
}

} // namespace ml
