// What loading a 12-megapixel picture file for a 1920 x 1080 screen costs, the way the show
// does it (decoded only as large as the fit needs) beside a whole decode followed by the fit,
// and beside a memcpy of the stored picture's bytes as the floor.

#include "backend/Jpeg.h"
#include "project/PictureFileWriter.h"
#include "project/Project.h"

#include <benchmark/benchmark.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr ml::TDisplayFit kScreen{true, 1920, 1080};

// A photo-like picture (smooth light with fine grain) with water in its lower two fifths,
// written once as a picture file that lives as long as the process.
const std::string& PhotoFile() {
    static const std::string path = [] {
        ml::TBitmap photo(kWidth, kHeight), mask(kWidth, kHeight);
        std::uint32_t seed = 5;
        for (int y = 0; y < kHeight; ++y) {
            std::uint32_t* p = photo.ScanLine(y);
            std::uint32_t* m = mask.ScanLine(y);
            for (int x = 0; x < kWidth; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int grain = static_cast<int>(seed >> 28) - 8;
                const auto channel = [grain](double v) {
                    return static_cast<std::uint32_t>(
                        std::clamp(static_cast<int>(v) + grain, 0, 255));
                };
                p[x] = 0xFF000000u |
                       channel(110 + 80 * std::sin(x * 0.003) * std::cos(y * 0.004)) << 16 |
                       channel(100 + 60 * std::cos((x + y) * 0.002)) << 8 |
                       channel(60 + y * 150 / kHeight);
                m[x] = 0xFF000000u | (y >= kHeight * 3 / 5 ? ml::AreaColors[1] : 0);
            }
        }
        ml::TPictureFileContent content;
        content.ThumbnailData = ml::EncodeJpeg(ml::TBitmap(80, 60), 90);
        content.PictureData = ml::EncodeJpeg(photo, 90);
        content.AreaValues = ml::EncodeAreaMap(mask);
        for (ml::TWaveParam& wave : content.WaveRecords)
            wave = {8, 20, 10, 1, 0, 1, 1, 0, 360, 3, 0};
        const std::string bytes = ml::WritePictureFile(content);
        const int fd = memfd_create("photo.qmp", 0);
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            std::abort();
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

void LoadFittedInTheLoad(benchmark::State& state) {
    const std::string& path = PhotoFile();
    for (auto _ : state) {
        ml::TProject project;
        project.Load(path, [](QSize) { return std::optional(kScreen); });
        benchmark::DoNotOptimize(project.Picture.ScanLine(0));
    }
}

void LoadWholeThenFit(benchmark::State& state) {
    const std::string& path = PhotoFile();
    for (auto _ : state) {
        ml::TProject project;
        project.Load(path);
        project.FitToDisplay(kScreen.KeepAspect, kScreen.Width, kScreen.Height);
        benchmark::DoNotOptimize(project.Picture.ScanLine(0));
    }
}

void MemcpyStoredPicture(benchmark::State& state) {
    const std::size_t bytes = std::size_t{kWidth} * kHeight * 4;
    std::vector<char> from(bytes, 1), to(bytes, 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(MemcpyStoredPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFittedInTheLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadWholeThenFit)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
