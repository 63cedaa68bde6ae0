// The water's frame cost beside a plain copy of one frame of the same size. The picture is
// water everywhere: four areas in horizontal bands with typical waves, one of them jittered,
// one also moving sideways.

#include "effects/WaveGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<ml::TProject> WaterEverywhere(int width, int height, int weatherKind) {
    auto project = std::make_unique<ml::TProject>();
    project->Picture.SetSize(width, height);
    project->AreaMap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* picture = project->Picture.ScanLine(y);
        std::uint32_t* map = project->AreaMap.ScanLine(y);
        const std::uint32_t area = ml::AreaColors[1 + y * 4 / height];
        for (int x = 0; x < width; ++x) {
            picture[x] = 0xFF000000u | static_cast<std::uint32_t>((x * 7) ^ (y * 13));
            map[x] = 0xFF000000u | area;
        }
    }
    for (ml::TWaveParam& p : project->WaveParams)
        p = {6, 17, 15, 1, 0, 1, 1, 0, 360, 0, 0};
    project->WaveParams[1].JitterRange = 5;
    project->WaveParams[2].Horizontal = 1;
    project->WaveParams[3].Direction = 0;
    project->Weather = {weatherKind, 400, 10, 80, 10, 0};
    return project;
}

// A lake at dusk as the show plays it at 1920 x 1080: the water fills the lower two fifths
// below a wavy shore, broken by reeds into about twenty stretches per row; it is all one
// jittered area with perspective, and rain falls over the whole picture.
std::unique_ptr<ml::TProject> LakeInTheRain(int width, int height) {
    auto project = std::make_unique<ml::TProject>();
    project->Picture.SetSize(width, height);
    project->AreaMap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* picture = project->Picture.ScanLine(y);
        std::uint32_t* map = project->AreaMap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const int shore = height * 3 / 5 + (x * 37 / width % 9);
            const bool reed = x % 97 < 3 && y < shore + height / 6;
            picture[x] = 0xFF000000u | static_cast<std::uint32_t>((x * 7) ^ (y * 13));
            map[x] = 0xFF000000u | (y >= shore && !reed ? ml::AreaColors[1] : 0);
        }
    }
    for (ml::TWaveParam& p : project->WaveParams)
        p = {0, 0, 0, 0, 0, 0, 0, 0, 360, 0, 0};
    project->WaveParams[0] = {4, 34, 10, 1, 0, 1, 1, 0, 360, 2, 0};
    project->Weather = {2, 450, 12, 82, 14, 0};
    return project;
}

void Animate(benchmark::State& state, std::unique_ptr<ml::TProject> project, int weatherKind) {
    const int width = project->Picture.Width();
    const int height = project->Picture.Height();
    ml::TWaveGenerator generator;
    generator.SetFixedSeed(1);
    generator.SetProject(*project);
    generator.SetWeather(false);
    generator.Initialize();
    generator.SetWeather(weatherKind > 0);
    for (auto _ : state) {
        generator.NextFrame();
        benchmark::DoNotOptimize(generator.CurrentFrame().ToImage().constBits());
    }
    state.SetBytesProcessed(state.iterations() * width * height * 4);
}

void NextFrame(benchmark::State& state, int weatherKind) {
    Animate(state,
            WaterEverywhere(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                            weatherKind),
            weatherKind);
}

void ShowLake(benchmark::State& state) {
    Animate(state, LakeInTheRain(1920, 1080), 2);
}

void WeatherOff(benchmark::State& state) {
    NextFrame(state, 0);
}
void Rain(benchmark::State& state) {
    NextFrame(state, 2);
}
void Snow(benchmark::State& state) {
    NextFrame(state, 1);
}

void MemcpyOneFrame(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0) * state.range(1) * 4);
    std::vector<char> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// On a shared machine the fastest of several repetitions is the figure least disturbed by
// others; with --benchmark_repetitions the slowest shows the spread.
void Spread(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond);
    b->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
    b->ComputeStatistics(
        "max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (auto [w, h] : {std::pair{800, 600}, {1024, 768}, {1920, 1080}, {3840, 2160}})
        b->Args({w, h});
    Spread(b);
}

BENCHMARK(MemcpyOneFrame)->Apply(Sizes);
BENCHMARK(WeatherOff)->Apply(Sizes);
BENCHMARK(Rain)->Apply(Sizes);
BENCHMARK(Snow)->Apply(Sizes);
BENCHMARK(ShowLake)->Apply(Spread);

} // namespace

BENCHMARK_MAIN();
