// Feeds arbitrary bytes to the WAVE loader as a memory image. The first byte picks one of the
// mixer's output formats so every conversion path is reached; any outcome but a clean load or
// an EMixerError is a fault.

#include "mixer/MixerError.h"
#include "mixer/WaveLoader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static const ml::TWaveFormat outputs[] = {
        {1, 1, 11025, 11025, 1, 8}, {1, 2, 22050, 44100, 2, 8}, {1, 1, 44100, 44100, 1, 8},
        {1, 2, 11025, 22050, 2, 8}, {1, 1, 22050, 22050, 1, 8}, {1, 2, 44100, 88200, 2, 8}};
    const ml::TWaveFormat& output = outputs[data[0] % std::size(outputs)];
    try {
        auto wave = ml::LoadWaveData(ml::TWaveSource::MemoryImage(data + 1, size - 1), output);
        // The result must be whole output frames.
        if (wave->Data.empty() || wave->Data.size() % output.Channels != 0)
            __builtin_trap();
    } catch (const ml::EMixerError&) {
    }
    return 0;
}
