#include "backend/FullScreenSurface.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

// Drivers spell their names as they like; a software rasteriser is recognised in any case
// and anywhere in the string, and a hardware driver that merely contains similar letters is
// not taken for one.
TEST(SoftwareRenderer, RecognisedInAnySpelling) {
    EXPECT_TRUE(IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareRenderer("LLVMPIPE"));
    EXPECT_TRUE(IsSoftwareRenderer("Gallium 0.4 on softpipe"));
    EXPECT_TRUE(IsSoftwareRenderer("Software Rasterizer (SWRast)"));
    EXPECT_FALSE(IsSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
    EXPECT_FALSE(IsSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(IsSoftwareRenderer(""));
}

} // namespace
} // namespace ml
