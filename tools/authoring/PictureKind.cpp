#include "tools/authoring/PictureKind.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"
#include "project/FileLoader.h"

#include <QBuffer>
#include <QImageReader>
#include <fstream>
#include <sstream>

namespace ml::authoring {

namespace {

bool StartsWith(const std::string& bytes, const std::string& prefix, std::size_t at = 0) {
    return bytes.size() >= at + prefix.size() && bytes.compare(at, prefix.size(), prefix) == 0;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Exception("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

} // namespace

TPictureKind PictureKindOfBytes(const std::string& head) {
    if (StartsWith(head, "\xFF\xD8\xFF"))
        return TPictureKind::Jpeg;
    if (StartsWith(head, "\x89PNG\r\n\x1A\n"))
        return TPictureKind::Png;
    if (StartsWith(head, "BM"))
        return TPictureKind::Bmp;
    if (StartsWith(head, "GIF87a") || StartsWith(head, "GIF89a"))
        return TPictureKind::Gif;
    if (StartsWith(head, kPictureFileMagic))
        return TPictureKind::PictureFile;
    if (StartsWith(head, std::string("II*\0", 4)) || StartsWith(head, std::string("MM\0*", 4)))
        return TPictureKind::Tiff;
    if (StartsWith(head, "RIFF") && StartsWith(head, "WEBP", 8))
        return TPictureKind::WebP;
    if (StartsWith(head, "ftyphei", 4) || StartsWith(head, "ftypmif1", 4) ||
        StartsWith(head, "ftypavif", 4))
        return TPictureKind::Heif;
    return TPictureKind::Unknown;
}

TPictureKind PictureKindOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(16, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return PictureKindOfBytes(head);
}

std::string PictureKindName(TPictureKind kind) {
    switch (kind) {
    case TPictureKind::Jpeg:
        return "JPEG";
    case TPictureKind::Png:
        return "PNG";
    case TPictureKind::Bmp:
        return "BMP";
    case TPictureKind::Gif:
        return "GIF";
    case TPictureKind::PictureFile:
        return "picture file (.qmp)";
    case TPictureKind::Tiff:
        return "TIFF";
    case TPictureKind::WebP:
        return "WebP";
    case TPictureKind::Heif:
        return "HEIF/AVIF";
    case TPictureKind::Unknown:
        break;
    }
    return "not a picture";
}

TPictureKind KindTheShowExpects(const std::string& path) {
    const std::string ext = UpperCase(ExtractFileExt(path));
    if (ext == ".JPG")
        return TPictureKind::Jpeg;
    if (ext == ".BMP")
        return TPictureKind::Bmp;
    if (ext == ".GIF")
        return TPictureKind::Gif;
    return TPictureKind::PictureFile;
}

std::string PlayerExtension(TPictureKind kind) {
    switch (kind) {
    case TPictureKind::Jpeg:
        return ".jpg";
    case TPictureKind::Bmp:
        return ".bmp";
    case TPictureKind::Gif:
        return ".gif";
    case TPictureKind::PictureFile:
        return ".qmp";
    default:
        return "";
    }
}

TBitmap ReadAuthorPicture(const std::string& path) {
    const std::string bytes = ReadAll(path);
    const TPictureKind kind = PictureKindOfBytes(bytes.substr(0, 16));
    TBitmap bitmap;
    try {
        if (kind == TPictureKind::Jpeg) {
            bitmap = DecodeJpeg(bytes);
        } else {
            QByteArray data =
                QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer);
            const QSize size = reader.size();
            if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
                throw Exception("it is " + std::to_string(size.width()) + " x " +
                                std::to_string(size.height()) + " pixels");
            QImage image = reader.read();
            if (image.isNull())
                throw Exception(kind == TPictureKind::Unknown
                                    ? "it is not a picture this tool reads (JPEG, PNG, BMP, GIF)"
                                    : reader.errorString().toStdString());
            bitmap = TBitmap(std::move(image));
        }
    } catch (const Exception& e) {
        throw Exception("cannot read " + path + " as a picture: " + e.Message());
    }
    if (bitmap.Empty() || bitmap.Width() > kMaxPictureSide || bitmap.Height() > kMaxPictureSide)
        throw Exception(path + " is " + std::to_string(bitmap.Width()) + " x " +
                        std::to_string(bitmap.Height()) + "; pictures are 1 to " +
                        std::to_string(kMaxPictureSide) + " pixels a side");
    return bitmap;
}

} // namespace ml::authoring
