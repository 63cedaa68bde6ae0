#include "backend/PictureLoader.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "tests/support/TempDir.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace ml {
namespace {

// A 1 x 1 GIF whose only pixel is colour 0 of a two-entry table (0xC03010, black), written
// byte by byte: header, screen descriptor with global table, image descriptor, LZW data
// (code size 2: clear, 0, end), trailer.
const std::string kOnePixelGif("GIF87a\x01\x00\x01\x00\x80\x00\x00"
                               "\xC0\x30\x10\x00\x00\x00"
                               ",\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                               "\x02\x02\x44\x01\x00;",
                               35);

std::string BmpBytes(const TBitmap& bitmap) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bitmap.ToImage().save(&buffer, "BMP");
    return bytes.toStdString();
}

TBitmap TwoColours() {
    TBitmap b(3, 2);
    b.Fill(0x2040A0);
    b.SetPixel(2, 1, 0xFFFF00);
    return b;
}

TEST(PictureLoader, DecoderIsChosenByTheExtensionInAnyCase) {
    test::TTempDir dir;
    const TBitmap source = TwoColours();
    struct Row {
        std::string name, bytes;
        int width;
        std::uint32_t firstPixel;
    };
    const Row rows[] = {
        {"a.JPG", EncodeJpeg(source, 100), 3, 0x2040A0},
        {"b.jpg", EncodeJpeg(source, 100), 3, 0x2040A0},
        {"c.Bmp", BmpBytes(source), 3, 0x2040A0},
        {"d.gif", kOnePixelGif, 1, 0xC03010},
        {"dotted.name.bmp", BmpBytes(source), 3, 0x2040A0},
    };
    for (const Row& row : rows) {
        const TBitmap loaded = LoadPicture(dir.Write(row.name, row.bytes));
        EXPECT_EQ(loaded.Width(), row.width) << row.name;
        const std::uint32_t got = loaded.Pixel(0, 0);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(int((got >> shift) & 0xFF), int((row.firstPixel >> shift) & 0xFF), 6)
                << row.name;
    }
    // The BMP path keeps every pixel exactly.
    EXPECT_EQ(LoadPicture(dir.File("c.Bmp")).Pixel(2, 1), 0xFFFF00u);
}

TEST(PictureLoader, EveryKindTellsItsStoredSizeAndOnlyJpegsDecodeReduced) {
    test::TTempDir dir;
    TBitmap big(64, 48);
    big.Fill(0x2040A0);
    for (auto [name, bytes, decoded] : {std::tuple{"big.jpg", EncodeJpeg(big, 90), QSize(16, 12)},
                                        std::tuple{"big.bmp", BmpBytes(big), QSize(64, 48)}}) {
        QSize stored;
        const TBitmap loaded = LoadPicture(dir.Write(name, bytes), [&](QSize size) {
            stored = size;
            return QSize(16, 12);
        });
        EXPECT_EQ(stored, QSize(64, 48)) << name;
        EXPECT_EQ(QSize(loaded.Width(), loaded.Height()), decoded) << name;
    }
}

TEST(PictureLoader, OtherExtensionsAreRefusedWithTheirName) {
    test::TTempDir dir;
    const std::string jpeg = EncodeJpeg(TwoColours(), 90);
    struct Row {
        std::string name, message;
    };
    const Row rows[] = {
        {"p.png", "Unknown picture file extension (.png)"},
        {"p.JPEG", "Unknown picture file extension (.jpeg)"},
        {"noextension", "Unknown picture file extension (.)"},
        {"p.qmp", "Unknown picture file extension (.qmp)"},
    };
    for (const Row& row : rows) {
        try {
            LoadPicture(dir.Write(row.name, jpeg));
            ADD_FAILURE() << row.name;
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), row.message);
        }
    }
}

TEST(PictureLoader, BadDataAndMissingFilesRaiseTheirKinds) {
    test::TTempDir dir;
    const std::string jpeg = EncodeJpeg(TwoColours(), 90);
    // Content does not override the extension: JPEG bytes are not a BMP.
    EXPECT_THROW(LoadPicture(dir.Write("renamed.bmp", jpeg)), EInvalidGraphic);
    EXPECT_THROW(LoadPicture(dir.Write("renamed.gif", jpeg)), EInvalidGraphic);
    EXPECT_THROW(LoadPicture(dir.Write("text.jpg", "hello")), EInvalidGraphic);
    EXPECT_THROW(LoadPicture(dir.Write("empty.gif", "")), EInvalidGraphic);
    EXPECT_THROW(LoadPicture(dir.File("missing.jpg")), EInOutError);
}

TEST(PictureLoader, OversizedBmpHeaderIsRefused) {
    // A BMP header claiming 20000 x 20000 pixels with no pixel data behind it.
    std::string bmp = BmpBytes(TwoColours());
    for (std::size_t at : {18u, 22u}) {
        bmp[at] = char(20000 & 0xFF);
        bmp[at + 1] = char(20000 >> 8);
    }
    test::TTempDir dir;
    EXPECT_THROW(LoadPicture(dir.Write("huge.bmp", bmp)), EInvalidGraphic);
}

TEST(PictureLoader, PlainPictureFilesAreTheThreeExtensions) {
    for (const char* yes : {"x.jpg", "/a/b.JPG", "c.Gif", "d.bmp", "e.f.bmp"})
        EXPECT_TRUE(IsPlainPictureFile(yes)) << yes;
    for (const char* no : {"x.qmp", "x.jpeg", "x.jpg.txt", "jpg", "folder.jpg/file", ""})
        EXPECT_FALSE(IsPlainPictureFile(no)) << no;
}

} // namespace
} // namespace ml
