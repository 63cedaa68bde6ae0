// The checks of project.ini and of make-qmp's parameter file: names the reader would drop in
// silence, values it would read as something else, lines it skips.

#include "platform/Profile.h"
#include "tests/support/TempDir.h"
#include "tests/tools/AuthoringFixture.h"
#include "tools/authoring/CloseMatch.h"
#include "tools/authoring/IniSchema.h"

#include <gtest/gtest.h>

namespace ml::authoring {
namespace {

using test::AllText;
using test::Says;

struct TMatchRow {
    const char* Word;
    const char* Expected; // nullptr: no suggestion
};

class CloseMatchRows : public ::testing::TestWithParam<TMatchRow> {};

TEST_P(CloseMatchRows, SuggestsTheNameASlipOfTheKeyboardCameFrom) {
    const std::vector<std::string> known = {"Duration",  "Transition", "Advance", "Weather",
                                            "Amplitude", "Speed",      "Sound1",  "Sound2"};
    const auto match = CloseMatch(GetParam().Word, known);
    if (GetParam().Expected)
        EXPECT_EQ(match.value_or("(none)"), GetParam().Expected);
    else
        EXPECT_FALSE(match.has_value()) << *match;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CloseMatchRows,
    ::testing::Values(TMatchRow{"Duraton", "Duration"},   // a letter left out
                      TMatchRow{"Advanced", "Advance"},   // one added
                      TMatchRow{"Wheather", "Weather"},   // one added inside
                      TMatchRow{"Druation", "Duration"},  // two swapped
                      TMatchRow{"amplitud", "Amplitude"}, // case does not count
                      TMatchRow{"Sped", "Speed"},
                      TMatchRow{"Sound9", "Sound1"}, // the first of equally close ones
                      TMatchRow{"Colour", nullptr},  // another word altogether
                      TMatchRow{"Spd", nullptr},     // short words allow one slip only
                      TMatchRow{"Du", nullptr}));

class SettingsCheckTest : public ::testing::Test {
protected:
    TFindings CheckProject(const std::string& text) {
        return CheckIniFile(Dir.Write("project.ini", text), "lake/project.ini", ProjectIniSchema());
    }
    TFindings CheckParams(const std::string& text) {
        return CheckIniFile(Dir.Write("params.ini", text), "params.ini", PictureParamsSchema());
    }
    test::TTempDir Dir;
};

TEST_F(SettingsCheckTest, ACompleteProjectFilePasses) {
    const TFindings findings = CheckProject(
        "\xEF\xBB\xBF; comment\r\n[FileListHeader]\r\nHeader=x\r\n[FileList]\r\nlake.qmp=1\r\n"
        "night.jpg=0\r\n[General]\r\nProductName=Lake\r\n[default]\r\nDURATION=0x1E\r\n"
        "Speed=$64\r\nShowImageMode=3\r\nDirectXQuality=2\r\nStretch=0\r\n\r\n[Advance]\r\n"
        "MusicFile=a.mp3;b.wav;\r\nMusicMode=7\r\n[Build]\r\nBuildMethod=-1\r\n[UI]\r\n"
        "UIFile=ui.wui\r\n");
    EXPECT_TRUE(findings.empty()) << AllText(findings);
}

TEST_F(SettingsCheckTest, UnknownNamesAreRefusedWithTheCloseMatchAndTheKnownNames) {
    const TFindings findings = CheckProject(
        "[FileList]\nlake.qmp=1\n[Default]\nDuraton=5\n[Advanced]\nPreviewFile=p.jpg\n");
    EXPECT_TRUE(HasErrors(findings));
    EXPECT_TRUE(Says(findings, "lake/project.ini: line 4, [Default]: Duraton is not a known key "
                               "— did you mean Duration?"))
        << AllText(findings);
    EXPECT_TRUE(Says(findings, "The keys of [Default] are Stretch, Proportional"));
    EXPECT_TRUE(Says(findings, "[Advanced] is not a known section — did you mean [Advance]?"));
    // Keys of an unknown section are not reported one by one.
    EXPECT_EQ(findings.size(), 2u) << AllText(findings);

    const TFindings params = CheckParams("[Wheather]\nKind=2\n[Area5]\n[Sound1]\nPth=a.wav\n");
    EXPECT_TRUE(Says(params, "[Wheather] is not a known section — did you mean [Weather]? The "
                             "sections are [Area1]..[Area4], [Weather], [Sound1]..[Sound8]"))
        << AllText(params);
    EXPECT_TRUE(Says(params, "[Area5] is not a known section — did you mean [Area1]?"));
    EXPECT_TRUE(Says(params, "Pth is not a known key — did you mean Path?"));
}

TEST_F(SettingsCheckTest, ValuesTheReaderWouldTakeForSomethingElseAreRefused) {
    const TFindings findings = CheckProject("[FileList]\nlake.qmp=TRUE\n[Default]\n"
                                            "ShowImageMode=7\nStretch=yes\nSound=2\n"
                                            "Duration=20 ; seconds\nSpeed=\nDirectXQuality=-1\n");
    EXPECT_TRUE(Says(findings, "[FileList] lake.qmp: 'TRUE' is not 1 or 0")) << AllText(findings);
    EXPECT_TRUE(Says(findings, "ShowImageMode: '7' is not a number from 0 to 3 (0 random, 1 in "
                               "sequence, 2 favourites at random, 3 the selected one only)"));
    EXPECT_TRUE(Says(findings, "Stretch: 'yes' is not 1 or 0"));
    EXPECT_TRUE(Says(findings, "Sound: '2' is not 1 or 0"));
    EXPECT_TRUE(Says(findings, "'20 ; seconds' is not a number from 1 to 999 (seconds per "
                               "picture); a comment takes a line of its own"));
    EXPECT_TRUE(Says(findings, "Speed: '' is not a number from 0 to 500"));
    EXPECT_TRUE(Says(findings, "leave the line out to keep the default"));
    EXPECT_TRUE(Says(findings, "DirectXQuality: '-1'"));
    EXPECT_EQ(findings.size(), 7u) << AllText(findings);

    const TFindings params = CheckParams("[Weather]\nSpeedIndex=21\nCount=1001\n[Area1]\n"
                                         "Period=0\nAmplitude=-3\n[Sound1]\nMode=3\n");
    EXPECT_TRUE(Says(params, "SpeedIndex: '21' is not a number from 0 to 20")) << AllText(params);
    EXPECT_TRUE(Says(params, "Count: '1001' is not a number from 0 to 1000"));
    EXPECT_TRUE(Says(params, "Period: '0' is not a number of 1 or more"));
    EXPECT_TRUE(Says(params, "Amplitude: '-3' is not a number of 0 or more"));
    EXPECT_TRUE(Says(params, "Mode: '3' is not a number from 0 to 2"));
}

TEST_F(SettingsCheckTest, LinesTheReaderSkipsOrNeverReachesAreRefused) {
    const TFindings findings = CheckProject("Duration=5\n[Default]\nDuration 30\nSpeed=100\n"
                                            "speed=50\n[General]\n[default]\nSound=0\n[UI\n");
    EXPECT_TRUE(Says(findings, "line 1: Duration comes before any [section] and is ignored"))
        << AllText(findings);
    EXPECT_TRUE(Says(findings, "line 3: 'Duration 30' is not a setting and is ignored"));
    EXPECT_TRUE(Says(findings, "line 5, [Default] speed: the key appears again (first on line "
                               "4); only the first is read"));
    EXPECT_TRUE(Says(findings, "line 7, [default]: the section appears again (first on line 2); "
                               "only the first is read"));
    EXPECT_TRUE(Says(findings, "line 9: '[UI' is not a setting"));
    EXPECT_EQ(findings.size(), 5u) << AllText(findings);
}

TEST_F(SettingsCheckTest, ValuesComeWithTheTableDefaults) {
    const TIniFile ini(Dir.Write("params.ini", "[Weather]\nKind=2\n[Area1]\nAmplitude=$A\n"));
    EXPECT_EQ(IntegerValue(ini, PictureParamsSchema(), "Weather", "Kind"), 2);
    EXPECT_EQ(IntegerValue(ini, PictureParamsSchema(), "Area1", "Amplitude"), 10);
    // Unset weather falls at the table's 100 %, and an unset period is a full circle.
    EXPECT_EQ(IntegerValue(ini, PictureParamsSchema(), "Weather", "SpeedIndex"), 10);
    EXPECT_EQ(IntegerValue(ini, PictureParamsSchema(), "Area2", "Period"), 360);
    EXPECT_EQ(IntegerValue(ini, ProjectIniSchema(), "Default", "Duration"), 30);
}

TEST_F(SettingsCheckTest, AFileThatCannotBeReadIsSaidSo) {
    const TFindings findings =
        CheckIniFile(Dir.File("absent.ini"), "absent.ini", ProjectIniSchema());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].Text(), "absent.ini: cannot be read");
}

} // namespace
} // namespace ml::authoring
