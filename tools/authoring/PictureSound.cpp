#include "tools/authoring/PictureSound.h"

#include "mixer/WaveLoader.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace ml::authoring {

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kExtensible = 0xFFFE;

std::uint32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 |
           std::uint32_t{static_cast<std::uint8_t>(b[at + 3])} << 24;
}

std::uint16_t Le16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      static_cast<std::uint8_t>(b[at + 1]) << 8);
}

bool Has(const std::string& b, std::size_t at, const char* text) {
    const std::size_t n = std::strlen(text);
    return b.size() >= at + n && b.compare(at, n, text) == 0;
}

// The sample layout of a WAVE file and where its samples lie.
struct TWaveLayout {
    std::uint16_t Tag = 0; // the real format, also behind an extensible header
    bool Extensible = false;
    std::uint16_t Channels = 0;
    std::uint32_t Rate = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t Bits = 0; // bits of one sample's container
    std::size_t DataAt = 0;
    std::size_t DataSize = 0;
};

// What a file that is not a WAVE file is, said the way its owner would know it.
std::string WhatItIs(const std::string& b) {
    if (Has(b, 0, "OggS"))
        return "an Ogg file";
    if (Has(b, 0, "ID3") || (b.size() >= 2 && static_cast<std::uint8_t>(b[0]) == 0xFF &&
                             (static_cast<std::uint8_t>(b[1]) & 0xE0) == 0xE0))
        return "an MP3 file";
    if (Has(b, 0, "fLaC"))
        return "a FLAC file";
    if (Has(b, 0, "FORM") && (Has(b, 8, "AIFF") || Has(b, 8, "AIFC")))
        return "an AIFF file";
    if (Has(b, 4, "ftyp"))
        return "an MP4/M4A file";
    return "not a WAVE file";
}

// Walks the RIFF chunks for "fmt " and "data"; nothing when the file is no complete WAVE.
std::optional<TWaveLayout> ReadLayout(const std::string& b, std::string& problem) {
    if (!Has(b, 0, "RIFF") || !Has(b, 8, "WAVE")) {
        problem = WhatItIs(b);
        return std::nullopt;
    }
    TWaveLayout layout;
    bool format = false, data = false;
    for (std::size_t at = 12; at + 8 <= b.size() && !(format && data);) {
        const std::uint32_t size = Le32(b, at + 4);
        const std::size_t start = at + 8;
        const std::size_t available = std::min<std::size_t>(size, b.size() - start);
        if (Has(b, at, "fmt ") && available >= 16) {
            layout.Tag = Le16(b, start);
            layout.Channels = Le16(b, start + 2);
            layout.Rate = Le32(b, start + 4);
            layout.BlockAlign = Le16(b, start + 12);
            layout.Bits = Le16(b, start + 14);
            // The extensible header names the real format in the first two bytes of its
            // sub-format identifier.
            if (layout.Tag == kExtensible && available >= 26) {
                layout.Extensible = true;
                layout.Tag = Le16(b, start + 24);
            }
            format = true;
        } else if (Has(b, at, "data")) {
            layout.DataAt = start;
            layout.DataSize = available;
            data = true;
        }
        at = start + size + (size & 1);
        if (at < start) // a size that wraps around names no later chunk
            break;
    }
    if (!format || !data) {
        problem = !format ? "a WAVE file without a format" : "a WAVE file without sound data";
        return std::nullopt;
    }
    return layout;
}

std::string Describe(const TWaveLayout& w) {
    const std::string kind = w.Tag == kFloat ? "float" : w.Tag == kPcm ? "PCM" : "";
    std::string text = std::to_string(w.Bits) + "-bit " + kind + (kind.empty() ? "" : " ");
    text += w.Channels == 1   ? "mono"
            : w.Channels == 2 ? "stereo"
                              : std::to_string(w.Channels) + "-channel";
    return text + " WAVE";
}

// One sample of the container as a value in -32768..32767.
std::int16_t Sample16(const TWaveLayout& w, const char* p) {
    const auto byte = [p](int i) { return static_cast<std::uint8_t>(p[i]); };
    if (w.Tag == kFloat) {
        double value;
        if (w.Bits == 32) {
            float f;
            std::memcpy(&f, p, 4);
            value = f;
        } else {
            std::memcpy(&value, p, 8);
        }
        if (!std::isfinite(value))
            return 0;
        return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
    }
    switch (w.Bits) {
    case 8:
        return static_cast<std::int16_t>((byte(0) - 128) * 256);
    case 16:
        return static_cast<std::int16_t>(byte(0) | byte(1) << 8);
    case 24:
        return static_cast<std::int16_t>(byte(1) | byte(2) << 8);
    default: // 32: the two high bytes
        return static_cast<std::int16_t>(byte(2) | byte(3) << 8);
    }
}

void Put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

std::string To16Bit(const std::string& b, const TWaveLayout& w) {
    const std::size_t bytesPerSample = w.Bits / 8u;
    const std::size_t frame = bytesPerSample * w.Channels;
    const std::size_t frames = w.DataSize / frame;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(frames * w.Channels * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, kPcm);
    Put16(out, w.Channels);
    Put32(out, w.Rate);
    Put32(out, w.Rate * w.Channels * 2);
    Put16(out, static_cast<std::uint16_t>(w.Channels * 2));
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    out.reserve(out.size() + dataBytes);
    for (std::size_t i = 0; i < frames * w.Channels; ++i)
        Put16(out,
              static_cast<std::uint16_t>(Sample16(w, b.data() + w.DataAt + i * bytesPerSample)));
    return out;
}

// The mixer's own loader has the last word on what plays; it converts to the show's output,
// 8-bit stereo at 22 kHz.
std::string MixerComplaint(const std::string& bytes) {
    TWaveFormat show;
    show.Channels = 2;
    show.SamplesPerSec = 22050;
    show.BlockAlign = 2;
    show.AvgBytesPerSec = 44100;
    try {
        LoadWaveData(TWaveSource::MemoryImage(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                              bytes.size()),
                     show);
        return "";
    } catch (const Exception& e) {
        return e.Message();
    }
}

TPictureSoundCheck Refused(std::string why) {
    return {TSoundVerdict::Refused, std::move(why), ""};
}

} // namespace

TPictureSoundCheck CheckPictureSound(const std::string& bytes) {
    std::string problem;
    const std::optional<TWaveLayout> layout = ReadLayout(bytes, problem);
    if (!layout)
        return Refused(problem);
    const TWaveLayout& w = *layout;
    if (w.Channels < 1 || w.Channels > 2)
        return Refused(Describe(w) + "; mix it down to mono or stereo");
    if (w.Rate == 0)
        return Refused("a WAVE file without a sample rate");
    const bool integer =
        w.Tag == kPcm && (w.Bits == 8 || w.Bits == 16 || w.Bits == 24 || w.Bits == 32);
    const bool floating = w.Tag == kFloat && (w.Bits == 32 || w.Bits == 64);
    if (!integer && !floating)
        return Refused(w.Tag == kPcm || w.Tag == kFloat
                           ? Describe(w)
                           : "a compressed WAVE file (format " + std::to_string(w.Tag) + ")");
    if (w.BlockAlign != w.Bits / 8 * w.Channels)
        return Refused("a damaged WAVE file (its block size does not fit its samples)");
    if (w.DataSize < w.BlockAlign)
        return Refused("a WAVE file without sound data");

    if (integer && w.Bits <= 16 && !w.Extensible) {
        const std::string complaint = MixerComplaint(bytes);
        if (!complaint.empty())
            return Refused("a WAVE file the mixer cannot play: " + complaint);
        return {TSoundVerdict::Playable, Describe(w), ""};
    }
    std::string converted = To16Bit(bytes, w);
    if (const std::string complaint = MixerComplaint(converted); !complaint.empty())
        return Refused("a WAVE file the mixer cannot play after conversion: " + complaint);
    return {TSoundVerdict::Converted, Describe(w), std::move(converted)};
}

} // namespace ml::authoring
