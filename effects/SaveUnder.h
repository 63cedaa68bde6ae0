#pragma once
// What lies under small sprites drawn straight onto a frame. Each box's pixels are kept
// before something is drawn there, so that the sprites come off again exactly, whatever
// was under them, without keeping a second copy of the whole frame.

#include "platform/Bitmap.h"

#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

namespace ml {

class TSaveUnder {
public:
    // Keeps the pixels of box, clipped to the target, before something is drawn there.
    void Save(const TBitmap& target, const QRect& box);
    // Puts every kept box back, the last one first (later boxes may cover earlier
    // sprites), and forgets them. Nothing is put back into a target of another size.
    void Restore(TBitmap& target);
    // Forgets the kept boxes without putting them back, when the target was rewritten.
    void Forget();
    // The boxes kept since the last Restore or Forget, clipped, in the order kept.
    const std::vector<QRect>& Boxes() const { return Kept; }

private:
    std::vector<QRect> Kept;
    std::vector<std::uint32_t> Pixels; // the boxes' rows, one box after another
    QSize TargetSize;
};

} // namespace ml
