// Sounds of picture files before they travel with a project: what the mixer plays passes,
// deeper WAVE becomes 16 bits sample for sample, anything else is refused in words.

#include "tools/authoring/PictureSound.h"
#include "tests/mixer/WaveFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ml::authoring {
namespace {

using test::Chunk;
using test::FormatBody;
using test::Le16;
using test::Le32;
using test::Riff;

std::string Wave(std::uint16_t channels, std::uint16_t bits, const std::string& data,
                 std::uint16_t tag = 1) {
    return Riff(Chunk("fmt ", FormatBody(channels, 22050, bits, tag)) + Chunk("data", data));
}

// The samples of a 16-bit PCM WAVE as this checker writes it (a 44-byte header).
std::vector<std::int16_t> Samples(const std::string& wave) {
    std::vector<std::int16_t> samples((wave.size() - 44) / 2);
    std::memcpy(samples.data(), wave.data() + 44, samples.size() * 2);
    return samples;
}

TEST(PictureSoundTest, WhatTheMixerPlaysPassesUnchanged) {
    for (std::uint16_t bits : {8, 16})
        for (std::uint16_t channels : {1, 2}) {
            const TPictureSoundCheck check =
                CheckPictureSound(Wave(channels, bits, std::string(8, '\x40')));
            EXPECT_EQ(check.Verdict, TSoundVerdict::Playable) << bits << " " << channels;
            EXPECT_TRUE(check.Bytes.empty());
        }
}

TEST(PictureSoundTest, DeeperWaveBecomes16BitKeepingTheHighBytes) {
    // 24-bit: 0x123456 and -2 (0xFFFFFE); one stray byte that is no whole frame.
    const TPictureSoundCheck pcm24 = CheckPictureSound(Wave(1, 24, "\x56\x34\x12\xFE\xFF\xFF\x01"));
    ASSERT_EQ(pcm24.Verdict, TSoundVerdict::Converted) << pcm24.Description;
    EXPECT_EQ(pcm24.Description, "24-bit PCM mono WAVE");
    EXPECT_EQ(Samples(pcm24.Bytes), (std::vector<std::int16_t>{0x1234, -1}));
    EXPECT_EQ(pcm24.Bytes.substr(20, 16),
              Le16(1) + Le16(1) + Le32(22050) + Le32(44100) + Le16(2) + Le16(16));

    const TPictureSoundCheck pcm32 =
        CheckPictureSound(Wave(2, 32, std::string("\x00\x00\xFF\x7F\x00\x00\x00\x80", 8)));
    ASSERT_EQ(pcm32.Verdict, TSoundVerdict::Converted);
    EXPECT_EQ(Samples(pcm32.Bytes), (std::vector<std::int16_t>{32767, -32768}));

    // Float beyond full scale is clipped, not wrapped.
    std::string floats;
    for (float f : {0.5f, -1.5f, 2.0f, 0.0f}) {
        char bytes[4];
        std::memcpy(bytes, &f, 4);
        floats.append(bytes, 4);
    }
    const TPictureSoundCheck float32 = CheckPictureSound(Wave(2, 32, floats, 3));
    ASSERT_EQ(float32.Verdict, TSoundVerdict::Converted);
    EXPECT_EQ(float32.Description, "32-bit float stereo WAVE");
    EXPECT_EQ(Samples(float32.Bytes), (std::vector<std::int16_t>{16384, -32767, 32767, 0}));
}

TEST(PictureSoundTest, AnExtensibleHeaderIsReadForTheFormatBehindIt) {
    // 16-bit PCM behind the extensible tag: the mixer reads only the plain header, so the
    // sound is rewritten with one.
    const std::string extension = Le16(22) + Le16(16) + Le32(4) + Le16(1) +
                                  std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38"
                                              "\x9B\x71",
                                              14);
    const std::string wave = Riff(Chunk("fmt ", FormatBody(1, 22050, 16, 0xFFFE) + extension) +
                                  Chunk("data", std::string("\x00\x10\x00\xF0", 4)));
    const TPictureSoundCheck check = CheckPictureSound(wave);
    ASSERT_EQ(check.Verdict, TSoundVerdict::Converted) << check.Description;
    EXPECT_EQ(Samples(check.Bytes), (std::vector<std::int16_t>{0x1000, -0x1000}));
}

struct TRefusedRow {
    const char* Name;
    std::string Bytes;
    const char* Says;
};

class RefusedSounds : public ::testing::TestWithParam<TRefusedRow> {};

TEST_P(RefusedSounds, AreNamedForWhatTheyAre) {
    const TPictureSoundCheck check = CheckPictureSound(GetParam().Bytes);
    EXPECT_EQ(check.Verdict, TSoundVerdict::Refused);
    EXPECT_NE(check.Description.find(GetParam().Says), std::string::npos) << check.Description;
}

INSTANTIATE_TEST_SUITE_P(
    PictureSound, RefusedSounds,
    ::testing::Values(
        TRefusedRow{"Ogg", "OggS", "an Ogg file"},
        TRefusedRow{"Mp3Tagged", "ID3\x04", "an MP3 file"},
        TRefusedRow{"Mp3Frame", "\xFF\xFB\x90\x64", "an MP3 file"},
        TRefusedRow{"Flac", "fLaC", "a FLAC file"}, TRefusedRow{"Text", "hello", "not a WAVE file"},
        TRefusedRow{"SixChannels", Wave(6, 16, std::string(24, '\0')), "mix it down"},
        TRefusedRow{"Adpcm", Wave(1, 4, std::string(8, '\0'), 2), "a compressed WAVE file"},
        TRefusedRow{"TwelveBit", Wave(1, 12, std::string(8, '\0')), "12-bit PCM mono WAVE"},
        TRefusedRow{"NoData", Riff(Chunk("fmt ", FormatBody(1, 22050, 16))), "without sound data"},
        TRefusedRow{"NoFormat", Riff(Chunk("data", "\x01\x02")), "without a format"},
        TRefusedRow{"EmptyData", Wave(1, 24, ""), "without sound data"},
        TRefusedRow{
            "BadBlockSize",
            Riff(Chunk("fmt ", Le16(1) + Le16(2) + Le32(22050) + Le32(1) + Le16(1) + Le16(24)) +
                 Chunk("data", std::string(12, '\0'))),
            "damaged"},
        TRefusedRow{"DataPastTheEnd",
                    Riff(Chunk("fmt ", FormatBody(1, 22050, 16))) + "data" + Le32(1000) + "ab",
                    "cannot play"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace ml::authoring
