#include "mixer/WaveLoader.h"

#include "mixer/MixerError.h"
#include "mixer/WaveConvert.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <new>

namespace ml {

namespace {

// The error a memory file reports when it has no buffer to read from.
constexpr int kCannotOpenMemory = 259;

bool IsNumber(const std::string& name) {
    return !name.empty() && name.size() <= 9 &&
           std::all_of(name.begin(), name.end(),
                       [](unsigned char c) { return c >= '0' && c <= '9'; });
}

std::uint32_t Le32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
}

std::uint16_t Le16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

struct TChunk {
    qint64 DataStart = 0;
    std::uint32_t Size = 0;
    qint64 End() const { return DataStart + Size + (Size & 1); } // chunks are padded to even
};

// Walks the chunks from the current position up to `limit` and stops inside the first one
// with the wanted id (and, for a "RIFF" chunk, form type). The position is then just after
// its header (and form type).
bool Descend(QIODevice& io, qint64 limit, const char* id, TChunk& chunk,
             const char* formType = nullptr) {
    char header[12];
    const qint64 headerSize = formType ? 12 : 8;
    for (qint64 at = io.pos(); at + headerSize <= limit;) {
        if (!io.seek(at) || io.read(header, headerSize) != headerSize)
            return false;
        chunk.DataStart = at + 8;
        chunk.Size = Le32(header + 4);
        if (std::memcmp(header, id, 4) == 0 &&
            (formType == nullptr || std::memcmp(header + 8, formType, 4) == 0))
            return true;
        at = chunk.End();
    }
    return false;
}

TWaveFormat ReadFormat(QIODevice& io, qint64 limit) {
    TChunk fmt;
    if (!Descend(io, limit, "fmt ", fmt))
        throw EMixerError("WAVE file is corrupted");
    char bytes[16];
    if (fmt.Size < sizeof bytes || io.read(bytes, sizeof bytes) != sizeof bytes)
        throw EMixerError("Failed to read format chunk");
    io.seek(fmt.End());
    TWaveFormat format;
    format.FormatTag = Le16(bytes);
    format.Channels = Le16(bytes + 2);
    format.SamplesPerSec = Le32(bytes + 4);
    format.AvgBytesPerSec = Le32(bytes + 8);
    format.BlockAlign = Le16(bytes + 12);
    format.BitsPerSample = Le16(bytes + 14);
    return format;
}

TChunk FindData(QIODevice& io, qint64 limit) {
    TChunk data;
    if (!Descend(io, limit, "data", data))
        throw EMixerError("WAVE file has no data chunk");
    if (data.Size == 0)
        throw EMixerError("The data chunk has no data");
    // A size beyond the end of the source cannot be read; say so before allocating for it.
    if (data.DataStart + data.Size > io.size())
        throw EMixerError("Failed to read data chunk");
    return data;
}

std::vector<std::uint8_t> ReadData(QIODevice& io, const TChunk& data) {
    std::vector<std::uint8_t> bytes(data.Size);
    if (io.read(reinterpret_cast<char*>(bytes.data()), data.Size) != data.Size)
        throw EMixerError("Failed to read data chunk");
    return bytes;
}

std::string KiB(std::uint64_t bytes) {
    return std::to_string((bytes + 1023) / 1024) + " KiB";
}

void Parse(QIODevice& io, const TWaveFormat& output, const std::string& name, std::size_t maxBytes,
           TWaveData& wave) {
    TChunk riff;
    if (!Descend(io, io.size(), "RIFF", riff, "WAVE"))
        throw EMixerError("This is not a WAVE file");
    const qint64 riffEnd = std::min<qint64>(riff.DataStart + riff.Size, io.size());
    wave.SourceFormat = ReadFormat(io, riffEnd);
    const TChunk chunk = FindData(io, riffEnd);
    // What the sound becomes is known from its header: a few bytes at a tiny rate must not
    // grow into gigabytes before anyone looks.
    const std::uint64_t converted = ConvertedSize(wave.SourceFormat, chunk.Size, output);
    if (converted > maxBytes)
        throw EMixerError("The sound " + name + " needs " + KiB(converted) +
                          " in the mixer's format, more than the " + KiB(maxBytes) +
                          " it may take");

    // Steps that do not apply leave the data as it is.
    wave.Data = ConvertWave(wave.SourceFormat, ReadData(io, chunk), output);
}

void OpenOrThrow(QIODevice& io, const std::string& message) {
    if (!io.open(QIODevice::ReadOnly))
        throw EMixerError(message);
}

} // namespace

std::unique_ptr<TWaveData> LoadWaveData(const TWaveSource& source, const TWaveFormat& output,
                                        std::size_t maxBytes) {
    try {
        auto wave = std::make_unique<TWaveData>();
        if (source.Mode & TWaveSource::kFromResource) {
            // A numbered resource is known by its number, however it was written.
            const bool numbered = IsNumber(source.Name);
            const std::string id = numbered ? std::to_string(std::stoul(source.Name)) : source.Name;
            QFile resource(QString::fromStdString(":/WAVE/" + id));
            OpenOrThrow(resource, "Failed to open \"WAVE\" resource " + id);
            Parse(resource, output, id, maxBytes, *wave);
            wave->Name = numbered ? "res#" + id : id;
        } else if (source.Mode & TWaveSource::kFromMemory) {
            if (source.Memory.Buffer == nullptr)
                throw EMixerError("Failed to open memory file, mmioOpen error=" +
                                  std::to_string(kCannotOpenMemory) +
                                  ".\rMay need to make sure memory is read-write");
            QByteArray image =
                QByteArray::fromRawData(reinterpret_cast<const char*>(source.Memory.Buffer),
                                        static_cast<qsizetype>(source.Memory.Size));
            QBuffer memory(&image);
            memory.open(QIODevice::ReadOnly);
            Parse(memory, output, source.Name, maxBytes, *wave);
            wave->Name = source.Name;
        } else {
            QFile file(QString::fromStdString(source.Name));
            OpenOrThrow(file, "Failed to open wave file " + source.Name);
            Parse(file, output, source.Name, maxBytes, *wave);
            wave->Name = source.Name;
        }
        if (wave->Name.size() > TWaveData::kMaxNameLength)
            wave->Name.resize(TWaveData::kMaxNameLength);
        return wave;
    } catch (const std::bad_alloc&) {
        throw EMixerError(kMixerMemoryText);
    }
}

} // namespace ml
