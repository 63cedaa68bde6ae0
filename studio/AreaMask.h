#pragma once
// The water areas of a picture as the author paints them: one area number (0 for dry land,
// 1 to 4 for the areas) per pixel of the picture as opened. Keeping numbers instead of colours
// means no pixel can ever hold a colour between two areas; the exact area colours are made
// only when the mask is handed to the picture file or the water.

#include "project/ProjectRecords.h"

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>

namespace ml {
class TBitmap;
}

namespace ml::studio {

struct TCoverage;

class TAreaMask {
public:
    TAreaMask() = default;
    // All dry land.
    explicit TAreaMask(QSize size);
    // Pixels in an exact area colour belong to that area; every other colour is dry land.
    static TAreaMask FromBitmap(const TBitmap& colours);

    QSize Size() const { return Numbers.size(); }
    bool Empty() const { return Numbers.isNull(); }
    // 0..4; 0 outside the mask.
    int AreaAt(int x, int y) const;
    // Gives the covered pixels to area (0 erases them).
    void Apply(const TCoverage& coverage, int area);
    // The numbers of a rectangle, and putting them back: the undo steps' before and after.
    QImage Patch(QRect rect) const { return Numbers.copy(rect); }
    void Put(QPoint at, const QImage& patch);

    // The mask in the exact area colours (0x00RRGGBB), as the picture file and the water read
    // it.
    TBitmap ToBitmap() const;
    // The numbers as an 8-bit picture whose colour table shows each area in its colour and
    // dry land not at all: drawn half-transparent over the picture, it is the overlay.
    const QImage& Image() const { return Numbers; }
    // Pixels per area number.
    std::array<std::int64_t, kAreaCount + 1> Counts() const;

    bool operator==(const TAreaMask& other) const { return Numbers == other.Numbers; }

private:
    QImage Numbers; // Format_Indexed8, values 0..4
};

} // namespace ml::studio
