#pragma once
// The window of another program that the show runs inside, as screen-saver daemons run
// their hacks: XScreenSaver's window on one screen, the preview area of its settings dialog,
// or the root window itself. We never draw into it directly: our own window is placed in it
// (or, for the root window, over the whole of it) and follows its size.

#include <QObject>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWindow;

namespace ml {

class THostWindow : public QObject {
public:
    // The host's size now (as last reported).
    virtual QSize Size() const = 0;
    // The host as a Qt window that ours can be placed in; nullptr for the root window, which
    // ours covers as a window of its own.
    virtual QWindow* AsParent() = 0;

    // Called in the event loop when the host changes size, and when it is destroyed.
    std::function<void(QSize)> OnResize;
    std::function<void()> OnGone;
};

// The X11 window with that id on the display named by $DISPLAY. Raises EInOutError when
// there is no display or the id names no window.
std::unique_ptr<THostWindow> OpenHostWindow(std::uint32_t id);
// The root window of the display's default screen; raises EInOutError without a display.
std::uint32_t RootWindowId();

// Why no window can be shown, as one line ("cannot open the display (DISPLAY is not set)"),
// or "" when the display opens. A Qt platform other than X11 (offscreen, for tests) is left to
// decide for itself.
std::string DisplayProblem();

} // namespace ml
