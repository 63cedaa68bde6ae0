// The project page's model and checks: project.ini read and written back with the show's
// order and ticks, untouched values left to the show's defaults, a new project made around
// a saved picture, and "Build saver…" refusing a project pack would refuse.

#include "studio/ProjectFolder.h"

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "studio/ProjectForm.h"
#include "studio/ProjectPage.h"
#include "studio/ProjectPictures.h"
#include "tests/studio/StudioFixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>

namespace ml::studio {
namespace {

class ProjectTest : public test::StudioTest {};

TEST_F(ProjectTest, TheShowsOrderTicksAndChangedValuesAreWrittenAndTheRestLeftAlone) {
    Dir.Write("project.ini",
              "[FileList]\r\na.qmp=1\r\nb.qmp=0\r\nc.jpg=1\r\n"
              "[General]\r\nProductName=Lake\r\n; a comment to keep\r\n"
              "[Default]\r\nDuration=$1E\r\n[Advance]\r\nMusicFile=x.mp3;y.wav;\r\n");
    TProjectFolder project;
    project.Load(Dir.Path());
    ASSERT_EQ(project.Pictures.size(), 3u);
    EXPECT_FALSE(project.Pictures[1].Included);
    EXPECT_EQ(project.Value("Default", "Duration"), "$1E");
    EXPECT_EQ(project.Value("default", "transition"), "1") << "the schema's default";
    EXPECT_EQ(project.Music, (std::vector<std::string>{"x.mp3", "y.wav"}));

    std::swap(project.Pictures[0], project.Pictures[2]);
    project.SetValue("General", "Publisher", "Me");
    project.Music = {"y.wav"};
    EXPECT_FALSE(project.AddPicture("A.QMP")) << "names match without regard to case";
    EXPECT_TRUE(project.AddPicture("d.qmp"));
    EXPECT_TRUE(project.Modified());
    project.Save();
    EXPECT_FALSE(project.Modified());

    const TIniFile ini(Dir.File("project.ini"));
    // b.qmp was listed with 0, which the show would play all the same: unticked, it goes.
    EXPECT_EQ(ini.ReadSection("FileList"), (std::vector<std::string>{"c.jpg", "a.qmp", "d.qmp"}));
    EXPECT_EQ(ini.ReadString("FileList", "d.qmp", ""), "1");
    EXPECT_EQ(ini.ReadString("General", "Publisher", ""), "Me");
    EXPECT_EQ(ini.ReadString("Default", "Duration", ""), "$1E");
    EXPECT_EQ(ini.ReadString("Advance", "MusicFile", ""), "y.wav;");
    EXPECT_FALSE(ini.ValueExists("Default", "Transition"));
    EXPECT_NE(ReadWholeFile(Dir.File("project.ini")).find("; a comment to keep"),
              std::string::npos);
}

TEST_F(ProjectTest, ANewProjectFromAPictureListsItAndTheFoldersOtherPicturesWaitUnticked) {
    const std::string picture = test::MakePictureFile(Dir, "lake.qmp", "[Area1]\nAmplitude=4\n");
    TProjectPage page;
    const QString folder = QString::fromStdString(Dir.File("lake-saver"));
    ASSERT_TRUE(page.CreateProject(folder, {QString::fromStdString(picture)}));
    EXPECT_EQ(page.Folder(), folder);
    EXPECT_FALSE(page.Modified());
    ASSERT_EQ(page.Pictures()->count(), 1);

    const TBuildOutcome checked = page.BuildSaver({});
    EXPECT_FALSE(authoring::HasErrors(checked.Findings)) << test::AllText(checked.Findings);
    EXPECT_FALSE(checked.Built);

    // A picture saved into the folder joins the show; one saved elsewhere does not; one
    // that only lies there waits, unticked, and stays out of [FileList].
    test::TTempDir elsewhere;
    page.NotePictureSaved(folder + "/sea.qmp");
    page.NotePictureSaved(QString::fromStdString(elsewhere.File("river.qmp")));
    Dir.Write("lake-saver/night.jpg", test::JpegOf(test::Landscape(40, 30)));
    ASSERT_TRUE(page.Save());
    TProjectFolder reread;
    reread.Load(folder.toStdString());
    ASSERT_EQ(reread.Pictures.size(), 3u);
    EXPECT_EQ(reread.Pictures[1].Name, "sea.qmp");
    EXPECT_TRUE(reread.Pictures[1].Included);
    EXPECT_EQ(reread.Pictures[2].Name, "night.jpg");
    EXPECT_FALSE(reread.Pictures[2].Included);
    EXPECT_EQ(TIniFile(reread.SettingsPath()).ReadSection("FileList"),
              (std::vector<std::string>{"lake.qmp", "sea.qmp"}));
}

TEST_F(ProjectTest, AProjectPackWouldRefuseBuildsNoSaverAndSaysWhy) {
    Dir.Write("project.ini", "[FileList]\r\nmissing.qmp=1\r\n[Default]\r\nDuraton=5\r\n");
    TProjectPage page;
    page.OpenFolder(QString::fromStdString(Dir.Path()));
    const TBuildOutcome outcome = page.BuildSaver(QString::fromStdString(Dir.File("lake.scr")));
    EXPECT_TRUE(authoring::HasErrors(outcome.Findings));
    EXPECT_TRUE(test::Says(outcome.Findings, "did you mean")) << test::AllText(outcome.Findings);
    EXPECT_TRUE(test::Says(outcome.Findings, "missing.qmp"));
    EXPECT_FALSE(outcome.Built);
    EXPECT_FALSE(FileExists(Dir.File("lake.scr")));
}

TEST_F(ProjectTest, TheFormAndTheListEditTheProjectThatSaveWrites) {
    test::MakePictureFile(Dir, "a.qmp", "");
    test::MakePictureFile(Dir, "b.qmp", "");
    Dir.Write("project.ini", "[FileList]\r\na.qmp=1\r\nb.qmp=1\r\n[UI]\r\nUIFile=mine.wui\r\n");
    TProjectPage page;
    page.OpenFolder(QString::fromStdString(Dir.Path()));

    auto* name = qobject_cast<QLineEdit*>(page.Form()->Control("General", "ProductName"));
    auto* seconds = qobject_cast<QSpinBox*>(page.Form()->Control("Default", "Duration"));
    ASSERT_TRUE(name && seconds);
    name->setText("Lakes");
    emit name->editingFinished();
    seconds->setValue(45);
    page.Pictures()->setCurrentRow(1);
    page.Pictures()->MoveSelected(-1);
    page.Pictures()->item(1)->setCheckState(Qt::Unchecked);
    for (QRadioButton* choice : page.findChildren<QRadioButton*>())
        if (choice->text().startsWith("The standard window"))
            choice->click(); // instead of mine.wui
    EXPECT_TRUE(page.Modified());
    ASSERT_TRUE(page.Save());

    const TIniFile ini(Dir.File("project.ini"));
    EXPECT_EQ(ini.ReadString("General", "ProductName", ""), "Lakes");
    EXPECT_EQ(ini.ReadString("Default", "Duration", ""), "45");
    EXPECT_EQ(ini.ReadSection("FileList"), std::vector<std::string>{"b.qmp"});
    EXPECT_EQ(ini.ReadString("UI", "UIFile", "?"), "");
}

TEST_F(ProjectTest, ThumbnailsComeFromPictureFilesAndPlainPictures) {
    const std::string picture = test::MakePictureFile(Dir, "lake.qmp", "");
    EXPECT_EQ(LookOfPicture(picture).Thumbnail.size(), QSize(80, 60));
    EXPECT_EQ(LookOfPicture(picture).Title, "lake.qmp-picture");
    const std::string photo = WritePhoto("wide.png", 160, 60);
    EXPECT_EQ(LookOfPicture(photo).Thumbnail.size(), QSize(80, 30));
    EXPECT_EQ(LookOfPicture(Dir.File("gone.qmp")).Thumbnail.size(), QSize(80, 60)) << "a tile";
}

} // namespace
} // namespace ml::studio
