// The configuration window's pictures travel as BMP files inside the description; they must
// come back pixel for pixel whichever depth they were stored at.

#include "demo/InterfaceArt.h"

#include <gtest/gtest.h>

namespace ml::demoui {
namespace {

QImage Decoded(const std::string& bmp) {
    QImage image;
    EXPECT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(bmp.data()),
                                   static_cast<int>(bmp.size()), "BMP"));
    return image.convertToFormat(QImage::Format_RGB32);
}

int BitsPerPixel(const std::string& bmp) {
    return static_cast<unsigned char>(bmp[28]) | static_cast<unsigned char>(bmp[29]) << 8;
}

TEST(InterfaceArt, BitmapsRoundTripAtTheDepthTheirColoursNeed) {
    QImage fewColours(13, 7, QImage::Format_RGB32); // odd width: rows are padded
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            fewColours.setPixel(x, y, qRgb(x * 19, y * 31, 200));
    QImage manyColours(20, 20, QImage::Format_RGB32); // 400 colours
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            manyColours.setPixel(x, y, qRgb(x * 12, y * 12, x + y));
    const struct {
        QImage Image;
        int Bits;
    } rows[] = {
        {fewColours, 8},
        {manyColours, 24},
        {RoundButton(TGlyph::Settings, TButtonStyle::Secondary, TButtonLook::Over, 40, kBackground),
         0}};
    for (const auto& row : rows) {
        const std::string bmp = BitmapFileBytes(row.Image);
        ASSERT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(BitmapFileBytes(row.Image), bmp) << "row padding is written, not left over";
        if (row.Bits != 0) {
            EXPECT_EQ(BitsPerPixel(bmp), row.Bits);
        }
        EXPECT_EQ(Decoded(bmp), row.Image.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(InterfaceArt, LooksDifferAndLeaveTheCornersToTheSurface) {
    const struct {
        TButtonStyle Style;
        QRgb Surface;
    } rows[] = {{TButtonStyle::Primary, kSurface},
                {TButtonStyle::Secondary, kSurface},
                {TButtonStyle::Ghost, kHeaderRight}};
    for (const auto& row : rows) {
        auto look = [&](TButtonLook look) {
            return PillButton(TGlyph::Close, row.Style, look, QSize(100, 36), row.Surface);
        };
        const QImage up = look(TButtonLook::Up), over = look(TButtonLook::Over),
                     down = look(TButtonLook::Down), disabled = look(TButtonLook::Disabled);
        EXPECT_NE(up, over);
        EXPECT_NE(over, down);
        EXPECT_NE(up, down);
        EXPECT_NE(up, disabled);
        // The rounded face blends into the surface the control sits on.
        EXPECT_EQ(up.pixel(0, 0), row.Surface);
        EXPECT_EQ(down.pixel(99, 35), row.Surface);
    }
}

} // namespace
} // namespace ml::demoui
