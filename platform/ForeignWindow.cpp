#include "platform/ForeignWindow.h"

#include "platform/Exceptions.h"
#include "platform/X11ErrorTrap.h"

#include <QImage>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace ml {

namespace {

// How one 8-bit channel lands in a pixel of the window's visual.
struct TChannel {
    unsigned long Mask;
    int Shift = 0;
    int Bits = 0;

    explicit TChannel(unsigned long mask) : Mask(mask) {
        if (mask == 0)
            return;
        while (!((mask >> Shift) & 1))
            ++Shift;
        while ((mask >> (Shift + Bits)) & 1)
            ++Bits;
    }
    unsigned long Place(unsigned value8) const {
        const unsigned long value = Bits >= 8 ? value8 << (Bits - 8) : value8 >> (8 - Bits);
        return (value << Shift) & Mask;
    }
};

std::string ErrorText(Display* display, int code) {
    char text[256] = {};
    XGetErrorText(display, code, text, sizeof text);
    return text;
}

class TX11Window : public TForeignWindow {
public:
    explicit TX11Window(std::uint32_t id) : Id(id) {
        Connection = XOpenDisplay(nullptr);
        if (!Connection)
            throw EInOutError("Cannot open the X display");
    }
    ~TX11Window() override { XCloseDisplay(Connection); }
    TX11Window(const TX11Window&) = delete;
    TX11Window& operator=(const TX11Window&) = delete;

    TState State() const override {
        XWindowAttributes attributes;
        if (!ReadAttributes(attributes))
            return TState::Missing;
        return attributes.map_state == IsViewable ? TState::Viewable : TState::Hidden;
    }

    void DrawStretched(const TBitmap& picture) override;

private:
    bool ReadAttributes(XWindowAttributes& attributes) const {
        TX11ErrorTrap trap(Connection);
        return XGetWindowAttributes(Connection, Id, &attributes) && trap.Check() == 0;
    }

    Display* Connection = nullptr;
    std::uint32_t Id;
};

void TX11Window::DrawStretched(const TBitmap& picture) {
    if (picture.Empty())
        throw EInvalidOperation("An empty picture cannot be drawn into window " +
                                std::to_string(Id));
    XWindowAttributes attributes;
    if (!ReadAttributes(attributes))
        throw EInvalidOperation("Window " + std::to_string(Id) + " does not exist");
    TX11ErrorTrap trap(Connection);
    Visual* visual = attributes.visual;
    if (attributes.c_class != InputOutput || visual->red_mask == 0 || visual->green_mask == 0 ||
        visual->blue_mask == 0)
        throw EInvalidOperation("Window " + std::to_string(Id) + " cannot show a picture");

    const int width = attributes.width;
    const int height = attributes.height;
    const QImage stretched =
        picture.ToImage().scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    XImage* image =
        XCreateImage(Connection, visual, static_cast<unsigned>(attributes.depth), ZPixmap, 0,
                     nullptr, static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!image)
        throw EInvalidOperation("Cannot make an image for window " + std::to_string(Id));
    std::vector<char> data(static_cast<std::size_t>(image->bytes_per_line) * height);
    image->data = data.data();

    const TChannel red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
    // Depth-32 visuals carry alpha in the bits no colour uses; the picture is opaque.
    const unsigned long allBits = attributes.depth >= 32 ? ~0ul : ((1ul << attributes.depth) - 1);
    const unsigned long alpha = allBits & ~(red.Mask | green.Mask | blue.Mask) & 0xFFFFFFFFul;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(stretched.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = row[x];
            XPutPixel(image, x, y,
                      alpha | red.Place((c >> 16) & 0xFF) | green.Place((c >> 8) & 0xFF) |
                          blue.Place(c & 0xFF));
        }
    }

    const Pixmap pixmap =
        XCreatePixmap(Connection, Id, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(attributes.depth));
    GC gc = XCreateGC(Connection, pixmap, 0, nullptr);
    XPutImage(Connection, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    // The window keeps its own reference to the background, so the picture survives both
    // freeing our handle and closing our connection, and repaints itself on every expose.
    XSetWindowBackgroundPixmap(Connection, Id, pixmap);
    XClearWindow(Connection, Id);
    XFreeGC(Connection, gc);
    XFreePixmap(Connection, pixmap);
    image->data = nullptr;
    XDestroyImage(image);
    if (const int error = trap.Check())
        throw EInvalidOperation("Drawing into window " + std::to_string(Id) +
                                " failed: " + ErrorText(Connection, error));
}

} // namespace

std::unique_ptr<TForeignWindow> OpenForeignWindow(std::uint32_t id) {
    return std::make_unique<TX11Window>(id);
}

} // namespace ml
