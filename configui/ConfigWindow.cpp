#include "configui/ConfigWindow.h"

#include "backend/PictureLoader.h"
#include "configui/ClassRegistry.h"
#include "configui/DescribedWindow.h"
#include "configui/ExtControls.h"
#include "configui/FormsCollection.h"
#include "configui/MyBevel.h"
#include "configui/MyButton.h"
#include "configui/MyShape.h"
#include "configui/PreviewPane.h"
#include "configui/SettingsDialog.h"
#include "configui/StandardClasses.h"
#include "configui/ThumbnailGrid.h"
#include "effects/Wallpaper.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"
#include "platform/ProgramPath.h"
#include "platform/ShellOpen.h"
#include "platform/Strings.h"
#include "project/Project.h"
#include "project/QMCProject.h"
#include "saver/RunScreenSaver.h"

#include <QCloseEvent>
#include <QEventLoop>

namespace ml {

TDescribedWindowContext& DescribedWindowContext() {
    static TDescribedWindowContext context;
    return context;
}

namespace {

TQMCProject& CurrentProject() {
    TQMCProject* project = DescribedWindowContext().Project;
    if (!project)
        throw Exception("No project is loaded");
    return *project;
}

// Controls that run their bound action when clicked; plain push buttons, check boxes, memos,
// edit boxes and grids do not, and of the drawn shapes and bevels only the program's own
// variants, which exist for this.
bool RunsActions(QWidget* w) {
    return dynamic_cast<TLabel*>(w) || dynamic_cast<TMyShape*>(w) || dynamic_cast<TPanel*>(w) ||
           dynamic_cast<TMyBevel*>(w) || dynamic_cast<TImage*>(w) || dynamic_cast<TBitBtn*>(w) ||
           dynamic_cast<TMyButton*>(w);
}

// Bit 0 of a control's Tag decides whether it is shown; tab sheets follow their page control.
void ApplyTagVisibility(QWidget* w) {
    if (dynamic_cast<TTabSheet*>(w))
        return;
    if (TControl* control = AsControl(w))
        w->setVisible((control->Tag & 1) != 0);
}

const TPropertyTable& ConfigWindowProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&FormProperties());
        using W = TfmQMCOnfigWindow;
        using V = const TPropertyValue&;
        t.Set<W>("Sizeable", [](W& w, V v) { w.Sizeable = AsBoolean(v); });
        t.Set<W>("NoFrame", [](W& w, V v) { w.NoFrame = AsBoolean(v); });
        t.Set<W>("MaximizeButton", [](W& w, V v) { w.MaximizeButton = AsBoolean(v); });
        t.Set<W>("MinimizeButton", [](W& w, V v) { w.MinimizeButton = AsBoolean(v); });
        t.Set<W>("ShowButtons", [](W& w, V v) { w.ShowButtons = AsBoolean(v); });
        t.Set<W>("MaximizeOnShow", [](W& w, V v) { w.MaximizeOnShow = AsBoolean(v); });
        return t;
    }();
    return table;
}

} // namespace

void RegisterConfigWindowClass() {
    DescribedClasses().Register<TfmQMCOnfigWindow>("TfmQMCOnfigWindow", ConfigWindowProperties(),
                                                   true);
}

TfmQMCOnfigWindow::TfmQMCOnfigWindow() {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

int TfmQMCOnfigWindow::PictureCount() const {
    return static_cast<int>(CurrentProject().FileList.FileNames.size());
}

void TfmQMCOnfigWindow::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    ModalLoop = &loop;
    show();
    if (isVisible())
        loop.exec();
    ModalLoop = nullptr;
}

void TfmQMCOnfigWindow::showEvent(QShowEvent* event) {
    TfmQMFormParent::showEvent(event);
    if (!Shown) {
        Shown = true;
        try {
            FormShow();
        } catch (...) {
            // A window whose controls were not all set up must not stay open half working,
            // and must not save what it never loaded: it closes without FormClose, and the
            // error goes on to be reported.
            ClosedOnce = true;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            throw;
        }
    }
}

void TfmQMCOnfigWindow::closeEvent(QCloseEvent* event) {
    TfmQMFormParent::closeEvent(event);
    if (!ClosedOnce) {
        ClosedOnce = true;
        FormClose();
    }
    if (ModalLoop)
        ModalLoop->quit();
}

void TfmQMCOnfigWindow::FormShow() {
    const TQMCProject& project = CurrentProject();
    const auto& files = project.FileList.FileNames;
    LoadCurrentIndex();
    for (QWidget* w : Components()) {
        if (auto* edit = dynamic_cast<TEdit*>(w))
            edit->setReadOnly(false);
        if (RunsActions(w))
            AsControl(w)->OnClick = [this](QObject* sender) { ControlClick(sender); };
        if (auto* pages = dynamic_cast<TPageControl*>(w); pages && pages->currentWidget())
            pages->currentWidget()->update();
        if (auto* grid = dynamic_cast<TQMThumbnail2*>(w)) {
            grid->SetItems(&files);
            LoadExcludedPictures(*grid);
            grid->OnSelectItem = [this](QObject* sender, int index) {
                ThumbnailSelect(sender, index);
            };
            grid->update();
            grid->SelectItem(CurrentIndex);
        }
        if (auto* preview = dynamic_cast<TQMPreview*>(w); preview && !files.empty())
            preview->ShowFile(files[0]);
        ApplyTagVisibility(w);
    }
    RefreshControls();
}

void TfmQMCOnfigWindow::RefreshControls() {
    const auto& files = CurrentProject().FileList.FileNames;
    for (QWidget* w : Components()) {
        if (auto* grid = dynamic_cast<TQMThumbnail2*>(w))
            grid->update();
        if (auto* preview = dynamic_cast<TQMPreview*>(w); preview && !files.empty())
            preview->ShowFile(files[static_cast<std::size_t>(CurrentIndex)]);
        ApplyTagVisibility(w);
    }
}

void TfmQMCOnfigWindow::LoadCurrentIndex() {
    CurrentIndex = ReadCurrentIndex(PictureCount(), DescribedWindowContext().Settings);
}

void TfmQMCOnfigWindow::LoadExcludedPictures(TQMThumbnail2& grid) {
    const TUserSettingsFile& settings = DescribedWindowContext().Settings;
    if (!settings.Allowed)
        return;
    const int count = PictureCount();
    const std::vector<bool> excluded =
        ReadExcludedPictures(static_cast<std::size_t>(count), settings);
    for (int i = 0; i < count; ++i)
        grid.SetItemChecked(i, !excluded[static_cast<std::size_t>(i)]);
}

void TfmQMCOnfigWindow::FormClose() {
    const TUserSettingsFile& settings = DescribedWindowContext().Settings;
    SaveCurrentIndex(CurrentIndex, settings);
    for (QWidget* w : Components())
        if (auto* grid = dynamic_cast<TQMThumbnail2*>(w)) {
            std::vector<TPictureCheck> checks(static_cast<std::size_t>(PictureCount()));
            for (std::size_t i = 0; i < checks.size(); ++i)
                checks[i] = {grid->ItemEnabled(static_cast<int>(i)),
                             grid->ItemChecked(static_cast<int>(i))};
            SaveExcludedPictures(checks, settings);
        }
}

void TfmQMCOnfigWindow::SelectPicture(int index) {
    const auto& files = CurrentProject().FileList.FileNames;
    const int count = static_cast<int>(files.size());
    if (index >= count)
        index = count - 1;
    if (index < 0)
        index = 0;
    CurrentIndex = index;
    if (files.empty())
        return;
    for (QWidget* w : Components())
        if (auto* preview = dynamic_cast<TQMPreview*>(w)) {
            preview->ShowFile(files[static_cast<std::size_t>(CurrentIndex)]);
            preview->ShowMessageOverlay(false);
        }
}

void TfmQMCOnfigWindow::ThumbnailSelect(QObject*, int itemIndex) {
    SelectPicture(itemIndex);
}

void TfmQMCOnfigWindow::ControlClick(QObject* sender) {
    TDescribedWindowContext& context = DescribedWindowContext();
    if (!context.Forms || !sender)
        return;
    TQMForm& form = context.Forms->FindForm(objectName().toStdString());
    TAction* binding = form.Actions.FindAction(sender->objectName().toStdString());
    if (!binding)
        return;
    const TQMCProject& project = CurrentProject();
    RunAction(binding->ActionNumber, ReplacePlaceholders(binding->Param1, project));
}

void TfmQMCOnfigWindow::RunAction(int number, const std::string& p1) {
    TDescribedWindowContext& context = DescribedWindowContext();
    TQMCProject& project = CurrentProject();
    const auto& files = project.FileList.FileNames;
    switch (number) {
    case OpenUrl:
        ShellOpen(p1);
        break;
    case ShowWindow:
        ShowDescribedWindow(*context.Forms, project, p1, context.Settings);
        break;
    case NextPicture:
        SelectPicture(CurrentIndex + 1);
        break;
    case PreviousPicture:
        SelectPicture(CurrentIndex - 1);
        break;
    case PreviewSelectedFile:
        if (!files.empty())
            PreviewPicture(project, files[static_cast<std::size_t>(CurrentIndex)]);
        break;
    case OpenSetting:
        RunSettingsDialog(this, project, context.Settings);
        break;
    case CloseWindow:
        close();
        break;
    case SetAsWallpaper:
        if (MessageBox("You are about to set selected picture as a wallpaper.\r\nDo you want to "
                       "proceed?",
                       "", TMsgIcon::Question, TMsgButtons::YesNo) == TMsgResult::Yes)
            SetCurrentPictureAsWallpaper();
        break;
    default:
        break;
    }
}

void TfmQMCOnfigWindow::SetCurrentPictureAsWallpaper() {
    const auto& files = CurrentProject().FileList.FileNames;
    if (CurrentIndex < 0 || CurrentIndex >= static_cast<int>(files.size()))
        throw EListError(ListIndexText(CurrentIndex));
    const std::string& file = files[static_cast<std::size_t>(CurrentIndex)];
    TBitmap picture;
    if (UpperCase(ExtractFileExt(file)) != ".QMP") {
        picture = LoadPicture(file);
    } else {
        TProject project;
        if (!project.Load(file))
            return; // the load has told the user why
        picture = project.Picture;
    }
    SetWallpaper(picture, LongProgramPath() + ".bmp");
}

} // namespace ml
