#include "studio/ProjectPage.h"

#include "platform/Messages.h"
#include "platform/Strings.h"
#include "studio/BuildReport.h"
#include "studio/PictureDocument.h"
#include "studio/ProjectForm.h"
#include "studio/ProjectPictures.h"
#include "tools/authoring/NewProject.h"
#include "tools/authoring/PackPlan.h"
#include "tools/authoring/PlayWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ml::studio {

namespace {

QLabel* Heading(const QString& title, const QString& hint) {
    auto* label = new QLabel(QString("<b style='font-size:15px'>%1</b><br><span "
                                     "style='color:#5F6F7C'>%2</span>")
                                 .arg(title, hint));
    label->setTextFormat(Qt::RichText);
    return label;
}

} // namespace

QString AuthoringToolPath() {
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {here + "/mirrorlake-tool", here + "/../tools/mirrorlake-tool"})
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    return "mirrorlake-tool";
}

TProjectPage::TProjectPage(QWidget* parent)
    : QWidget(parent), Views(new QStackedWidget(this)), Try(new QAction(tr("&Try the show"), this)),
      Build(new QAction(tr("&Build saver…"), this)) {
    Try->setShortcut(QKeySequence("F5"));
    Build->setShortcut(QKeySequence("Ctrl+B"));
    connect(Try, &QAction::triggered, this, &TProjectPage::TryTheShow);
    connect(Build, &QAction::triggered, this, &TProjectPage::BuildSaverAsked);
    Views->addWidget(MakeEmptyState());
    Views->addWidget(MakeProjectView());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Views);
    Refresh();
}

TProjectPage::~TProjectPage() {
    delete PlayWindow.data();
}

QWidget* TProjectPage::MakeEmptyState() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addStretch();
    auto* text = Heading(tr("No project yet"),
                         tr("A project is a folder with your pictures and a project.ini, from "
                            "which a saver is built. Make one from the picture you are painting, "
                            "or from pictures you choose, or open one you have."));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    layout->addWidget(text);
    MakeHere = new QPushButton(tr("Make a project from this picture…"));
    MakeHere->setObjectName("primary");
    auto* fromPictures = new QPushButton(tr("New project from pictures…"));
    auto* open = new QPushButton(tr("Open a project folder…"));
    connect(MakeHere, &QPushButton::clicked, this, &TProjectPage::ProjectFromPicture);
    connect(fromPictures, &QPushButton::clicked, this, &TProjectPage::ProjectFromPictures);
    connect(open, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, tr("Open a project folder"));
        if (dir.isEmpty())
            return;
        if (IsProjectFolder(dir))
            OpenFolder(dir);
        else
            emit message(tr("%1 holds no project.ini; make a new project instead").arg(dir));
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MakeHere);
    buttons->addWidget(fromPictures);
    buttons->addWidget(open);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
    return page;
}

QWidget* TProjectPage::MakeProjectView() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);

    PictureList = new TProjectPictures;
    connect(PictureList, &TProjectPictures::changed, this, [this] {
        PictureList->ApplyTo(Settings);
        emit changed();
    });
    connect(PictureList, &TProjectPictures::openPicture, this, &TProjectPage::openPicture);
    auto* add = new QPushButton(tr("Add pictures…"));
    connect(add, &QPushButton::clicked, this, &TProjectPage::AddPictures);
    auto* up = new QPushButton(tr("Earlier"));
    auto* down = new QPushButton(tr("Later"));
    connect(up, &QPushButton::clicked, this, [this] { PictureList->MoveSelected(-1); });
    connect(down, &QPushButton::clicked, this, [this] { PictureList->MoveSelected(1); });
    auto* pictureButtons = new QHBoxLayout;
    pictureButtons->addWidget(add);
    pictureButtons->addStretch();
    pictureButtons->addWidget(up);
    pictureButtons->addWidget(down);
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 8, 0);
    leftLayout->addWidget(Heading(tr("Pictures"), tr("Drag to change the order; untick a "
                                                     "picture to leave it out; double-click to "
                                                     "open it")));
    leftLayout->addWidget(PictureList, 1);
    leftLayout->addLayout(pictureButtons);

    SettingsForm = new TProjectForm;
    connect(SettingsForm, &TProjectForm::changed, this, &TProjectPage::changed);
    auto* scroll = new QScrollArea;
    scroll->setWidget(SettingsForm);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(8, 0, 0, 0);
    rightLayout->addWidget(Heading(tr("Settings"), tr("What the saver shows and how")));
    rightLayout->addWidget(scroll, 1);

    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    FolderText = new QLabel;
    FolderText->setObjectName("muted");
    auto* tryButton = new QPushButton(tr("Try the show"));
    connect(tryButton, &QPushButton::clicked, Try, &QAction::trigger);
    auto* buildButton = new QPushButton(tr("Build saver…"));
    buildButton->setObjectName("primary");
    connect(buildButton, &QPushButton::clicked, Build, &QAction::trigger);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(FolderText, 1);
    bottom->addWidget(tryButton);
    bottom->addWidget(buildButton);
    layout->addLayout(bottom);
    return page;
}

bool TProjectPage::IsProjectFolder(const QString& folder) {
    return TProjectFolder::IsProjectFolder(folder.toStdString());
}

QString TProjectPage::Folder() const {
    QString folder = QString::fromStdString(Settings.Folder());
    if (folder.endsWith('/') && folder.size() > 1)
        folder.chop(1);
    return folder;
}

void TProjectPage::OpenFolder(const QString& folder) {
    Settings.Load(QFileInfo(folder).absoluteFilePath().toStdString());
    Refresh();
    emit changed();
}

bool TProjectPage::CreateProject(const QString& folder, const QStringList& pictures) {
    std::vector<std::string> sources;
    for (const QString& picture : pictures)
        sources.push_back(picture.toStdString());
    authoring::TNewProjectTexts texts;
    texts.ProductName = authoring::ProductNameFromFolder(folder.toStdString());
    try {
        const authoring::TNewProject made =
            authoring::MakeNewProject(folder.toStdString(), sources, texts);
        for (const authoring::TFinding& finding : made.Findings)
            emit message(QString::fromStdString(finding.Text()));
        OpenFolder(folder);
        emit message(tr("Made the project %1 with %n picture(s)", nullptr,
                        static_cast<int>(made.Pictures.size()))
                         .arg(folder));
        return true;
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
        return false;
    }
}

// A new project takes a new folder; it is offered beside the first picture.
QString TProjectPage::AskNewFolder(const QString& firstPicture) {
    const QFileInfo picture(firstPicture);
    QFileDialog dialog(this, tr("New project folder"), picture.absolutePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::FileName, tr("Folder name:"));
    dialog.setLabelText(QFileDialog::Accept, tr("Make"));
    dialog.selectFile(picture.completeBaseName() + "-saver");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void TProjectPage::ProjectFromPicture() {
    if (!Picture)
        return;
    // The project takes the picture file as saved.
    if ((Picture->Modified() || Picture->FileName().empty()) && !SaveEverything())
        return;
    if (Picture->FileName().empty())
        return;
    const QString picture = QString::fromStdString(Picture->FileName());
    const QString folder = AskNewFolder(picture);
    if (folder.isEmpty() || !CreateProject(folder, {picture}))
        return;
    // The picture page goes on with the project's copy, which the saver will carry.
    if (!Settings.Pictures.empty())
        emit continueWithPicture(Folder() + "/" +
                                 QString::fromStdString(Settings.Pictures.front().Name));
}

void TProjectPage::ProjectFromPictures() {
    const QStringList pictures = QFileDialog::getOpenFileNames(
        this, tr("Pictures for the new project"), QString(),
        tr("Pictures and picture files (*.jpg *.jpeg *.png *.bmp *.gif *.qmp)"));
    if (pictures.isEmpty())
        return;
    const QString folder = AskNewFolder(pictures.front());
    if (!folder.isEmpty())
        CreateProject(folder, pictures);
}

void TProjectPage::SetPicture(TPictureDocument* picture) {
    Picture = picture;
    Refresh();
}

void TProjectPage::NotePictureSaved(const QString& path) {
    if (!Settings.Exists())
        return;
    const QFileInfo info(path);
    if (info.absolutePath() != Folder())
        return;
    if (Settings.AddPicture(info.fileName().toStdString()))
        emit message(tr("%1 joins the show").arg(info.fileName()));
    Refresh();
    emit changed();
}

void TProjectPage::Refresh() {
    const bool open = Settings.Exists();
    Views->setCurrentIndex(open ? 1 : 0);
    MakeHere->setEnabled(Picture != nullptr);
    Try->setEnabled(open);
    Build->setEnabled(open);
    PictureList->ShowFolder(Settings);
    SettingsForm->ShowFolder(open ? &Settings : nullptr);
    FolderText->setText(open ? tr("Project folder: %1").arg(Folder()) : QString());
}

bool TProjectPage::Save() {
    if (!Settings.Exists())
        return true;
    try {
        Settings.Save();
        emit changed();
        return true;
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
        return false;
    }
}

void TProjectPage::Forget() {
    if (Settings.Exists())
        OpenFolder(Folder());
}

bool TProjectPage::MayLeave() {
    if (!Modified())
        return true;
    switch (MessageBox("The project settings have changes that are not saved. Save them?",
                       "Mirrorlake Studio", TMsgIcon::Question, TMsgButtons::YesNoCancel)) {
    case TMsgResult::Yes:
        return Save();
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

// Pictures from elsewhere are copied into the folder, so the project travels as one folder.
void TProjectPage::AddPictures() {
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, tr("Add pictures to the show"), Folder(),
        tr("Picture files and pictures (*.qmp *.jpg *.jpeg *.bmp *.gif);;All files (*)"));
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const QString target = Folder() + "/" + info.fileName();
        if (info.absolutePath() != Folder() && !QFileInfo::exists(target) &&
            !QFile::copy(path, target)) {
            emit message(tr("Cannot copy %1 into the project folder").arg(path));
            continue;
        }
        Settings.AddPicture(info.fileName().toStdString());
    }
    Refresh();
    emit changed();
}

bool TProjectPage::SaveEverything() {
    return emit saveRequested();
}

void TProjectPage::TryTheShow() {
    if (!Settings.Exists() || !SaveEverything())
        return;
    // One play window at a time: a new try replaces the last.
    delete PlayWindow.data();
    PlayWindow = new authoring::TPlayWindow(authoring::PlaySourceOf(Settings.Folder()));
    PlayWindow->setAttribute(Qt::WA_DeleteOnClose);
    PlayWindow->setWindowTitle(tr("Try the show — %1").arg(Folder()));
    PlayWindow->show();
    emit message(tr("The show plays in its own window; Esc or closing it ends it. It starts "
                    "again whenever a file of the project changes."));
}

QString TProjectPage::DefaultSaverPath() const {
    const QDir folder(Folder());
    return QFileInfo(Folder()).absolutePath() + "/" + folder.dirName() + ".scr";
}

TBuildOutcome TProjectPage::BuildSaver(const QString& path) {
    TBuildOutcome outcome;
    outcome.Findings = authoring::PlanPack(Settings.Folder()).Findings;
    if (authoring::HasErrors(outcome.Findings) || path.isEmpty())
        return outcome;
    // pack itself writes the saver, so a saver built here is the one the command line builds.
    QProcess pack;
    pack.setProcessChannelMode(QProcess::MergedChannels);
    QProgressDialog progress(tr("Building the saver…"), tr("Cancel"), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QEventLoop wait;
    connect(&pack, &QProcess::finished, &wait, &QEventLoop::quit);
    connect(&pack, &QProcess::errorOccurred, &wait, &QEventLoop::quit);
    connect(&progress, &QProgressDialog::canceled, &pack, &QProcess::kill);
    pack.start(AuthoringToolPath(), {"pack", Folder(), "-o", path});
    if (pack.state() != QProcess::NotRunning)
        wait.exec();
    progress.reset();
    const QString output = QString::fromLocal8Bit(pack.readAll()).trimmed();
    outcome.Built = pack.exitStatus() == QProcess::NormalExit && pack.exitCode() == 0 &&
                    QFileInfo::exists(path);
    if (outcome.Built) {
        outcome.Saver = path;
        outcome.Output = output;
    } else
        outcome.Problem = output.isEmpty() ? pack.errorString() : output;
    return outcome;
}

void TProjectPage::BuildSaverAsked() {
    if (!Settings.Exists() || !SaveEverything())
        return;
    TBuildOutcome outcome = BuildSaver({});
    if (!authoring::HasErrors(outcome.Findings)) {
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Build the saver"), DefaultSaverPath(), tr("Savers (*.scr);;All files (*)"));
        if (path.isEmpty())
            return;
        outcome = BuildSaver(path);
    }
    TBuildReport report(outcome, this);
    report.exec();
}

} // namespace ml::studio
