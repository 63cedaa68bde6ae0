#include "project/UserSettings.h"
#include "platform/Profile.h"
#include "project/QMCProject.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace ml {
namespace {

class UserSettingsTest : public ::testing::Test {
protected:
    test::TTempDir Dir;
    TUserSettingsFile File{Dir.File("waves.ini"), true};
    TQMCProject Project;

    void SetUp() override {
        for (const char* name : {"a.qmp", "b.qmp", "c.qmp"}) {
            Project.FileList.FileNames.push_back(name);
            Project.FileList.Included.push_back("TRUE");
        }
    }
    void WriteFile(const std::string& text) { Dir.Write("waves.ini", text); }
    std::vector<std::string> Included() const { return Project.FileList.Included; }
};

TEST(UserSettingsNames, FileNameAndPermission) {
    EXPECT_EQ(UserSettingsFileName("/opt/waves.screen.scr"), "/opt/waves.screen.ini");
    EXPECT_EQ(UserSettingsFileName("/opt/waves"), "/opt/waves.ini");
    EXPECT_TRUE(SettingsAllowed("/opt/waves.SCR", ""));
    EXPECT_TRUE(SettingsAllowed("/opt/waves.exe", "/c"));
    EXPECT_FALSE(SettingsAllowed("/opt/waves.exe", "/c:1234"));
    EXPECT_FALSE(SettingsAllowed("/opt/waves", "/S"));
}

TEST_F(UserSettingsTest, NoFileLeavesProjectAsItIs) {
    Project.Setting.ShowImageMode = 3;
    Project.Setting.DirectX = false;
    LoadUserSettings(Project, File);
    EXPECT_EQ(Project.Setting.ShowImageMode, 3);
    EXPECT_FALSE(Project.Setting.DirectX);
    EXPECT_EQ(Included(), (std::vector<std::string>{"TRUE", "TRUE", "TRUE"}));
}

TEST_F(UserSettingsTest, IndexAndFilesOnlyForceTheDisplayDefaults) {
    Project.Setting.DirectX = false;
    Project.Setting.DirectXQuality = 2;
    WriteFile("[Setting]\r\nIndex=1\r\n[Files]\r\n0=\r\n");
    LoadUserSettings(Project, File);
    EXPECT_TRUE(Project.Setting.DirectX);
    EXPECT_EQ(Project.Setting.DirectXQuality, 1);

    TShowSettings dialog;
    EXPECT_TRUE(ReadUserSettings(Project, dialog, File));
    EXPECT_TRUE(dialog.DirectX); // the project now says so after the show's load

    TQMCProject fresh;
    fresh.Setting.DirectX = false;
    fresh.Setting.DirectXQuality = 2;
    ReadUserSettings(fresh, dialog, File);
    EXPECT_FALSE(dialog.DirectX);
    EXPECT_EQ(dialog.DirectXQuality, 2);
}

TEST_F(UserSettingsTest, FavouritesAndSingleSelection) {
    struct Row {
        const char* file;
        std::vector<std::string> included;
    } rows[] = {
        {"[Setting]\r\nImageMode=2\r\n[Files]\r\n", {"TRUE", "TRUE", "TRUE"}},
        {"[Setting]\r\nImageMode=2\r\n[Files]\r\n1=\r\n7=\r\nx=\r\n", {"TRUE", "FALSE", "TRUE"}},
        // Only the plain decimal names a picture, as for the window's grid.
        {"[Setting]\r\nImageMode=2\r\n[Files]\r\n01=\r\n$2=\r\n+1=\r\n", {"TRUE", "TRUE", "TRUE"}},
        {"[Setting]\r\nImageMode=3\r\nIndex=2\r\n", {"FALSE", "FALSE", "TRUE"}},
        {"[Setting]\r\nImageMode=3\r\nIndex=5\r\n", {"TRUE", "FALSE", "FALSE"}},
        {"[Setting]\r\nImageMode=1\r\n[Files]\r\n1=\r\n", {"TRUE", "TRUE", "TRUE"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        TQMCProject project;
        project.FileList = Project.FileList;
        WriteFile(row.file);
        LoadUserSettings(project, File);
        EXPECT_EQ(project.FileList.Included, row.included);
    }

    // The selected picture is one the project leaves out: the list stays as it is.
    TQMCProject project;
    project.FileList = Project.FileList;
    project.FileList.Included = {"TRUE", "FALSE", "TRUE"};
    WriteFile("[Setting]\r\nImageMode=3\r\nIndex=1\r\n");
    LoadUserSettings(project, File);
    EXPECT_EQ(project.FileList.Included, (std::vector<std::string>{"TRUE", "FALSE", "TRUE"}));
}

TEST_F(UserSettingsTest, SpeedAndImageSize) {
    struct Row {
        const char* file;
        int speed;
        bool stretch, proportional;
    } rows[] = {
        {"[Setting]\r\nSpeed=10\r\n", 100, true, false},
        {"[Setting]\r\nSpeed=20\r\n", 500, true, false},
        {"[Setting]\r\nSpeed=0\r\n", 10, true, false},
        {"[Setting]\r\nSpeed=25\r\n", 77, true, false},
        {"[Setting]\r\nSpeed=abc\r\nImageSize=0\r\n", 77, false, false},
        {"[Setting]\r\nImageSize=2\r\n", 77, true, true},
        {"[Setting]\r\nImageSize=1\r\n", 77, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        TQMCProject project;
        project.Setting.Speed = 77;
        WriteFile(row.file);
        LoadUserSettings(project, File);
        EXPECT_EQ(project.Setting.Speed, row.speed);
        EXPECT_EQ(project.Setting.Stretch, row.stretch);
        EXPECT_EQ(project.Setting.Proportional, row.proportional);
    }
}

TEST_F(UserSettingsTest, DialogDefaultsComeFromTheProject) {
    Project.Setting.Stretch = true;
    Project.Setting.Proportional = true;
    Project.Setting.Speed = 100;
    Project.Setting.Duration = 45;
    TShowSettings s;
    EXPECT_TRUE(ReadUserSettings(Project, s, File));
    EXPECT_EQ(s.ImageSize, 2);
    EXPECT_EQ(s.Speed, 10);
    EXPECT_EQ(s.Duration, 45);

    WriteFile("[Setting]\r\nDuration=-5\r\n"); // no time at all: the default
    EXPECT_TRUE(ReadUserSettings(Project, s, File));
    EXPECT_EQ(s.Duration, 45);
    LoadUserSettings(Project, File);
    EXPECT_EQ(Project.Setting.Duration, 45);

    Project.Setting.Speed = 33; // no table entry: position 0
    Project.Setting.Stretch = false;
    TUserSettingsFile denied{File.FileName, false};
    WriteFile("[Setting]\r\nDuration=99\r\n");
    EXPECT_FALSE(ReadUserSettings(Project, s, denied));
    EXPECT_EQ(s.Speed, 0);
    EXPECT_EQ(s.ImageSize, 0);
    EXPECT_EQ(s.Duration, 45);
}

TEST_F(UserSettingsTest, WritesHappenOnlyWhenAllowed) {
    TUserSettingsFile denied{File.FileName, false};
    SaveUserSettings(TShowSettings{}, denied);
    SaveCurrentIndex(2, denied);
    SaveExcludedPictures({{true, false}}, denied);
    EXPECT_FALSE(std::ifstream(File.FileName).good());

    TShowSettings s;
    s.ImageSize = 1;
    s.Speed = 12;
    s.Sound = false;
    s.Duration = 120;
    SaveUserSettings(s, File);
    SaveCurrentIndex(2, File);
    TIniFile ini(File.FileName);
    EXPECT_EQ(
        ini.ReadSection("Setting"),
        (std::vector<std::string>{"ImageSize", "ImageMode", "Speed", "Sound", "Music", "Transition",
                                  "Duration", "DirectX", "DirectXQuality", "Index"}));
    EXPECT_EQ(ini.ReadString("Setting", "Sound", ""), "0");
    EXPECT_EQ(ReadCurrentIndex(3, File), 2);
    EXPECT_EQ(ReadCurrentIndex(2, File), 0);
}

TEST_F(UserSettingsTest, ExcludedPicturesAreRewrittenWhole) {
    WriteFile("[Files]\r\n0=\r\n[Other]\r\nKeep=1\r\n");
    SaveExcludedPictures({{true, true}, {true, false}, {false, false}, {true, false}}, File);
    EXPECT_EQ(ReadExcludedPictures(5, File), (std::vector<bool>{false, true, false, true, false}));
    EXPECT_EQ(TIniFile(File.FileName).ReadString("Other", "Keep", ""), "1");
}

} // namespace
} // namespace ml
