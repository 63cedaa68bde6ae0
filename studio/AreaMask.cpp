#include "studio/AreaMask.h"

#include "platform/Bitmap.h"
#include "studio/MaskPainting.h"

#include <algorithm>

namespace ml::studio {

namespace {

QList<QRgb> AreaColorTable() {
    QList<QRgb> table(256, qRgba(0, 0, 0, 0));
    for (int area = 1; area <= kAreaCount; ++area)
        table[area] = 0xFF000000u | AreaColors[area];
    return table;
}

} // namespace

TAreaMask::TAreaMask(QSize size) : Numbers(size, QImage::Format_Indexed8) {
    Numbers.setColorTable(AreaColorTable());
    Numbers.fill(0);
}

TAreaMask TAreaMask::FromBitmap(const TBitmap& colours) {
    TAreaMask mask(QSize(colours.Width(), colours.Height()));
    for (int y = 0; y < colours.Height(); ++y) {
        const std::uint32_t* in = colours.ScanLine(y);
        std::uint8_t* out = mask.Numbers.scanLine(y);
        for (int x = 0; x < colours.Width(); ++x) {
            const std::uint32_t colour = in[x] & 0x00FFFFFFu;
            for (int area = 1; area <= kAreaCount; ++area)
                if (colour == AreaColors[area])
                    out[x] = static_cast<std::uint8_t>(area);
        }
    }
    return mask;
}

int TAreaMask::AreaAt(int x, int y) const {
    if (!Numbers.valid(x, y))
        return 0;
    return Numbers.constScanLine(y)[x];
}

void TAreaMask::Apply(const TCoverage& coverage, int area) {
    const QRect rect = coverage.Bounds & Numbers.rect();
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const std::uint8_t* taken = coverage.Cover.constScanLine(y - coverage.Bounds.top());
        std::uint8_t* row = Numbers.scanLine(y);
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (taken[x - coverage.Bounds.left()])
                row[x] = static_cast<std::uint8_t>(area);
    }
}

void TAreaMask::Put(QPoint at, const QImage& patch) {
    const QRect rect = QRect(at, patch.size()) & Numbers.rect();
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::copy_n(patch.constScanLine(y - at.y()) + (rect.left() - at.x()), rect.width(),
                    Numbers.scanLine(y) + rect.left());
}

TBitmap TAreaMask::ToBitmap() const {
    TBitmap bitmap(Numbers.width(), Numbers.height());
    for (int y = 0; y < Numbers.height(); ++y) {
        const std::uint8_t* in = Numbers.constScanLine(y);
        std::uint32_t* out = bitmap.ScanLine(y);
        for (int x = 0; x < Numbers.width(); ++x)
            out[x] = 0xFF000000u | AreaColors[std::min<int>(in[x], kAreaCount)];
    }
    return bitmap;
}

std::array<std::int64_t, kAreaCount + 1> TAreaMask::Counts() const {
    std::array<std::int64_t, kAreaCount + 1> counts{};
    for (int y = 0; y < Numbers.height(); ++y) {
        const std::uint8_t* row = Numbers.constScanLine(y);
        for (int x = 0; x < Numbers.width(); ++x)
            ++counts[std::min<int>(row[x], kAreaCount)];
    }
    return counts;
}

} // namespace ml::studio
