// The buffer's memory layout, its copies and tiling, and what its paints put on a picture.

#include "effects/FastBMP.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"

#include <QImage>
#include <QPainter>
#include <cstring>
#include <gtest/gtest.h>

namespace ml::test {
namespace {

// A buffer whose every pixel says where it is: blue = column, green = memory row, red = tag.
TFastBMP Labelled(int width, int height, std::uint8_t tag = 1) {
    TFastBMP buffer(width, height);
    for (int i = 0; i < height; ++i)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = buffer.Row(i) + x * 3;
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(i);
            p[2] = tag;
        }
    return buffer;
}

// As 0x00RRGGBB, the way bitmaps hold it.
std::uint32_t PixelOf(const TFastRGB& buffer, int column, int memoryRow) {
    const std::uint8_t* p = buffer.Row(memoryRow) + column * 3;
    return (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

TEST(FastBMP, RowsArePaddedToFourBytesAndStoredBottomUp) {
    struct {
        int Width, Stride, Padding;
    } const rows[] = {{1, 4, 1}, {2, 8, 2}, {3, 12, 3}, {4, 12, 0}, {5, 16, 1}, {7, 24, 3}};
    for (const auto& row : rows) {
        TFastBMP buffer(row.Width, 3);
        EXPECT_EQ(buffer.RowStride(), row.Stride) << row.Width;
        EXPECT_EQ(buffer.RowPadding(), row.Padding) << row.Width;
        EXPECT_EQ(buffer.ImageSize(), row.Stride * 3) << row.Width;
        EXPECT_EQ(buffer.Row(2), buffer.Bits() + 2 * row.Stride) << row.Width;
        EXPECT_EQ(buffer.Header().Width, row.Width);
        EXPECT_EQ(buffer.Header().Height, 3);
        EXPECT_EQ(buffer.Header().BitCount, 24);
    }

    TBitmap bitmap(2, 3);
    bitmap.SetPixel(1, 0, 0x123456); // top line
    TFastBMP loaded;
    loaded.LoadFromBitmap(bitmap);
    const std::uint8_t* topRight = loaded.Row(2) + 3;
    EXPECT_EQ(topRight[0], 0x56); // blue first
    EXPECT_EQ(topRight[1], 0x34);
    EXPECT_EQ(topRight[2], 0x12);
}

TEST(FastBMP, AllocateWithTheSameSizeKeepsPixelsAndRows) {
    TFastBMP buffer = Labelled(6, 4);
    std::uint8_t* const row3 = buffer.Row(3);
    buffer.Allocate(6, 4);
    EXPECT_EQ(buffer.Row(3), row3);
    EXPECT_EQ(PixelOf(buffer, 5, 3), 0x010305u);

    buffer.Allocate(4, 6);
    EXPECT_EQ(PixelOf(buffer, 3, 5), 0u);
    EXPECT_THROW(buffer.Allocate(-1, 4), EInvalidOperation);
    EXPECT_THROW(buffer.Allocate(30000, 30000), EInvalidOperation); // over 2 GiB of pixels
    EXPECT_EQ(buffer.Width(), 4); // a refused size leaves the buffer as it was
}

struct TCopyCase {
    const char* Name;
    int X, Y, W, H, SX, SY;
    // The block that must arrive after clipping; W == 0 means nothing is copied.
    int ClipX, ClipY, ClipW, ClipH, ClipSX, ClipSY;
};

// Source 6 x 5, destination 8 x 4.
const TCopyCase kCopyCases[] = {
    {"Inside", 1, 1, 3, 2, 2, 1, 1, 1, 3, 2, 2, 1},
    {"NegativeXMovesSourceRight", -2, 0, 4, 2, 1, 0, 0, 0, 2, 2, 3, 0},
    {"NegativeYMovesSourceUp", 0, -1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 1},
    {"NegativeSourceMovesTarget", 0, 0, 4, 2, -2, -1, 2, 1, 2, 1, 0, 0},
    {"CutAtSourceEdges", 0, 0, 10, 10, 4, 3, 0, 0, 2, 2, 4, 3},
    {"CutAtTargetEdges", 6, 2, 5, 5, 0, 0, 6, 2, 2, 2, 0, 0},
    {"SourceStartBeyondLastColumn", 0, 0, 2, 2, 6, 0, 0, 0, 0, 0, 0, 0},
    {"SourceStartBeyondLastRow", 0, 0, 2, 2, 0, 5, 0, 0, 0, 0, 0, 0},
    {"TargetStartBeyondItsWidth", 9, 0, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0},
    {"NothingLeftAfterNegativeX", -5, 0, 4, 2, 0, 0, 0, 0, 0, 0, 0, 0},
};

class CopyRegion : public ::testing::TestWithParam<TCopyCase> {};

TEST_P(CopyRegion, ClipsToBothBuffers) {
    const TCopyCase& t = GetParam();
    const TFastBMP src = Labelled(6, 5, 1);
    TFastBMP dst = Labelled(8, 4, 2);
    const TFastBMP before = Labelled(8, 4, 2);
    src.CopyRegionInto(dst, t.X, t.Y, t.W, t.H, t.SX, t.SY);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 8; ++c) {
            const bool inside =
                c >= t.ClipX && c < t.ClipX + t.ClipW && r >= t.ClipY && r < t.ClipY + t.ClipH;
            const std::uint32_t expected =
                inside ? PixelOf(src, t.ClipSX + c - t.ClipX, t.ClipSY + r - t.ClipY)
                       : PixelOf(before, c, r);
            ASSERT_EQ(PixelOf(dst, c, r), expected) << c << "," << r;
        }
}

INSTANTIATE_TEST_SUITE_P(Pixels, CopyRegion, ::testing::ValuesIn(kCopyCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FastBMP, CopyWithinOneBufferHandlesOverlap) {
    struct {
        int X, Y, SX, SY;
    } const moves[] = {{1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}, {1, 1, 0, 0}};
    for (const auto& m : moves) {
        TFastBMP buffer = Labelled(5, 4);
        const TFastBMP original = Labelled(5, 4);
        buffer.CopyRegionInto(buffer, m.X, m.Y, 4, 3, m.SX, m.SY);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(PixelOf(buffer, m.X + c, m.Y + r), PixelOf(original, m.SX + c, m.SY + r))
                    << "move " << m.X << m.Y << m.SX << m.SY << " at " << c << "," << r;
    }
}

TEST(FastBMP, TileIntoRepeatsFromTheFirstMemoryRow) {
    const TFastBMP tile = Labelled(3, 2);
    TFastBMP dst(8, 5);
    tile.TileInto(dst);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 8; ++c)
            ASSERT_EQ(PixelOf(dst, c, r), PixelOf(tile, c % 3, r % 2)) << c << "," << r;
}

// The picture pixel (column, line from the top) of a buffer, as a painted QImage shows it.
std::uint32_t Shown(const TFastRGB& buffer, int column, int line) {
    return 0xFF000000u | PixelOf(buffer, column, buffer.Height() - 1 - line);
}

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xFF777777u);
    return image;
}

TEST(FastBMP, PaintsShowThePictureUprightWithoutSmoothing) {
    const TFastBMP buffer = Labelled(3, 2);
    QImage image = Canvas(10, 8);
    {
        QPainter dc(&image);
        buffer.PaintAt(dc, 1, 1);                 // 3 x 2 at (1, 1)
        buffer.PaintStretched(dc, 4, 0, 6, 4);    // doubled at (4, 0)
        buffer.PaintRegion(dc, 0, 5, 2, 1, 1, 1); // memory row 1 = top line
        buffer.PaintRegion(dc, 0, 7, 2, 1, 2, 0); // half outside the source
        buffer.PaintTiled(dc, 4, 5, 6, 3);        // top line first
    }
    EXPECT_EQ(image.pixel(0, 0), 0xFF777777u);
    EXPECT_EQ(image.pixel(1, 1), Shown(buffer, 0, 0));
    EXPECT_EQ(image.pixel(3, 2), Shown(buffer, 2, 1));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(image.pixel(4 + x, y), Shown(buffer, x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(image.pixel(0, 5), Shown(buffer, 1, 0));
    EXPECT_EQ(image.pixel(1, 5), Shown(buffer, 2, 0));
    EXPECT_EQ(image.pixel(0, 7), Shown(buffer, 2, 1));
    EXPECT_EQ(image.pixel(1, 7), 0xFF777777u); // source column 3 does not exist
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(image.pixel(4 + x, 5 + y), Shown(buffer, x % 3, y % 2)) << x << "," << y;
}

TEST(FastBMP, PaintAtOntoABitmapClipsToIt) {
    const TFastBMP buffer = Labelled(4, 3);
    TBitmap bitmap(3, 3);
    bitmap.Fill(0x777777);
    buffer.PaintAt(bitmap, -2, 1);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x777777u);
    EXPECT_EQ(bitmap.Pixel(0, 1), Shown(buffer, 2, 0) & 0xFFFFFF);
    EXPECT_EQ(bitmap.Pixel(1, 2), Shown(buffer, 3, 1) & 0xFFFFFF);
    EXPECT_EQ(bitmap.Pixel(2, 2), 0x777777u);
}

} // namespace
} // namespace ml::test
