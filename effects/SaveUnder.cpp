#include "effects/SaveUnder.h"

#include <algorithm>

namespace ml {

void TSaveUnder::Save(const TBitmap& target, const QRect& box) {
    const QRect kept = box & QRect(0, 0, target.Width(), target.Height());
    if (kept.isEmpty())
        return;
    if (Kept.empty())
        TargetSize = QSize(target.Width(), target.Height());
    Kept.push_back(kept);
    for (int y = kept.top(); y <= kept.bottom(); ++y) {
        const std::uint32_t* row = target.ScanLine(y) + kept.left();
        Pixels.insert(Pixels.end(), row, row + kept.width());
    }
}

void TSaveUnder::Restore(TBitmap& target) {
    if (TargetSize == QSize(target.Width(), target.Height())) {
        auto pixels = Pixels.end();
        for (auto box = Kept.rbegin(); box != Kept.rend(); ++box) {
            pixels -= static_cast<std::ptrdiff_t>(box->width()) * box->height();
            auto from = pixels;
            for (int y = box->top(); y <= box->bottom(); ++y, from += box->width())
                std::copy(from, from + box->width(), target.ScanLine(y) + box->left());
        }
    }
    Forget();
}

void TSaveUnder::Forget() {
    Kept.clear();
    Pixels.clear();
}

} // namespace ml
