// The generator's frame loop takes short cuts (runs, split edges, narrowed shifts). Here the
// frame rule is written out the plain way, pixel by pixel, and the two must agree on scenes
// that reach every edge: large shifts, clamped rows and columns, jitter, odd periods.

#include "WaterScene.h"
#include "effects/WaveGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>

namespace ml::test {
namespace {

std::int64_t Round(double v) {
    return static_cast<std::int64_t>(std::nearbyint(v));
}
double Cos(std::int64_t degrees) {
    return std::cos(static_cast<double>(degrees) * std::numbers::pi / 180.0);
}
std::int64_t Limit(std::int64_t v, std::int64_t high) {
    return std::clamp<std::int64_t>(v, 0, high);
}

std::vector<std::uint32_t> ReferenceFrame(const TWaveGenerator& g, const TProject& project,
                                          std::vector<std::uint32_t> out) {
    const int w = g.Width();
    const int h = g.Height();
    double A[4], F[4], dA[4] = {}, dF[4] = {};
    std::int64_t dy[4] = {}, dx[4] = {};
    for (int i = 0; i < 4; ++i) {
        const TWaveParam& p = project.WaveParams[static_cast<std::size_t>(i)];
        A[i] = p.Amplitude;
        F[i] = p.WaveCount / (360.0 / p.Period);
        if (p.Perspective) {
            A[i] = 0;
            const int rows = g.LastRow(i) - g.FirstRow(i);
            dA[i] = rows ? static_cast<double>(p.Amplitude) / rows : p.Amplitude;
            dF[i] = rows ? F[i] / rows : F[i];
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int i = 0; i < 4; ++i) {
            if (y < g.FirstRow(i) || y > g.LastRow(i))
                continue;
            const TWaveParam& p = project.WaveParams[static_cast<std::size_t>(i)];
            if (p.Perspective) {
                A[i] += dA[i];
                F[i] -= dF[i] / 10;
            }
            const std::int64_t phase = Round((h - y) * F[i] * 360 / h + g.PhaseOffset(i));
            dy[i] = Round(A[i] * Cos(phase % p.Period));
            dx[i] = Round(A[i] * Cos(phase % 360));
        }
        for (int x = 0; x < w; ++x) {
            const int a = g.AreaIndex(x, y);
            if (a < 0)
                continue;
            const TWaveParam& p = project.WaveParams[static_cast<std::size_t>(a)];
            const int j = g.ColumnJitter(a)[static_cast<std::size_t>(x)];
            const std::int64_t sy = Limit(y - j + (p.Vertical ? dy[a] : 0), h - 1);
            const std::int64_t ty = Limit(y - j, h - 1);
            const std::int64_t sx = p.Horizontal ? Limit(x + dx[a], w - 1) : x;
            if (g.AreaIndex(static_cast<int>(sx), static_cast<int>(ty)) == a &&
                g.AreaIndex(static_cast<int>(sx), static_cast<int>(sy)) == a)
                out[static_cast<std::size_t>(ty * w + x)] =
                    project.Picture.Pixel(static_cast<int>(sx), static_cast<int>(sy));
        }
    }
    return out;
}

// What the screen is sent of a frame is what ChangedParts names: every pixel that changed
// must lie in one of them.
void ExpectChangesReported(const TWaveGenerator& g, const std::vector<std::uint32_t>& before,
                           const std::vector<std::uint32_t>& after, const std::string& scene) {
    const std::vector<QRect>& parts = g.ChangedParts();
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (before[i] == after[i])
            continue;
        const QPoint at(static_cast<int>(i) % g.Width(), static_cast<int>(i) / g.Width());
        ASSERT_TRUE(std::any_of(parts.begin(), parts.end(),
                                [&](const QRect& part) { return part.contains(at); }))
            << scene << ": pixel (" << at.x() << ", " << at.y() << ") changed unreported";
    }
}

// Runs frames of a scene through the generator and the plain rule side by side.
void ExpectFramesFollowTheRule(TProject& project, std::uint64_t seed, int frames,
                               const std::string& scene,
                               const std::function<void(int)>& beforeFrame = nullptr) {
    TWaveGenerator g;
    g.SetFixedSeed(seed);
    g.SetProject(project);
    g.SetWeather(false);
    g.Initialize();
    const int w = g.Width();
    for (int frame = 0; frame < frames; ++frame) {
        if (beforeFrame)
            beforeFrame(frame);
        const auto before = Pixels(g.CurrentFrame());
        const auto expected = ReferenceFrame(g, project, before);
        g.NextFrame();
        const auto actual = Pixels(g.CurrentFrame());
        ExpectChangesReported(g, before, actual, scene);
        const auto miss = std::mismatch(actual.begin(), actual.end(), expected.begin());
        ASSERT_TRUE(miss.first == actual.end())
            << scene << " frame " << frame << ": pixel (" << (miss.first - actual.begin()) % w
            << ", " << (miss.first - actual.begin()) / w << ") reads (" << SourceColumn(*miss.first)
            << ", " << SourceRow(*miss.first) << ") instead of (" << SourceColumn(*miss.second)
            << ", " << SourceRow(*miss.second) << ")";
    }
}

// A shift many times the picture's height combined with a jitter of several heights: the
// source row lands at the bottom or the top only by their sum, so neither may be cut short
// on its own.
TEST(FrameRuleTest, LargeShiftsWithLargeJitterClampOnlyWhereTheRuleDoes) {
    for (const int amplitude : {100, -100, 2000000000}) {
        for (std::uint64_t seed = 0; seed < 20; ++seed) {
            TProject project;
            MakeScene(project, 4, 10, [](int, int) { return 1; });
            TWaveParam& p = project.WaveParams[0];
            p = Wave(amplitude, 3, 7);
            p.JitterRange = 50;
            ExpectFramesFollowTheRule(project, seed, 6,
                                      "amplitude " + std::to_string(amplitude) + " seed " +
                                          std::to_string(seed));
            if (HasFatalFailure())
                return;
        }
    }
}

// Broad water with small waves and jitter, broken by reeds and an island, as real pictures
// are: most of it is filled output row by output row (among the reeds with the area checks,
// in open water without), which must make no difference, also when the waves grow after the
// water was set up.
TEST(FrameRuleTest, OpenWaterFilledByRowsMatchesThePlainRule) {
    std::mt19937 rng(77);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(rng); };
    for (int scene = 0; scene < 40; ++scene) {
        TProject project;
        const int w = pick(40, 130);
        const int h = pick(40, 100);
        const int shore = pick(0, h / 2);
        const int reedEvery = pick(5, 40);
        MakeScene(project, w, h, [&](int x, int y) {
            if (y < shore || (x % reedEvery < 2 && y < shore + h / 4))
                return 0;
            if (x > w / 3 && x < w / 2 && y > h * 2 / 3 && y < h * 3 / 4)
                return 3;                                   // an island of another area
            return y < (shore + h) / 2 + x / 5 % 4 ? 1 : 2; // a ragged line between two areas
        });
        for (TWaveParam& p : project.WaveParams) {
            p = Wave(pick(-4, 6), pick(1, 30), pick(-20, 20), pick(0, 1));
            p.Horizontal = static_cast<std::uint8_t>(pick(0, 1));
            p.Vertical = static_cast<std::uint8_t>(pick(0, 2) != 0);
            p.Perspective = static_cast<std::uint8_t>(pick(0, 1));
            p.JitterRange = pick(0, 6);
        }
        if (scene % 4 == 0) {
            // Sideways only, with a jitter deeper than the waves: the upper area's last rows
            // have columns whose jitter reaches into the lower area.
            TWaveParam& upper = project.WaveParams[0];
            upper = Wave(3, pick(5, 30), pick(5, 20));
            upper.Vertical = 0;
            upper.Horizontal = 1;
            upper.JitterRange = 6;
        }
        const int grownAt = pick(0, 1) ? pick(1, 4) : -1;
        ExpectFramesFollowTheRule(project, static_cast<std::uint64_t>(scene), 6,
                                  "open water " + std::to_string(scene), [&](int frame) {
                                      if (frame == grownAt)
                                          for (TWaveParam& p : project.WaveParams)
                                              p.Amplitude = p.Amplitude * 3 + 1;
                                  });
        if (HasFatalFailure())
            return;
    }
}

TEST(FrameRuleTest, FastFrameMatchesThePlainRule) {
    std::mt19937 rng(2024);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(rng); };
    for (int scene = 0; scene < 400; ++scene) {
        TProject project;
        const int w = pick(1, 70);
        const int h = pick(1, 70);
        // Blobs of areas: a few rectangles painted over one another, plus some noise.
        std::vector<int> map(static_cast<std::size_t>(w * h), 0);
        for (int r = pick(1, 6); r > 0; --r) {
            const int x0 = pick(0, w - 1), y0 = pick(0, h - 1);
            const int x1 = pick(x0, w - 1), y1 = pick(y0, h - 1), n = pick(0, 4);
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    map[static_cast<std::size_t>(y * w + x)] = n;
        }
        for (int k = pick(0, w * h / 8); k > 0; --k)
            map[static_cast<std::size_t>(pick(0, w * h - 1))] = pick(0, 4);
        MakeScene(project, w, h,
                  [&](int x, int y) { return map[static_cast<std::size_t>(y * w + x)]; });
        for (TWaveParam& p : project.WaveParams) {
            const int amplitudeKind = pick(0, 3);
            p.Amplitude = amplitudeKind == 0   ? pick(-3000000, 3000000)
                          : amplitudeKind == 1 ? pick(-3, 3)
                                               : pick(-12, 30);
            p.WaveCount = pick(-5, 40);
            p.PhaseStep = pick(-20, 40);
            p.Direction = pick(0, 1);
            p.Horizontal = static_cast<std::uint8_t>(pick(0, 1));
            p.Vertical = static_cast<std::uint8_t>(pick(0, 1));
            p.Perspective = static_cast<std::uint8_t>(pick(0, 1));
            const int periods[] = {360, 360, 180, 90, 720, 45, -360, 17};
            p.Period = periods[pick(0, 7)];
            // None, a few values as real pictures have, or many.
            const int jitterKind = pick(0, 2);
            p.JitterRange =
                jitterKind == 0 ? 0 : (jitterKind == 1 ? pick(-2, 9) : pick(-2, 12 * h));
        }
        project.SetSpeed(pick(0, 300));

        ExpectFramesFollowTheRule(project, static_cast<std::uint64_t>(scene), 4,
                                  "scene " + std::to_string(scene));
        if (HasFatalFailure())
            return;
    }
}

} // namespace
} // namespace ml::test
