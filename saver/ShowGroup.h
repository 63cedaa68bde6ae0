#pragma once
// The saver forms of one show: one per screen for the full-screen show, or the one inside a
// host's window. They run as one show: a single frame loop ticks every form and then sleeps
// once for all of them (forms that each slept would divide the frame rate among them), one
// form plays the sound and the music, and when one form closes (input on any screen, or a
// signal to end) all of them close.

#include <QObject>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <memory>
#include <vector>

class QEventLoop;
class QWidget;

namespace ml {

class TQMCProject;
class TQMfmScrSvr;
class THostWindow;

class TShowGroup : public QObject {
public:
    explicit TShowGroup(TQMCProject& project);
    ~TShowGroup() override;
    TShowGroup(const TShowGroup&) = delete;
    TShowGroup& operator=(const TShowGroup&) = delete;

    // A form covering one screen (its geometry on the desktop). The first form added is the
    // primary one, which plays the sound: add the primary screen first.
    void AddScreen(const QRect& geometry);
    // The one form of a show inside a host's window, at the host's size and following it.
    // primary: whether it plays the sound and the music.
    void AddHosted(THostWindow& host, bool primary);

    // Shows every form and runs until all have closed. Other windows of the program take no
    // input meanwhile.
    void Run();
    // Asks every form to close; each does once its current frame is done.
    void CloseAll();

    const std::vector<std::unique_ptr<TQMfmScrSvr>>& Forms() const { return ShowForms; }
    // One round of the frame loop: each running form takes its tick, then the pace is kept.
    void Tick();

private:
    TQMfmScrSvr& AddForm(bool primary);
    bool ShownByOthers(const TQMfmScrSvr& asking, const std::string& picture) const;
    void FormClosed();

    TQMCProject& Project;
    std::vector<std::unique_ptr<TQMfmScrSvr>> ShowForms;
    THostWindow* Host = nullptr;
    QSize PendingHostSize;
    QTimer Ticker;
    // Milliseconds between ticks while a window is not yet on the screen.
    static constexpr int kUnexposedWait = 4;
    QEventLoop* Loop = nullptr;
    int OpenForms = 0;
    bool Ticking = false;
};

// The screens' geometries on the desktop, the primary screen first.
std::vector<QRect> ScreenGeometries();

} // namespace ml
