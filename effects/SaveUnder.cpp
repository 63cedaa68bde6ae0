#include "effects/SaveUnder.h"

namespace ml {

void TSaveUnder::Note(const TBitmap& target, const QRect& box) {
    if (Kept.empty() && Pixels.empty())
        TargetSize = QSize(target.Width(), target.Height());
    const QRect kept = box & QRect(0, 0, target.Width(), target.Height());
    if (!kept.isEmpty())
        Kept.push_back(kept);
}

void TSaveUnder::Restore(TBitmap& target) {
    if (!Pixels.empty() && TargetSize == QSize(target.Width(), target.Height())) {
        std::uint32_t* first = target.ScanLine(0);
        for (auto pixel = Pixels.rbegin(); pixel != Pixels.rend(); ++pixel)
            first[pixel->Index] = pixel->Value;
    }
    Forget();
}

void TSaveUnder::Forget() {
    Kept.clear();
    Pixels.clear();
}

} // namespace ml
