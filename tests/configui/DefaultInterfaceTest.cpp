// The default configuration window as the program reads it: the collection and its bindings,
// and both windows built from their filtered text. A picture of each window is kept in /tmp
// for a person to look at.

#include "demo/DefaultInterface.h"
#include "configui/ComponentBuilder.h"
#include "configui/ConfigWindow.h"
#include "configui/DescribedWindow.h"
#include "configui/FormsCollection.h"
#include "configui/MyButton.h"
#include "project/QMCProject.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

struct TExpectedBinding {
    const char* Window;
    const char* Control;
    int Action;
    const char* Param1;
};

const TExpectedBinding kBindings[] = {
    {"MainWindow", "AboutButton", 1, "AboutWindow"},
    {"MainWindow", "PreviewPane", 4, " "},
    {"MainWindow", "PreviousButton", 3, " "},
    {"MainWindow", "PreviewButton", 4, " "},
    {"MainWindow", "NextButton", 2, " "},
    {"MainWindow", "WebsiteLink", 0, "<Website>"},
    {"MainWindow", "SettingsButton", 5, " "},
    {"MainWindow", "WallpaperButton", 9, " "},
    {"MainWindow", "CloseButton", 6, " "},
    {"AboutWindow", "AboutWebsite", 0, "<Website>"},
    {"AboutWindow", "AboutClose", 6, " "},
};

TEST(DefaultInterface, CollectionHoldsBothWindowsWithTheirBindings) {
    const std::string text = DefaultInterfaceDescription();
    EXPECT_EQ(DefaultInterfaceDescription(), text) << "the same on every run";
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ASSERT_EQ(text[at - 1], '\r') << "line ending at " << at;

    TQMForms forms;
    forms.LoadFromText(text);
    ASSERT_EQ(forms.Count(), 2);
    EXPECT_EQ(forms.Form(0).Name, "MainWindow") << "configure mode opens the first by name";
    EXPECT_EQ(forms.Form(1).Name, "AboutWindow");
    EXPECT_EQ(forms.Form(0).Actions.Count() + forms.Form(1).Actions.Count(),
              static_cast<int>(std::size(kBindings)));
    for (const auto& row : kBindings) {
        SCOPED_TRACE(row.Control);
        const TAction* action = forms.FindForm(row.Window).Actions.FindAction(row.Control);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->ActionNumber, row.Action);
        EXPECT_EQ(action->Param1, row.Param1);
        if (row.Action == 1) {
            EXPECT_NO_THROW(forms.FindForm(action->Param1)) << "opens a window of the file";
        }
    }
}

TQMCProject DemoProject() {
    TQMCProject project;
    project.Setting.ProductName = "Mirrorlake Demo";
    project.Setting.Publisher = "Mirrorlake";
    project.Setting.Website = "https://mirrorlake.example/";
    return project;
}

TEST(DefaultInterface, BothWindowsBuildWithEveryControlShownAndEveryBindingClickable) {
    RegisterConfigWindowClass();
    TQMForms forms;
    forms.LoadFromText(DefaultInterfaceDescription());
    TQMCProject project = DemoProject();
    TDescribedWindowContext& context = DescribedWindowContext();
    const TDescribedWindowContext saved = context;
    context.Forms = &forms;
    context.Project = &project;
    context.Settings = TUserSettingsFile{}; // nothing read or written
    for (const std::string name : {"MainWindow", "AboutWindow"}) {
        SCOPED_TRACE(name);
        const std::string text =
            ReplacePlaceholders(forms.FindForm(name).FilteredDescription(), project);
        std::unique_ptr<QWidget> built = BuildFromText(text);
        auto* window = dynamic_cast<TfmQMCOnfigWindow*>(built.get());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->windowTitle().contains("Mirrorlake Demo"));
        window->show(); // binds the clicks and applies the Tags

        for (QWidget* control : window->Components()) {
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_TRUE(control->isVisible()) << "bit 0 of its Tag";
            EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()))
                << "lies inside its container";
            if (auto* button = dynamic_cast<TMyButton*>(control)) {
                EXPECT_EQ(button->ButtonUp().Graphic().size(), button->size())
                    << "its pictures fill the bounds it is placed in";
            }
        }
        for (const auto& row : kBindings) {
            if (row.Window != name)
                continue;
            QWidget* control = window->FindComponent(row.Control);
            ASSERT_NE(control, nullptr) << row.Control;
            EXPECT_TRUE(AsControl(control)->OnClick) << row.Control << " runs its binding";
        }

        const QImage shot = window->grab().toImage();
        ASSERT_TRUE(shot.save(QString::fromStdString("/tmp/mirrorlake-demo-" + name + ".png")));
        // The header's dark wash and the footer's white band frame every window.
        EXPECT_LT(qBlue(shot.pixel(shot.width() / 2, 4)), 0x90);
        EXPECT_EQ(shot.pixel(shot.width() / 2, shot.height() - 4) & 0xFFFFFF, 0xFFFFFFu);
        window->close();
    }
    context = saved;
}

} // namespace
} // namespace ml
