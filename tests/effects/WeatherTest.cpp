#include "effects/Rain.h"
#include "effects/Snow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace ml::test {
namespace {

constexpr std::uint32_t kGround = 0x204060;

struct WeatherTest : ::testing::Test {
    WeatherTest() : Target(100, 80) { Target.Fill(kGround); }
    TBitmap Target;
    TRandom Rnd{3};
};

TEST_F(WeatherTest, IndexTwoAtFullSpeedFallsPointThreeTimesSize) {
    TSnow snow(Rnd);
    snow.Target = &Target;
    snow.Flakes = {{10, 10, 2, 0}, {20, 10, 4, 1}};
    snow.Step();
    EXPECT_DOUBLE_EQ(snow.Flakes[0].Y, 10.6);
    EXPECT_DOUBLE_EQ(snow.Flakes[1].Y, 11.2);
    EXPECT_DOUBLE_EQ(snow.Flakes[1].X, 20.3);

    TRain rain(Rnd);
    rain.Target = &Target;
    rain.Drops = {{10, 10, 2, 1}, {30, 10, 4, 1}};
    rain.Step();
    EXPECT_DOUBLE_EQ(rain.Drops[0].Y, 11.8);
    EXPECT_DOUBLE_EQ(rain.Drops[1].Y, 13.6);
}

TEST_F(WeatherTest, SpeedIndexOutsideTheTableTakesItsNearestEnd) {
    struct Row {
        int Index;
        double Fall; // of a size 2 flake at 100 %
    };
    for (Row row : {Row{-4, 0.2}, Row{0, 0.2}, Row{20, 10.0}, Row{99, 10.0}}) {
        TSnow snow(Rnd);
        snow.Target = &Target;
        snow.Flakes = {{10, 10, 2, 0}};
        snow.SpeedIndex = row.Index;
        snow.Step();
        EXPECT_DOUBLE_EQ(snow.Flakes[0].Y, 10 + row.Fall) << row.Index;
    }
}

TEST_F(WeatherTest, FlakesWrapAtEachEdge) {
    struct Row {
        const char* Edge;
        Flake Start;
        double X, Y;
    };
    // v = 0.3 at the defaults; the target is 100 x 80.
    for (Row row :
         {Row{"left", {0.1, 5, 2, -1}, 100, 5.6}, Row{"right", {99.9, 5, 2, 1}, 0, 5.6},
          Row{"bottom", {40, 78.8, 2, 0}, 40, 0}, Row{"inside", {40, 78.2, 2, 0}, 40, 78.8}}) {
        TSnow snow(Rnd);
        snow.Target = &Target;
        snow.Flakes = {row.Start};
        snow.Step();
        EXPECT_DOUBLE_EQ(snow.Flakes[0].X, row.X) << row.Edge;
        EXPECT_DOUBLE_EQ(snow.Flakes[0].Y, row.Y) << row.Edge;
    }
}

TEST_F(WeatherTest, DropsLeaveByTwentyPixelsBeforeTheyReenter) {
    struct Row {
        const char* Edge;
        Drop Start;
        int Angle;
        double X, Y;
    };
    // A size 2 drop falls 1.8; at angle 0 it also moves 1.8 right, at 180 1.8 left.
    for (Row row :
         {Row{"left", {-19, 5, 2, 1}, 180, 100, 6.8}, Row{"right", {119, 5, 2, 1}, 0, -20, 6.8},
          Row{"bottom", {40, 99, 2, 1}, 90, 40, -20},
          Row{"inside", {40, 98, 2, 1}, 90, 40, 99.8}}) {
        TRain rain(Rnd);
        rain.Target = &Target;
        rain.DirectionAngle = row.Angle;
        rain.Drops = {row.Start};
        rain.Step();
        EXPECT_NEAR(rain.Drops[0].X, row.X, 1e-9) << row.Edge;
        EXPECT_NEAR(rain.Drops[0].Y, row.Y, 1e-9) << row.Edge;
    }
}

TEST_F(WeatherTest, ZeroSpeedFreezesParticlesButFlakesStillChangeSize) {
    TSnow snow(Rnd);
    snow.Target = &Target;
    snow.SetCount(50);
    snow.Seed();
    snow.SpeedPercent = 0;
    const auto before = snow.Flakes;
    bool sizeChanged = false;
    for (int i = 0; i < 100; ++i) {
        snow.Step();
        for (std::size_t k = 0; k < before.size(); ++k) {
            ASSERT_EQ(snow.Flakes[k].X, before[k].X);
            ASSERT_EQ(snow.Flakes[k].Y, before[k].Y);
            ASSERT_GE(snow.Flakes[k].Size, 2);
            ASSERT_LE(snow.Flakes[k].Size, 4);
            sizeChanged |= snow.Flakes[k].Size != before[k].Size;
        }
    }
    EXPECT_TRUE(sizeChanged);

    TRain rain(Rnd);
    rain.Drops = {{5, 5, 3, 2}};
    rain.SpeedPercent = 0;
    rain.Step();
    EXPECT_EQ(rain.Drops[0].X, 5);
    EXPECT_EQ(rain.Drops[0].Y, 5);
}

TEST_F(WeatherTest, StraightRainKeepsItsColumn) {
    TRain rain(Rnd);
    rain.Target = &Target;
    rain.SetCount(200);
    rain.Seed();
    rain.DirectionAngle = 180 - 90;
    const auto before = rain.Drops;
    for (int i = 0; i < 300; ++i)
        rain.Step();
    for (std::size_t k = 0; k < before.size(); ++k)
        ASSERT_EQ(rain.Drops[k].X, before[k].X);
}

// A size 4 drop with streak factor 1 at (5, 5), falling straight: dark from row 5 to row 7,
// bright in row 8, and the end point in row 9 left out.
TEST_F(WeatherTest, DropStreakIsDarkThenBrightWithoutItsEndPoint) {
    TRain rain(Rnd);
    rain.Target = &Target;
    rain.SpeedPercent = 0;
    rain.Drops = {{5, 5, 4, 1}};
    rain.Step();
    EXPECT_EQ(Target.Pixel(5, 4), kGround);
    for (int y : {5, 6, 7})
        EXPECT_EQ(Target.Pixel(5, y), 0xC3C3C3u) << y;
    EXPECT_EQ(Target.Pixel(5, 8), 0xFFFFFFu);
    EXPECT_EQ(Target.Pixel(5, 9), kGround);

    Target.Fill(kGround);
    rain.Drops = {{5, 5, 2, 1}};
    rain.Length = 0; // a streak of no length draws nothing
    rain.Step();
    for (std::uint32_t p : {Target.Pixel(5, 5), Target.Pixel(5, 6), Target.Pixel(4, 5)})
        EXPECT_EQ(p, kGround);
}

// Each row of a streak holds one pixel, on the line from its start rounded half up, also
// where the streak begins above the picture and drawing starts part-way along the line.
TEST_F(WeatherTest, SlantedStreaksFollowTheirLineRoundedHalfUp) {
    for (int angle : {60, 75, 100, 120, 135})
        for (int top : {5, -30}) {
            Target.Fill(kGround);
            TRain rain(Rnd);
            rain.Target = &Target;
            rain.SpeedPercent = 0;
            rain.Length = 40; // 4 x 4 x 40 / 10 = 64 rows
            rain.DirectionAngle = angle;
            rain.Drops = {{50, static_cast<double>(top), 4, 4}};
            rain.Step();
            const double slant = std::cos(angle * std::numbers::pi / 180);
            const long bottom = top + 64;
            const long right = std::lrint(50 + slant * 64);
            const long midX = std::lrint(50 + (right - 50) * 2.0 / 3);
            const long midY = std::lrint(top + 64 * 2.0 / 3);
            auto expectPart = [&](long x0, long y0, long x1, long y1, std::uint32_t colour) {
                const long n = y1 - y0;
                for (long i = std::max(0L, -y0); i < n; ++i) {
                    const long num = 2 * i * (x1 - x0) + n;
                    const long x =
                        x0 + (num >= 0 ? num / (2 * n) : -((-num + 2 * n - 1) / (2 * n)));
                    for (int c = 0; c < Target.Width(); ++c)
                        ASSERT_EQ(Target.Pixel(c, static_cast<int>(y0 + i)),
                                  c == x ? colour : kGround)
                            << "angle " << angle << " top " << top << " row " << y0 + i;
                }
            };
            expectPart(50, top, midX, midY, 0xC3C3C3u);
            expectPart(midX, midY, right, bottom, 0xFFFFFFu);
        }
}

TEST_F(WeatherTest, EndlessStreaksAreClippedToThePicture) {
    TRain rain(Rnd);
    rain.Target = &Target;
    rain.SpeedPercent = 0;
    rain.Length = std::numeric_limits<int>::max();
    rain.DirectionAngle = 60;
    rain.Drops = {{10, -20, 4, 4}, {90, 70, 3, 4}};
    rain.Step();                               // must finish at once and stay inside the bitmap
    EXPECT_EQ(Target.Pixel(20, 0), 0xC3C3C3u); // enters at x = 10 + 20 x cos 60
    rain.Length = std::numeric_limits<int>::min();
    rain.Step();
}

TEST_F(WeatherTest, FlakeIsAWhiteDiscWithAPaleOutline) {
    TSnow snow(Rnd);
    snow.Target = &Target;
    snow.SpeedPercent = 0;
    snow.Flakes = {{10, 10, 4, 0}, {99, 79, 3, 0}}; // the second one is cut by the corner
    snow.Step();
    ASSERT_EQ(snow.Flakes[0].Size, 4);        // this seed makes no size change in the first step
    EXPECT_EQ(Target.Pixel(10, 10), kGround); // corners stay free
    EXPECT_EQ(Target.Pixel(11, 10), 0xE1E1E1u);
    EXPECT_EQ(Target.Pixel(11, 11), 0xFFFFFFu);
    EXPECT_EQ(Target.Pixel(13, 12), 0xE1E1E1u);
    EXPECT_EQ(Target.Pixel(14, 12), kGround);
    EXPECT_EQ(Target.Pixel(99, 79), kGround); // corner of the cut flake
}

TEST_F(WeatherTest, CountIsLimitedAndZeroDrawsNothing) {
    TSnow snow(Rnd);
    snow.Target = &Target;
    snow.SetCount(5000);
    snow.Seed();
    EXPECT_EQ(snow.Flakes.size(), 1000u);
    snow.SetCount(0);
    snow.Seed();
    snow.Step();
    for (int y = 0; y < Target.Height(); ++y)
        for (int x = 0; x < Target.Width(); ++x)
            ASSERT_EQ(Target.Pixel(x, y), kGround);

    TRain rain(Rnd);
    rain.SetCount(-3);
    EXPECT_EQ(rain.Count(), 0);
    TBitmap none;
    rain.Target = &none;
    rain.SetCount(10);
    rain.Seed(); // an empty target puts every drop at 0, 0
    rain.Step();
    EXPECT_EQ(rain.Drops[3].X, 0);
}

} // namespace
} // namespace ml::test
