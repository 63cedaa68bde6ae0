#pragma once
// For the X11 units of this folder only. Xlib's default reaction to a protocol error (a
// window id that names nothing, say) is to end the process. While a trap is alive, errors
// are recorded instead; Check() waits for the server's answers and reports the first one.

#include <X11/Xlib.h>

namespace ml {

class TX11ErrorTrap {
public:
    explicit TX11ErrorTrap(Display* display) : D(display) {
        XSync(D, False);
        FirstError = 0;
        Previous = XSetErrorHandler(Record);
    }
    ~TX11ErrorTrap() {
        XSync(D, False);
        XSetErrorHandler(Previous);
    }
    TX11ErrorTrap(const TX11ErrorTrap&) = delete;
    TX11ErrorTrap& operator=(const TX11ErrorTrap&) = delete;

    // The first error code since the trap was set, 0 when none.
    int Check() {
        XSync(D, False);
        return FirstError;
    }

private:
    static int Record(Display*, XErrorEvent* event) {
        if (FirstError == 0)
            FirstError = event->error_code;
        return 0;
    }

    Display* D;
    XErrorHandler Previous;
    static inline int FirstError = 0;
};

} // namespace ml
