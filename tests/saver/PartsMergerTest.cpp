#include "saver/SharedFrames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace ml {
namespace {

std::int64_t Pixels(const std::vector<QRect>& rects) {
    std::int64_t sum = 0;
    for (const QRect& r : rects)
        sum += std::int64_t{r.width()} * r.height();
    return sum;
}

// What a frame of rain over a lake changes: whole-width rows of water and the boxes of the
// streaks taken off and drawn, scattered over the picture (anywhere, even partly off it).
std::vector<QRect> RainyFrame(std::mt19937& rng) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(rng); };
    std::vector<QRect> parts;
    for (int top = 640; top < 1080; top += pick(2, 12))
        parts.push_back(QRect(0, top, 1920, pick(1, 6)));
    for (int i = 0; i < 450; ++i) {
        const int x = pick(-20, 1930), y = pick(-20, 1090), height = pick(4, 24);
        parts.push_back(QRect(x, y, pick(1, 4), height));
        parts.push_back(QRect(x, y + pick(4, 14), pick(1, 4), height));
    }
    return parts;
}

TEST(PartsMergerTest, CoversEveryPartWithFarFewerRectangles) {
    std::mt19937 rng(15);
    TPartsMerger merger;
    for (int frame = 0; frame < 3; ++frame) {
        const std::vector<QRect> parts = RainyFrame(rng);
        const std::vector<QRect> merged = merger.Merge(parts);
        QRect bounds;
        for (const QRect& part : parts)
            bounds |= part;
        for (const QRect& r : merged)
            ASSERT_TRUE(bounds.contains(r)) << "a rectangle reaches beyond the parts";
        std::vector<bool> put(static_cast<std::size_t>(bounds.width()) * bounds.height());
        auto at = [&](int x, int y) {
            return static_cast<std::size_t>(y - bounds.top()) * bounds.width() + x - bounds.left();
        };
        for (const QRect& r : merged)
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    put[at(x, y)] = true;
        for (const QRect& part : parts)
            for (int y = part.top(); y <= part.bottom(); ++y)
                for (int x = part.left(); x <= part.right(); ++x)
                    ASSERT_TRUE(put[at(x, y)]) << "(" << x << ", " << y << ") of a part is not put";
        EXPECT_LT(merged.size(), parts.size() / 3);
        // Joined only where a request costs more: the sky is not put whole.
        EXPECT_LT(Pixels(merged), 1920 * 1080 * 3 / 5);
    }
}

TEST(PartsMergerTest, JoinsNeighboursButNotDistantParts) {
    TPartsMerger merger;
    // Two streaks a few columns apart go as one; a third far along the same rows alone.
    const std::vector<QRect> near{QRect(100, 50, 2, 16), QRect(108, 54, 2, 16),
                                  QRect(1500, 50, 2, 16)};
    const std::vector<QRect> merged = merger.Merge(near);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0], QRect(QPoint(100, 50), QPoint(109, 69)));
    EXPECT_EQ(merged[1], QRect(1500, 50, 2, 16));

    // Whole-width rows over many cells go as one rectangle; rows far below as another.
    const std::vector<QRect> rows{QRect(0, 630, 1920, 300), QRect(0, 1000, 1920, 8)};
    EXPECT_EQ(merger.Merge(rows), rows);

    EXPECT_TRUE(merger.Merge({}).empty());
    EXPECT_TRUE(merger.Merge({QRect()}).empty());
}

} // namespace
} // namespace ml
