#pragma once
// Small water pictures built in memory for the generator tests. Every picture pixel encodes
// its own position, (y << 12) | x, so a frame shows where each output pixel was read from.

#include "project/Project.h"

#include <cstdint>
#include <vector>

namespace ml::test {

inline std::uint32_t Encoded(int x, int y) {
    return static_cast<std::uint32_t>(y) << 12 | static_cast<std::uint32_t>(x);
}
inline int SourceRow(std::uint32_t value) {
    return static_cast<int>((value & 0xFFFFFF) >> 12);
}
inline int SourceColumn(std::uint32_t value) {
    return static_cast<int>(value & 0xFFF);
}

// The typical record of an area: gentle vertical waves, no perspective, no jitter.
inline TWaveParam Wave(int amplitude, int waveCount, int phaseStep, int direction = 1) {
    TWaveParam p;
    p.Amplitude = amplitude;
    p.WaveCount = waveCount;
    p.PhaseStep = phaseStep;
    p.Direction = direction;
    p.Vertical = 1;
    p.Period = 360;
    return p;
}

// A project of width x height whose area map holds area number areaOf(x, y) (0 = none).
template <class AreaOf> void MakeScene(TProject& project, int width, int height, AreaOf areaOf) {
    project.Picture.SetSize(width, height);
    project.AreaMap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            project.Picture.SetPixel(x, y, Encoded(x, y));
            project.AreaMap.SetPixel(x, y, AreaColors[areaOf(x, y)]);
        }
    for (TWaveParam& p : project.WaveParams)
        p = Wave(0, 1, 0);
}

inline std::vector<std::uint32_t> Pixels(const TBitmap& bitmap) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            pixels.push_back(bitmap.Pixel(x, y));
    return pixels;
}

} // namespace ml::test
