#pragma once
// What lies under small sprites drawn straight onto a frame. Each pixel a sprite draws is
// kept before it is overwritten, so that the sprites come off again exactly, whatever was
// under them, without keeping a second copy of the whole frame or even of the sprites'
// boxes (a slanted rain streak covers a few pixels of a box many times larger).

#include "platform/Bitmap.h"

#include <QRect>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ml {

class TSaveUnder {
public:
    // Notes the box of a sprite about to be drawn on target, clipped to it: the part of the
    // frame that changes on screen.
    void Note(const TBitmap& target, const QRect& box);
    // Keeps the pixel at index i of target's rows (which lie one after another) before a
    // sprite overwrites it.
    void Keep(std::size_t i, std::uint32_t value) { Pixels.push_back({i, value}); }
    // Puts every kept pixel back, the last one first (later sprites may cover earlier
    // ones), and forgets them and the boxes. Nothing is put back into a target of another
    // size than the one drawn on.
    void Restore(TBitmap& target);
    // Forgets the kept pixels and boxes without putting them back, when the target was
    // rewritten.
    void Forget();
    // The boxes noted since the last Restore or Forget, clipped, in the order noted.
    const std::vector<QRect>& Boxes() const { return Kept; }

private:
    struct TKeptPixel {
        std::size_t Index;
        std::uint32_t Value;
    };
    std::vector<QRect> Kept;
    std::vector<TKeptPixel> Pixels;
    QSize TargetSize;
};

} // namespace ml
