#pragma once
// Reads a picture file (.qmp) field by field into its parts. Every count and length is checked
// against the bytes that are left before anything is allocated for it, so a damaged or hostile
// file fails with a message instead of a huge allocation or a read past the end.

#include "project/ProjectRecords.h"

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace ml {

// The eight bytes every picture file starts with.
inline constexpr char kPictureFileMagic[] = "QM060697";
// The legacy sound field holds this text (in any case) when the picture has no sound.
inline constexpr char kNoSoundText[] = "<NO SOUND>";
// Pictures, thumbnails and area maps larger than this on a side are refused before they are
// allocated: no real screen needs more, and a damaged size would otherwise ask for gigabytes.
inline constexpr int kMaxPictureSide = 16384;

using TSoundTable = std::array<SoundSlot, kSoundSlotCount>;

// Index of the first empty slot, or 8 when all are in use.
int UsedSoundSlots(const TSoundTable& sounds);
// Older files name one sound in a field of their own. When it names a file (it is neither empty
// nor "<NO SOUND>" in any case) it goes into the first empty slot, cut to 255 bytes, played
// looping; with all eight slots in use it is dropped.
void AddLegacySound(TSoundTable& sounds, const std::string& legacySound);

class TFileLoader {
public:
    // The whole file, or only its head (magic, title, extra text, thumbnail). Failures raise
    // EInOutError for files that cannot be opened or end early, EReadError for a wrong magic or
    // impossible counts.
    void LoadFromFile(const std::string& path);
    void LoadHeaderFromFile(const std::string& path);
    void Read(std::istream& in);
    void ReadHeader(std::istream& in);

    std::string Title;
    std::string ExtraText;
    std::string ThumbnailData; // a complete JPEG stream
    // The count as stored; only the first four records are kept, the rest are skipped.
    int WaveRecordCount = 0;
    std::array<TWaveParam, kAreaCount> WaveParams{};
    // Width, height, then run codes (run length * 10 + area number).
    std::vector<std::int32_t> AreaValues;
    std::string PictureData; // a complete JPEG stream
    std::string LegacySound;
    TWeatherParam Weather{};
    // Whole sound slots found after the weather record (0 when the file ends there).
    int SoundSlotsRead = 0;
    TSoundTable Sounds{};

    // The sound files the picture plays: the paths of the slots in use, the legacy sound
    // included.
    std::vector<std::string> SoundNames() const;
};

} // namespace ml
