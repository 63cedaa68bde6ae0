// The pixel buffer's hot paths beside what a caller would use instead: the bilinear scaler
// beside Qt's smooth scaling of the same picture, and the cross-fade beside a plain memcpy
// of the bytes it writes.

#include "effects/BitmapRoutines.h"
#include "effects/FastBMP.h"
#include "platform/Bitmap.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

constexpr int kSourceWidth = 1024;
constexpr int kSourceHeight = 768;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// A picture with detail everywhere, so that no path gets an easy ride on flat areas.
ml::TBitmap Picture(int width, int height, std::uint32_t seed) {
    ml::TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            bitmap.SetPixel(x, y,
                            ((x * 255 / width) << 16) | ((y * 255 / height) << 8) | (seed >> 24));
        }
    return bitmap;
}

void ScaleBilinearInto(benchmark::State& state) {
    ml::TFastBMP source, target(kScreenWidth, kScreenHeight);
    source.LoadFromBitmap(Picture(kSourceWidth, kSourceHeight, 1));
    for (auto _ : state) {
        source.ScaleBilinearInto(target);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetItemsProcessed(state.iterations() * kScreenWidth * kScreenHeight);
}
BENCHMARK(ScaleBilinearInto)->Unit(benchmark::kMillisecond);

void QtSmoothScaled(benchmark::State& state) {
    const QImage source = Picture(kSourceWidth, kSourceHeight, 1).ToImage();
    for (auto _ : state) {
        QImage target = source.scaled(kScreenWidth, kScreenHeight, Qt::IgnoreAspectRatio,
                                      Qt::SmoothTransformation);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kScreenWidth * kScreenHeight);
}
BENCHMARK(QtSmoothScaled)->Unit(benchmark::kMillisecond);

void CrossFade(benchmark::State& state) {
    const ml::TBitmap a = Picture(kScreenWidth, kScreenHeight, 2);
    const ml::TBitmap b = Picture(kScreenWidth, kScreenHeight, 3);
    ml::TBitmap target(kScreenWidth, kScreenHeight);
    int amount = 10;
    for (auto _ : state) {
        ml::CrossFade(target, a, b, amount);
        amount = amount == 255 ? 10 : amount + 1;
        benchmark::DoNotOptimize(target.ToImage().constBits());
    }
    state.SetBytesProcessed(state.iterations() * kScreenWidth * kScreenHeight * 4);
}
BENCHMARK(CrossFade)->Unit(benchmark::kMillisecond);

void MemcpySameBytes(benchmark::State& state) {
    const std::size_t bytes = std::size_t(kScreenWidth) * kScreenHeight * 4;
    std::vector<char> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(MemcpySameBytes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
