#pragma once
// A window that plays a picture file or a project folder as the show does, at a size of the
// author's choosing, and shows it again whenever its files change: edit, save, look. Input
// does not end the show here; Escape or closing the window does.

#include "tools/authoring/PlayScene.h"

#include <QFileSystemWatcher>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>

namespace ml {
class TQMfmScrSvr;
}

namespace ml::authoring {

class TPlayWindow : public QWidget {
    Q_OBJECT
public:
    // An empty size fits the window to the picture (at most 1280 x 720), or 960 x 540 for a
    // project folder.
    explicit TPlayWindow(TPlaySource source, QSize requested = QSize());
    ~TPlayWindow() override;

    const TPlayScene& Scene() const { return Current; }
    // What the show draws now (black before the first picture).
    QImage Frame() const;
    // The running show, for a caller that steps it itself; nullptr when nothing plays.
    TQMfmScrSvr* Show() const { return Form.get(); }

    // Shows the scene afresh from the files as they are now.
    void Reload();

signals:
    // After every load, with what pack or make-qmp would say about the files.
    void Loaded(const ml::authoring::TFindings& findings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Size, change time and identity of each watched file: a signal of the watcher that
    // changed none of them (an editor's backup file in the same folder) is no reason to
    // start the show again.
    using TSignature = std::map<std::string, std::string>;
    TSignature Signature() const;
    void FilesChanged();
    void Rewatch();
    void StartShow();
    void StopShow();

    TPlaySource Source;
    QTemporaryDir Scratch; // a recipe's picture file
    TPlayScene Current;
    std::unique_ptr<TQMfmScrSvr> Form;
    QFileSystemWatcher Watcher;
    QTimer Settle;  // changes come in bursts (a file written, then renamed); wait for the last
    QTimer Resized; // so does resizing: the show starts again at the last size
    TSignature Seen;
};

} // namespace ml::authoring
