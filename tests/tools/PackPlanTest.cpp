// pack's plan of a project folder: a sound project packs with the default window and every
// file under its bare name; each way a project goes wrong later in the player is refused
// here, naming the author's file.

#include "tools/authoring/PackPlan.h"
#include "project/ArchiveWriter.h"
#include "tests/mixer/WaveFiles.h"
#include "tests/tools/AuthoringFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace ml::authoring {
namespace {

using test::AllText;
using test::Says;

std::string Tone(std::uint16_t bits) {
    return test::MakeWave(1, 22050, bits, std::string(4410u * bits / 8, '\x20'));
}

// A project that packs: a picture file playing a sound, a plain picture and a preview.
void WriteGoodProject(const test::TTempDir& dir) {
    test::MakePictureFile(dir, "lake.qmp",
                          "[Area1]\nAmplitude=3\nVertical=1\n[Sound1]\nPath=surf.wav\n");
    dir.Write("surf.wav", Tone(16));
    dir.Write("night.jpg", test::JpegOf(test::Landscape(40, 30)));
    dir.Write("preview.jpg", test::JpegOf(test::Landscape(40, 30)));
    dir.Write("project.ini", "[FileList]\r\nlake.qmp=1\r\nnight.jpg=1\r\n[General]\r\n"
                             "ProductName=Lake\r\n[Advance]\r\nPreviewFile=preview.jpg\r\n");
}

TEST(PackPlanTest, AGoodProjectPlansEveryFileAndTheDefaultWindow) {
    test::TTempDir dir;
    WriteGoodProject(dir);
    const TPackPlan plan = PlanPack(dir.Path());
    EXPECT_TRUE(plan.Findings.empty()) << AllText(plan.Findings);
    std::vector<std::string> names;
    for (const auto& file : plan.Files)
        names.push_back(file.Name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"lake.qmp", "surf.wav", "night.jpg", "preview.jpg"}));
    EXPECT_TRUE(plan.InterfaceSource.empty());
    EXPECT_NE(plan.Interface.find("object MainWindow"), std::string::npos);
    EXPECT_NE(plan.SettingsTexts[2].find("UIFile=QMGUI.wui"), std::string::npos);
    EXPECT_EQ(ArchiveItems(plan).size(), 4u);
}

TEST(PackPlanTest, ADeepSoundTravelsAs16Bits) {
    test::TTempDir dir;
    WriteGoodProject(dir);
    dir.Write("surf.wav", Tone(24));
    const TPackPlan plan = PlanPack(dir.Path());
    EXPECT_FALSE(HasErrors(plan.Findings)) << AllText(plan.Findings);
    EXPECT_TRUE(Says(plan.Findings, "surf.wav: played by lake.qmp: it is 24-bit PCM mono WAVE; "
                                    "the saver carries it as 16-bit PCM"));
    ASSERT_TRUE(plan.Files[1].Bytes.has_value());
    EXPECT_EQ(plan.Files[1].Bytes->substr(34, 2), test::Le16(16));
}

TEST(PackPlanTest, TheProjectsOwnDescriptionIsTheOneUIFileNames) {
    test::TTempDir dir;
    WriteGoodProject(dir);
    const std::string window = "1\r\n2\r\nobject MainWindow: TForm\r\nend\r\n0\r\n0\r\n";
    dir.Write("ui.wui", "0\r\n");
    dir.Write("windows/lake.wui", window);
    dir.Write("project.ini", "[FileList]\r\nlake.qmp=1\r\n[UI]\r\nUIFile=windows/lake.wui\r\n");
    const TPackPlan plan = PlanPack(dir.Path());
    EXPECT_FALSE(HasErrors(plan.Findings)) << AllText(plan.Findings);
    EXPECT_EQ(plan.Interface, window);
    EXPECT_EQ(plan.InterfaceSource, dir.File("windows/lake.wui"));
}

struct TBadProject {
    const char* Name;
    std::function<void(const test::TTempDir&)> Spoil;
    const char* Says;
};

class BadProjects : public ::testing::TestWithParam<TBadProject> {};

TEST_P(BadProjects, AreRefusedNamingTheFileAndTheFix) {
    test::TTempDir dir;
    WriteGoodProject(dir);
    GetParam().Spoil(dir);
    const TPackPlan plan = PlanPack(dir.Path());
    EXPECT_TRUE(HasErrors(plan.Findings));
    EXPECT_TRUE(Says(plan.Findings, GetParam().Says)) << AllText(plan.Findings);
}

void Ini(const test::TTempDir& dir, const std::string& text) {
    dir.Write("project.ini", text);
}

INSTANTIATE_TEST_SUITE_P(
    PackPlan, BadProjects,
    ::testing::Values(
        TBadProject{"NoSettings", [](auto& d) { std::remove(d.File("project.ini").c_str()); },
                    "the folder holds no project.ini"},
        TBadProject{"NoPicture", [](auto& d) { Ini(d, "[FileList]\n[General]\n"); },
                    "project.ini: [FileList]: names no picture, so the show would only say "
                    "\"No image found in Images List.\""},
        TBadProject{"PngInTheShow",
                    [](auto& d) {
                        d.Write("sea.png", test::Encoded(test::Landscape(8, 8), "PNG"));
                        Ini(d, "[FileList]\nsea.png=1\n");
                    },
                    "sea.png: [FileList] sea.png: it is a PNG; the player shows JPEG, BMP and GIF"},
        TBadProject{"JpegNamedJpeg",
                    [](auto& d) {
                        d.Write("sea.JPEG", test::JpegOf(test::Landscape(8, 8)));
                        Ini(d, "[FileList]\nsea.JPEG=1\n");
                    },
                    "Rename it to sea.jpg"},
        TBadProject{
            "PngNamedJpg",
            [](auto& d) { d.Write("night.jpg", test::Encoded(test::Landscape(8, 8), "PNG")); },
            "night.jpg: [FileList] night.jpg: it is a PNG, but its name ends in .jpg, "
            "so the player decodes it as JPEG"},
        TBadProject{"DamagedPictureFile",
                    [](auto& d) { d.Write("lake.qmp", std::string("QM060697") + "\x05"); },
                    "lake.qmp: [FileList] lake.qmp: the player cannot read it"},
        TBadProject{"MissingPicture", [](auto& d) { Ini(d, "[FileList]\ngone.jpg=1\n"); },
                    "gone.jpg: [FileList] gone.jpg: the file does not exist"},
        TBadProject{
            "PngPreview",
            [](auto& d) { d.Write("preview.jpg", test::Encoded(test::Landscape(8, 8), "PNG")); },
            "preview.jpg: [Advance] PreviewFile: it is a PNG"},
        TBadProject{
            "PreviewThatIsAPictureFile",
            [](auto& d) { Ini(d, "[FileList]\nlake.qmp=1\n[Advance]\nPreviewFile=lake.qmp\n"); },
            "the preview must be a JPEG, BMP or GIF picture"},
        TBadProject{"MissingSound", [](auto& d) { std::remove(d.File("surf.wav").c_str()); },
                    "lake.qmp: sound surf.wav: the picture plays it, but it is not in"},
        TBadProject{"OggSound", [](auto& d) { d.Write("surf.wav", "OggS\0\2"); },
                    "surf.wav: played by lake.qmp: it is an Ogg file; the show plays WAVE files "
                    "of 8- or 16-bit PCM"},
        TBadProject{
            "MissingMusic",
            [](auto& d) { Ini(d, "[FileList]\nlake.qmp=1\n[Advance]\nMusicFile=a.mp3;\n"); },
            "a.mp3: [Advance] MusicFile: the file does not exist"},
        TBadProject{"MisspeltKey",
                    [](auto& d) { Ini(d, "[FileList]\nlake.qmp=1\n[Default]\nDuraton=5\n"); },
                    "Duraton is not a known key — did you mean Duration?"},
        TBadProject{"MisspeltSection",
                    [](auto& d) { Ini(d, "[FileList]\nlake.qmp=1\n[Advanced]\n"); },
                    "[Advanced] is not a known section — did you mean [Advance]?"},
        TBadProject{
            "ValueOutOfRange",
            [](auto& d) { Ini(d, "[FileList]\nlake.qmp=1\n[Default]\nDirectXQuality=4\n"); },
            "DirectXQuality: '4' is not a number from 0 to 3"},
        TBadProject{"UIFileMissing",
                    [](auto& d) { Ini(d, "[FileList]\nlake.qmp=1\n[UI]\nUIFile=mine.wui\n"); },
                    "[UI] UIFile: names"},
        TBadProject{"DescriptionWithoutMainWindow", [](auto& d) { d.Write("ui.wui", "0\r\n"); },
                    "ui.wui: it holds no window named MainWindow, which /C opens"},
        TBadProject{"DescriptionThatDoesNotLoad", [](auto& d) { d.Write("ui.wui", "two\r\n"); },
                    "ui.wui: the player cannot read it: 'two' is not a valid integer value"},
        TBadProject{"WindowThatDoesNotBuild",
                    [](auto& d) {
                        d.Write("ui.wui",
                                "1\r\n4\r\nobject MainWindow: TForm\r\nobject B: TWidget\r\n"
                                "end\r\nend\r\n0\r\n0\r\n");
                    },
                    "window MainWindow: it does not build: Class TWidget not found"},
        TBadProject{"ButtonOpeningAMissingWindow",
                    [](auto& d) {
                        d.Write("ui.wui", "1\r\n2\r\nobject MainWindow: TForm\r\nend\r\n6\r\n1\r\n"
                                          "About\r\n1\r\nAboutWindow\r\n \r\n \r\n0\r\n");
                    },
                    "control About: it opens a window 'AboutWindow' that the file does not hold"},
        TBadProject{"TwoFilesOneName",
                    [](auto& d) {
                        d.Write("more/night.jpg", test::JpegOf(test::Landscape(8, 8)));
                        Ini(d, "[FileList]\nnight.jpg=1\nmore/night.jpg=1\n");
                    },
                    "it and night.jpg would both be stored as night.jpg"},
        TBadProject{"ReservedName",
                    [](auto& d) {
                        d.Write("QMC.res", "x");
                        Ini(d, "[FileList]\nlake.qmp=1\n[Advance]\nMusicFile=QMC.res;\n");
                    },
                    "the name QMC.res is kept for the archive's own items"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PackPlanTest, AListedButUnticked0PictureIsAWarningOnly) {
    test::TTempDir dir;
    WriteGoodProject(dir);
    Ini(dir, "[FileList]\nlake.qmp=1\nnight.jpg=0\n");
    const TPackPlan plan = PlanPack(dir.Path());
    EXPECT_FALSE(HasErrors(plan.Findings));
    EXPECT_TRUE(Says(plan.Findings, "the show plays every picture [FileList] names, whatever its "
                                    "value. Remove the line to leave the picture out"))
        << AllText(plan.Findings);
}

} // namespace
} // namespace ml::authoring
