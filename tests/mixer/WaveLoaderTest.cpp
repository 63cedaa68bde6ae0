#include "mixer/WaveLoader.h"
#include "mixer/MixerError.h"
#include "tests/mixer/WaveFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace ml::test {
namespace {

TWaveFormat Output(std::uint16_t channels, std::uint32_t rate) {
    return {1, channels, rate, rate * channels, channels, 8};
}

std::vector<std::uint8_t> U8(const std::vector<int>& values) {
    return {values.begin(), values.end()};
}

std::unique_ptr<TWaveData> LoadImage(const std::string& image, const TWaveFormat& output) {
    return LoadWaveData(
        TWaveSource::MemoryImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size()),
        output);
}

struct TConversionRow {
    const char* Fault;
    std::string Image;
    TWaveFormat Output;
    std::vector<int> Expected;
};

class WaveConversion : public ::testing::TestWithParam<TConversionRow> {};

TEST_P(WaveConversion, GivesTheExpectedBytes) {
    const TConversionRow& row = GetParam();
    auto wave = LoadImage(row.Image, row.Output);
    EXPECT_EQ(wave->Data, U8(row.Expected));
}

// Expected bytes are worked out by hand from the conversion rules.
INSTANTIATE_TEST_SUITE_P(
    Rows, WaveConversion,
    ::testing::Values(
        // 16-bit stereo 44100 to mono 11025: high byte + 128, (L + R) div 2, then the average
        // of 4 frames; the last output frame copies source frame 4.
        TConversionRow{"Stereo16At44kToMono11k",
                       MakeWave(2, 44100, 16,
                                Samples16({128, 130, 140, 142, 100, 101, 200, 100, 10, 20, 30, 40,
                                           128, 128, 255, 0})),
                       Output(1, 11025),
                       {130, 15}},
        // 48000 to 22050 rounds the ratio to 2: 9 frames give 4.
        TConversionRow{"Rate48kTo22kUsesFactor2",
                       MakeWave(1, 48000, 8, Bytes({128, 130, 140, 150, 100, 90, 50, 60, 70})),
                       Output(1, 22050),
                       {129, 145, 95, 50}},
        // 32000 to 11025 is 2.9: rounded to 3, not cut to 2, so nine frames give three.
        TConversionRow{"Rate32kTo11kRoundsUpTo3",
                       MakeWave(1, 32000, 8, Bytes({128, 131, 134, 100, 110, 120, 50, 60, 70})),
                       Output(1, 11025),
                       {131, 110, 50}},
        // Mono 11025 to stereo 22050: duplicated, then one frame stepped halfway towards the
        // next; (107 - 110) / 2 truncates to -1; the last frame is written twice.
        TConversionRow{"Mono11kToStereo22kInterpolates",
                       MakeWave(1, 11025, 8, Bytes({100, 110, 107})),
                       Output(2, 22050),
                       {100, 100, 105, 105, 110, 110, 109, 109, 107, 107, 107, 107}},
        TConversionRow{"UpSampleBy4StepsEvenly",
                       MakeWave(1, 11025, 8, Bytes({0, 255})),
                       Output(1, 44100),
                       {0, 63, 126, 189, 255, 255, 255, 255}},
        // (-8 - 1) / 2 must truncate towards zero: 124, not 123.
        TConversionRow{"DownSampleTruncatesTowardsZero",
                       MakeWave(1, 22050, 8, Bytes({120, 127, 9, 9})),
                       Output(1, 11025),
                       {124, 9}},
        TConversionRow{"StereoToMonoHalvesTheUnsignedSum",
                       MakeWave(2, 11025, 8, Bytes({255, 254, 0, 1})),
                       Output(1, 11025),
                       {254, 0}},
        TConversionRow{"SixteenBitExtremes",
                       MakeWave(1, 11025, 16, Samples16({0, 255, 128, 127})),
                       Output(1, 11025),
                       {0, 255, 128, 127}},
        // A partial last frame would swap left and right of everything after it in a loop.
        TConversionRow{"PartialFrameDropped",
                       MakeWave(2, 22050, 8, Bytes({1, 2, 3, 4, 5})),
                       Output(2, 22050),
                       {1, 2, 3, 4}},
        TConversionRow{"SameFormatUnchanged",
                       MakeWave(1, 11025, 8, Bytes({7, 8, 9})),
                       Output(1, 11025),
                       {7, 8, 9}},
        // Chunks before "fmt " and between it and "data" are skipped, odd ones with their pad.
        TConversionRow{"OtherChunksSkipped",
                       Riff(Chunk("LIST", "abc") + Chunk("fmt ", FormatBody(1, 11025, 8)) +
                            Chunk("fact", "x") + Chunk("data", Bytes({1, 2}))),
                       Output(1, 11025),
                       {1, 2}}),
    [](const auto& info) { return std::string(info.param.Fault); });

struct TErrorRow {
    const char* Fault;
    std::string Image;
    std::string Message;
};

class WaveLoadError : public ::testing::TestWithParam<TErrorRow> {};

TEST_P(WaveLoadError, RaisesItsMessage) {
    const TErrorRow& row = GetParam();
    try {
        LoadImage(row.Image, Output(1, 11025));
        FAIL() << "no error";
    } catch (const EMixerError& e) {
        EXPECT_EQ(std::string(e.what()), row.Message);
    }
}

const std::string kFmt = Chunk("fmt ", FormatBody(1, 11025, 8));

INSTANTIATE_TEST_SUITE_P(
    Rows, WaveLoadError,
    ::testing::Values(
        TErrorRow{"NotRiff", "RIFX" + Le32(4) + "WAVE", "This is not a WAVE file"},
        TErrorRow{"OtherForm", Riff(kFmt, "AVI "), "This is not a WAVE file"},
        TErrorRow{"Empty", "", "This is not a WAVE file"},
        TErrorRow{"NoFormat", Riff(Chunk("data", "ab")), "WAVE file is corrupted"},
        TErrorRow{"ShortFormat", Riff(Chunk("fmt ", "12345678")), "Failed to read format chunk"},
        TErrorRow{"NoData", Riff(kFmt), "WAVE file has no data chunk"},
        TErrorRow{"EmptyData", Riff(kFmt + Chunk("data", "")), "The data chunk has no data"},
        TErrorRow{"DataBeyondEnd", Riff(kFmt + "data" + Le32(0x7FFFFFF0) + "ab"),
                  "Failed to read data chunk"},
        TErrorRow{"TwentyFourBit", MakeWave(1, 11025, 24, "abcdef"), "File format not supported"},
        TErrorRow{"ThreeChannels", MakeWave(3, 11025, 8, "abc"), "File format not supported"},
        TErrorRow{"RateZero", MakeWave(1, 0, 8, "abc"), "File format not supported"},
        TErrorRow{"HalfASample", MakeWave(1, 11025, 16, "a"), "Failed to convert wave format"},
        TErrorRow{"FewerFramesThanFactor", MakeWave(1, 44100, 8, "abc"),
                  "Failed to convert wave format"}),
    [](const auto& info) { return std::string(info.param.Fault); });

TEST(WaveLoader, FileKeepsTheFirst15CharactersOfItsNameAndItsSourceFormat) {
    TTempDir dir;
    const std::string path = dir.Write("a-rather-long-name.wav", MakeWave(2, 22050, 16, "abcd"));
    auto wave = LoadWaveData(TWaveSource::File(path), Output(2, 22050));
    EXPECT_EQ(wave->Name, path.substr(0, 15));
    EXPECT_EQ(wave->SourceFormat.Channels, 2);
    EXPECT_EQ(wave->SourceFormat.SamplesPerSec, 22050u);
    EXPECT_EQ(wave->SourceFormat.BitsPerSample, 16);
    EXPECT_EQ(wave->Length(), 2u);
}

TEST(WaveLoader, OpenFailuresNameTheSource) {
    const TWaveFormat out = Output(1, 11025);
    const std::pair<TWaveSource, std::string> rows[] = {
        {TWaveSource::File("/nonexistent/x.wav"), "Failed to open wave file /nonexistent/x.wav"},
        {TWaveSource::Resource("NOSUCH"), "Failed to open \"WAVE\" resource NOSUCH"},
        {TWaveSource::Resource("0042"), "Failed to open \"WAVE\" resource 42"},
        {TWaveSource::MemoryImage(nullptr, 10),
         "Failed to open memory file, mmioOpen error=259.\rMay need to make sure memory is "
         "read-write"}};
    for (const auto& [source, message] : rows) {
        try {
            LoadWaveData(source, out);
            ADD_FAILURE() << message;
        } catch (const EMixerError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

// 7 KB at 1 Hz would grow to 294 MiB for a stereo 22 kHz mixer: refused by its header, with
// its name, before its data is read. A caller may allow less; exactly the size is enough.
TEST(WaveLoader, SoundsTooLargeOnceConvertedAreRefusedByName) {
    TTempDir dir;
    const std::string slow = dir.Write("slow.wav", MakeWave(1, 1, 8, std::string(7000, 'x')));
    const std::string plain = dir.Write("plain.wav", MakeWave(1, 11025, 8, std::string(7000, 'x')));
    const struct {
        std::string Path;
        TWaveFormat Output;
        std::size_t Limit;
        std::string Message;
    } rows[] = {{slow, Output(2, 22050), kMaxWaveBytes,
                 "needs 301465 KiB in the mixer's format, more "
                 "than the 262144 KiB it may take"},
                {plain, Output(1, 11025), 6999,
                 "needs 7 KiB in the mixer's format, more than the 7 KiB "
                 "it may take"}};
    for (const auto& row : rows) {
        try {
            LoadWaveData(TWaveSource::File(row.Path), row.Output, row.Limit);
            ADD_FAILURE() << row.Message;
        } catch (const EMixerError& e) {
            EXPECT_EQ(std::string(e.what()), "The sound " + row.Path + " " + row.Message);
        }
    }
    EXPECT_EQ(LoadWaveData(TWaveSource::File(plain), Output(1, 11025), 7000)->Length(), 7000u);
}

// The test executable carries ":/WAVE/CHIME" and ":/WAVE/7" (see WaveResources.qrc).
TEST(WaveLoader, ResourcesByNameAndByNumber) {
    auto named = LoadWaveData(TWaveSource::Resource("CHIME"), Output(1, 11025));
    EXPECT_EQ(named->Name, "CHIME");
    EXPECT_EQ(named->Data, U8({100, 150, 200, 250}));
    auto numbered = LoadWaveData(TWaveSource::Resource("7"), Output(1, 11025));
    EXPECT_EQ(numbered->Name, "res#7");
    EXPECT_EQ(numbered->Data, U8({100, 150, 200, 250}));
}

} // namespace
} // namespace ml::test
