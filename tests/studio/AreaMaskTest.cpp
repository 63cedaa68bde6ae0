// The area mask keeps area numbers, so every colour it hands out is exact.

#include "studio/AreaMask.h"

#include "platform/Bitmap.h"
#include "studio/MaskPainting.h"

#include <gtest/gtest.h>

namespace ml::studio {
namespace {

TEST(AreaMaskTest, OnlyExactAreaColoursBecomeAreas) {
    TBitmap colours(5, 1);
    colours.SetPixel(0, 0, 0x0000FF);
    colours.SetPixel(1, 0, 0x0000FE); // one step off blue, as a JPEG leaves it
    colours.SetPixel(2, 0, 0xFF00FF);
    colours.SetPixel(3, 0, 0xFF0000);
    colours.SetPixel(4, 0, 0xFFFF00);
    const TAreaMask mask = TAreaMask::FromBitmap(colours);
    EXPECT_EQ(mask.AreaAt(0, 0), 1);
    EXPECT_EQ(mask.AreaAt(1, 0), 0);
    EXPECT_EQ(mask.AreaAt(2, 0), 2);
    EXPECT_EQ(mask.AreaAt(3, 0), 3);
    EXPECT_EQ(mask.AreaAt(4, 0), 4);
    EXPECT_EQ(mask.AreaAt(9, 0), 0);

    const TBitmap back = mask.ToBitmap();
    EXPECT_EQ(back.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(back.Pixel(1, 0), 0x000000u);
    EXPECT_EQ(back.Pixel(4, 0), 0xFFFF00u);
    EXPECT_EQ(TAreaMask::FromBitmap(back), mask);
}

TEST(AreaMaskTest, PaintingErasingAndPuttingBackAPatch) {
    TAreaMask mask(QSize(10, 10));
    TBrushStroke stroke(mask.Size(), 3);
    stroke.AddPoint({5, 5});
    const TCoverage dot = stroke.Coverage();
    const QImage before = mask.Patch(dot.Bounds);

    mask.Apply(dot, 3);
    EXPECT_EQ(mask.Counts()[3], dot.Count());
    EXPECT_EQ(mask.AreaAt(5, 5), 3);
    mask.Apply(WholeCoverage(mask.Size()), 2);
    mask.Apply(dot, 0);
    EXPECT_EQ(mask.Counts()[0], dot.Count());
    EXPECT_EQ(mask.Counts()[2], 100 - dot.Count());

    mask.Put(dot.Bounds.topLeft(), before);
    EXPECT_EQ(mask.Counts()[0], dot.Bounds.width() * dot.Bounds.height());
    EXPECT_EQ(mask.Patch(dot.Bounds), before);
}

} // namespace
} // namespace ml::studio
