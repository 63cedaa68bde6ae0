// The painting tools' shapes: which pixels a brush stroke, a polygon, a colour fill and a
// horizon take, all or nothing per pixel.

#include "studio/MaskPainting.h"

#include "platform/Bitmap.h"

#include <gtest/gtest.h>

namespace ml::studio {
namespace {

const QSize kMask(60, 50);

TCoverage Stroke(std::initializer_list<QPoint> points, int diameter, QSize mask = kMask) {
    TBrushStroke stroke(mask, diameter);
    for (QPoint p : points)
        stroke.AddPoint(p);
    return stroke.Coverage();
}

TEST(MaskPaintingTest, ABrushDotOfOnePixelTakesExactlyThatPixel) {
    const TCoverage dot = Stroke({{7, 9}}, 1);
    EXPECT_EQ(dot.Count(), 1);
    EXPECT_TRUE(dot.Covers(7, 9));
    EXPECT_EQ(dot.Bounds, QRect(7, 9, 1, 1));
}

TEST(MaskPaintingTest, ABrushStrokeTakesThePixelsWithinHalfItsSizeOfThePath) {
    // Diameter 5 along row 20 from column 10 to 30: rows 18..22 in between, round ends.
    const TCoverage line = Stroke({{10, 20}, {30, 20}}, 5);
    for (int x = 10; x <= 30; ++x)
        for (int y = 18; y <= 22; ++y)
            EXPECT_TRUE(line.Covers(x, y)) << x << "," << y;
    EXPECT_FALSE(line.Covers(20, 17));
    EXPECT_FALSE(line.Covers(20, 23));
    EXPECT_TRUE(line.Covers(8, 20));  // the round end reaches 2 pixels out
    EXPECT_FALSE(line.Covers(7, 20)); // but not 3
    EXPECT_FALSE(line.Covers(8, 18)); // and is round, not square
    EXPECT_EQ(line.Bounds, QRect(QPoint(8, 18), QPoint(32, 22)));
}

TEST(MaskPaintingTest, AStrokeOverTheEdgeKeepsToTheMask) {
    const TCoverage edge = Stroke({{-5, 2}, {3, 2}}, 5);
    EXPECT_EQ(edge.Bounds.left(), 0);
    EXPECT_EQ(edge.Bounds.top(), 0);
    EXPECT_TRUE(edge.Covers(0, 0));
    EXPECT_TRUE(Stroke({{-20, -20}}, 3).Empty());
}

TEST(MaskPaintingTest, APolygonTakesItsInsideAndItsOutline) {
    const TCoverage square = PolygonCoverage({{10, 10}, {19, 10}, {19, 19}, {10, 19}}, kMask);
    EXPECT_EQ(square.Count(), 100);
    EXPECT_EQ(square.Bounds, QRect(10, 10, 10, 10));

    const TCoverage triangle = PolygonCoverage({{0, 0}, {40, 0}, {0, 40}}, kMask);
    EXPECT_TRUE(triangle.Covers(5, 5));
    EXPECT_FALSE(triangle.Covers(30, 30));
    EXPECT_TRUE(PolygonCoverage({{1, 1}, {5, 5}}, kMask).Empty()); // two corners are no shape
}

TEST(MaskPaintingTest, AColourFillTakesTheJoinedPixelsWithinTheTolerance) {
    TBitmap picture(20, 10);
    picture.Fill(0x204060);
    for (int y = 0; y < 10; ++y)
        picture.SetPixel(10, y, 0xFFFFFF); // a wall down column 10
    picture.SetPixel(3, 3, 0x24445C);      // a near colour inside the left part
    picture.SetPixel(4, 4, 0x306070);      // a far colour inside it

    const TCoverage exact = SimilarColourCoverage(picture, {0, 0}, 0);
    EXPECT_EQ(exact.Count(), 10 * 10 - 2);
    EXPECT_FALSE(exact.Covers(3, 3));
    EXPECT_FALSE(exact.Covers(12, 5)); // the wall keeps the right part out

    const TCoverage near = SimilarColourCoverage(picture, {0, 0}, 4);
    EXPECT_TRUE(near.Covers(3, 3));
    EXPECT_FALSE(near.Covers(4, 4));
    EXPECT_EQ(near.Count(), 10 * 10 - 1);
}

TEST(MaskPaintingTest, AColourFillDoesNotLeakThroughCorners) {
    // Two blocks touching only at a corner are two regions.
    TBitmap picture(4, 4);
    picture.Fill(0x000000);
    picture.SetPixel(0, 0, 0xFF0000);
    picture.SetPixel(1, 1, 0xFF0000);
    EXPECT_EQ(SimilarColourCoverage(picture, {0, 0}, 0).Count(), 1);
    EXPECT_TRUE(SimilarColourCoverage(picture, {9, 9}, 0).Empty());
}

TEST(MaskPaintingTest, EverythingBelowALevelLineIsTaken) {
    const TCoverage below = BelowLineCoverage({5, 30}, {25, 30}, kMask);
    EXPECT_EQ(below.Bounds, QRect(0, 30, 60, 20));
    EXPECT_EQ(below.Count(), 60 * 20);
}

TEST(MaskPaintingTest, ASlantedLineIsCarriedAcrossTheWholeWidth) {
    // Falling one row per column from (10, 10): column x starts at row x, whatever the
    // points' own columns.
    const TCoverage below = BelowLineCoverage({10, 10}, {20, 20}, kMask);
    for (int x : {0, 5, 10, 30, 49}) {
        EXPECT_FALSE(below.Covers(x, x - 1)) << x;
        EXPECT_TRUE(below.Covers(x, x)) << x;
        EXPECT_TRUE(below.Covers(x, 49)) << x;
    }
    EXPECT_FALSE(below.Covers(55, 49)); // the line leaves the picture there
    EXPECT_TRUE(BelowLineCoverage({3, 0}, {3, 40}, kMask).Empty()); // no "below" a vertical
}

} // namespace
} // namespace ml::studio
