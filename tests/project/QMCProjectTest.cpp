#include "project/QMCProject.h"
#include "project/Archive.h"
#include "tests/project/ArchiveTestSupport.h"
#include "tests/support/ResourceLimits.h"

#include <gtest/gtest.h>

#include <functional>

namespace ml {
namespace {

TQMCSetting LoadSetting(const std::string& text) {
    test::TTempDir dir;
    TQMCSetting setting;
    setting.LoadFromFile(dir.Write("settings.ini", text));
    return setting;
}

struct SettingRow {
    const char* name;
    std::string text;
    std::function<bool(const TQMCSetting&)> holds;
};

class SettingRows : public ::testing::TestWithParam<SettingRow> {};

TEST_P(SettingRows, ValuesFollowTheProfileRules) {
    EXPECT_TRUE(GetParam().holds(LoadSetting(GetParam().text)));
}

INSTANTIATE_TEST_SUITE_P(
    QMCProject, SettingRows,
    ::testing::Values(
        SettingRow{"HexDuration", "[Default]\r\nDuration=0x1E\r\n",
                   [](const TQMCSetting& s) { return s.Duration == 30; }},
        SettingRow{"DollarHexSpeed", "[default]\r\nspeed=$C8\r\n",
                   [](const TQMCSetting& s) { return s.Speed == 200; }},
        SettingRow{"WordKeepsDuration", "[Default]\r\nDuration=abc\r\n",
                   [](const TQMCSetting& s) { return s.Duration == 30; }},
        SettingRow{"NegativeKeepsDuration", "[Default]\r\nDuration=-5\r\n",
                   [](const TQMCSetting& s) { return s.Duration == 30; }},
        SettingRow{"MusicWithoutKeyStaysOn", "[Default]\r\nSound=0\r\n",
                   [](const TQMCSetting& s) { return s.Music && !s.Sound; }},
        SettingRow{"TrueIsNotANumber", "[Default]\r\nStretch=TRUE\r\nProportional=TRUE\r\n",
                   [](const TQMCSetting& s) { return s.Stretch && !s.Proportional; }},
        SettingRow{"AnyNumberButZeroIsTrue", "[Default]\r\nProportional=-1\r\nDirectX=0\r\n",
                   [](const TQMCSetting& s) { return s.Proportional && !s.DirectX; }},
        SettingRow{"TextsTrimmed", "[General]\r\nProductName =  Lake Side  \r\n",
                   [](const TQMCSetting& s) { return s.ProductName == "Lake Side"; }},
        SettingRow{"KeysInTheWrongSectionAreIgnored", "[General]\r\nDuration=5\r\n",
                   [](const TQMCSetting& s) { return s.Duration == 30; }},
        SettingRow{"AdvanceAndBuild",
                   "[Advance]\r\nMusicFile=a.mp3;b.wav;\r\nMusicMode=1\r\n"
                   "[Build]\r\nBuildMethod=2\r\nBuildSmallThumbs=0\r\n",
                   [](const TQMCSetting& s) {
                       return s.MusicFile == "a.mp3;b.wav;" && s.MusicMode == 1 &&
                              s.BuildMethod == 2 && !s.BuildSmallThumbs;
                   }},
        SettingRow{"EmptyTextKeepsAllDefaults", "",
                   [](const TQMCSetting& s) {
                       return s.Stretch && !s.Proportional && s.Sound && s.Music && s.Random &&
                              s.Duration == 30 && s.Transition && s.Speed == 100 &&
                              s.ShowImageMode == 0 && s.DirectX && s.DirectXQuality == 1 &&
                              s.ProductName.empty() && s.Animation && s.ZoomDuration == 5 &&
                              s.BuildMethod == 1;
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QMCProject, FileListKeepsOrderAndReadsFlagsAsNumbers) {
    test::TTempDir dir;
    TQMCFileList list;
    list.LoadFromFile(dir.Write("list.ini", "[FileListHeader]\r\nHeader=3\r\n[FileList]\r\n"
                                            "z.qmp=1\r\na.qmp=0\r\nm.qmp=TRUE\r\nb.qmp=2\r\n"));
    EXPECT_EQ(list.FileNames, (std::vector<std::string>{"z.qmp", "a.qmp", "m.qmp", "b.qmp"}));
    EXPECT_EQ(list.Included, (std::vector<std::string>{"TRUE", "FALSE", "FALSE", "TRUE"}));

    // a second load starts afresh
    list.LoadFromFile(dir.Write("empty.ini", "[FileList]\r\n[Other]\r\nx.qmp=1\r\n"));
    EXPECT_TRUE(list.FileNames.empty());
    EXPECT_TRUE(list.Included.empty());
}

// A long list in a padded file is read in one pass: far within the CPU limit, where reading
// the file again for every name runs out.
TEST(QMCProject, LongFileListsAreReadInOnePass) {
    test::TTempDir dir;
    std::string text = "[FileList]\r\n";
    for (int i = 0; i < 3900; ++i)
        text += std::to_string(i) + "=" + std::to_string(i % 2) + "\r\n";
    for (int i = 0; i < 20000; ++i)
        text += "; padding padding padding padding padding padding padding\r\n";
    const std::string path = dir.Write("list.ini", text);
    EXPECT_TRUE(test::RunsWithin({5}, [&] {
        TQMCFileList list;
        list.LoadFromFile(path);
        return list.FileNames.size() > 3000 && list.Included.size() == list.FileNames.size() &&
               list.Included[0] == "FALSE" && list.Included[1] == "TRUE";
    }));
}

TEST(QMCProject, LoadsTheFirstThreeItemsThroughScratchFiles) {
    test::TScopedTempPath temp;
    std::string path = temp.Folder().Write(
        "QMC.res", BuildArchive({"[FileList]\r\nx.qmp=1\r\n", "[Default]\r\nDuration=12\r\n",
                                 "[UI]\r\nUIFile=right.wui\r\n", "[UI]\r\nUIFile=wrong.wui\r\n"}));
    TQMCProject project;
    project.LoadFromFile(path);
    EXPECT_EQ(project.FileList.FileNames, (std::vector<std::string>{"x.qmp"}));
    EXPECT_EQ(project.Setting.Duration, 12);
    EXPECT_EQ(project.UISetting.UIFile, "right.wui");
    for (const char* n : {"1", "2", "3"})
        EXPECT_FALSE(FileExists(temp.Folder().Path() + "QMQMC.~" + n + ".tmp"));
}

// The scratch files lie beside the container, in the instance's own folder: files that
// another user planted in the shared temporary folders are never read as the settings.
TEST(QMCProject, ScratchFilesLieBesideTheContainerNotInTheTemporaryFolder) {
    test::TScopedTempPath temp;
    test::TTempDir own;
    temp.Folder().Write("QMQMC.~2.tmp", "[Default]\r\nDuration=99\r\n");
    std::string path = own.Write("QMC.res", BuildArchive({"[FileList]\r\n"}));
    TQMCProject project;
    project.LoadFromFile(path);
    EXPECT_EQ(project.Setting.Duration, 30);
    EXPECT_TRUE(FileExists(temp.Folder().File("QMQMC.~2.tmp"))); // not ours to delete
    for (const char* n : {"1", "2", "3"})
        EXPECT_FALSE(FileExists(own.File(std::string("QMQMC.~") + n + ".tmp")));
}

TEST(QMCProject, ItemsTheContainerLacksReadAsEmpty) {
    test::TScopedTempPath temp;
    // a scratch file left by an earlier run must not stand in for the missing third item
    temp.Folder().Write("QMQMC.~3.tmp", "[UI]\r\nUIFile=stale.wui\r\n");
    std::string path = temp.Folder().Write("QMC.res", BuildArchive({"[FileList]\r\n"}));
    TQMCProject project;
    project.LoadFromFile(path);
    EXPECT_TRUE(project.UISetting.UIFile.empty());
    EXPECT_EQ(project.Setting.Duration, 30);

    TQMCProject missing;
    missing.LoadFromFile(temp.Folder().File("absent.res"));
    EXPECT_TRUE(missing.FileList.FileNames.empty());
    EXPECT_TRUE(missing.Setting.Music);
}

} // namespace
} // namespace ml
