#include "project/FileLoader.h"

#include "platform/Exceptions.h"
#include "platform/PageMemory.h"
#include "platform/Strings.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ml {

// The records are copied to and from the file as they lie in memory.
static_assert(std::endian::native == std::endian::little,
              "picture file records are read as little-endian memory images");

namespace {

constexpr const char* kReadBeyondEnd = "Read beyond end of file";

// The texts users know from file errors, for the cases a picture file meets.
std::string OpenErrorText(int error) {
    switch (error) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
        return "Path not found";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "File access denied";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return "I/O error " + std::to_string(error);
    }
}

// Reads fields from a stream of known size, refusing any length that the rest of the stream
// cannot hold before it allocates or reads anything for it.
class TFieldReader {
public:
    explicit TFieldReader(std::istream& in) : In(in) {
        In.seekg(0, std::ios::end);
        Size = static_cast<std::int64_t>(In.tellg());
        In.seekg(0, std::ios::beg);
        if (!In || Size < 0)
            throw EInOutError(OpenErrorText(EIO));
    }

    bool AtEnd() const { return Pos >= Size; }
    std::int64_t Remaining() const { return Size - Pos; }

    void Read(void* target, std::int64_t count) {
        if (count > Remaining())
            throw EInOutError(kReadBeyondEnd);
        In.read(static_cast<char*>(target), static_cast<std::streamsize>(count));
        if (In.gcount() != count)
            throw EInOutError(kReadBeyondEnd);
        Pos += count;
    }

    void Skip(std::int64_t count) {
        if (count > Remaining())
            throw EInOutError(kReadBeyondEnd);
        In.seekg(static_cast<std::streamoff>(count), std::ios::cur);
        Pos += count;
    }

    std::int32_t Int32() {
        std::int32_t value;
        Read(&value, sizeof value);
        return value;
    }

    // A count that must not be negative; `what` names the field in the message.
    std::int32_t Count(const char* what) {
        std::int64_t at = Pos;
        std::int32_t value = Int32();
        if (value < 0)
            throw EReadError("Negative " + std::string(what) + " (" + std::to_string(value) +
                             ") at byte " + std::to_string(at));
        return value;
    }

    // A block of `count` elements of `size` bytes, checked against the rest of the stream.
    void CheckFits(std::int64_t count, std::int64_t size) {
        if (count * size > Remaining())
            throw EInOutError(kReadBeyondEnd);
    }

    std::string Bytes(std::int32_t count) {
        CheckFits(count, 1);
        std::string bytes;
        // A picture's stream is megabytes, written whole at once just below.
        bytes.reserve(static_cast<std::size_t>(count));
        PrefaultPages(bytes.data(), static_cast<std::size_t>(count));
        bytes.resize(static_cast<std::size_t>(count));
        Read(bytes.data(), count);
        return bytes;
    }

    std::string String(const char* what) { return Bytes(Count(what)); }

private:
    std::istream& In;
    std::int64_t Size = 0;
    std::int64_t Pos = 0;
};

void ReadHead(TFieldReader& reader, TFileLoader& loader) {
    char magic[8];
    reader.Read(magic, sizeof magic);
    if (std::memcmp(magic, kPictureFileMagic, sizeof magic) != 0)
        throw EReadError("Incorrect Project File!");
    loader.Title = reader.String("title length");
    loader.ExtraText = reader.String("extra text length");
    loader.ThumbnailData = reader.Bytes(reader.Count("thumbnail size"));
}

void ReadRest(TFieldReader& reader, TFileLoader& loader) {
    loader.WaveRecordCount = reader.Count("wave record count");
    reader.CheckFits(loader.WaveRecordCount, sizeof(TWaveParam));
    int kept = std::min(loader.WaveRecordCount, kAreaCount);
    for (int i = 0; i < kept; ++i)
        reader.Read(&loader.WaveParams[static_cast<std::size_t>(i)], sizeof(TWaveParam));
    reader.Skip(static_cast<std::int64_t>(loader.WaveRecordCount - kept) * sizeof(TWaveParam));

    std::int32_t length = reader.Count("area map length");
    if (length < 2)
        throw EReadError("The area map holds " + std::to_string(length) +
                         " value(s); it needs at least its width and height");
    reader.CheckFits(length, sizeof(std::int32_t));
    loader.AreaValues.resize(static_cast<std::size_t>(length));
    reader.Read(loader.AreaValues.data(), std::int64_t{length} * sizeof(std::int32_t));

    loader.PictureData = reader.Bytes(reader.Count("picture size"));
    loader.LegacySound = reader.String("legacy sound length");
    reader.Read(&loader.Weather, sizeof(TWeatherParam));

    // The sound table came later than the rest of the format: files may end before it, or
    // inside it. Whole slots read so far count; the rest stay empty.
    if (reader.AtEnd())
        return;
    for (auto& slot : loader.Sounds) {
        if (reader.Remaining() < static_cast<std::int64_t>(sizeof(SoundSlot)))
            break;
        reader.Read(&slot, sizeof(SoundSlot));
        ++loader.SoundSlotsRead;
    }
}

std::ifstream OpenFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw EInOutError(OpenErrorText(EISDIR));
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EInOutError(OpenErrorText(errno ? errno : ENOENT));
    return in;
}

} // namespace

int UsedSoundSlots(const TSoundTable& sounds) {
    auto empty = std::find_if(sounds.begin(), sounds.end(),
                              [](const SoundSlot& slot) { return slot.PathLength == 0; });
    return static_cast<int>(empty - sounds.begin());
}

void AddLegacySound(TSoundTable& sounds, const std::string& legacySound) {
    if (legacySound.empty() || UpperCase(legacySound) == kNoSoundText)
        return;
    int index = UsedSoundSlots(sounds);
    if (index >= kSoundSlotCount)
        return;
    SoundSlot& slot = sounds[static_cast<std::size_t>(index)];
    std::size_t length = std::min(legacySound.size(), sizeof slot.Path);
    std::memset(slot.Path, 0, sizeof slot.Path);
    std::memcpy(slot.Path, legacySound.data(), length);
    slot.PathLength = static_cast<std::uint8_t>(length);
    slot.Mode = 0;
}

void TFileLoader::Read(std::istream& in) {
    TFieldReader reader(in);
    ReadHead(reader, *this);
    ReadRest(reader, *this);
}

void TFileLoader::ReadHeader(std::istream& in) {
    TFieldReader reader(in);
    ReadHead(reader, *this);
}

void TFileLoader::LoadFromFile(const std::string& path) {
    std::ifstream in = OpenFile(path);
    Read(in);
}

void TFileLoader::LoadHeaderFromFile(const std::string& path) {
    std::ifstream in = OpenFile(path);
    ReadHeader(in);
}

std::vector<std::string> TFileLoader::SoundNames() const {
    TSoundTable sounds = Sounds;
    AddLegacySound(sounds, LegacySound);
    std::vector<std::string> names;
    for (int i = 0; i < UsedSoundSlots(sounds); ++i) {
        const SoundSlot& slot = sounds[static_cast<std::size_t>(i)];
        names.emplace_back(slot.Path, slot.PathLength);
    }
    return names;
}

} // namespace ml
