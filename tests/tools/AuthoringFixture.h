#pragma once
// What the authoring tests share: one widget application, pictures painted here, and a
// project folder written file by file.

#include "backend/Jpeg.h"
#include "platform/Bitmap.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/Findings.h"
#include "tools/authoring/PictureFileBuild.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace ml::test {

// A picture with something in every part of it, so that changes show.
inline QImage Landscape(int width, int height, QRgb sky = 0xFF305080) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           y < height / 2 ? sky + 0x010101u * ((x * 7 + y * 3) % 64)
                                          : qRgb((x * 5) % 256, (y * 9) % 256, 160));
    return image;
}

// The lower half blue (area 1), the upper half black.
inline QImage LowerHalfMask(int width, int height) {
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter(&mask).fillRect(0, height / 2, width, height - height / 2, QColor(0, 0, 255));
    return mask;
}

inline std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

inline std::string JpegOf(const QImage& image) {
    return EncodeJpeg(TBitmap(image), 90);
}

// True when some finding's text holds the words.
inline bool Says(const authoring::TFindings& findings, const std::string& words) {
    return std::any_of(findings.begin(), findings.end(), [&](const authoring::TFinding& f) {
        return f.Text().find(words) != std::string::npos;
    });
}

inline std::string AllText(const authoring::TFindings& findings) {
    std::string text;
    for (const auto& f : findings)
        text += f.Text() + "\n";
    return text;
}

// Builds a picture file in `dir` from a painted picture, the lower-half mask and the
// parameter text; returns its path.
inline std::string MakePictureFile(const TTempDir& dir, const std::string& name,
                                   const std::string& params, int width = 64, int height = 48) {
    authoring::TPictureFileRecipe recipe;
    recipe.Image = dir.Write(name + "-picture.png", Encoded(Landscape(width, height), "PNG"));
    recipe.Areas = dir.Write(name + "-mask.png", Encoded(LowerHalfMask(width, height), "PNG"));
    recipe.Params = dir.Write(name + "-params.ini", params);
    const authoring::TBuiltPictureFile built = authoring::BuildPictureFile(recipe);
    EXPECT_FALSE(authoring::HasErrors(built.Findings)) << AllText(built.Findings);
    return dir.Write(name, built.Bytes);
}

} // namespace ml::test
