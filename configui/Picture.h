#pragma once
// A picture held by a control (an image's Picture, a button's four looks, a bitmap button's
// Glyph), read from the binary data of a description. Bitmaps have a transparent colour, the
// colour of their bottom-left pixel, which can be left out when drawing; JPEG pictures are
// always drawn whole.

#include <QImage>
#include <QPainter>

#include <string>

namespace ml {

class TPicture {
public:
    bool Empty() const { return Image.isNull(); }
    int Width() const { return Image.width(); }
    int Height() const { return Image.height(); }
    const QImage& Graphic() const { return Image; }
    bool IsBitmap() const { return Bitmap; }

    // Picture.Data: the graphic's class name as a length-prefixed string ("TBitmap",
    // "TJPEGImage"), then that graphic's stream (a 32-bit length and the file bytes). Raises
    // EInvalidGraphic for other classes and data that does not decode.
    void LoadFromPictureData(const std::string& data);
    // Glyph.Data: a bitmap stream without the class name.
    void LoadFromBitmapData(const std::string& data);
    void Assign(const QImage& image, bool isBitmap);
    void Clear() {
        Image = QImage();
        Masked = QImage();
    }

    // Draws at a point; with transparent set, a bitmap's transparent colour is left out.
    void Draw(QPainter& painter, QPoint at, bool transparent) const;
    void Draw(QPainter& painter, const QRect& target, bool transparent) const;

private:
    const QImage& Drawable(bool transparent) const;

    QImage Image;
    bool Bitmap = false;
    mutable QImage Masked; // the bitmap with its transparent colour cleared, made on demand
};

} // namespace ml
