#include "configui/ConfigWindow.h"
#include "configui/ComponentBuilder.h"
#include "configui/Control.h"
#include "configui/DescribedWindow.h"
#include "configui/FormsCollection.h"
#include "configui/PreviewPane.h"
#include "configui/SettingsDialog.h"
#include "configui/StdControls.h"
#include "configui/ThumbnailGrid.h"
#include "platform/Exceptions.h"
#include "platform/Profile.h"
#include "platform/ShellOpen.h"
#include "project/QMCProject.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ResourceLimits.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>

namespace ml {
namespace {

// A main window with a grid, a preview pane, three labels of different tags and buttons
// bound to actions; a second window with its own grid.
const char* kDescriptions = "2\r\n"
                            "24\r\n"
                            "object MainWindow: TfmMain\r\n"
                            "  ClientWidth = 500\r\n"
                            "  ClientHeight = 300\r\n"
                            "  object Grid: TQMThumbnail2\r\n"
                            "    Width = 200\r\n"
                            "    Height = 200\r\n"
                            "    ShowCheckBox = True\r\n"
                            "    Tag = 1\r\n"
                            "  end\r\n"
                            "  object Pane: TQMPreview\r\n"
                            "    Left = 220\r\n"
                            "    Width = 160\r\n"
                            "    Height = 120\r\n"
                            "    Tag = 1\r\n"
                            "  end\r\n"
                            "  object Hidden: TLabel\r\n"
                            "    Tag = 2\r\n"
                            "  end\r\n"
                            "  object Shown: TLabel\r\n"
                            "    Tag = 3\r\n"
                            "  end\r\n"
                            "  object Untagged: TLabel\r\n"
                            "  end\r\n"
                            "end\r\n"
                            "11\r\n"
                            "2\r\n"
                            "Shown\r\n0\r\n<Website>\r\n\r\n\r\n"
                            "Untagged\r\n2\r\n\r\n\r\n\r\n"
                            "0\r\n"
                            "12\r\n"
                            "object Inner: TfmInner\r\n"
                            "  object InnerGrid: TQMThumbnail2\r\n"
                            "    Width = 200\r\n"
                            "    Height = 200\r\n"
                            "    ShowCheckBox = True\r\n"
                            "    Tag = 1\r\n"
                            "  end\r\n"
                            "  object Spare: TLabel\r\n"
                            "  end\r\n"
                            "  object Spare2: TLabel\r\n"
                            "  end\r\n"
                            "end\r\n"
                            "1\r\n"
                            "0\r\n"
                            "0\r\n";

class ConfigWindowTest : public ::testing::Test {
protected:
    test::TTempDir Dir;
    test::TRecordingSink Messages;
    TQMForms Forms;
    TQMCProject Project;
    TUserSettingsFile Settings{Dir.File("waves.ini"), true};

    void SetUp() override {
        Forms.LoadFromText(kDescriptions);
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(name[0] == 'a' ? Qt::red : name[0] == 'b' ? Qt::green : Qt::blue);
            image.save(QString::fromStdString(Dir.File(name)), "BMP");
            Project.FileList.FileNames.push_back(Dir.File(name));
            Project.FileList.Included.push_back("TRUE");
        }
        Project.Setting.ProductName = "Lake <Website>";
        Project.Setting.Website = "https://example.org/";
        RegisterConfigWindowClass();
        DescribedWindowContext() = {&Forms, &Project, Settings};
    }
    void TearDown() override { DescribedWindowContext() = {}; }

    // Builds a described window as ShowDescribedWindow does, without the modal loop.
    std::unique_ptr<TfmQMCOnfigWindow> Build(const std::string& name) {
        return BuildDescribedWindow(Forms, Project, name);
    }
    template <class T> static T* Find(TForm& form, const char* name) {
        return dynamic_cast<T*>(form.FindComponent(name));
    }
    void WriteSettings(const std::string& text) { Dir.Write("waves.ini", text); }
    // Makes the collection hold one window, MainWindow, from its description and bindings.
    void UseWindow(const std::vector<std::string>& description,
                   const std::vector<std::string>& bindings = {"0"}) {
        std::string file = "1\r\n" + std::to_string(description.size()) + "\r\n";
        for (const std::string& line : description)
            file += line + "\r\n";
        file += std::to_string(bindings.size()) + "\r\n";
        for (const std::string& line : bindings)
            file += line + "\r\n";
        Forms.LoadFromText(file + "0\r\n");
    }
};

TEST(Placeholders, ReplacedInOrderLineByLine) {
    TQMCProject project;
    project.Setting.ProductName = "Waves by <CompanyName>";
    project.Setting.Publisher = "Lake & Co <Website>";
    project.Setting.Website = "https://example.org/";
    EXPECT_EQ(ReplacePlaceholders("<ScreensaverName>", project),
              "Waves by Lake & Co https://example.org/\r\n");
    EXPECT_EQ(ReplacePlaceholders("a <Website>\nb<Website><Website>", project),
              "a https://example.org/\r\nbhttps://example.org/https://example.org/\r\n");
    EXPECT_EQ(ReplacePlaceholders("", project), "");
    EXPECT_EQ(ReplacePlaceholders("<websitE>", project), "<websitE>\r\n");
}

TEST_F(ConfigWindowTest, ShowFillsControlsByTagAndIndex) {
    WriteSettings("[Setting]\r\nIndex=2\r\n[Files]\r\n1=\r\n02=\r\n");
    auto window = Build("MainWindow");
    window->FormShow();
    EXPECT_EQ(window->CurrentIndex, 2);
    EXPECT_FALSE(Find<QWidget>(*window, "Hidden")->isVisibleTo(window.get()));
    EXPECT_TRUE(Find<QWidget>(*window, "Shown")->isVisibleTo(window.get()));
    EXPECT_FALSE(Find<QWidget>(*window, "Untagged")->isVisibleTo(window.get()));
    auto* grid = Find<TQMThumbnail2>(*window, "Grid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->ItemCount(), 3);
    // "02" is not the position 2: only picture 1 is unticked.
    EXPECT_TRUE(grid->ItemChecked(0));
    EXPECT_FALSE(grid->ItemChecked(1));
    EXPECT_TRUE(grid->ItemChecked(2));
    EXPECT_EQ(Find<TQMPreview>(*window, "Pane")->FileName(), Dir.File("c.bmp"));

    for (const char* index : {"3", "-1", "x"}) {
        WriteSettings(std::string("[Setting]\r\nIndex=") + index + "\r\n");
        auto again = Build("MainWindow");
        again->FormShow();
        EXPECT_EQ(again->CurrentIndex, 0) << index;
    }
}

// Showing or hiding a control by its Tag docks its container's aligned controls again.
TEST_F(ConfigWindowTest, VisibilityByTagDocksAgain) {
    UseWindow({"object MainWindow: TfmMain", "  Visible = True", "  ClientWidth = 300",
               "  ClientHeight = 200", "  object Bar: TPanel", "    Align = alTop",
               "    Height = 30", "    Visible = False", "    Tag = 1", "  end",
               "  object Foot: TPanel", "    Align = alBottom", "    Height = 40", "  end",
               "  object Body: TPanel", "    Align = alClient", "    Tag = 1", "  end", "end"});
    auto window = Build("MainWindow");
    window->FormShow();
    EXPECT_EQ(Find<QWidget>(*window, "Bar")->geometry(), QRect(0, 0, 300, 30));
    EXPECT_EQ(Find<QWidget>(*window, "Body")->geometry(), QRect(0, 30, 300, 170));
}

// Only the program's own shape and bevel run bound actions; the plain ones are decoration.
TEST_F(ConfigWindowTest, OnlyTheProgramsShapeAndBevelRunActions) {
    UseWindow({"object MainWindow: TfmMain", "  object Plain: TShape", "    Tag = 1", "  end",
               "  object Mine: TMyShape", "    Tag = 1", "  end", "  object Bevel: TMyBevel",
               "    Tag = 1", "  end", "end"},
              {"3", "Plain", "2", " ", " ", " ", "Mine", "2", " ", " ", " ", "Bevel", "3", " ", " ",
               " "});
    auto window = Build("MainWindow");
    window->FormShow();
    AsControl(window->FindComponent("Mine"))->Click(); // next: 1
    EXPECT_EQ(window->CurrentIndex, 1);
    AsControl(window->FindComponent("Bevel"))->Click(); // previous: 0
    AsControl(window->FindComponent("Plain"))->Click(); // nothing
    EXPECT_EQ(window->CurrentIndex, 0);
}

// A product name with a quote is the author's text inside a quoted caption, wherever the
// placeholder stands in it.
TEST_F(ConfigWindowTest, PlaceholdersKeepQuotedStringsWhole) {
    Project.Setting.ProductName = "Joe's Lake";
    Project.Setting.Publisher = "O'Brien";
    UseWindow({"object MainWindow: TfmMain", "  Caption = '<ScreensaverName>'",
               "  object Title: TLabel", "    Caption = 'About ''<ScreensaverName>'' by '+",
               "      '<CompanyName>'#13'<Website>'", "    Tag = 1", "  end", "end"});
    auto window = Build("MainWindow");
    EXPECT_EQ(window->windowTitle(), "Joe's Lake");
    EXPECT_EQ(AsControl(window->FindComponent("Title"))->Caption(),
              "About 'Joe's Lake' by O'Brien\rhttps://example.org/");
}

// 20,000 placeholders and a web address of 2047 characters would make a 40 MB caption: the
// description is refused before it grows, within a modest amount of memory.
TEST_F(ConfigWindowTest, PlaceholdersCannotGrowADescriptionWithoutBound) {
    Project.Setting.Website = std::string(2047, 'w');
    std::string caption = "    Caption = '";
    for (int i = 0; i < 20000; ++i)
        caption += "<Website>";
    UseWindow(
        {"object MainWindow: TfmMain", "  object Title: TLabel", caption + "'", "  end", "end"});
    EXPECT_TRUE(test::RunsWithin({10, std::size_t{256} << 20}, [&] {
        try {
            Build("MainWindow");
        } catch (const EReadError& e) {
            return e.Message().find("grow by more than 1 MiB") != std::string::npos;
        }
        return false;
    }));
}

// A first picture that cannot be read is reported; the window still works and can close.
TEST_F(ConfigWindowTest, UnreadableFirstPictureLeavesAWorkingWindow) {
    Dir.Write("a.bmp", "BM not really a bitmap");
    auto window = Build("MainWindow");
    EXPECT_NO_THROW(window->FormShow());
    ASSERT_FALSE(Messages.Messages.empty());
    EXPECT_EQ(Messages.Messages[0].Text.rfind("File: " + Dir.File("a.bmp") + "\r\n", 0), 0u);
    EXPECT_TRUE(Find<QWidget>(*window, "Shown")->isVisibleTo(window.get()));
    EXPECT_FALSE(Find<QWidget>(*window, "Hidden")->isVisibleTo(window.get()));
    window->ControlClick(Find<TLabel>(*window, "Untagged")); // bound: next picture
    EXPECT_EQ(window->CurrentIndex, 1);
    EXPECT_EQ(Find<TQMPreview>(*window, "Pane")->FileName(), Dir.File("b.bmp"));
}

TEST_F(ConfigWindowTest, NextAndPreviousStopAtTheEnds) {
    auto window = Build("MainWindow");
    window->FormShow();
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    auto* next = Find<TLabel>(*window, "Untagged");
    for (int i = 0; i < 5; ++i)
        window->ControlClick(next);
    EXPECT_EQ(window->CurrentIndex, 2);
    EXPECT_EQ(Find<TQMPreview>(*window, "Pane")->FileName(), Dir.File("c.bmp"));
    window->SelectPicture(-4);
    EXPECT_EQ(window->CurrentIndex, 0);
    window->ControlClick(Find<TLabel>(*window, "Shown"));
    SetShellOpener({});
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/\r\n"}));
    window->ControlClick(Find<TLabel>(*window, "Hidden")); // no binding: nothing happens

    Project.FileList.FileNames.clear();
    window->SelectPicture(1);
    EXPECT_EQ(window->CurrentIndex, 0);
}

TEST_F(ConfigWindowTest, ClosingSavesIndexAndFavouritesAndTheLastWindowDecides) {
    auto outer = Build("MainWindow");
    outer->FormShow();
    Find<TQMThumbnail2>(*outer, "Grid")->SetItemChecked(0, false);
    outer->SelectPicture(1);

    auto inner = Build("Inner");
    inner->FormShow();
    Find<TQMThumbnail2>(*inner, "InnerGrid")->SetItemChecked(2, false);
    inner->FormClose();
    TIniFile ini(Settings.FileName);
    EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"2"}));

    outer->FormClose();
    EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(ini.ReadInteger("Setting", "Index", -1), 1);
}

TEST_F(ConfigWindowTest, NothingIsReadOrWrittenWithoutPermission) {
    WriteSettings("[Setting]\r\nIndex=2\r\n[Files]\r\n1=\r\n");
    DescribedWindowContext().Settings.Allowed = false;
    auto window = Build("MainWindow");
    window->FormShow();
    EXPECT_EQ(window->CurrentIndex, 0);
    EXPECT_FALSE(Find<TQMThumbnail2>(*window, "Grid")->ItemChecked(0));
    window->SelectPicture(2);
    window->FormClose();
    EXPECT_EQ(TIniFile(Settings.FileName).ReadInteger("Setting", "Index", -1), 2);
    std::ifstream in(Settings.FileName);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "[Setting]\r\nIndex=2\r\n[Files]\r\n1=\r\n");
}

TEST_F(ConfigWindowTest, UnknownWindowNameFailsWithTheListError) {
    try {
        ShowDescribedWindow(Forms, Project, "  Missing ", Settings);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
}

// Runs the settings dialog and answers it through the given control changes.
void AnswerDialog(const std::function<void(TfmSettingWindow&)>& answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = dynamic_cast<TfmSettingWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

TEST_F(ConfigWindowTest, SettingsDialogDefaultsOkCancelAndReset) {
    Project.Setting.Speed = 33; // no table entry: the slider starts at 0
    Project.Setting.Duration = 45;
    QWidget owner;
    bool okEnabled = false;
    int speedShown = -1;
    AnswerDialog([&](TfmSettingWindow& d) {
        okEnabled = d.Button1->isEnabled();
        speedShown = d.tbSpeed->value();
        EXPECT_EQ(d.txtDuration->text(), "45");
        d.tbSpeed->setValue(15);
        d.Label3Click();
        EXPECT_EQ(d.tbSpeed->value(), 10);
        d.cbSound->setChecked(false);
        d.Button2->click(); // Cancel
    });
    RunSettingsDialog(&owner, Project, Settings);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(speedShown, 0);
    EXPECT_FALSE(std::ifstream(Settings.FileName).good());

    AnswerDialog([](TfmSettingWindow& d) {
        d.tbSpeed->setValue(12);
        d.txtDuration->setText("120");
        d.cbImageSize->setCurrentIndex(0);
        d.Button1->click();
    });
    RunSettingsDialog(&owner, Project, Settings);
    TIniFile ini(Settings.FileName);
    EXPECT_EQ(ini.ReadSection("Setting").size(), 9u);
    EXPECT_EQ(ini.ReadInteger("Setting", "Speed", -1), 12);
    EXPECT_EQ(ini.ReadInteger("Setting", "Duration", -1), 120);
    EXPECT_EQ(ini.ReadInteger("Setting", "ImageSize", -1), 0);

    AnswerDialog([](TfmSettingWindow& d) {
        d.txtDuration->setText("");
        d.Button1->click();
    });
    EXPECT_THROW(RunSettingsDialog(&owner, Project, Settings), EConvertError);
    EXPECT_EQ(ini.ReadInteger("Setting", "Duration", -1), 120);

    TUserSettingsFile denied{Settings.FileName, false};
    AnswerDialog([&](TfmSettingWindow& d) {
        okEnabled = d.Button1->isEnabled();
        d.Button2->click();
    });
    RunSettingsDialog(&owner, Project, denied);
    EXPECT_FALSE(okEnabled);
}

} // namespace
} // namespace ml
