#include "platform/PageMemory.h"
#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ml {
namespace {

// Blocks on both sides of the size where they get pages of their own, and one whose last
// part is rounded up to a whole huge page: all arrive zero-filled, hold what is written to
// their last byte, and go back without complaint.
TEST(PageMemory, BlocksOfEverySizeArriveZeroedAndHoldTheirBytes) {
    for (const std::size_t bytes : {std::size_t{100}, kLargeBlock - 1, kLargeBlock,
                                    std::size_t{1440} * 1080, std::size_t{6220800}}) {
        TBlock block = MakeBlock(bytes);
        ASSERT_NE(block.get(), nullptr) << bytes;
        EXPECT_TRUE(std::all_of(block.get(), block.get() + bytes, [](auto b) { return b == 0; }))
            << bytes;
        block[bytes - 1] = 0xA5;
        block[0] = 0x5A;
        EXPECT_EQ(block[bytes - 1], 0xA5);
        EXPECT_EQ(block[0], 0x5A);
    }
}

TEST(PageMemory, ContainersGrowAcrossTheLargeSize) {
    std::vector<std::uint8_t, TPageAllocator<std::uint8_t>> bytes;
    for (std::size_t i = 0; i < 3 * kLargeBlock; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i));
    for (std::size_t i = 0; i < bytes.size(); i += 4099)
        ASSERT_EQ(bytes[i], static_cast<std::uint8_t>(i));
}

// Pages mapped in advance on another thread keep what they hold, wherever the range starts
// and ends; a helper given another range first finishes the one it had.
TEST(PageMemory, PagesInAdvanceKeepTheirContents) {
    std::vector<std::uint8_t> bytes(3 * kLargeBlock);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    TPagesInAdvance pages(bytes.data() + 5, bytes.size() - 10);
    pages = TPagesInAdvance(bytes.data(), 4096);
    pages.Wait();
    pages.Wait();
    TPagesInAdvance nothing(bytes.data(), 0);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], static_cast<std::uint8_t>(i * 7 + 1)) << i;
}

// A full-screen bitmap lives in such a block; copies and size changes still behave as the
// toolkit's bitmaps do.
TEST(PageMemory, BigBitmapsKeepTheirPixelsThroughCopiesAndResizes) {
    TBitmap bitmap(1920, 1080);
    EXPECT_EQ(bitmap.Pixel(1919, 1079), 0u);
    bitmap.SetPixel(1919, 1079, 0x123456);
    TBitmap copy;
    copy.Assign(bitmap);
    bitmap.SetPixel(1919, 1079, 0x654321);
    EXPECT_EQ(copy.Pixel(1919, 1079), 0x123456u);
    copy.SetSize(2000, 1100);
    EXPECT_EQ(copy.Pixel(1919, 1079), 0x123456u);
    EXPECT_EQ(copy.Pixel(1999, 1099), 0u);
}

} // namespace
} // namespace ml
