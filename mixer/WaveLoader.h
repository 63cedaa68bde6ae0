#pragma once
// Reading RIFF WAVE sounds from a file, a "WAVE" resource or a memory image, checking their
// chunks and converting them once to the mixer's output format, so that playing is a plain
// copy or sum of bytes.

#include "platform/WaveOut.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ml {

// One loaded sound, already in the output format.
struct TWaveData {
    static constexpr std::size_t kMaxNameLength = 15;

    TWaveFormat SourceFormat; // as its "fmt " chunk gave it
    std::vector<std::uint8_t> Data;
    // The name it was loaded by (cut to 15 characters), or "res#" and the number of a
    // numbered resource. Only for people reading a debugger or a log.
    std::string Name;

    std::uint32_t Length() const { return static_cast<std::uint32_t>(Data.size()); }
};

// A sound held in memory by the caller; it is read, never written or kept.
struct TMemoryFileInfo {
    const std::uint8_t* Buffer = nullptr;
    std::size_t Size = 0;
};

// Where a sound comes from. Mode bit 2 selects a resource, bit 4 a memory image, neither a
// file path.
struct TWaveSource {
    static constexpr int kFromResource = 2;
    static constexpr int kFromMemory = 4;

    int Mode = 0;
    // The file path; or the resource name, or its number written in decimal digits. Resources
    // live in Qt's resource system as ":/WAVE/" + name.
    std::string Name;
    TMemoryFileInfo Memory;

    static TWaveSource File(std::string path) { return {0, std::move(path), {}}; }
    static TWaveSource Resource(std::string name) { return {kFromResource, std::move(name), {}}; }
    static TWaveSource MemoryImage(const std::uint8_t* buffer, std::size_t size,
                                   std::string name = "") {
        return {kFromMemory, std::move(name), {buffer, size}};
    }
};

// What one sound may take once converted unless its caller allows less: sound effects last
// seconds, and a tiny source rate must not be able to ask for gigabytes.
inline constexpr std::size_t kMaxWaveBytes = std::size_t{256} << 20;

// Loads and converts a sound to 8 bits at the output format's channels and rate. Raises
// EMixerError with the text of the step that failed; nothing stays allocated or open then.
// A sound that would take more than maxBytes once converted is refused, naming it, before
// its data is read.
std::unique_ptr<TWaveData> LoadWaveData(const TWaveSource& source, const TWaveFormat& output,
                                        std::size_t maxBytes = kMaxWaveBytes);

} // namespace ml
