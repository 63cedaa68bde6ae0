#include "effects/WaveGenerator.h"
#include "WaterScene.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace ml::test {
namespace {

class WaveGeneratorTest : public ::testing::Test {
protected:
    WaveGeneratorTest() { Generator.SetFixedSeed(7); }

    // The show's sequence for one picture.
    void Start(bool weather = false) {
        Generator.SetProject(Project);
        Generator.SetWeather(false);
        Generator.Initialize();
        Generator.SetWeather(weather);
    }
    std::uint32_t Out(int x, int y) const { return Generator.CurrentFrame().Pixel(x, y); }

    TProject Project;
    TWaveGenerator Generator;
};

TEST_F(WaveGeneratorTest, WorkedExampleRowsReadSixRowsAwayAtThePeaks) {
    MakeScene(Project, 4, 768, [](int, int) { return 1; });
    Project.WaveParams[0] = Wave(6, 17, 0); // no phase step: the frame after Initialize is at 0
    Start();
    EXPECT_EQ(Pixels(Generator.CurrentFrame()), Pixels(Project.Picture));
    Generator.NextFrame();
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(Out(x, 0), Encoded(x, 6));
        EXPECT_EQ(Out(x, 384), Encoded(x, 378));
    }
}

TEST_F(WaveGeneratorTest, AreaWithoutDirectionsShowsNoMotionWhateverItsJitter) {
    MakeScene(Project, 40, 30, [](int x, int) { return x < 20 ? 2 : 0; });
    TWaveParam& p = Project.WaveParams[1];
    p = Wave(9, 5, 13);
    p.Vertical = 0;
    p.JitterRange = 6;
    Start();
    for (int i = 0; i < 5; ++i) {
        Generator.NextFrame();
        EXPECT_EQ(Pixels(Generator.CurrentFrame()), Pixels(Project.Picture));
    }
}

// Over 360 frames of one degree each, every phase occurs, so the largest sideways shift of a
// row shows its amplitude exactly.
TEST_F(WaveGeneratorTest, PerspectiveGrowsFromFirstToLastRowAndSingleRowsGetTheFullAmplitude) {
    MakeScene(Project, 300, 12, [](int, int y) { return y <= 10 ? 1 : (y == 11 ? 2 : 0); });
    for (int area : {0, 1}) {
        TWaveParam& p = Project.WaveParams[static_cast<std::size_t>(area)];
        p = Wave(50, 3, 1);
        p.Vertical = 0;
        p.Horizontal = 1;
        p.Perspective = 1;
    }
    Start();
    int largest[12] = {};
    for (int frame = 0; frame < 360; ++frame) {
        Generator.NextFrame();
        for (int y : {0, 10, 11})
            largest[y] = std::max(largest[y], std::abs(SourceColumn(Out(150, y)) - 150));
    }
    EXPECT_EQ(largest[0], 5);   // 50 / (10 - 0)
    EXPECT_EQ(largest[10], 55); // 50 x (1 + 1 / 10)
    EXPECT_EQ(largest[11], 50); // a one-row area
}

TEST_F(WaveGeneratorTest, SpeedScalesThePhaseStepWithTiesToEven) {
    struct Row {
        int Speed, Direction;
        std::int64_t AfterInitialize, AfterTwoMore;
    };
    for (Row row : {Row{50, 1, 8, 24}, Row{100, 1, 15, 45}, Row{0, 1, 0, 0}, Row{50, 0, -8, -24},
                    Row{30, 1, 4, 12} /* 4.5 rounds to 4 */}) {
        MakeScene(Project, 8, 8, [](int, int) { return 1; });
        Project.WaveParams[0] = Wave(2, 3, 15, row.Direction);
        Project.SetSpeed(row.Speed);
        Start();
        EXPECT_EQ(Generator.PhaseOffset(0), row.AfterInitialize) << row.Speed;
        EXPECT_EQ(Generator.PhaseOffset(3), 0); // zero step in the other records
        Generator.NextFrame();
        Generator.NextFrame();
        EXPECT_EQ(Generator.PhaseOffset(0), row.AfterTwoMore) << row.Speed;
    }
}

TEST_F(WaveGeneratorTest, SpeedZeroFreezesTheWavesButStillDisplaces) {
    MakeScene(Project, 6, 100, [](int, int) { return 1; });
    Project.WaveParams[0] = Wave(4, 7, 15);
    Project.SetSpeed(0);
    Start();
    Generator.NextFrame();
    const auto first = Pixels(Generator.CurrentFrame());
    EXPECT_NE(first, Pixels(Project.Picture));
    Generator.NextFrame();
    EXPECT_EQ(Pixels(Generator.CurrentFrame()), first);
}

// With one wave over 360 rows the phase of row y is 360 - y + offset, so a step of 10 degrees
// moves the whole band pattern by exactly 10 rows.
TEST_F(WaveGeneratorTest, DirectionMovesTheBandsDownOrUp) {
    for (int direction : {1, 0}) {
        MakeScene(Project, 2, 360, [](int, int) { return 1; });
        Project.WaveParams[0] = Wave(5, 1, 10, direction);
        Start();
        auto shifts = [&] {
            std::vector<int> dy;
            for (int y = 0; y < 360; ++y)
                dy.push_back(SourceRow(Out(0, y)) - y);
            return dy;
        };
        Generator.NextFrame();
        const auto before = shifts();
        Generator.NextFrame();
        const auto after = shifts();
        const int move = direction ? 10 : -10;
        for (int y = 20; y < 340; ++y)
            ASSERT_EQ(after[static_cast<std::size_t>(y)],
                      before[static_cast<std::size_t>(y - move)])
                << "direction " << direction << " row " << y;
    }
}

TEST_F(WaveGeneratorTest, PixelsWhoseSourceLiesInAnotherAreaKeepTheirOldValue) {
    // Area 1 above row 50, area 2 below, no area in column 0. With one wave over the height
    // and the phase at 0, the rows just below 50 read about 5 rows above.
    MakeScene(Project, 5, 100, [](int x, int y) { return x == 0 ? 0 : (y < 50 ? 1 : 2); });
    Project.WaveParams[0] = Wave(0, 1, 0);
    Project.WaveParams[1] = Wave(5, 1, 0);
    Start();
    Generator.NextFrame();
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 100; ++y) {
            const int sy = SourceRow(Out(x, y));
            const bool sameArea = x > 0 && (sy < 50) == (y < 50);
            ASSERT_TRUE(sameArea || Out(x, y) == Encoded(x, y)) << x << "," << y;
        }
    EXPECT_EQ(Out(2, 50), Encoded(2, 50)); // would read row 45 in the other area
    EXPECT_EQ(Out(2, 60), Encoded(2, 56));
}

TEST_F(WaveGeneratorTest, ZeroPeriodHoldsOutputPhasesAndWeather) {
    MakeScene(Project, 30, 20, [](int, int) { return 1; });
    Project.WaveParams[0] = Wave(3, 2, 15);
    Project.WaveParams[2].Period = 0; // an unused area's record is enough
    Project.Weather = {2, 50, 10, 90, 10, 0};
    Start(true);
    for (int i = 0; i < 3; ++i) {
        Generator.NextFrame();
        EXPECT_EQ(Generator.PhaseOffset(0), 0);
        EXPECT_EQ(Pixels(Generator.CurrentFrame()), Pixels(Project.Picture));
    }
}

TEST_F(WaveGeneratorTest, JitterStaysInItsRangeAndNegativeRangesCountAsNone) {
    MakeScene(Project, 500, 20, [](int, int) { return 1; });
    Project.WaveParams[0].JitterRange = 4;
    Project.WaveParams[1].JitterRange = -3;
    Project.WaveParams[2].JitterRange = 1;
    // Far more than the picture is high: the offsets keep their whole range.
    Project.WaveParams[3].JitterRange = 1000;
    Start();
    const auto& j = Generator.ColumnJitter(0);
    ASSERT_EQ(j.size(), 500u);
    EXPECT_EQ(*std::min_element(j.begin(), j.end()), 0);
    EXPECT_EQ(*std::max_element(j.begin(), j.end()), 3);
    for (int area : {1, 2})
        for (int v : Generator.ColumnJitter(area))
            ASSERT_EQ(v, 0);
    const auto& wide = Generator.ColumnJitter(3);
    EXPECT_GE(*std::min_element(wide.begin(), wide.end()), 0);
    EXPECT_LE(*std::max_element(wide.begin(), wide.end()), 999);
    EXPECT_GE(*std::max_element(wide.begin(), wide.end()), 900);
}

TEST_F(WaveGeneratorTest, AreaIndexAndRowSpans) {
    // Colours that match no area, including near misses, count as outside every area.
    MakeScene(Project, 6, 9, [](int x, int y) { return y >= 2 && y <= 5 && x > 2 ? 4 : 0; });
    Project.AreaMap.SetPixel(0, 7, 0x0000FE);
    Project.AreaMap.SetPixel(1, 8, AreaColors[2]);
    Start();
    EXPECT_EQ(Generator.AreaIndex(0, 7), -1);
    EXPECT_EQ(Generator.AreaIndex(1, 8), 1);
    EXPECT_EQ(Generator.AreaIndex(3, 2), 3);
    EXPECT_EQ(Generator.FirstRow(3), 2);
    EXPECT_EQ(Generator.LastRow(3), 5);
    EXPECT_EQ(Generator.FirstRow(1), 8);
    EXPECT_EQ(Generator.FirstRow(0), TWaveGenerator::kEmptyFirstRow);
    EXPECT_EQ(Generator.LastRow(0), TWaveGenerator::kEmptyLastRow);
}

// A generator without weather, started with the same seed, computes the same water: the
// jitter is drawn before any particle.
class WeatherTwinTest : public WaveGeneratorTest {
protected:
    void StartBoth(int kind) {
        Project.Weather.Kind = kind;
        Start(true);
        Twin.SetFixedSeed(7);
        Twin.SetProject(Project);
        Twin.SetWeather(false);
        Twin.Initialize();
    }
    // Every pixel that differs from the twin's lies in a box the particles were just drawn
    // into and has a particle's colour: a trail, old water or an earlier picture would not.
    void ExpectWaterWithParticles(const std::string& when) {
        static const std::vector<std::uint32_t> colours = {0xE1E1E1, 0xFFFFFF, 0x9E9E9E, 0xDADADA,
                                                           0xA7A7A7, 0xE3E3E3, 0xC3C3C3};
        const std::vector<QRect>& parts = Generator.ChangedParts();
        for (int y = 0; y < Generator.Height(); ++y)
            for (int x = 0; x < Generator.Width(); ++x) {
                const std::uint32_t shown = Out(x, y);
                if (shown == Twin.CurrentFrame().Pixel(x, y))
                    continue;
                const bool inPart = std::any_of(parts.begin(), parts.end(),
                                                [&](const QRect& b) { return b.contains(x, y); });
                ASSERT_TRUE(inPart && std::count(colours.begin(), colours.end(), shown) == 1)
                    << when << " at " << x << "," << y;
            }
    }
    void Step(const std::string& when) {
        const std::vector<std::uint32_t> before = Pixels(Generator.CurrentFrame());
        Generator.NextFrame();
        Twin.NextFrame();
        ExpectWaterWithParticles(when);
        // Everything that changed, water and particles, is named for the screen.
        const std::vector<std::uint32_t> after = Pixels(Generator.CurrentFrame());
        const std::vector<QRect>& parts = Generator.ChangedParts();
        for (int y = 0; y < Generator.Height(); ++y)
            for (int x = 0; x < Generator.Width(); ++x) {
                const std::size_t i = static_cast<std::size_t>(y * Generator.Width() + x);
                if (before[i] == after[i])
                    continue;
                ASSERT_TRUE(std::any_of(parts.begin(), parts.end(),
                                        [&](const QRect& b) { return b.contains(x, y); }))
                    << when << ": " << x << "," << y << " changed unreported";
            }
    }

    TWaveGenerator Twin;
};

TEST_F(WeatherTwinTest, ParticlesLieOnTheWaterAndComeOffWithoutTrails) {
    MakeScene(Project, 90, 70, [](int x, int y) { return y >= 30 && y <= 50 ? 1 + x / 30 : 0; });
    for (TWaveParam& p : Project.WaveParams) {
        p = Wave(4, 5, 17);
        p.JitterRange = 6;
        p.Horizontal = 1;
    }
    for (int kind : {1, 2}) {
        Project.Weather = {kind, 60, kind == 1 ? 6 : 3, 60, 12, 0};
        StartBoth(kind);
        const QRect band = Generator.ChangingRows();
        // From the water's first row up by the largest jitter (at most 5) to its last row.
        EXPECT_TRUE(band.top() >= 25 && band.top() <= 30) << band.top();
        EXPECT_EQ(band.bottom(), 50);
        EXPECT_EQ(band.width(), 90);
        for (int frame = 0; frame < 60; ++frame) {
            const std::string when =
                "kind " + std::to_string(kind) + " frame " + std::to_string(frame);
            if (frame == 20) {
                Generator.ResetOutput();
                Twin.ResetOutput();
            }
            if (frame == 40) { // another picture of the same size, weather left on
                for (int y = 0; y < 70; ++y)
                    for (int x = 0; x < 90; ++x)
                        Project.Picture.SetPixel(x, y, Encoded(89 - x, y));
                Generator.Initialize();
                Twin.Initialize();
            }
            Step(when);
        }
        EXPECT_FALSE(Generator.ChangedParts().empty());
        EXPECT_NE(Pixels(Generator.CurrentFrame()), Pixels(Twin.CurrentFrame()));
        // Switched off, the particles come off at once.
        Generator.SetWeather(false);
        EXPECT_EQ(Pixels(Generator.CurrentFrame()), Pixels(Twin.CurrentFrame()));
        EXPECT_EQ(Generator.Rain(), nullptr);
        EXPECT_EQ(Generator.Snow(), nullptr);
    }
}

TEST_F(WeatherTwinTest, CountIsCappedAndOtherKindsDrawNothing) {
    MakeScene(Project, 40, 60, [](int x, int y) { return (x / 7 + y / 9) % 5; });
    for (TWaveParam& p : Project.WaveParams) {
        p = Wave(5, 9, 13);
        p.JitterRange = 12;
        p.Horizontal = 1;
    }
    Project.Weather = {1, 5000, 2, 70, 10, 0};
    StartBoth(1);
    EXPECT_EQ(Generator.Snow()->Count(), 1000);
    Project.Weather = {2, 5000, 2, 70, 10, 0};
    StartBoth(2);
    EXPECT_EQ(Generator.Rain()->Count(), 1000);
    Project.Weather = {3, 100, 2, 90, 10, 0};
    StartBoth(3);
    for (int i = 0; i < 6; ++i) {
        Generator.NextFrame();
        Twin.NextFrame();
        ASSERT_EQ(Pixels(Generator.CurrentFrame()), Pixels(Twin.CurrentFrame())) << i;
    }
}

// The second run keeps its frames in memory given from outside, as the show does with memory
// the display reads: the frames are the same and are written there, not into a copy.
TEST_F(WaveGeneratorTest, SameSeedSameFramesAlsoInMemoryGivenForThem) {
    MakeScene(Project, 50, 40, [](int x, int y) { return (x + y) % 3; });
    Project.WaveParams[0] = Wave(4, 6, 11);
    Project.WaveParams[0].JitterRange = 5;
    Project.Weather = {1, 300, 4, 0, 0, 0};
    std::vector<std::uint32_t> given(50 * 40);
    std::vector<std::vector<std::uint32_t>> frames[2];
    for (auto& run : frames) {
        TWaveGenerator g;
        g.SetFixedSeed(42);
        if (&run == &frames[1])
            g.FrameStorage = [&given](int width, int height) {
                return QImage(reinterpret_cast<uchar*>(given.data()), width, height, width * 4,
                              QImage::Format_RGB32);
            };
        g.SetProject(Project);
        g.SetWeather(false);
        g.Initialize();
        g.SetWeather(true);
        for (int i = 0; i < 4; ++i) {
            g.NextFrame();
            run.push_back(Pixels(g.CurrentFrame()));
        }
        if (&run == &frames[1]) {
            EXPECT_EQ(g.CurrentFrame().ToImage().constBits(),
                      reinterpret_cast<const uchar*>(given.data()));
            for (std::size_t i = 0; i < given.size(); ++i)
                ASSERT_EQ(given[i] & 0xFFFFFFu, run.back()[i] & 0xFFFFFFu) << i;
        }
    }
    EXPECT_EQ(frames[0], frames[1]);
}

TEST_F(WaveGeneratorTest, EmptyPictureDoesNothingAndAResizedOneIsRefused) {
    Start(true);
    EXPECT_EQ(Generator.Width(), 0);
    Generator.NextFrame();
    EXPECT_TRUE(Generator.CurrentFrame().Empty());

    MakeScene(Project, 10, 10, [](int, int) { return 1; });
    Project.WaveParams[0] = Wave(1, 1, 1);
    Start();
    Project.Picture.SetSize(12, 10);
    EXPECT_THROW(Generator.NextFrame(), EInvalidOperation);
}

} // namespace
} // namespace ml::test
