#include "platform/Bitmap.h"

#include "platform/Exceptions.h"
#include "platform/PageMemory.h"

#include <QPainter>

namespace ml {

namespace {

// The pixels live in a block of their own pages (see PageMemory.h): a full-screen bitmap is
// written whole as soon as it is made.
QImage PageImage(int width, int height) {
    const qsizetype stride = qsizetype{width} * 4;
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    auto* block = new TBlock(MakeBlock(bytes));
    return QImage(
        block->get(), width, height, stride, QImage::Format_RGB32,
        [](void* owner) { delete static_cast<TBlock*>(owner); }, block);
}

} // namespace

TBitmap::TBitmap(QImage image)
    : W(image.width()), H(image.height()), Image(image.convertToFormat(QImage::Format_RGB32)) {}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == W && height == H)
        return;
    W = width;
    H = height;
    if (width == 0 || height == 0) {
        Image = QImage();
        return;
    }
    QImage resized = PageImage(width, height);
    resized.fill(0xFF000000u);
    if (!Image.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, Image);
    }
    Image = resized;
}

std::uint32_t* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= Height())
        throw EInvalidOperation(kScanLineOutOfRange);
    return reinterpret_cast<std::uint32_t*>(Image.scanLine(row));
}

const std::uint32_t* TBitmap::ScanLine(int row) const {
    if (row < 0 || row >= Height())
        throw EInvalidOperation(kScanLineOutOfRange);
    return reinterpret_cast<const std::uint32_t*>(Image.constScanLine(row));
}

void TBitmap::Fill(std::uint32_t value) {
    if (!Image.isNull())
        Image.fill(0xFF000000u | value);
}

void TBitmap::Assign(const TBitmap& other) {
    W = other.W;
    H = other.H;
    Image = other.Image.copy();
    Format = other.Format;
}

} // namespace ml
