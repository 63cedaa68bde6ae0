#pragma once
// The shapes an author marks water with, as coverage: which pixels of the mask a brush
// stroke, a lasso, a colour fill or a horizon takes. A pixel is taken or not, never partly,
// so a painted mask holds nothing but exact area numbers and the show sees every pixel of it.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

namespace ml {
class TBitmap;
}

namespace ml::studio {

struct TCoverage {
    QRect Bounds; // in mask pixels; empty when nothing is taken
    QImage Cover; // Bounds.size(), Format_Grayscale8: non-zero where taken

    bool Empty() const { return Bounds.isEmpty(); }
    // Mask coordinates; false outside Bounds.
    bool Covers(int x, int y) const;
    int Count() const;
};

// A round brush dragged along points: every pixel whose centre lies within half the diameter
// of the path. A full-size coverage grows with each point, so a long stroke costs only what
// each new piece of it touches.
class TBrushStroke {
public:
    TBrushStroke(QSize mask, int diameter);

    void AddPoint(QPoint point);
    const std::vector<QPoint>& Points() const { return Path; }
    int Diameter() const { return Size; }
    // What the stroke takes so far, cut to its bounds.
    TCoverage Coverage() const;

private:
    void TakeSegment(QPointF from, QPointF to);

    QSize MaskSize;
    int Size;
    std::vector<QPoint> Path;
    QImage Full;
    QRect Bounds;
};

// The inside of the closed polygon through the points (a lasso or a polygon; a shape that
// crosses itself is filled where it winds).
TCoverage PolygonCoverage(const std::vector<QPoint>& points, QSize mask);

// The pixels joined to seed through their four neighbours whose colour differs from the
// seed's by at most tolerance (0..255) in each of red, green and blue.
TCoverage SimilarColourCoverage(const TBitmap& picture, QPoint seed, int tolerance);

// Every pixel of the mask.
TCoverage WholeCoverage(QSize mask);

// Every pixel on or below the straight line through a and b, carried across the whole width:
// "everything below this line". A pixel counts when its centre is not above the line.
TCoverage BelowLineCoverage(QPoint a, QPoint b, QSize mask);

} // namespace ml::studio
