#include "studio/StudioWindow.h"

#include "platform/Messages.h"
#include "platform/Strings.h"
#include "studio/MaskPainting.h"
#include "studio/PictureDocument.h"
#include "studio/PicturePage.h"
#include "studio/ProjectPage.h"
#include "studio/StudioLook.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QUndoGroup>
#include <QVBoxLayout>

#include <cstdio>

namespace ml::studio {

namespace {

const char* const kAreaNames[] = {"dry land", "area 1 (blue)", "area 2 (magenta)", "area 3 (red)",
                                  "area 4 (yellow)"};

QSettings StudioSettings() {
    return QSettings("Mirrorlake", "Mirrorlake Studio");
}

QString PictureFilter() {
    return QObject::tr("Pictures and picture files (*.jpg *.jpeg *.png *.bmp *.gif *.qmp);;"
                       "All files (*)");
}

} // namespace

TStudioWindow::TStudioWindow(QWidget* parent)
    : QMainWindow(parent), Header(new THeaderBar), PictureButton(new QPushButton(tr("Picture"))),
      ProjectButton(new QPushButton(tr("Project"))), Pages(new QStackedWidget),
      PictureView(new TPicturePage), ProjectView(new TProjectPage), PointerText(new QLabel),
      AreaText(new QLabel), UndoGroup(new QUndoGroup(this)) {
    for (QPushButton* button : {PictureButton, ProjectButton}) {
        button->setObjectName("pageButton");
        button->setCheckable(true);
        button->setAutoExclusive(true);
        Header->Buttons()->addWidget(button);
    }
    connect(PictureButton, &QPushButton::clicked, this, &TStudioWindow::ShowPicturePage);
    connect(ProjectButton, &QPushButton::clicked, this, &TStudioWindow::ShowProjectPage);

    Pages->addWidget(PictureView);
    Pages->addWidget(ProjectView);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Header);
    layout->addWidget(Pages, 1);
    setCentralWidget(central);

    PointerText->setMinimumWidth(110);
    statusBar()->addPermanentWidget(AreaText);
    statusBar()->addPermanentWidget(PointerText);
    connect(PictureView->Canvas(), &TWaterCanvas::pointerMoved, this, &TStudioWindow::ShowPointer);
    connect(PictureView, &TPicturePage::message, this, &TStudioWindow::ShowMessage);
    connect(ProjectView, &TProjectPage::message, this, &TStudioWindow::ShowMessage);
    connect(ProjectView, &TProjectPage::openPicture, this, &TStudioWindow::OpenPath);
    connect(ProjectView, &TProjectPage::continueWithPicture, this,
            [this](const QString& path) { OpenPicture(path); });
    connect(ProjectView, &TProjectPage::changed, this, &TStudioWindow::UpdateTitle);
    connect(ProjectView, &TProjectPage::saveRequested, this, [this] { return Save(); });

    MakeMenus();
    setAcceptDrops(true);
    const QByteArray geometry = StudioSettings().value("geometry").toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(1280, 820);
    ShowPicturePage();
    UpdateTitle();
}

TStudioWindow::~TStudioWindow() {
    // The page holds the document by a plain pointer; it lets go before the document dies.
    PictureView->SetDocument(nullptr);
}

void TStudioWindow::MakeMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open picture…"), QKeySequence::Open, this, [this] {
        const QString path = ChooseOpenPath();
        if (!path.isEmpty())
            OpenPath(path);
    });
    file->addAction(tr("Open project &folder…"), QKeySequence("Ctrl+Shift+O"), this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, tr("Open a project folder"));
        if (!dir.isEmpty())
            OpenPath(dir);
    });
    file->addAction(tr("&New project from pictures…"), QKeySequence::New, ProjectView,
                    &TProjectPage::ProjectFromPictures);
    file->addSeparator();
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { Save(); });
    file->addAction(tr("Save &as…"), QKeySequence("Ctrl+Shift+S"), this, [this] { SaveAs(); });
    file->addSeparator();
    file->addAction(ProjectView->TryAction());
    file->addAction(ProjectView->BuildAction());
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = UndoGroup->createUndoAction(this, tr("&Undo"));
    undo->setObjectName("undo");
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = UndoGroup->createRedoAction(this, tr("&Redo"));
    redo->setObjectName("redo");
    redo->setShortcuts({QKeySequence::Redo, QKeySequence("Ctrl+Y")});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(tr("&Erase all areas"), this, [this] {
        if (Picture)
            Picture->PaintAreas(WholeCoverage(Picture->Mask().Size()), 0, tr("Erase all areas"));
    });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("&Picture page"), QKeySequence("Ctrl+1"), this,
                    &TStudioWindow::ShowPicturePage);
    view->addAction(tr("P&roject page"), QKeySequence("Ctrl+2"), this,
                    &TStudioWindow::ShowProjectPage);
    view->addSeparator();
    view->addAction(PictureView->OverlayAction());
    view->addAction(PictureView->WaterAction());

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    for (TTool tool :
         {TTool::Brush, TTool::Eraser, TTool::Lasso, TTool::Polygon, TTool::Fill, TTool::Horizon})
        tools->addAction(PictureView->ToolAction(tool));
    tools->addSeparator();
    for (int area = 1; area <= 4; ++area)
        tools->addAction(PictureView->AreaAction(area));
    tools->addSeparator();
    tools->addAction(PictureView->BiggerBrushAction());
    tools->addAction(PictureView->SmallerBrushAction());

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About Mirrorlake Studio"), this, [] {
        MessageBox("Mirrorlake Studio\n\nPaint where the water is, tune its waves while they move, "
                   "and build a screensaver from your pictures.",
                   "About Mirrorlake Studio", TMsgIcon::Information);
    });
}

QString TStudioWindow::ChooseOpenPath() {
    return QFileDialog::getOpenFileName(this, tr("Open a picture"), QString(), PictureFilter());
}

bool TStudioWindow::OpenPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        ShowErrorMessage("Cannot open " + path.toStdString() + ": no such file or folder");
        return false;
    }
    if (info.isDir()) {
        if (!TProjectPage::IsProjectFolder(info.absoluteFilePath())) {
            ShowErrorMessage(path.toStdString() +
                             " is no project folder: it holds no "
                             "project.ini. Make a project with File > New project from pictures.");
            return false;
        }
        if (!ProjectView->MayLeave())
            return false;
        ProjectView->OpenFolder(info.absoluteFilePath());
        ShowProjectPage();
        UpdateTitle();
        return true;
    }
    if (!OpenPicture(info.absoluteFilePath()))
        return false;
    // A picture in a project folder brings its project along.
    const QString folder = info.absolutePath();
    if (ProjectView->Folder() != folder && TProjectPage::IsProjectFolder(folder) &&
        ProjectView->MayLeave())
        ProjectView->OpenFolder(folder);
    ShowPicturePage();
    UpdateTitle();
    return true;
}

bool TStudioWindow::OpenPicture(const QString& path) {
    if (Picture && Picture->Modified() && !MayDiscardChanges())
        return false;
    try {
        std::unique_ptr<TPictureDocument> opened = TPictureDocument::Open(path.toStdString());
        if (!opened)
            return false;
        SetDocument(std::move(opened));
        ShowMessage(tr("Opened %1").arg(path));
        return true;
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
        return false;
    }
}

void TStudioWindow::SetDocument(std::unique_ptr<TPictureDocument> document) {
    PictureView->SetDocument(nullptr);
    Picture = std::move(document);
    if (Picture) {
        UndoGroup->addStack(&Picture->History());
        UndoGroup->setActiveStack(&Picture->History());
        connect(&Picture->History(), &QUndoStack::cleanChanged, this, &TStudioWindow::UpdateTitle);
        connect(Picture.get(), &TPictureDocument::saved, this, &TStudioWindow::UpdateTitle);
    }
    PictureView->SetDocument(Picture.get());
    ProjectView->SetPicture(Picture.get());
    UpdateTitle();
}

bool TStudioWindow::Save() {
    if (Picture && Picture->Modified()) {
        if (Picture->FileName().empty())
            return SaveAs();
        try {
            Picture->SaveAs(Picture->FileName());
            ShowMessage(tr("Saved %1").arg(QString::fromStdString(Picture->FileName())));
        } catch (const std::exception& error) {
            ShowErrorMessage(error.what());
            return false;
        }
    }
    return ProjectView->Save();
}

bool TStudioWindow::SaveAs() {
    if (!Picture)
        return ProjectView->Save();
    const std::string source =
        Picture->FileName().empty() ? Picture->SourceName() : Picture->FileName();
    const QString suggested = QString::fromStdString(ChangeFileExt(source, ".qmp"));
    QString path = QFileDialog::getSaveFileName(this, tr("Save the picture file"), suggested,
                                                tr("Picture files (*.qmp)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".qmp";
    try {
        Picture->SaveAs(path.toStdString());
        ShowMessage(tr("Saved %1").arg(path));
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
        return false;
    }
    ProjectView->NotePictureSaved(path);
    return ProjectView->Save();
}

std::vector<std::string> TStudioWindow::UnsavedWork() const {
    std::vector<std::string> unsaved;
    if (Picture && Picture->Modified())
        unsaved.push_back("The picture " + ExtractFileName(Picture->FileName().empty()
                                                               ? Picture->SourceName()
                                                               : Picture->FileName()));
    if (ProjectView->Modified())
        unsaved.push_back("The project settings");
    return unsaved;
}

bool TStudioWindow::MayDiscardChanges() {
    const std::vector<std::string> unsaved = UnsavedWork();
    if (unsaved.empty())
        return true;
    switch (MessageBox(unsaved.front() + " has changes that are not saved. Save them?",
                       "Mirrorlake Studio", TMsgIcon::Question, TMsgButtons::YesNoCancel)) {
    case TMsgResult::Yes:
        return Save();
    case TMsgResult::No:
        if (Picture)
            Picture->History().setClean();
        ProjectView->Forget();
        return true;
    default:
        return false;
    }
}

void TStudioWindow::CloseWithoutAsking() {
    for (const std::string& what : UnsavedWork())
        std::fprintf(stderr,
                     "mirrorlake-studio: ended by a signal: %s had changes that were not saved\n",
                     what.c_str());
    ClosingWithoutAsking = true;
    close();
}

void TStudioWindow::closeEvent(QCloseEvent* event) {
    if (!ClosingWithoutAsking && !MayDiscardChanges()) {
        event->ignore();
        return;
    }
    PictureView->SetDocument(nullptr);
    StudioSettings().setValue("geometry", saveGeometry());
    event->accept();
}

void TStudioWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().front().isLocalFile())
        event->acceptProposedAction();
}

void TStudioWindow::dropEvent(QDropEvent* event) {
    OpenPath(event->mimeData()->urls().front().toLocalFile());
}

void TStudioWindow::ShowPicturePage() {
    Pages->setCurrentWidget(PictureView);
    PictureButton->setChecked(true);
}

void TStudioWindow::ShowProjectPage() {
    Pages->setCurrentWidget(ProjectView);
    ProjectButton->setChecked(true);
}

void TStudioWindow::ShowPointer(std::optional<QPoint> pixel, int area) {
    if (!pixel) {
        PointerText->clear();
        AreaText->clear();
        return;
    }
    PointerText->setText(tr("x %1, y %2").arg(pixel->x()).arg(pixel->y()));
    AreaText->setText(tr(kAreaNames[std::clamp(area, 0, 4)]));
}

void TStudioWindow::ShowMessage(const QString& text) {
    statusBar()->showMessage(text, 8000);
}

void TStudioWindow::UpdateTitle() {
    QString name;
    if (Picture)
        name = QFileInfo(QString::fromStdString(Picture->FileName().empty() ? Picture->SourceName()
                                                                            : Picture->FileName()))
                   .fileName();
    const bool modified = (Picture && Picture->Modified()) || ProjectView->Modified();
    setWindowTitle((name.isEmpty() ? QString() : name + (modified ? "*" : "") + " — ") +
                   "Mirrorlake Studio");
    QString subtitle =
        Picture ? QString::fromStdString(Picture->FileName().empty()
                                             ? Picture->SourceName() + "  (not saved yet)"
                                             : Picture->FileName())
                : tr("Open a photo or a picture file to paint its water");
    if (!ProjectView->Folder().isEmpty())
        subtitle += tr("   ·   project %1").arg(ProjectView->Folder());
    Header->SetTexts(tr("Mirrorlake Studio"), subtitle);
}

} // namespace ml::studio
