#include "effects/SaveUnder.h"

namespace ml {

namespace {

// Boxes are a few pixels wide: a plain loop beats a library call per row.
void CopyRows(const std::uint32_t* from, std::ptrdiff_t fromStride, std::uint32_t* to,
              std::ptrdiff_t toStride, int width, int height) {
    for (int y = 0; y < height; ++y, from += fromStride, to += toStride)
        for (int x = 0; x < width; ++x)
            to[x] = from[x];
}

std::ptrdiff_t Stride(const TBitmap& bitmap) {
    return bitmap.ToImage().bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(std::uint32_t));
}

} // namespace

void TSaveUnder::Save(const TBitmap& target, const QRect& box) {
    const QRect kept = box & QRect(0, 0, target.Width(), target.Height());
    if (kept.isEmpty())
        return;
    if (Kept.empty())
        TargetSize = QSize(target.Width(), target.Height());
    Kept.push_back(kept);
    const std::size_t start = Pixels.size();
    Pixels.resize(start + static_cast<std::size_t>(kept.width()) * kept.height());
    CopyRows(target.ScanLine(kept.top()) + kept.left(), Stride(target), Pixels.data() + start,
             kept.width(), kept.width(), kept.height());
}

void TSaveUnder::Restore(TBitmap& target) {
    if (!Kept.empty() && TargetSize == QSize(target.Width(), target.Height())) {
        std::uint32_t* first = target.ScanLine(0);
        const std::ptrdiff_t stride = Stride(target);
        const std::uint32_t* pixels = Pixels.data() + Pixels.size();
        for (auto box = Kept.rbegin(); box != Kept.rend(); ++box) {
            pixels -= static_cast<std::ptrdiff_t>(box->width()) * box->height();
            CopyRows(pixels, box->width(), first + box->top() * stride + box->left(), stride,
                     box->width(), box->height());
        }
    }
    Forget();
}

void TSaveUnder::Forget() {
    Kept.clear();
    Pixels.clear();
}

} // namespace ml
