// The field reader against files from the writer: every field comes back, and every kind of
// short or impossible count fails with a message before anything is allocated for it.

#include "project/FileLoader.h"
#include "platform/Exceptions.h"
#include "tests/project/ProjectSamples.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ml::test {
namespace {

TFileLoader ReadBytes(const std::string& bytes) {
    std::istringstream in(bytes);
    TFileLoader loader;
    loader.Read(in);
    return loader;
}

template <class E> std::string FailureOf(const std::string& bytes) {
    try {
        ReadBytes(bytes);
    } catch (const E& e) {
        return e.what();
    }
    return "no failure";
}

TEST(FileLoader, ReadsBackEveryFieldTheWriterWrote) {
    TPictureFileContent content = SampleContent();
    content.LegacySound = "old.wav";
    TFileLoader loader = ReadBytes(WritePictureFile(content));

    EXPECT_EQ(loader.Title, content.Title);
    EXPECT_EQ(loader.ExtraText, content.ExtraText);
    EXPECT_EQ(loader.ThumbnailData, content.ThumbnailData);
    EXPECT_EQ(loader.WaveRecordCount, 4);
    for (int i = 0; i < kAreaCount; ++i)
        EXPECT_EQ(0, std::memcmp(&loader.WaveParams[i], &content.WaveRecords[i], 32)) << i;
    EXPECT_EQ(loader.AreaValues, content.AreaValues);
    EXPECT_EQ(loader.PictureData, content.PictureData);
    EXPECT_EQ(loader.LegacySound, "old.wav");
    EXPECT_EQ(0, std::memcmp(&loader.Weather, &content.Weather, 24));
    EXPECT_EQ(loader.SoundSlotsRead, 8);
    EXPECT_EQ(0, std::memcmp(loader.Sounds.data(), content.Sounds.data(), 8 * 268));
    EXPECT_EQ(loader.SoundNames(), (std::vector<std::string>{"waves.wav", "gull.wav", "old.wav"}));
}

TEST(FileLoader, KeepsFourWaveRecordsAndSkipsTheRest) {
    TPictureFileContent content = SampleContent();
    content.WaveRecords.push_back(SampleWave(40));
    content.WaveRecords.push_back(SampleWave(50));
    TFileLoader loader = ReadBytes(WritePictureFile(content));
    EXPECT_EQ(loader.WaveRecordCount, 6);
    EXPECT_EQ(loader.WaveParams[3].Amplitude, SampleWave(3).Amplitude);
    // The fields after the skipped records are read from the right place.
    EXPECT_EQ(loader.AreaValues, content.AreaValues);
    EXPECT_EQ(loader.Weather.Count, 300);
}

TEST(FileLoader, FileEndingAnywhereBeforeTheSoundTableFails) {
    const std::string bytes = WritePictureFile(SampleContent());
    const std::size_t end = OffsetsOf(SampleContent()).Sounds;
    for (std::size_t cut = 0; cut < end; ++cut)
        ASSERT_EQ(FailureOf<EInOutError>(bytes.substr(0, cut)), "Read beyond end of file") << cut;
}

TEST(FileLoader, SoundTableMayBeMissingOrCutShort) {
    TPictureFileContent content = SampleContent();
    const std::string bytes = WritePictureFile(content);
    const std::size_t table = OffsetsOf(content).Sounds;
    struct Row {
        std::size_t Length;
        int SlotsRead;
    } rows[] = {{table, 0}, {table + 1, 0}, {table + 268 + 100, 1}, {table + 2 * 268, 2}};
    for (const Row& row : rows) {
        TFileLoader loader = ReadBytes(bytes.substr(0, row.Length));
        EXPECT_EQ(loader.SoundSlotsRead, row.SlotsRead) << row.Length;
        EXPECT_EQ(UsedSoundSlots(loader.Sounds), row.SlotsRead) << row.Length;
    }
}

TEST(FileLoader, RefusesImpossibleCounts) {
    const TPictureFileContent content = SampleContent();
    const TFieldOffsets at = OffsetsOf(content);
    struct Row {
        const char* Name;
        std::size_t Offset;
        std::int32_t Value;
        std::string Message;
    } rows[] = {
        {"negative title", at.Title, -1, "Negative title length (-1) at byte 8"},
        {"negative thumbnail", at.ThumbnailSize, -5, "Negative thumbnail size (-5)"},
        {"negative wave count", at.WaveCount, -2, "Negative wave record count (-2)"},
        {"negative area length", at.AreaLength, -3, "Negative area map length (-3)"},
        {"one area value", at.AreaLength, 1, "The area map holds 1 value(s)"},
        {"negative picture", at.PictureSize, INT32_MIN, "Negative picture size"},
        {"negative legacy", at.Legacy, -7, "Negative legacy sound length (-7)"},
        {"huge title", at.Title, INT32_MAX, "Read beyond end of file"},
        {"huge wave count", at.WaveCount, INT32_MAX, "Read beyond end of file"},
        {"huge area map", at.AreaLength, INT32_MAX, "Read beyond end of file"},
        {"huge picture", at.PictureSize, INT32_MAX, "Read beyond end of file"},
    };
    const std::string good = WritePictureFile(content);
    for (const Row& row : rows) {
        std::string bytes = good;
        PatchInt32(bytes, row.Offset, row.Value);
        try {
            ReadBytes(bytes);
            ADD_FAILURE() << row.Name << ": accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()).rfind(row.Message, 0), 0u)
                << row.Name << ": " << e.what();
        }
    }
}

TEST(FileLoader, MagicIsComparedExactly) {
    std::string bytes = WritePictureFile(SampleContent());
    bytes[0] = 'q';
    EXPECT_EQ(FailureOf<EReadError>(bytes), "Incorrect Project File!");
}

TEST(FileLoader, LegacySoundGoesIntoTheFirstFreeSlot) {
    struct Row {
        const char* Name;
        int UsedBefore;
        std::string Legacy;
        int UsedAfter;
        std::size_t StoredLength;
    } rows[] = {
        {"no sound marker in mixed case", 2, "<No Sound>", 2, 0},
        {"empty", 0, "", 0, 0},
        {"empty table", 0, "rain.wav", 1, 8},
        {"after two slots", 2, "rain.wav", 3, 8},
        {"cut to 255 bytes", 0, std::string(300, 'x'), 1, 255},
        {"table full", 8, "rain.wav", 8, 0},
    };
    for (const Row& row : rows) {
        TSoundTable sounds{};
        for (int i = 0; i < row.UsedBefore; ++i)
            sounds[i] = MakeSoundSlot("s" + std::to_string(i), 2, 3, 4);
        sounds[static_cast<std::size_t>(row.UsedBefore % 8)].Mode = 2;
        AddLegacySound(sounds, row.Legacy);
        EXPECT_EQ(UsedSoundSlots(sounds), row.UsedAfter) << row.Name;
        if (row.UsedAfter > row.UsedBefore) {
            const SoundSlot& slot = sounds[row.UsedBefore];
            EXPECT_EQ(SlotPath(slot), row.Legacy.substr(0, row.StoredLength)) << row.Name;
            EXPECT_EQ(slot.Mode, 0) << row.Name;
        }
    }
}

TEST(FileLoader, AreaMapEncodingSplitsRunsByArea) {
    TBitmap mask(3, 2);
    mask.Fill(0x123456); // not an area colour: outside every area
    mask.SetPixel(2, 0, AreaColors[4]);
    mask.SetPixel(0, 1, AreaColors[4]);
    EXPECT_EQ(EncodeAreaMap(mask), (std::vector<std::int32_t>{3, 2, 20, 24, 20}));
    EXPECT_EQ(EncodeAreaMap(TBitmap()), (std::vector<std::int32_t>{0, 0}));
}

} // namespace
} // namespace ml::test
