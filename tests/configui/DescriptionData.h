#pragma once
// Pictures for descriptions written in tests: made here by Qt and our JPEG encoder, written
// as the hexadecimal data a description holds.

#include "backend/Jpeg.h"

#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <string>

namespace ml::test {

inline std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

inline std::string BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes.toStdString();
}

inline std::string WithLength(const std::string& bytes) {
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((bytes.size() >> (8 * i)) & 0xFF);
    return out + bytes;
}

// "{...}" for Glyph.Data: the bitmap stream alone.
inline std::string GlyphData(const QImage& image) {
    return "{" + Hex(WithLength(BmpBytes(image))) + "}";
}

// "{...}" for Picture.Data: class name, then the graphic's stream.
inline std::string BitmapPictureData(const QImage& image) {
    return "{" + Hex(std::string("\x07TBitmap") + WithLength(BmpBytes(image))) + "}";
}

inline std::string JpegPictureData(const QImage& image) {
    const std::string jpeg = EncodeJpeg(TBitmap(image.convertToFormat(QImage::Format_RGB32)), 90);
    return "{" + Hex(std::string("\x0ATJPEGImage") + WithLength(jpeg)) + "}";
}

// A picture with a magenta background (its bottom-left pixel) around a coloured square.
inline QImage KeyedSquare(int size, QRgb square) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    for (int y = size / 4; y < size - size / 4; ++y)
        for (int x = size / 4; x < size - size / 4; ++x)
            image.setPixel(x, y, square);
    return image;
}

} // namespace ml::test
