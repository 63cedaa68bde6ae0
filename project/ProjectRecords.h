#pragma once
// The fixed-size records of a picture file, laid out exactly as they are stored (little-endian
// 32-bit integers, no padding beyond the one alignment byte of TWaveParam).

#include <cstdint>

namespace ml {

struct TWaveParam {
    std::int32_t Amplitude = 0;
    std::int32_t WaveCount = 0;
    std::int32_t PhaseStep = 0;
    std::int32_t Direction = 0;
    std::uint8_t Horizontal = 0;
    std::uint8_t Vertical = 0;
    std::uint8_t Perspective = 0;
    std::uint8_t Alignment = 0;
    std::int32_t Period = 0;
    std::int32_t JitterRange = 0;
    std::int32_t Reserved = 0;
};
static_assert(sizeof(TWaveParam) == 32);

struct TWeatherParam {
    std::int32_t Kind = 0; // 0 none, 1 snow, 2 rain
    std::int32_t Count = 0;
    std::int32_t SpeedIndex = 0;
    std::int32_t Angle = 0;
    std::int32_t Length = 0;
    std::int32_t Reserved = 0;
};
static_assert(sizeof(TWeatherParam) == 24);

#pragma pack(push, 1)
struct SoundSlot {
    std::uint8_t PathLength = 0; // 0 = empty slot
    char Path[255] = {};
    std::int32_t Mode = 0; // 0 loop from the start, 1 random intervals, 2 every MinSeconds
    std::int32_t MinSeconds = 0;
    std::int32_t MaxSeconds = 0;
};
#pragma pack(pop)
static_assert(sizeof(SoundSlot) == 268);

inline constexpr int kAreaCount = 4;
inline constexpr int kSoundSlotCount = 8;

// Area number (file) 0..4 to its colour in a decoded area map (0x00RRGGBB).
inline constexpr std::uint32_t AreaColors[5] = {0x000000, 0x0000FF, 0xFF00FF, 0xFF0000, 0xFFFF00};

} // namespace ml
