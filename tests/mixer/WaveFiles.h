#pragma once
// RIFF WAVE images put together byte by byte, so every test sound is made here.

#include <cstdint>
#include <string>
#include <vector>

namespace ml::test {

inline std::string Le16(std::uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

inline std::string Le32(std::uint32_t v) {
    return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}

// A chunk with its size; odd bodies get the pad byte a RIFF reader must skip.
inline std::string Chunk(const std::string& id, const std::string& body) {
    return id + Le32(static_cast<std::uint32_t>(body.size())) + body +
           (body.size() % 2 ? std::string(1, '\0') : "");
}

inline std::string FormatBody(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                              std::uint16_t tag = 1) {
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
}

inline std::string Riff(const std::string& chunks, const std::string& form = "WAVE") {
    return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + form + chunks;
}

inline std::string Bytes(const std::vector<int>& values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// 16-bit samples from the 8-bit values they should convert to; the low byte is noise that the
// conversion must ignore.
inline std::string Samples16(const std::vector<int>& as8Bit) {
    std::string s;
    for (int v : as8Bit)
        s += std::string(1, '\x5A') + static_cast<char>(v - 128);
    return s;
}

inline std::string MakeWave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                            const std::string& data) {
    return Riff(Chunk("fmt ", FormatBody(channels, rate, bits)) + Chunk("data", data));
}

} // namespace ml::test
