#pragma once
// A window of another process, named by its X11 id: the screen-saver host's preview area.
// We only look at it and draw into it once; the drawing must outlive our process, so it is
// made the window's background rather than painted over it.

#include "platform/Bitmap.h"

#include <cstdint>
#include <memory>

namespace ml {

class TForeignWindow {
public:
    enum class TState { Missing, Hidden, Viewable };

    virtual ~TForeignWindow() = default;
    // Missing when the id names no window (or it has been destroyed since).
    virtual TState State() const = 0;
    // Stretches the picture over the whole window, proportions not kept, and leaves it there
    // as the window's background so that it stays after we disconnect.
    virtual void DrawStretched(const TBitmap& picture) = 0;
};

// The X11 window with that id on the display named by $DISPLAY. Raises EInOutError when there
// is no display to connect to.
std::unique_ptr<TForeignWindow> OpenForeignWindow(std::uint32_t id);

} // namespace ml
