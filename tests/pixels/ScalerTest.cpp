// Both scalers against references written from the fixed-point rules in a different shape:
// positions from multiplication instead of running sums, and the enlarging path as "the
// last run that covers a pixel wins" instead of runs written in order.

#include "effects/FastBMP.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace ml::test {
namespace {

void FillPattern(TFastRGB& buffer, std::uint32_t seed) {
    for (int i = 0; i < buffer.Height(); ++i)
        for (int b = 0; b < buffer.Width() * 3; ++b) {
            seed = seed * 1664525u + 1013904223u;
            buffer.Row(i)[b] = static_cast<std::uint8_t>(seed >> 24);
        }
}

const std::uint8_t* PixelAt(const TFastRGB& buffer, int column, int row) {
    return buffer.Row(row) + column * 3;
}

// Pixels of dst that no source pixel reaches keep this, so the reference can tell them.
constexpr std::uint8_t kUntouched = 0xA5;

void Prefill(TFastRGB& dst) {
    for (int i = 0; i < dst.Height(); ++i)
        std::memset(dst.Row(i), kUntouched, static_cast<std::size_t>(dst.Width()) * 3);
}

// The source pixel (column, row) a nearest-neighbour destination pixel comes from, or -1.
struct TSourceIndex {
    int Column;
    int Row;
};

TSourceIndex NearestSource(const TFastRGB& src, const TFastRGB& dst, int c, int r) {
    const float rx = float(dst.Width()) / float(src.Width());
    const float ry = float(dst.Height()) / float(src.Height());
    if (rx < 1.0f || ry < 1.0f) {
        const long long stepX = (static_cast<long long>(src.Width()) * 65536) / dst.Width();
        const long long stepY = (static_cast<long long>(src.Height()) * 65536) / dst.Height();
        return {int((c * stepX) >> 16), int((r * stepY) >> 16)};
    }
    // Latest source index whose run [floor(j * ratio), + n) covers the position.
    auto lastCovering = [](int position, int count, double ratio) {
        const int run = int(std::nearbyint(ratio + 0.5));
        int found = -1;
        for (int j = 0; j < count; ++j) {
            const int start = int(std::floor(j * ratio));
            if (start <= position && position < start + run)
                found = j;
        }
        return found;
    };
    return {lastCovering(c, src.Width(), rx), lastCovering(r, src.Height(), ry)};
}

void ExpectNearest(const TFastBMP& src, const TFastBMP& dst) {
    for (int r = 0; r < dst.Height(); ++r)
        for (int c = 0; c < dst.Width(); ++c) {
            const TSourceIndex from = NearestSource(src, dst, c, r);
            for (int ch = 0; ch < 3; ++ch) {
                const int expected = from.Column < 0 || from.Row < 0
                                         ? kUntouched
                                         : PixelAt(src, from.Column, from.Row)[ch];
                ASSERT_EQ(PixelAt(dst, c, r)[ch], expected) << c << "," << r << " ch " << ch;
            }
        }
}

void ExpectBilinear(const TFastBMP& src, const TFastBMP& dst) {
    const long long stepX = (static_cast<long long>(src.Width() - 1) * 32768) / dst.Width();
    const long long stepY = (static_cast<long long>(src.Height() - 1) * 32768) / dst.Height();
    for (int r = 0; r < dst.Height(); ++r) {
        const long long ay = r * stepY;
        const int top = int(ay / 32768), fy = int(ay % 32768);
        const int bottom = std::min(top + 1, src.Height() - 1);
        for (int c = 0; c < dst.Width(); ++c) {
            const long long ax = c * stepX;
            const int left = int(ax / 32768), fx = int(ax % 32768);
            const int ur = fx * (32768 - fy) / 32768, ul = 32768 - fy - ur;
            const int lr = fx * fy / 32768, ll = fy - lr;
            for (int ch = 0; ch < 3; ++ch) {
                const int sum =
                    PixelAt(src, left, top)[ch] * ul + PixelAt(src, left + 1, top)[ch] * ur +
                    PixelAt(src, left, bottom)[ch] * ll + PixelAt(src, left + 1, bottom)[ch] * lr;
                ASSERT_EQ(PixelAt(dst, c, r)[ch], sum / 32768) << c << "," << r << " ch " << ch;
            }
        }
    }
}

struct TScaleCase {
    const char* Name;
    int SrcW, SrcH, DstW, DstH;
};

const TScaleCase kScaleCases[] = {
    {"ShrinkBoth", 10, 8, 4, 3},
    {"EnlargeBoth", 3, 2, 8, 7},
    {"EnlargeOddRatio", 7, 5, 17, 12},
    {"RowsWithoutPadding", 4, 2, 11, 5},
    {"ShrinkWidthEnlargeHeight", 10, 3, 4, 9},
    {"EnlargeWidthShrinkHeight", 3, 10, 9, 4},
    {"ExactlyOneAcrossMoreDown", 4, 3, 4, 7},
    {"OneWideSource", 1, 5, 4, 9},
    {"OneHighSource", 6, 1, 13, 3},
    {"OneWideDestination", 9, 4, 1, 3},
    // Big enough that a weight off by one changes some output bytes.
    {"LargeEnlarge", 37, 23, 101, 77},
    {"LargeShrink", 97, 61, 40, 27},
    // Large enough to be split into bands of rows.
    {"SplitIntoBands", 150, 100, 700, 400},
};

class Scalers : public ::testing::TestWithParam<TScaleCase> {};

TEST_P(Scalers, NearestMatchesTheFixedPointRules) {
    const TScaleCase& t = GetParam();
    TFastBMP src(t.SrcW, t.SrcH), dst(t.DstW, t.DstH);
    FillPattern(src, 7);
    Prefill(dst);
    src.ScaleNearestInto(dst);
    ExpectNearest(src, dst);
}

TEST_P(Scalers, BilinearMatchesTheFixedPointRules) {
    const TScaleCase& t = GetParam();
    TFastBMP src(t.SrcW, t.SrcH), dst(t.DstW, t.DstH);
    FillPattern(src, 11);
    Prefill(dst);
    src.ScaleBilinearInto(dst);
    if (t.SrcW == 1) // a one-pixel-wide source has no right neighbour to blend with
        ExpectNearest(src, dst);
    else
        ExpectBilinear(src, dst);
}

INSTANTIATE_TEST_SUITE_P(Pixels, Scalers, ::testing::ValuesIn(kScaleCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Scalers, EqualSizeCopiesEveryByteIncludingPadding) {
    TFastBMP src(5, 4), nearest(5, 4), bilinear(5, 4);
    for (int i = 0; i < src.ImageSize(); ++i)
        src.Bits()[i] = static_cast<std::uint8_t>(i * 37);
    src.ScaleNearestInto(nearest);
    src.ScaleBilinearInto(bilinear);
    EXPECT_EQ(std::memcmp(nearest.Bits(), src.Bits(), size_t(src.ImageSize())), 0);
    EXPECT_EQ(std::memcmp(bilinear.Bits(), src.Bits(), size_t(src.ImageSize())), 0);
}

TEST(Scalers, BilinearBlendsByHandWorkedWeights) {
    // 2 -> 3 across: step 32768 / 3 = 10922, so the middle and right samples take 10922 and
    // 21844 parts of 32768 of the right pixel: 255 * 10922 >> 15 = 84, 255 * 21844 >> 15 = 169.
    TFastBMP src(2, 1), dst(3, 1);
    std::memset(src.Row(0) + 3, 255, 3);
    src.ScaleBilinearInto(dst);
    const int expected[] = {0, 84, 169};
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(dst.Row(0)[c * 3 + 1], expected[c]) << c;
}

TEST(Scalers, EnlargingRunsOverwriteOverlap) {
    // 2 -> 3 across (ratio 1.5) makes runs of round(2.0) = 2: pixel 0 at 0..1, pixel 1 at 1..2.
    TFastBMP src(2, 1), dst(3, 2);
    src.Row(0)[0] = 10;
    src.Row(0)[3] = 20;
    src.ScaleNearestInto(dst);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(dst.Row(r)[0], 10);
        EXPECT_EQ(dst.Row(r)[3], 20);
        EXPECT_EQ(dst.Row(r)[6], 20);
    }
}

TEST(Scalers, EmptyDestinationOrSourceLeavesEverythingAlone) {
    TFastBMP src(4, 4), empty, dst(3, 3);
    FillPattern(src, 3);
    src.ScaleBilinearInto(empty);
    src.ScaleNearestInto(empty);
    Prefill(dst);
    empty.ScaleBilinearInto(dst);
    empty.ScaleNearestInto(dst);
    EXPECT_EQ(dst.Row(1)[4], kUntouched);
}

} // namespace
} // namespace ml::test
