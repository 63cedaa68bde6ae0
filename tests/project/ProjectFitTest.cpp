// FitToDisplay: the target size with and without the aspect ratio, the wave sizes that follow
// it, and an area map that keeps pure area colours.

#include "project/Project.h"
#include "tests/project/ProjectSamples.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

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

TEST(ProjectFit, StretchingKeepsAreaColoursAndTheBilinearPicture) {
    TProject project = MakeProject(40, 30, 10, 10);
    const TBitmap original = project.Picture;
    project.FitToDisplay(false, 97, 23);
    ASSERT_EQ(project.Picture.Width(), 97);
    ASSERT_EQ(project.Picture.Height(), 23);
    EXPECT_EQ(project.WaveParam(0).Amplitude, 24);  // 10 * 97 / 40 = 24.25
    EXPECT_EQ(project.WaveParam(0).JitterRange, 8); // 10 * 23 / 30 = 7.67
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 97; ++x) {
            std::uint32_t area = project.AreaMap.Pixel(x, y);
            ASSERT_NE(std::find(std::begin(AreaColors), std::end(AreaColors), area),
                      std::end(AreaColors))
                << x << "," << y;
        }
    // The pixel buffer keeps its rows bottom-up, so its fixed-point origin, where the bilinear
    // fit takes the source pixel unblended, is the bottom-left corner.
    EXPECT_EQ(project.Picture.Pixel(0, 22), original.Pixel(0, 29));
    EXPECT_NE(project.Picture.Pixel(0, 22), project.Picture.Pixel(0, 0));
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
