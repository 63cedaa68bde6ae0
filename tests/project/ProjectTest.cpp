// TProject on files from the writer: what a load leaves in memory, the failure path with its
// message box, and the rules for old files.

#include "project/Project.h"
#include "platform/Exceptions.h"
#include "tests/project/ProjectSamples.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ResourceLimits.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace ml::test {
namespace {

class ProjectLoad : public ::testing::Test {
protected:
    std::string WriteFile(const TPictureFileContent& content) {
        return Folder.Write("picture.qmp", WritePictureFile(content));
    }
    // Loads and expects one error box "File: " + path + "\r\n" + a text starting with `message`.
    void ExpectFailure(const std::string& path, const std::string& message) {
        TRecordingSink sink;
        EXPECT_FALSE(Project.Load(path));
        EXPECT_FALSE(Project.Loaded);
        ASSERT_EQ(sink.Messages.size(), 1u);
        const TMessage& box = sink.Messages[0];
        EXPECT_EQ(box.Text.rfind("File: " + path + "\r\n" + message, 0), 0u) << box.Text;
        EXPECT_EQ(box.Icon, TMsgIcon::Error);
        EXPECT_EQ(box.Buttons, TMsgButtons::OK);
    }

    TTempDir Folder;
    TProject Project;
};

TEST_F(ProjectLoad, RoundTripKeepsEveryField) {
    TPictureFileContent content = SampleContent();
    std::string path = WriteFile(content);
    ASSERT_TRUE(Project.Load(path));

    EXPECT_TRUE(Project.Loaded);
    EXPECT_EQ(Project.FileName, path);
    EXPECT_EQ(Project.Title, content.Title);
    EXPECT_EQ(Project.ExtraText, content.ExtraText);
    EXPECT_EQ(Project.Picture.Width(), 8);
    EXPECT_EQ(Project.Picture.Height(), 6);
    EXPECT_EQ(Project.Thumbnail.Width(), 4);
    EXPECT_EQ(Project.Thumbnail.Height(), 3);
    const TBitmap mask = SampleMask();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(Project.AreaMap.Pixel(x, y), mask.Pixel(x, y)) << x << "," << y;
    for (int i = 0; i < kAreaCount; ++i)
        EXPECT_EQ(Project.WaveParam(i).JitterRange, i);
    EXPECT_EQ(Project.Weather.Kind, 2);
    EXPECT_EQ(Project.SoundCount(), 2);
    EXPECT_EQ(SlotPath(Project.Sounds[1]), "gull.wav");
    EXPECT_EQ(Project.Sounds[1].MaxSeconds, 20);
    EXPECT_TRUE(Project.LegacySound.empty());
}

TEST_F(ProjectLoad, FailureTable) {
    const TPictureFileContent good = SampleContent();
    const std::string goodBytes = WritePictureFile(good);
    const TFieldOffsets at = OffsetsOf(good);
    auto withAreas = [&](std::vector<std::int32_t> values) {
        TPictureFileContent c = good;
        c.AreaValues = std::move(values);
        return WritePictureFile(c);
    };
    TPictureFileContent badJpeg = good;
    badJpeg.PictureData = "not a jpeg at all";
    TPictureFileContent otherSize = good;
    otherSize.PictureData = EncodeJpeg(RampBitmap(9, 6), 90);

    struct Row {
        const char* Name;
        std::string Bytes;
        std::string Message;
    } rows[] = {
        {"wrong magic", "QM060698" + goodBytes.substr(8), "Incorrect Project File!"},
        {"ends inside the weather", goodBytes.substr(0, at.Weather + 20),
         "Read beyond end of file"},
        {"picture not a JPEG", WritePictureFile(badJpeg), ""},
        {"runs past the last row", withAreas({8, 6, 480, 11}), kScanLineOutOfRange},
        // A map of another size names both sizes, whatever its runs.
        {"map of height 0", withAreas({8, 0}),
         "The area map (8 x 0) does not match the picture (8 x 6)"},
        {"map of width 0", withAreas({0, 6, 11}),
         "The area map (0 x 6) does not match the picture (8 x 6)"},
        {"smaller map with more runs", withAreas({4, 3, 480, 11}),
         "The area map (4 x 3) does not match the picture (8 x 6)"},
        {"negative run", withAreas({8, 6, 10, -11}), "Negative run value (-11)"},
        {"map too large", withAreas({16385, 6}), "The area map size 16385 x 6 is out of range"},
        {"map and picture differ", WritePictureFile(otherSize),
         "The area map (8 x 6) does not match the picture (9 x 6)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        ExpectFailure(Folder.Write(std::string(row.Name) + ".qmp", row.Bytes), row.Message);
    }
    ExpectFailure(Folder.File("missing.qmp"), "File not found");
    ExpectFailure(Folder.Path(), "File access denied");
}

// A map claiming 16384 x 16384 pixels for a small picture fails on its size before a pixel
// of it exists.
TEST_F(ProjectLoad, AreaMapSizeIsCheckedBeforeItsBufferExists) {
    TPictureFileContent content = SampleContent();
    content.AreaValues = {16384, 16384, 11};
    const std::string path = WriteFile(content);
    EXPECT_TRUE(RunsWithin({10, std::size_t{256} << 20}, [&] {
        TRecordingSink sink;
        return !Project.Load(path) && sink.Messages.size() == 1 &&
               sink.Messages[0].Text.find(
                   "The area map (16384 x 16384) does not match the picture (8 x 6)") !=
                   std::string::npos;
    }));
}

// The show never shows the thumbnail; a damaged one is reported and the picture loads.
TEST_F(ProjectLoad, DamagedThumbnailIsReportedAndThePictureLoads) {
    TPictureFileContent content = SampleContent();
    content.ThumbnailData = "not a JPEG";
    const std::string path = WriteFile(content);
    TRecordingSink sink;
    ASSERT_TRUE(Project.Load(path));
    EXPECT_EQ(Project.Picture.Width(), 8);
    EXPECT_TRUE(Project.Thumbnail.Empty());
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_EQ(
        sink.Messages[0].Text.rfind("File: " + path + "\r\nThe thumbnail cannot be read: ", 0), 0u);
}

TEST_F(ProjectLoad, ShortRunsLeaveTheRestOutsideEveryArea) {
    TPictureFileContent content = SampleContent();
    // Run 0 writes nothing; area number 7 is not an area; 5 pixels of area 3.
    content.AreaValues = {8, 6, 0, 27, 53};
    ASSERT_TRUE(Project.Load(WriteFile(content)));
    EXPECT_EQ(Project.AreaMap.Pixel(0, 0), 0x000000u);
    EXPECT_EQ(Project.AreaMap.Pixel(2, 0), AreaColors[3]);
    EXPECT_EQ(Project.AreaMap.Pixel(6, 0), AreaColors[3]);
    EXPECT_EQ(Project.AreaMap.Pixel(7, 0), 0x000000u);
    EXPECT_EQ(Project.AreaMap.Pixel(7, 5), 0x000000u);
}

TEST_F(ProjectLoad, RunsContinueOnTheNextRow) {
    TPictureFileContent content = SampleContent();
    content.AreaValues = {8, 6, 50, 71, 361}; // 5 none, then 7 of area 1 across the row end
    ASSERT_TRUE(Project.Load(WriteFile(content)));
    EXPECT_EQ(Project.AreaMap.Pixel(4, 0), 0x000000u);
    EXPECT_EQ(Project.AreaMap.Pixel(5, 0), AreaColors[1]);
    EXPECT_EQ(Project.AreaMap.Pixel(3, 1), AreaColors[1]);
    EXPECT_EQ(Project.AreaMap.Pixel(4, 1), AreaColors[1]);
    EXPECT_EQ(Project.AreaMap.Pixel(7, 5), AreaColors[1]);
}

TEST_F(ProjectLoad, FewerWaveRecordsLeaveZeroedAreas) {
    TPictureFileContent content = SampleContent();
    content.WaveRecords.resize(2);
    ASSERT_TRUE(Project.Load(WriteFile(content)));
    EXPECT_EQ(Project.WaveParam(1).Amplitude, SampleWave(1).Amplitude);
    EXPECT_EQ(Project.WaveParam(2).Period, 0);
    EXPECT_EQ(Project.WaveParam(3).Amplitude, 0);
}

TEST_F(ProjectLoad, OldFileWithoutSoundTableGetsItsLegacySound) {
    TPictureFileContent content = SampleContent();
    content.WithSoundTable = false;
    content.LegacySound = "surf.wav";
    ASSERT_TRUE(Project.Load(WriteFile(content)));
    EXPECT_EQ(Project.SoundCount(), 1);
    EXPECT_EQ(SlotPath(Project.Sounds[0]), "surf.wav");
    EXPECT_EQ(Project.Sounds[0].Mode, 0);
    EXPECT_TRUE(Project.LegacySound.empty());
}

TEST_F(ProjectLoad, HeaderIgnoresDamageAfterTheThumbnail) {
    TPictureFileContent content = SampleContent();
    std::string bytes = WritePictureFile(content);
    PatchInt32(bytes, OffsetsOf(content).AreaLength, -1);
    ASSERT_TRUE(Project.LoadHeader(Folder.Write("head.qmp", bytes)));
    EXPECT_TRUE(Project.Loaded);
    EXPECT_EQ(Project.Title, content.Title);
    EXPECT_EQ(Project.Thumbnail.Width(), 4);
    EXPECT_TRUE(Project.Picture.Empty());
    EXPECT_EQ(Project.SoundCount(), 0);
}

TEST_F(ProjectLoad, EachLoadStartsAfreshButKeepsTheSpeed) {
    ASSERT_TRUE(Project.Load(WriteFile(SampleContent())));
    Project.SetSpeed(240);
    std::string bytes = WritePictureFile(SampleContent());
    bytes.resize(OffsetsOf(SampleContent()).PictureSize);
    ExpectFailure(Folder.Write("short.qmp", bytes), "Read beyond end of file");
    EXPECT_TRUE(Project.Title.empty());
    EXPECT_TRUE(Project.Picture.Empty());
    EXPECT_EQ(Project.SoundCount(), 0);
    EXPECT_EQ(Project.Speed, 240);
}

} // namespace
} // namespace ml::test
