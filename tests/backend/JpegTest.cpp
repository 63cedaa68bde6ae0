#include "backend/Jpeg.h"

#include "platform/Exceptions.h"
#include "tests/support/ResourceLimits.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ml {
namespace {

TBitmap FourQuadrants(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            b.SetPixel(x, y,
                       bottom ? (right ? 0xFFFFFF : 0x0000FF) : (right ? 0x00FF00 : 0xFF0000));
        }
    return b;
}

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

TEST(Jpeg, RoundTripKeepsSizeAndColoursInTheirPlaces) {
    // Catches swapped red/blue bytes, flipped rows and lost size.
    const TBitmap source = FourQuadrants(64, 48);
    const TBitmap decoded = DecodeJpeg(EncodeJpeg(source, 95));
    ASSERT_EQ(decoded.Width(), 64);
    ASSERT_EQ(decoded.Height(), 48);
    for (auto [x, y] : {std::pair{8, 8}, {56, 8}, {8, 40}, {56, 40}})
        EXPECT_LE(ChannelDistance(decoded.Pixel(x, y), source.Pixel(x, y)), 8)
            << "at " << x << "," << y;
}

TEST(Jpeg, DecodedPixelsAreOpaque) {
    // The top byte must be set so that the bitmap paints as an opaque image.
    const TBitmap decoded = DecodeJpeg(EncodeJpeg(FourQuadrants(16, 16), 80));
    EXPECT_EQ(decoded.ScanLine(0)[0] & 0xFF000000u, 0xFF000000u);
}

TEST(Jpeg, OddSizesAndExtremeQualitiesEncode) {
    for (int quality : {-5, 1, 100, 500}) {
        const TBitmap decoded = DecodeJpeg(EncodeJpeg(FourQuadrants(7, 3), quality));
        EXPECT_EQ(decoded.Width(), 7);
        EXPECT_EQ(decoded.Height(), 3);
    }
}

TEST(Jpeg, AShownSizeDecodesAtTheSmallestFractionThatCoversIt) {
    // 203 x 150: the reduced sides round up (102, 51, 26 wide), and a side one pixel more
    // than a fraction gives needs the next larger one.
    const std::string bytes = EncodeJpeg(FourQuadrants(203, 150), 90);
    struct Row {
        QSize Shown, Decoded;
    } rows[] = {
        {{203, 150}, {203, 150}}, {{400, 300}, {203, 150}}, {{0, 0}, {203, 150}},
        {{102, 75}, {102, 75}},   {{103, 75}, {203, 150}},  {{102, 76}, {203, 150}},
        {{51, 38}, {51, 38}},     {{27, 19}, {51, 38}},     {{26, 19}, {26, 19}},
        {{1, 1}, {26, 19}},
    };
    for (const Row& row : rows) {
        QSize stored;
        const TBitmap decoded = DecodeJpeg(bytes, [&](QSize size) {
            stored = size;
            return row.Shown;
        });
        EXPECT_EQ(stored, QSize(203, 150));
        EXPECT_EQ(QSize(decoded.Width(), decoded.Height()), row.Decoded)
            << row.Shown.width() << " x " << row.Shown.height();
    }
    // Reduced, the picture keeps its colours in their places.
    const TBitmap eighth = DecodeJpeg(bytes, [](QSize) { return QSize(20, 15); });
    EXPECT_LE(ChannelDistance(eighth.Pixel(3, 3), 0xFF0000), 8);
    EXPECT_LE(ChannelDistance(eighth.Pixel(22, 16), 0xFFFFFF), 8);
}

TEST(Jpeg, DecodingWholeForAShownSizeIsBitForBitThePlainDecode) {
    TBitmap noisy(97, 61);
    std::uint32_t seed = 7;
    for (int y = 0; y < noisy.Height(); ++y)
        for (int x = 0; x < noisy.Width(); ++x)
            noisy.SetPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
    const std::string bytes = EncodeJpeg(noisy, 75);
    const QImage plain = DecodeJpeg(bytes).ToImage();
    for (QSize shown : {QSize(97, 61), QSize(49, 62), QSize(2000, 10)})
        EXPECT_EQ(DecodeJpeg(bytes, [shown](QSize) { return shown; }).ToImage(), plain);
}

TEST(Jpeg, BadDataRaisesInvalidGraphicWithTheDecodersText) {
    const std::string good = EncodeJpeg(FourQuadrants(32, 32), 90);
    struct Row {
        const char* name;
        std::string data;
    };
    const Row rows[] = {
        {"empty", ""},
        {"not a JPEG", "GIF89a and some more bytes"},
        {"only the start marker", good.substr(0, 2)},
        {"header cut short", good.substr(0, 40)},
    };
    for (const Row& row : rows) {
        try {
            DecodeJpeg(row.data);
            ADD_FAILURE() << row.name << ": no error";
        } catch (const EInvalidGraphic& e) {
            EXPECT_FALSE(e.Message().empty()) << row.name;
        }
    }
}

TEST(Jpeg, TruncatedPixelDataStillDecodes) {
    // A stream cut after its header decodes with the missing part filled in, as viewers show it.
    TBitmap noisy(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            noisy.SetPixel(x, y, (x * 7919u + y * 104729u) * 2654435761u & 0xFFFFFF);
    const std::string good = EncodeJpeg(noisy, 90);
    const std::size_t header = good.find("\xFF\xDA");
    ASSERT_LT(header + 1000, good.size());
    const TBitmap decoded = DecodeJpeg(good.substr(0, header + 1000));
    EXPECT_EQ(decoded.Width(), 128);
}

// A small stream whose frame header is patched to claim another size.
std::string ClaimingSize(int width, int height) {
    std::string data = EncodeJpeg(FourQuadrants(8, 8), 90);
    const std::size_t sof = data.find("\xFF\xC0");
    EXPECT_NE(sof, std::string::npos);
    data[sof + 5] = char(height >> 8);
    data[sof + 6] = char(height & 0xFF);
    data[sof + 7] = char(width >> 8);
    data[sof + 8] = char(width & 0xFF);
    return data;
}

TEST(Jpeg, OversizedHeaderIsRefusedBeforeDecoding) {
    EXPECT_THROW(DecodeJpeg(ClaimingSize(20000, 20000)), EInvalidGraphic);
}

// A few hundred bytes cannot code the blocks of 16384 x 16384 pixels: the claim is refused
// before the gigabyte it asks for is taken.
TEST(Jpeg, SizeTheDataCannotHoldIsRefusedBeforeDecoding) {
    const std::string data = ClaimingSize(16384, 16384);
    EXPECT_TRUE(test::RunsWithin({10, std::size_t{256} << 20}, [&] {
        try {
            DecodeJpeg(data);
        } catch (const EInvalidGraphic& e) {
            return e.Message() == "JPEG data of " + std::to_string(data.size()) +
                                      " bytes cannot hold a 16384 x 16384 pixel picture";
        }
        return false;
    }));
}

TEST(Jpeg, EmptyBitmapCannotBeEncoded) {
    EXPECT_THROW(EncodeJpeg(TBitmap(), 90), EInvalidGraphic);
}

} // namespace
} // namespace ml
