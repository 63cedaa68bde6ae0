#include "configui/Picture.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"

#include <cstdint>

namespace ml {

namespace {

// Graphic streams carry their byte count first; a stream written without it (some tools do)
// is taken whole.
std::string GraphicBytes(const std::string& stream) {
    if (stream.size() >= 4) {
        std::uint32_t size = 0;
        for (int i = 3; i >= 0; --i)
            size = size * 256 + static_cast<unsigned char>(stream[i]);
        if (size <= stream.size() - 4)
            return stream.substr(4, size);
    }
    return stream;
}

QImage DecodeBitmap(const std::string& bytes) {
    QImage image;
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M' ||
        !image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()), "BMP"))
        throw EInvalidGraphic("Bitmap image is not valid");
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void TPicture::Assign(const QImage& image, bool isBitmap) {
    Image = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap = isBitmap;
    Masked = QImage();
}

void TPicture::LoadFromBitmapData(const std::string& data) {
    Assign(DecodeBitmap(GraphicBytes(data)), true);
}

void TPicture::LoadFromPictureData(const std::string& data) {
    if (data.empty())
        throw EInvalidGraphic("Picture data is empty");
    std::size_t length = static_cast<unsigned char>(data[0]);
    if (1 + length > data.size())
        throw EInvalidGraphic("Picture data is truncated");
    const std::string className = data.substr(1, length);
    const std::string stream = data.substr(1 + length);
    if (SameText(className, "TBitmap")) {
        LoadFromBitmapData(stream);
    } else if (SameText(className, "TJPEGImage")) {
        const std::string bytes = GraphicBytes(stream);
        Assign(DecodeJpeg(bytes).ToImage(), false);
    } else {
        throw EInvalidGraphic("Unsupported picture class " + className);
    }
}

const QImage& TPicture::Drawable(bool transparent) const {
    if (!transparent || !Bitmap || Image.isNull())
        return Image;
    if (Masked.isNull()) {
        Masked = Image.copy();
        const QRgb key = Image.pixel(0, Image.height() - 1) & 0x00FFFFFFu;
        for (int y = 0; y < Masked.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(Masked.scanLine(y));
            for (int x = 0; x < Masked.width(); ++x)
                if ((row[x] & 0x00FFFFFFu) == key)
                    row[x] = 0;
        }
    }
    return Masked;
}

void TPicture::Draw(QPainter& painter, QPoint at, bool transparent) const {
    if (!Image.isNull())
        painter.drawImage(at, Drawable(transparent));
}

void TPicture::Draw(QPainter& painter, const QRect& target, bool transparent) const {
    if (!Image.isNull())
        painter.drawImage(target, Drawable(transparent));
}

} // namespace ml
