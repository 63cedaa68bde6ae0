#include "effects/Wallpaper.h"

#include "effects/FastBMP.h"
#include "platform/Bitmap.h"
#include "platform/DesktopWallpaper.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"

#include <QSaveFile>
#include <QString>
#include <string>

namespace ml {

namespace {

void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A BMP file is the pixel buffer's own layout behind two little-endian headers.
std::string BmpFileBytes(const TFastBMP& buffer) {
    constexpr std::uint32_t kHeadersSize = 14 + 40;
    const TBitmapInfoHeader& info = buffer.Header();
    std::string out;
    out.reserve(kHeadersSize + static_cast<std::size_t>(buffer.ImageSize()));
    out += "BM";
    Put32(out, kHeadersSize + static_cast<std::uint32_t>(buffer.ImageSize()));
    Put32(out, 0); // reserved
    Put32(out, kHeadersSize);
    Put32(out, info.Size);
    Put32(out, static_cast<std::uint32_t>(info.Width));
    Put32(out, static_cast<std::uint32_t>(info.Height));
    Put16(out, info.Planes);
    Put16(out, info.BitCount);
    Put32(out, info.Compression);
    // Readers accept 0 here for uncompressed pixels, but some want the real count.
    Put32(out, static_cast<std::uint32_t>(buffer.ImageSize()));
    Put32(out, static_cast<std::uint32_t>(info.XPelsPerMeter));
    Put32(out, static_cast<std::uint32_t>(info.YPelsPerMeter));
    Put32(out, info.ClrUsed);
    Put32(out, info.ClrImportant);
    out.append(reinterpret_cast<const char*>(buffer.Bits()),
               static_cast<std::size_t>(buffer.ImageSize()));
    return out;
}

void WriteBmpFile(const TBitmap& bitmap, const std::string& path) {
    if (bitmap.Empty())
        throw EInvalidGraphic("An empty picture cannot be set as the wallpaper");
    TFastBMP buffer;
    buffer.LoadFromBitmap(bitmap);
    const std::string bytes = BmpFileBytes(buffer);
    // Written beside the target and renamed over it, so that a failed write never leaves a
    // cut-off wallpaper file for the desktop to show.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw EInOutError("Cannot create file \"" + path + "\"");
}

} // namespace

bool SetWallpaper(const TBitmap& bitmap, const std::string& path) {
    WriteBmpFile(bitmap, path);
    std::string failure;
    if (SetDesktopWallpaper(path, failure))
        return true;
    MessageBox(failure, "", TMsgIcon::Information);
    return false;
}

} // namespace ml
