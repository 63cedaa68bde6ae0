// Building picture files as make-qmp does: the mask report and its warnings, bringing a large
// picture down with its mask, and every problem of the inputs reported at once.

#include "tools/authoring/PictureFileBuild.h"
#include "project/FileLoader.h"
#include "tests/tools/AuthoringFixture.h"
#include "tools/authoring/MaskReport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ml::authoring {
namespace {

using test::AllText;
using test::Encoded;
using test::Says;

const std::string kWaves = "[Area1]\nAmplitude=4\nWaveCount=8\nVertical=1\n";

class PictureFileBuildTest : public ::testing::Test {
protected:
    TPictureFileRecipe Recipe(const std::string& maskBytes, const std::string& params = kWaves,
                              int width = 64, int height = 48) {
        TPictureFileRecipe recipe;
        recipe.Image = Dir.Write("lake.png", Encoded(test::Landscape(width, height), "PNG"));
        recipe.Areas = Dir.Write("mask", maskBytes);
        recipe.Params = Dir.Write("params.ini", params);
        return recipe;
    }
    test::TTempDir Dir;
};

TEST_F(PictureFileBuildTest, ACleanMaskIsCountedAndPassesWithoutAWarning) {
    const TBuiltPictureFile built =
        BuildPictureFile(Recipe(Encoded(test::LowerHalfMask(64, 48), "PNG")));
    EXPECT_TRUE(built.Findings.empty()) << AllText(built.Findings);
    EXPECT_EQ(built.Mask.Pixels[1], 64 * 24);
    EXPECT_EQ(built.Mask.Pixels[0], 64 * 24);
    EXPECT_EQ(built.Mask.NearMissPixels(), 0);
    EXPECT_NE(MaskSummary(built.Mask).find("area 1 (blue #0000FF): 1536 pixels (50.0 %)"),
              std::string::npos)
        << MaskSummary(built.Mask);
    EXPECT_EQ(built.Width, 64);
    EXPECT_FALSE(built.Bytes.empty());
}

TEST_F(PictureFileBuildTest, AMaskSavedAsJpegIsReportedWithHowToSaveIt) {
    // A JPEG keeps blue close to blue, but not exact: the water is gone.
    const TBuiltPictureFile built =
        BuildPictureFile(Recipe(test::JpegOf(test::LowerHalfMask(64, 48))));
    EXPECT_FALSE(HasErrors(built.Findings));
    EXPECT_GT(built.Mask.NearMisses[1], 1000);
    EXPECT_TRUE(Says(built.Findings, "pixels are within a few steps of an area colour without "
                                     "being it (a mask saved as JPEG"))
        << AllText(built.Findings);
    EXPECT_TRUE(Says(built.Findings, "save the mask as PNG or BMP, never as JPEG"));
}

TEST_F(PictureFileBuildTest, MasksThatMarkNoWaterOrTheWrongAreaAreReported) {
    QImage black(64, 48, QImage::Format_RGB32);
    black.fill(Qt::black);
    const TBuiltPictureFile dry = BuildPictureFile(Recipe(Encoded(black, "PNG")));
    EXPECT_TRUE(Says(dry.Findings, "no pixel has an area colour, so the picture has no water"))
        << AllText(dry.Findings);

    const TBuiltPictureFile wrong =
        BuildPictureFile(Recipe(Encoded(test::LowerHalfMask(64, 48), "PNG"),
                                kWaves + "[Area2]\nAmplitude=2\nHorizontal=1\n"));
    EXPECT_TRUE(Says(wrong.Findings, "[Area2] has waves, but no pixel is magenta #FF00FF"))
        << AllText(wrong.Findings);
    EXPECT_EQ(wrong.Findings.size(), 1u);
}

TEST_F(PictureFileBuildTest, MaxSizeStoresTheWholePictureSmallerWithItsMaskColoursExact) {
    TPictureFileRecipe recipe =
        Recipe(Encoded(test::LowerHalfMask(400, 300), "PNG"), kWaves, 400, 300);
    recipe.MaxWidth = 200;
    recipe.MaxHeight = 200;
    const TBuiltPictureFile built = BuildPictureFile(recipe);
    ASSERT_FALSE(HasErrors(built.Findings)) << AllText(built.Findings);
    EXPECT_EQ(built.SourceWidth, 400);
    EXPECT_EQ(built.Width, 200);
    EXPECT_EQ(built.Height, 150);
    EXPECT_EQ(built.Mask.Pixels[1] + built.Mask.Pixels[0], 200 * 150) << "only exact colours";
    EXPECT_EQ(built.Mask.Pixels[1], 200 * 75);

    TFileLoader loader;
    std::istringstream in(built.Bytes);
    loader.Read(in);
    EXPECT_EQ(loader.AreaValues[0], 200);
    EXPECT_EQ(loader.AreaValues[1], 150);
    EXPECT_EQ(loader.WaveParams[0].Amplitude, 4) << "amplitude counts stored pixels as written";

    // A picture already within the size keeps it.
    recipe.MaxWidth = 1000;
    recipe.MaxHeight = 1000;
    EXPECT_EQ(BuildPictureFile(recipe).Width, 400);
}

TEST_F(PictureFileBuildTest, EveryProblemOfTheInputsIsReportedAndNothingIsBuilt) {
    TPictureFileRecipe recipe = Recipe(Encoded(test::LowerHalfMask(32, 48), "PNG"),
                                       "[Area1]\nAmplitud=3\n[Sound2]\nPath=a.wav\n");
    recipe.Thumbnail = Dir.Write("thumb.png", "not a picture");
    const TBuiltPictureFile built = BuildPictureFile(recipe);
    EXPECT_TRUE(built.Bytes.empty());
    EXPECT_TRUE(Says(built.Findings, "Amplitud is not a known key — did you mean Amplitude?"))
        << AllText(built.Findings);
    EXPECT_TRUE(
        Says(built.Findings, "the area mask is 32 x 48; it must be the picture's size (64 x 48)"));
    EXPECT_TRUE(Says(built.Findings, "thumb.png: the thumbnail: cannot read"));

    // With the names right, the gap in the sound slots is the one problem left.
    const TBuiltPictureFile gap = BuildPictureFile(
        Recipe(Encoded(test::LowerHalfMask(64, 48), "PNG"), "[Sound2]\nPath=a.wav\n"));
    EXPECT_TRUE(Says(gap.Findings, "[Sound2]: follows a missing [Sound1]"))
        << AllText(gap.Findings);
    EXPECT_TRUE(gap.Bytes.empty());
}

TEST_F(PictureFileBuildTest, PicturesAreReadByContentWhateverTheirName) {
    TPictureFileRecipe recipe = Recipe(Encoded(test::LowerHalfMask(64, 48), "BMP"));
    recipe.Image = Dir.Write("photo.jpeg.png", test::JpegOf(test::Landscape(64, 48)));
    const TBuiltPictureFile built = BuildPictureFile(recipe);
    EXPECT_FALSE(HasErrors(built.Findings)) << AllText(built.Findings);
    EXPECT_EQ(built.Mask.Pixels[1], 64 * 24);
}

} // namespace
} // namespace ml::authoring
