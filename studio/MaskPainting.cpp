#include "studio/MaskPainting.h"

#include "platform/Bitmap.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ml::studio {

namespace {

QImage Blank(QSize size) {
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(0);
    return image;
}

// The coverage of a full-size image, cut to bounds.
TCoverage Cut(const QImage& full, QRect bounds) {
    bounds &= full.rect();
    if (bounds.isEmpty())
        return {};
    return {bounds, full.copy(bounds)};
}

// Squared distance from p to the segment a..b.
double DistanceSquared(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    double t = length > 0 ? QPointF::dotProduct(p - a, ab) / length : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return QPointF::dotProduct(d, d);
}

} // namespace

bool TCoverage::Covers(int x, int y) const {
    if (!Bounds.contains(x, y))
        return false;
    return Cover.constScanLine(y - Bounds.top())[x - Bounds.left()] != 0;
}

int TCoverage::Count() const {
    int count = 0;
    for (int y = 0; y < Cover.height(); ++y) {
        const std::uint8_t* row = Cover.constScanLine(y);
        count +=
            static_cast<int>(std::count_if(row, row + Cover.width(), [](auto v) { return v; }));
    }
    return count;
}

TBrushStroke::TBrushStroke(QSize mask, int diameter)
    : MaskSize(mask), Size(std::max(1, diameter)), Full(Blank(mask)) {}

void TBrushStroke::AddPoint(QPoint point) {
    // Pixel centres lie half a pixel in; the brush is centred on the pixel under the pointer.
    const QPointF here = QPointF(point) + QPointF(0.5, 0.5);
    const QPointF from = Path.empty() ? here : QPointF(Path.back()) + QPointF(0.5, 0.5);
    Path.push_back(point);
    TakeSegment(from, here);
}

void TBrushStroke::TakeSegment(QPointF from, QPointF to) {
    const double radius = Size / 2.0;
    const QRect box =
        QRect(QPoint(static_cast<int>(std::floor(std::min(from.x(), to.x()) - radius)),
                     static_cast<int>(std::floor(std::min(from.y(), to.y()) - radius))),
              QPoint(static_cast<int>(std::ceil(std::max(from.x(), to.x()) + radius)),
                     static_cast<int>(std::ceil(std::max(from.y(), to.y()) + radius)))) &
        Full.rect();
    if (box.isEmpty())
        return;
    const double limit = radius * radius;
    QRect taken;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        std::uint8_t* row = Full.scanLine(y);
        for (int x = box.left(); x <= box.right(); ++x)
            if (DistanceSquared(QPointF(x + 0.5, y + 0.5), from, to) <= limit) {
                row[x] = 255;
                taken |= QRect(x, y, 1, 1);
            }
    }
    Bounds |= taken;
}

TCoverage TBrushStroke::Coverage() const {
    return Cut(Full, Bounds);
}

TCoverage PolygonCoverage(const std::vector<QPoint>& points, QSize mask) {
    if (points.size() < 3)
        return {};
    QPolygon polygon(static_cast<int>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        polygon[static_cast<int>(i)] = points[i];
    // The outline's own pixels belong to the shape too, so the box reaches one pixel further.
    const QRect bounds = polygon.boundingRect().adjusted(0, 0, 1, 1) & QRect(QPoint(), mask);
    if (bounds.isEmpty())
        return {};
    QImage cover = Blank(bounds.size());
    {
        QPainter painter(&cover);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(255, 255, 255), 1));
        painter.setBrush(QColor(255, 255, 255));
        painter.translate(-bounds.topLeft());
        painter.drawPolygon(polygon, Qt::WindingFill);
    }
    // The outline's box may hold a row or column the shape does not reach.
    QRect taken;
    for (int y = 0; y < cover.height(); ++y) {
        const std::uint8_t* row = cover.constScanLine(y);
        for (int x = 0; x < cover.width(); ++x)
            if (row[x])
                taken |= QRect(x, y, 1, 1);
    }
    if (taken.isEmpty())
        return {};
    return {taken.translated(bounds.topLeft()), cover.copy(taken)};
}

TCoverage SimilarColourCoverage(const TBitmap& picture, QPoint seed, int tolerance) {
    const int width = picture.Width();
    const int height = picture.Height();
    if (seed.x() < 0 || seed.y() < 0 || seed.x() >= width || seed.y() >= height)
        return {};
    const std::uint32_t start = picture.Pixel(seed.x(), seed.y());
    auto similar = [&](std::uint32_t colour) {
        for (int shift : {0, 8, 16}) {
            const int a = static_cast<int>((colour >> shift) & 0xFF);
            const int b = static_cast<int>((start >> shift) & 0xFF);
            if (std::abs(a - b) > tolerance)
                return false;
        }
        return true;
    };

    QImage full = Blank(QSize(width, height));
    QRect bounds;
    // Scan-line fill: each popped point grows to the whole stretch of its row, then the rows
    // above and below are searched for stretches to continue in.
    std::vector<QPoint> pending{seed};
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        std::uint8_t* taken = full.scanLine(p.y());
        const std::uint32_t* row = picture.ScanLine(p.y());
        if (taken[p.x()] || !similar(row[p.x()] & 0x00FFFFFFu))
            continue;
        int left = p.x();
        int right = p.x();
        while (left > 0 && !taken[left - 1] && similar(row[left - 1] & 0x00FFFFFFu))
            --left;
        while (right + 1 < width && !taken[right + 1] && similar(row[right + 1] & 0x00FFFFFFu))
            ++right;
        std::fill(taken + left, taken + right + 1, 255);
        bounds |= QRect(left, p.y(), right - left + 1, 1);
        for (int y : {p.y() - 1, p.y() + 1}) {
            if (y < 0 || y >= height)
                continue;
            const std::uint8_t* next = full.constScanLine(y);
            const std::uint32_t* colours = picture.ScanLine(y);
            for (int x = left; x <= right; ++x)
                if (!next[x] && similar(colours[x] & 0x00FFFFFFu) &&
                    (x == left || !similar(colours[x - 1] & 0x00FFFFFFu) || next[x - 1]))
                    pending.emplace_back(x, y);
        }
    }
    return Cut(full, bounds);
}

TCoverage WholeCoverage(QSize mask) {
    if (mask.isEmpty())
        return {};
    QImage cover(mask, QImage::Format_Grayscale8);
    cover.fill(255);
    return {QRect(QPoint(), mask), cover};
}

TCoverage BelowLineCoverage(QPoint a, QPoint b, QSize mask) {
    // A vertical line has no "below".
    if (a.x() == b.x() || mask.isEmpty())
        return {};
    const double slope = static_cast<double>(b.y() - a.y()) / (b.x() - a.x());
    QImage full = Blank(mask);
    QRect bounds;
    for (int x = 0; x < mask.width(); ++x) {
        // Through the pixel centres of a and b, a centre lies on or below the line from the
        // first whole row at or past this height; the small allowance keeps a centre exactly
        // on the line from being lost to rounding.
        const double edge = a.y() + slope * (x - a.x());
        const int first =
            static_cast<int>(std::clamp(std::ceil(edge - 1e-9), 0.0, double(mask.height())));
        for (int y = first; y < mask.height(); ++y)
            full.scanLine(y)[x] = 255;
        if (first < mask.height())
            bounds |= QRect(x, first, 1, mask.height() - first);
    }
    return Cut(full, bounds);
}

} // namespace ml::studio
