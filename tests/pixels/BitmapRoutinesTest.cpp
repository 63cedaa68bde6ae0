// Saturation, cross-fade, colour blend and the bitmap-level routines built on the buffer.

#include "effects/BitmapRoutines.h"
#include "effects/FastBMP.h"
#include "effects/Saturation.h"

#include <QImage>
#include <gtest/gtest.h>

namespace ml::test {
namespace {

TBitmap Colourful(int width, int height, std::uint32_t seed) {
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            bitmap.SetPixel(x, y, seed >> 8);
        }
    return bitmap;
}

int Channel(std::uint32_t pixel, int shift) {
    return int((pixel >> shift) & 0xFF);
}

TEST(Saturation, FullAmountKeepsPixelsAndOneMakesThemGrey) {
    TFastBMP buffer;
    buffer.LoadFromBitmap(Colourful(5, 3, 1)); // width 5: one padding byte per row
    for (int i = 0; i < 3; ++i)
        buffer.Row(i)[15] = 0xEE;
    TFastBMP original;
    original.LoadFromBitmap(Colourful(5, 3, 1));

    AdjustSaturation(buffer, 256);
    for (int i = 0; i < 3; ++i)
        for (int b = 0; b < 15; ++b)
            ASSERT_EQ(buffer.Row(i)[b], original.Row(i)[b]);

    AdjustSaturation(buffer, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buffer.Row(i)[15], 0xEE) << "padding is not a pixel";
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t* before = original.Row(i) + x * 3;
            const int grey = (before[0] + before[1] + before[2]) / 3;
            for (int ch = 0; ch < 3; ++ch)
                ASSERT_EQ(buffer.Row(i)[x * 3 + ch], grey) << x << "," << i;
        }
    }
}

TEST(Saturation, StrongerColourIsClampedToBytes) {
    // Sum 300, grey 100: at 512 each channel becomes 100 - 200 + 2c.
    TFastBMP buffer(1, 1);
    buffer.Row(0)[0] = 20;
    buffer.Row(0)[1] = 100;
    buffer.Row(0)[2] = 180;
    AdjustSaturation(buffer, 512);
    EXPECT_EQ(buffer.Row(0)[0], 0); // -60 clamped
    EXPECT_EQ(buffer.Row(0)[1], 100);
    EXPECT_EQ(buffer.Row(0)[2], 255); // 260 clamped
    EXPECT_EQ(ClampToByte(-1), 0);
    EXPECT_EQ(ClampToByte(256), 255);
    EXPECT_EQ(ClampToByte(77), 77);
}

TEST(CrossFade, EndsReproduceTheirPictureAndMiddleRoundsDown) {
    const TBitmap a = Colourful(7, 4, 2);
    const TBitmap b = Colourful(7, 4, 3);
    TBitmap dst(7, 4);
    for (int amount : {0, 256}) {
        CrossFade(dst, a, b, amount);
        const TBitmap& expected = amount == 0 ? b : a;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(dst.Pixel(x, y), expected.Pixel(x, y)) << amount;
    }

    TBitmap black(1, 1), white(1, 1), one(1, 1);
    white.Fill(0xFFFFFF);
    CrossFade(one, black, white, 1); // 255 + (-255 >> 8) = 254: towards minus infinity
    EXPECT_EQ(one.Pixel(0, 0), 0xFEFEFEu);
    CrossFade(one, white, black, 128); // 255 * 128 >> 8 = 127
    EXPECT_EQ(one.Pixel(0, 0), 0x7F7F7Fu);
}

TEST(CrossFade, KeepsTheFourthByteAndWorksInPlace) {
    TBitmap a = Colourful(4, 2, 5);
    const TBitmap b = Colourful(4, 2, 6);
    const TBitmap originalA = Colourful(4, 2, 5);
    a.ScanLine(1)[2] = 0x12000000u | a.Pixel(2, 1);
    CrossFade(a, a, b, 64);
    EXPECT_EQ(a.ScanLine(1)[2] >> 24, 0x12u);
    for (int shift : {0, 8, 16}) {
        const int ca = Channel(originalA.Pixel(2, 1), shift), cb = Channel(b.Pixel(2, 1), shift);
        EXPECT_EQ(Channel(a.Pixel(2, 1), shift), cb + (((ca - cb) * 64) >> 8));
    }
}

TEST(CrossFade, WritesOnlyTheSharedAreaOfDifferentSizes) {
    const TBitmap a = Colourful(3, 2, 7);
    const TBitmap b = Colourful(5, 5, 8);
    TBitmap dst(4, 4);
    dst.Fill(0x010203);
    CrossFade(dst, a, b, 256);
    EXPECT_EQ(dst.Pixel(2, 1), a.Pixel(2, 1));
    EXPECT_EQ(dst.Pixel(3, 1), 0x010203u);
    EXPECT_EQ(dst.Pixel(0, 2), 0x010203u);
}

TEST(BlendColors, MixesPerChannelAndClamps) {
    struct {
        std::uint32_t C1, C2;
        int Percent;
        std::uint32_t Expected;
    } const rows[] = {
        {0xFFFFFF, 0x336699, 0, 0x336699},     {0xFFFFFF, 0x336699, 20, 0x336699},
        {0xFFFFFF, 0x336699, 100, 0x336699},   {0x000000, 0xFFFFFF, 100, 0x000000},
        {0x000000, 0xFFFFFF, 20, 0xCCCCCC},  // 255 - 255 * 20 / 100 = 204
        {0x000000, 0xC0C0C0, 5, 0xB4B4B4},   // 255 - (1275 + 6300) div 100 = 180
        {0x000000, 0x808080, 200, 0x000000}, // below 0: clamped
        {0x000000, 0xFFFFFF, -50, 0xFFFFFF}, // above 255: clamped
        {0xFF000000, 0xFF336699, 0, 0x336699},
    };
    for (const auto& row : rows)
        EXPECT_EQ(BlendColors(row.C1, row.C2, row.Percent), row.Expected)
            << std::hex << row.C1 << " " << row.C2 << " " << std::dec << row.Percent;
}

TEST(BitmapRoutines, FitSmoothScalesBilinearlyAndGreyUsesTheChannelMean) {
    const TBitmap src = Colourful(9, 6, 9);
    TBitmap dst(20, 13);
    FitBitmapSmooth(src, dst);
    TFastBMP in, out(20, 13);
    in.LoadFromBitmap(src);
    in.ScaleBilinearInto(out);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 20; ++x) {
            const std::uint8_t* p = out.Row(12 - y) + x * 3;
            ASSERT_EQ(dst.Pixel(x, y), (std::uint32_t(p[2]) << 16) | (p[1] << 8) | p[0]);
        }

    TBitmap grey = Colourful(3, 2, 10);
    MakeGrayscale(grey);
    const TBitmap before = Colourful(3, 2, 10);
    const std::uint32_t pixel = before.Pixel(1, 1);
    const int mean = (Channel(pixel, 0) + Channel(pixel, 8) + Channel(pixel, 16)) / 3;
    EXPECT_EQ(grey.Pixel(1, 1), std::uint32_t(mean * 0x010101));
}

TEST(BitmapRoutines, ScreenDepthWithAndWithoutADevice) {
    QImage image(4, 4, QImage::Format_RGB32);
    EXPECT_EQ(ScreenBitsPerPixel(&image), 32);
    EXPECT_EQ(ScreenBitsPerPixel(nullptr), 16);
}

} // namespace
} // namespace ml::test
