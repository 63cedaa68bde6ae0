// The painting and sound tools the demo is built from, where a slip would not be obvious
// from looking at one picture or listening to one sound.

#include "demo/Dsp.h"
#include "demo/Landscape.h"
#include "demo/Noise.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ml::demo {
namespace {

TEST(DemoNoiseTest, StaysInRangeAndIsContinuous) {
    const TValueNoise noise(5);
    double previous = noise.Fbm(0.0, 0.3, 5);
    for (int i = 1; i < 5000; ++i) {
        const double x = i * 0.001;
        const double v = noise.Fbm(x, 0.3, 5);
        ASSERT_GE(v, 0.0);
        ASSERT_LE(v, 1.0);
        // A step of a thousandth of a lattice cell never jumps: no seams across cells.
        ASSERT_LT(std::fabs(v - previous), 0.05) << "at " << x;
        previous = v;
        const double r = noise.Ridged(x * 7.0, -3.1, 4);
        ASSERT_GE(r, 0.0);
        ASSERT_LE(r, 1.0);
    }
}

TEST(DemoNoiseTest, RandomBelowCoversItsRangeOnly) {
    TDemoRandom random(9);
    int seen[7] = {};
    for (int i = 0; i < 7000; ++i) {
        const int v = random.Below(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
        ++seen[v];
    }
    for (int count : seen) {
        EXPECT_GT(count, 800);
    }
    EXPECT_EQ(random.Below(0), 0);
}

TEST(DemoWaterTest, MirrorsAboutTheShoreRow) {
    TRaster raster(8, 100);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 8; ++x) {
            raster.At(x, y) = {y / 100.0f, 0.0f, 0.0f};
        }
    }
    TAreaLayer areas(8, 100);
    for (int y = 50; y < 100; ++y) {
        for (int x = 0; x < 7; ++x) { // the last column is not water
            areas.Set(x, y, 1);
        }
    }
    TWaterStyle still;
    still.ReflectFar = 1.0f;
    still.ReflectNear = 1.0f;
    still.Darken = 1.0f;
    still.Ripples = 0.0f;
    still.Smear = 0.0f;
    still.Sway = 0.0f;
    PaintWater(raster, areas, 50, still);
    EXPECT_FLOAT_EQ(raster.At(3, 50).R, 0.49f); // first water row shows the last shore row
    EXPECT_FLOAT_EQ(raster.At(3, 55).R, 0.44f);
    EXPECT_FLOAT_EQ(raster.At(3, 99).R, 0.00f);
    EXPECT_FLOAT_EQ(raster.At(7, 60).R, 0.0f); // outside the area nothing is painted
    EXPECT_EQ(raster.At(7, 60).G, 0.0f);
}

TEST(DemoWaterTest, CoveredPixelsLeaveTheArea) {
    TRaster before(4, 4);
    TAreaLayer areas(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            areas.Set(x, y, 2);
        }
    }
    TRaster after = before;
    after.At(1, 2) = {0.5f, 0.5f, 0.5f};
    after.At(2, 2) = {0.001f, 0.0f, 0.0f}; // too faint to matter
    ReleaseCovered(areas, before, after);
    EXPECT_EQ(areas.Get(1, 2), 0);
    EXPECT_EQ(areas.Get(2, 2), 2);
    EXPECT_EQ(areas.Get(0, 0), 2);
}

double Gain(TBiquad filter, double frequency) {
    double sumIn = 0;
    double sumOut = 0;
    for (int i = 0; i < kSampleRate; ++i) {
        const auto x =
            static_cast<float>(std::sin(2.0 * 3.14159265358979 * frequency * i / kSampleRate));
        const float y = filter.Process(x);
        if (i > kSampleRate / 10) { // past the filter's settling
            sumIn += x * x;
            sumOut += y * y;
        }
    }
    return std::sqrt(sumOut / sumIn);
}

struct TFilterRow {
    const char* Name;
    TBiquad Filter;
    double Pass;
    double Stop;
};

TEST(DemoDspTest, FiltersPassAndStopWhereTheyShould) {
    const TFilterRow rows[] = {
        {"low-pass 1 kHz", TBiquad::LowPass(1000, 0.707), 200, 6000},
        {"high-pass 2 kHz", TBiquad::HighPass(2000, 0.707), 7000, 300},
        {"band-pass 500 Hz", TBiquad::BandPass(500, 2.0), 500, 4000},
    };
    for (const TFilterRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_GT(Gain(row.Filter, row.Pass), 0.85);
        EXPECT_LT(Gain(row.Filter, row.Stop), 0.15);
    }
}

TEST(DemoDspTest, ReverbAddsItsTailAndDiesAway) {
    TSignal click(100, 0.0f);
    click[0] = 1.0f;
    const TSignal wet = Reverb(click, 0.5f, 0.7f, Samples(2.0));
    ASSERT_EQ(wet.size(), click.size() + Samples(2.0));
    double early = 0;
    double late = 0;
    for (std::size_t i = 2000; i < 6000; ++i) {
        early += std::fabs(wet[i]);
    }
    for (std::size_t i = wet.size() - 4000; i < wet.size(); ++i) {
        late += std::fabs(wet[i]);
    }
    EXPECT_GT(early, 0.0);
    EXPECT_LT(late, early * 0.05);
}

} // namespace
} // namespace ml::demo
