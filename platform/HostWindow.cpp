#include "platform/HostWindow.h"

#include "platform/Exceptions.h"

#include <QSocketNotifier>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Xlib's macros (None, Bool ...) clash with Qt's names: it comes after every Qt header.
#include "platform/X11ErrorTrap.h"
#include <X11/Xlib.h>

namespace ml {

namespace {

Display* OpenDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        throw EInOutError("Cannot open the X display");
    return display;
}

std::string HexId(std::uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", id);
    return text;
}

class TX11HostWindow : public THostWindow {
public:
    explicit TX11HostWindow(std::uint32_t id) : Id(id), Connection(OpenDisplay()) {
        try {
            TX11ErrorTrap trap(Connection);
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(Connection, Id, &attributes) || trap.Check() != 0)
                throw EInOutError("There is no window " + HexId(Id) + " to run the show in");
            // Our own connection hears of the host's size changes and of its end; the host's
            // owner keeps every other event.
            XSelectInput(Connection, Id, StructureNotifyMask);
            if (trap.Check() != 0)
                throw EInOutError("Cannot follow window " + HexId(Id));
            Current = QSize(attributes.width, attributes.height);
            Root = attributes.root == Id;
        } catch (...) {
            XCloseDisplay(Connection);
            throw;
        }
        Notifier = new QSocketNotifier(ConnectionNumber(Connection), QSocketNotifier::Read, this);
        connect(Notifier, &QSocketNotifier::activated, this, [this] { Drain(); });
    }
    ~TX11HostWindow() override {
        delete Foreign;
        delete Notifier;
        XCloseDisplay(Connection);
    }
    TX11HostWindow(const TX11HostWindow&) = delete;
    TX11HostWindow& operator=(const TX11HostWindow&) = delete;

    QSize Size() const override { return Current; }

    QWindow* AsParent() override {
        if (Root)
            return nullptr;
        if (!Foreign)
            Foreign = QWindow::fromWinId(Id);
        return Foreign;
    }

private:
    void Drain() {
        // Xlib may already hold events it read while answering a request, so the queue is
        // emptied whole, not one event per wake-up.
        while (XPending(Connection) > 0) {
            XEvent event;
            XNextEvent(Connection, &event);
            if (event.type == ConfigureNotify && event.xconfigure.window == Id) {
                const QSize size(event.xconfigure.width, event.xconfigure.height);
                if (size != Current) {
                    Current = size;
                    if (OnResize)
                        OnResize(size);
                }
            } else if (event.type == DestroyNotify && event.xdestroywindow.window == Id) {
                if (OnGone)
                    OnGone();
            }
        }
    }

    Window Id;
    Display* Connection;
    QSize Current;
    bool Root = false;
    QWindow* Foreign = nullptr;
    QSocketNotifier* Notifier = nullptr;
};

} // namespace

std::unique_ptr<THostWindow> OpenHostWindow(std::uint32_t id) {
    return std::make_unique<TX11HostWindow>(id);
}

std::uint32_t RootWindowId() {
    Display* display = OpenDisplay();
    const auto root = static_cast<std::uint32_t>(DefaultRootWindow(display));
    XCloseDisplay(display);
    return root;
}

std::string DisplayProblem() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::string_view(platform).substr(0, 3) != "xcb")
        return "";
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return "cannot open the display (DISPLAY is not set)";
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return "cannot open the display \"" + std::string(name) + "\"";
    XCloseDisplay(display);
    return "";
}

} // namespace ml
