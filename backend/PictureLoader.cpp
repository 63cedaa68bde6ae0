#include "backend/PictureLoader.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"

#include <QBuffer>
#include <QImageReader>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace ml {

namespace {

// The same bound the JPEG decoder keeps: the header's claimed size is checked before pixel
// memory is taken.
constexpr int kMaxSide = 16384;

std::string ReadPictureBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EInOutError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw EInOutError("Cannot read file \"" + path + "\"");
    return std::move(bytes).str();
}

// The format is forced by the extension, as the extension chose the decoder: a JPEG renamed
// to .BMP is bad BMP data, not a JPEG.
TBitmap DecodeWithQt(const std::string& bytes, const char* format) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        throw EInvalidGraphic("Picture is too large (" + std::to_string(size.width()) + " x " +
                              std::to_string(size.height()) + " pixels)");
    QImage image = reader.read();
    if (image.isNull())
        throw EInvalidGraphic(reader.errorString().toStdString());
    return TBitmap(std::move(image));
}

} // namespace

bool IsPlainPictureFile(const std::string& path) {
    const std::string ext = UpperCase(ExtractFileExt(path));
    return ext == ".JPG" || ext == ".BMP" || ext == ".GIF";
}

TBitmap LoadPicture(const std::string& path, const TShownSize& shown) {
    const std::string ext = ExtractFileExt(path);
    const std::string upper = UpperCase(ext);
    if (!IsPlainPictureFile(path))
        throw EInvalidGraphic("Unknown picture file extension (." +
                              LowerCase(ext.empty() ? ext : ext.substr(1)) + ")");
    const std::string bytes = ReadPictureBytes(path);
    if (upper == ".JPG")
        return DecodeJpeg(bytes, shown);
    TBitmap picture = DecodeWithQt(bytes, upper == ".BMP" ? "bmp" : "gif");
    if (shown)
        shown(QSize(picture.Width(), picture.Height()));
    return picture;
}

} // namespace ml
