#pragma once
// Picture files the grid and pane tests show, all drawn here: plain BMP and JPEG files and
// picture files with a title, a thumbnail and a full picture.

#include "backend/Jpeg.h"
#include "project/PictureFileWriter.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <string>

namespace ml::test {

// A picture of one colour with a darker band across its middle.
inline TBitmap BandedPicture(int width, int height, std::uint32_t color) {
    TBitmap picture(width, height);
    picture.Fill(color);
    for (int y = height / 3; y < 2 * height / 3; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, (color >> 1) & 0x7F7F7Fu);
    return picture;
}

inline std::string WriteBmp(const TTempDir& dir, const std::string& name, const TBitmap& picture) {
    const std::string path = dir.File(name);
    picture.ToImage().save(QString::fromStdString(path), "BMP");
    return path;
}

inline std::string WriteJpg(const TTempDir& dir, const std::string& name, const TBitmap& picture) {
    return dir.Write(name, EncodeJpeg(picture, 95));
}

// A picture file whose thumbnail and full picture are the same drawing.
inline std::string WriteQmp(const TTempDir& dir, const std::string& name, const std::string& title,
                            const TBitmap& picture) {
    TPictureFileContent content;
    content.Title = title;
    content.ThumbnailData = EncodeJpeg(picture, 90);
    content.PictureData = EncodeJpeg(picture, 95);
    content.AreaValues = EncodeAreaMap(TBitmap(picture.Width(), picture.Height()));
    for (auto& wave : content.WaveRecords)
        wave.Period = 360;
    return dir.Write(name, WritePictureFile(content));
}

} // namespace ml::test
