#include "tools/authoring/PlayWindow.h"

#include "saver/ShowWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QShowEvent>
#include <filesystem>
#include <sys/stat.h>

namespace ml::authoring {

namespace {

constexpr int kSettleMs = 250;
const QSize kLargestFit(1280, 720);
const QSize kFolderSize(960, 540);

} // namespace

TPlayWindow::TPlayWindow(TPlaySource source, QSize requested) : Source(std::move(source)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    std::filesystem::path shown = std::filesystem::path(Source.Path).lexically_normal();
    if (shown.filename().empty())
        shown = shown.parent_path(); // a folder written with its "/"
    setWindowTitle(QString::fromStdString(shown.filename().string()) + " — mirrorlake-tool play");
    Settle.setSingleShot(true);
    Settle.setInterval(kSettleMs);
    connect(&Settle, &QTimer::timeout, this, [this] { FilesChanged(); });
    Resized.setSingleShot(true);
    Resized.setInterval(kSettleMs);
    connect(&Resized, &QTimer::timeout, this, [this] {
        if (isVisible() && (!Form || Form->size() != this->size())) {
            StopShow();
            StartShow();
        }
    });
    connect(&Watcher, &QFileSystemWatcher::fileChanged, this, [this] { Settle.start(); });
    connect(&Watcher, &QFileSystemWatcher::directoryChanged, this, [this] { Settle.start(); });

    Current = PrepareScene(Source, Scratch.filePath("picture.qmp").toStdString());
    Seen = Signature();
    Rewatch();
    if (requested.isEmpty())
        requested = Current.Width > 0
                        ? QSize(Current.Width, Current.Height)
                              .scaled(kLargestFit.boundedTo(QSize(Current.Width, Current.Height)),
                                      Qt::KeepAspectRatio)
                        : kFolderSize;
    resize(requested);
}

TPlayWindow::~TPlayWindow() {
    StopShow();
}

QImage TPlayWindow::Frame() const {
    return Form ? Form->Canvas() : QImage();
}

void TPlayWindow::Reload() {
    TPlayScene next = PrepareScene(Source, Scratch.filePath("picture.qmp").toStdString());
    const bool playable = !next.Project.FileList.FileNames.empty();
    const TFindings findings = next.Findings;
    if (playable) {
        // The show holds the project it plays: it goes before its project does.
        StopShow();
        Current = std::move(next);
        StartShow();
    } else {
        // A build that failed leaves the last good picture on screen.
        Current.Findings = findings;
        Current.Files = next.Files;
        Current.Folders = next.Folders;
    }
    Seen = Signature();
    Rewatch();
    emit Loaded(findings);
}

TPlayWindow::TSignature TPlayWindow::Signature() const {
    TSignature signature;
    for (const auto& file : Current.Files) {
        struct stat s {};
        signature[file] = stat(file.c_str(), &s) != 0
                              ? "absent"
                              : std::to_string(s.st_ino) + ":" + std::to_string(s.st_size) + ":" +
                                    std::to_string(s.st_mtim.tv_sec) + "." +
                                    std::to_string(s.st_mtim.tv_nsec);
    }
    return signature;
}

void TPlayWindow::FilesChanged() {
    if (Signature() != Seen)
        Reload();
    else
        Rewatch(); // a file replaced by renaming drops out of the watcher
}

void TPlayWindow::Rewatch() {
    if (!Watcher.files().isEmpty())
        Watcher.removePaths(Watcher.files());
    if (!Watcher.directories().isEmpty())
        Watcher.removePaths(Watcher.directories());
    QStringList paths;
    for (const auto& path : Current.Files)
        if (std::filesystem::exists(path))
            paths << QString::fromStdString(path);
    for (const auto& path : Current.Folders)
        paths << QString::fromStdString(path);
    if (!paths.isEmpty())
        Watcher.addPaths(paths);
}

void TPlayWindow::StartShow() {
    if (Current.Project.FileList.FileNames.empty() || !isVisible())
        return;
    QDir::setCurrent(QString::fromStdString(Current.WorkingFolder));
    Form = std::make_unique<TQMfmScrSvr>(Current.Project, this);
    // The show's form is a window of its own elsewhere; here it fills this one.
    Form->setWindowFlags(Qt::Widget);
    Form->SetScreenSize(width(), height());
    Form->installEventFilter(this);
    Form->show();
    Form->unsetCursor();
    Form->setFocus();
}

void TPlayWindow::StopShow() {
    if (Form) {
        Form->removeEventFilter(this);
        Form.reset();
    }
}

bool TPlayWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Form.get())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            close();
            return true;
        }
        return key != Qt::Key_F1; // F1 still switches the water off and on
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true; // the show ends on these; here the author goes on looking
    default:
        return false;
    }
}

void TPlayWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void TPlayWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!Form)
        StartShow();
}

void TPlayWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The show takes its size when it starts: a new size starts it again.
    if (Form && Form->size() != size())
        Resized.start();
}

void TPlayWindow::closeEvent(QCloseEvent* event) {
    StopShow();
    QWidget::closeEvent(event);
}

} // namespace ml::authoring
