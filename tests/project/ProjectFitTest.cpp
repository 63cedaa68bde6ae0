// FitToDisplay: the target size with and without the aspect ratio, the wave sizes that follow
// it, and an area map scaled by nearest pixels; a load for a fit against a load and a fit.

#include "project/Project.h"
#include "tests/project/ProjectSamples.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ml::test {
namespace {

// A project whose picture and area map are w x h, with area bands, and whose four areas have
// the given amplitude and jitter.
TProject MakeProject(int w, int h, int amplitude, int jitter) {
    TProject project;
    project.Picture = RampBitmap(w, h);
    project.AreaMap = TBitmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            project.AreaMap.SetPixel(x, y, AreaColors[(x / 3 + y / 2) % 5]);
    project.Thumbnail = RampBitmap(4, 3);
    for (TWaveParam& wave : project.WaveParams) {
        wave.Amplitude = amplitude;
        wave.JitterRange = jitter;
        wave.PhaseStep = 15;
    }
    return project;
}

// Every pixel of the scaled map is the whole map's pixel under its centre.
void ExpectNearestPixels(const TBitmap& scaled, const TBitmap& whole) {
    for (int y = 0; y < scaled.Height(); ++y) {
        const int sy = static_cast<int>(std::floor((y + 0.5) * whole.Height() / scaled.Height()));
        for (int x = 0; x < scaled.Width(); ++x) {
            const int sx = static_cast<int>(std::floor((x + 0.5) * whole.Width() / scaled.Width()));
            ASSERT_EQ(scaled.Pixel(x, y), whole.Pixel(sx, sy)) << x << "," << y;
        }
    }
}

TEST(ProjectFit, KeepingTheAspectRatio) {
    struct Row {
        int W, H, Amplitude, Jitter;
        int TargetW, TargetH;
        int FitW, FitH, NewAmplitude, NewJitter;
    } rows[] = {
        // Equal ratios take the width-from-height branch: 1.28 both ways; 6 * 1.28 = 7.68.
        {800, 600, 6, 25, 1024, 768, 1024, 768, 8, 32},
        // Wider picture: height from width; 1.024 both ways, 125 * 1.024 = 128.
        {1000, 500, 125, 10, 1024, 768, 1024, 512, 128, 10},
        // Halves round to even: 5 * 1.5 = 7.5 -> 8, 3 * 1.5 = 4.5 -> 4.
        {200, 100, 5, 3, 300, 768, 300, 150, 8, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.W) + "x" + std::to_string(row.H));
        TProject project = MakeProject(row.W, row.H, row.Amplitude, row.Jitter);
        project.FitToDisplay(true, row.TargetW, row.TargetH);
        EXPECT_EQ(project.Picture.Width(), row.FitW);
        EXPECT_EQ(project.Picture.Height(), row.FitH);
        EXPECT_EQ(project.AreaMap.Width(), row.FitW);
        EXPECT_EQ(project.AreaMap.Height(), row.FitH);
        EXPECT_EQ(project.WaveParam(2).Amplitude, row.NewAmplitude);
        EXPECT_EQ(project.WaveParam(2).JitterRange, row.NewJitter);
        EXPECT_EQ(project.WaveParam(2).PhaseStep, 15);
        EXPECT_EQ(project.Thumbnail.Width(), 4);
    }
}

TEST(ProjectFit, StretchingTakesNearestAreaPixelsAndTheBilinearPicture) {
    TProject project = MakeProject(40, 30, 10, 10);
    const TBitmap original = project.Picture;
    const TBitmap originalMap = project.AreaMap;
    project.FitToDisplay(false, 97, 23);
    ASSERT_EQ(project.Picture.Width(), 97);
    ASSERT_EQ(project.Picture.Height(), 23);
    EXPECT_EQ(project.WaveParam(0).Amplitude, 24);  // 10 * 97 / 40 = 24.25
    EXPECT_EQ(project.WaveParam(0).JitterRange, 8); // 10 * 23 / 30 = 7.67
    ExpectNearestPixels(project.AreaMap, originalMap);
    // The pixel buffer keeps its rows bottom-up, so its fixed-point origin, where the bilinear
    // fit takes the source pixel unblended, is the bottom-left corner.
    EXPECT_EQ(project.Picture.Pixel(0, 22), original.Pixel(0, 29));
    EXPECT_NE(project.Picture.Pixel(0, 22), project.Picture.Pixel(0, 0));
}

// A photo-like picture (smooth light with fine grain) over a lake whose shore wanders and is
// broken by reeds, so that the map's edges fall at every phase of a reduction.
TPictureFileContent LakePhoto(int w, int h) {
    TBitmap photo(w, h), mask(w, h);
    std::uint32_t seed = 3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 29) - 4;
            const auto channel = [&](double v) {
                return static_cast<std::uint32_t>(std::clamp(static_cast<int>(v) + grain, 0, 255));
            };
            photo.SetPixel(x, y,
                           channel(120 + 90 * std::sin(x * 0.013) * std::cos(y * 0.021)) << 16 |
                               channel(100 + 60 * std::cos((x + y) * 0.009)) << 8 |
                               channel(40 + y * 180 / h));
            const int shore = h * 3 / 5 + static_cast<int>(9 * std::sin(x * 0.05));
            const bool reed = x % 37 < 3 && y < shore + h / 8;
            mask.SetPixel(x, y, y < shore || reed ? AreaColors[0] : AreaColors[1 + x * 2 / w]);
        }
    TPictureFileContent content = SampleContent();
    content.PictureData = EncodeJpeg(photo, 90);
    content.AreaValues = EncodeAreaMap(mask);
    return content;
}

TEST(ProjectFit, LoadingForAFitGivesWhatFittingAfterTheLoadGives) {
    TTempDir folder;
    const std::string path = folder.Write("lake.qmp", WritePictureFile(LakePhoto(640, 480)));
    TProject whole;
    ASSERT_TRUE(whole.Load(path));
    struct Row {
        TDisplayFit Fit;
        bool Reduced; // shown at half the stored size or less
    } rows[] = {
        {{true, 300, 200}, true},    // 267 x 200 from a 1/2 decode
        {{false, 160, 120}, true},   // exactly 1/4
        {{false, 81, 60}, true},     // 1/4: an eighth would be one column short
        {{true, 1920, 1080}, false}, // enlarged
        {{false, 640, 480}, false},  {{false, 321, 240}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Fit.Width) + " x " + std::to_string(row.Fit.Height));
        TProject fittedAfter, fittedInLoad;
        ASSERT_TRUE(fittedAfter.Load(path));
        fittedAfter.FitToDisplay(row.Fit.KeepAspect, row.Fit.Width, row.Fit.Height);
        ASSERT_TRUE(fittedInLoad.Load(path, [&](QSize stored) {
            EXPECT_EQ(stored, QSize(640, 480));
            return std::optional(row.Fit);
        }));

        // The water's own data must be exactly the same: the areas mark the same pixels and
        // the waves keep their sizes in pixels of the shown picture.
        EXPECT_EQ(fittedInLoad.AreaMap.ToImage(), fittedAfter.AreaMap.ToImage());
        ExpectNearestPixels(fittedInLoad.AreaMap, whole.AreaMap);
        for (int i = 0; i < kAreaCount; ++i) {
            EXPECT_EQ(fittedInLoad.WaveParam(i).Amplitude, fittedAfter.WaveParam(i).Amplitude);
            EXPECT_EQ(fittedInLoad.WaveParam(i).JitterRange, fittedAfter.WaveParam(i).JitterRange);
        }
        const TBitmap& a = fittedInLoad.Picture;
        const TBitmap& b = fittedAfter.Picture;
        ASSERT_EQ(QSize(a.Width(), a.Height()), QSize(b.Width(), b.Height()));
        if (!row.Reduced) {
            EXPECT_EQ(a.ToImage(), b.ToImage());
            continue;
        }
        // The reduced decode averages where the bilinear fit of the whole picture samples:
        // close everywhere, nearly the same on average.
        int worst = 0;
        double total = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                for (int shift = 0; shift <= 16; shift += 8) {
                    const int d = std::abs(static_cast<int>((a.Pixel(x, y) >> shift) & 0xFF) -
                                           static_cast<int>((b.Pixel(x, y) >> shift) & 0xFF));
                    worst = std::max(worst, d);
                    total += d;
                }
        EXPECT_LE(worst, 16);
        EXPECT_LE(total / (3.0 * a.Width() * a.Height()), 2.5);
    }
}

// A map decoded straight into the fitted size: runs that cross rows, area numbers the water
// does not know, and runs that stop part way through a row, leaving the rest outside every
// area. Shrinking and enlarging, both ways of fitting, must give the stored map's nearest
// pixels.
TEST(ProjectFit, AreaRunsDecodeIntoTheFittedSizeAsTheStoredMapScales) {
    TTempDir folder;
    TPictureFileContent content = SampleContent();
    content.PictureData = EncodeJpeg(RampBitmap(13, 7), 90);
    content.AreaValues = {13, 7, 171, 52, 93, 304, 47, 80, 11};
    const std::string path = folder.Write("runs.qmp", WritePictureFile(content));
    TProject whole;
    ASSERT_TRUE(whole.Load(path));
    // Runs of 17 (area 1), 5 (2), 9 (3), 30 (4), 4 (7: none), 8 (none) and 1 (area 1) cover
    // 74 of the 91 pixels, ending in row 5 at column 8.
    EXPECT_EQ(whole.AreaMap.Pixel(3, 1), AreaColors[1]);
    EXPECT_EQ(whole.AreaMap.Pixel(4, 1), AreaColors[2]);
    EXPECT_EQ(whole.AreaMap.Pixel(0, 3), AreaColors[4]);
    EXPECT_EQ(whole.AreaMap.Pixel(10, 4), AreaColors[0]);
    EXPECT_EQ(whole.AreaMap.Pixel(8, 5), AreaColors[1]);
    EXPECT_EQ(whole.AreaMap.Pixel(9, 5), AreaColors[0]);
    for (const TDisplayFit fit : {TDisplayFit{false, 5, 3}, TDisplayFit{false, 4, 7},
                                  TDisplayFit{false, 29, 20}, TDisplayFit{true, 1, 1}}) {
        SCOPED_TRACE(std::to_string(fit.Width) + " x " + std::to_string(fit.Height));
        TProject fittedAfter, fittedInLoad;
        ASSERT_TRUE(fittedAfter.Load(path));
        fittedAfter.FitToDisplay(fit.KeepAspect, fit.Width, fit.Height);
        ASSERT_TRUE(fittedInLoad.Load(path, [&](QSize) { return std::optional(fit); }));
        EXPECT_EQ(fittedInLoad.AreaMap.ToImage(), fittedAfter.AreaMap.ToImage());
        ExpectNearestPixels(fittedInLoad.AreaMap, whole.AreaMap);
    }
}

TEST(ProjectFit, WithoutAPictureNothingChanges) {
    TProject project;
    project.WaveParam(0).Amplitude = 6;
    project.FitToDisplay(true, 1024, 768);
    EXPECT_TRUE(project.Picture.Empty());
    EXPECT_EQ(project.WaveParam(0).Amplitude, 6);
}

} // namespace
} // namespace ml::test
