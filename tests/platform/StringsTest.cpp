#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ml {
namespace {

using Lines = std::vector<std::string>;

TEST(Strings, SplitLinesTakesCrLfCrAndLfEachAsOneBreak) {
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("one"), Lines{"one"});
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    // LF CR is two breaks, and so are two of either kind; a last break ends the last line.
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\r\n\nb\r\n"), (Lines{"a", "", "", "b"}));
    EXPECT_EQ(SplitLines("\n"), Lines{""});
    EXPECT_EQ(SplitLines("a\r"), Lines{"a"});
}

} // namespace
} // namespace ml
