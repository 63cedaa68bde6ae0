#include "saver/SharedFrames.h"

#include "platform/PageMemory.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdint>
#include <map>

// Xlib's macros (None, Bool, Status ...) would clash with Qt's names: its headers come last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace ml {

namespace {

Display* QtDisplay() {
    auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->display() : nullptr;
}

// An attach the server refuses arrives as an X error; the default handler would end the
// program, so errors are only noted while attaching.
bool AttachFailed = false;
int NoteAttachError(Display*, XErrorEvent*) {
    AttachFailed = true;
    return 0;
}

// An image of width x height over a segment, when the server lays it out as our frames are:
// 32-bit pixels in rows of exactly the width. Null otherwise.
XImage* FrameImage(Display* dpy, Visual* visual, XShmSegmentInfo* info, int width, int height) {
    XImage* image = XShmCreateImage(dpy, visual, 24, ZPixmap, nullptr, info,
                                    static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (image && (image->bits_per_pixel != 32 || image->bytes_per_line != width * 4)) {
        XDestroyImage(image);
        return nullptr;
    }
    return image;
}

// A cell holds about as many pixels as the server copies in the time it takes to handle one
// more put; it is about as high as a rain streak's box together with a frame's fall.
constexpr int kCellRows = 32;
constexpr int kCellColumns = 64;
constexpr std::int64_t kRequestPixels = kCellRows * kCellColumns;

} // namespace

const std::vector<QRect>& TPartsMerger::Merge(const std::vector<QRect>& parts) {
    Merged.clear();
    QRect bounds;
    for (const QRect& part : parts)
        bounds |= part;
    if (bounds.isEmpty())
        return Merged;
    const int columns = (bounds.width() + kCellColumns - 1) / kCellColumns;
    const int rows = (bounds.height() + kCellRows - 1) / kCellRows;
    Cells.assign(static_cast<std::size_t>(columns) * rows, TBox{});
    for (const QRect& part : parts) {
        if (part.isEmpty())
            continue;
        // Counted from the bounds' corner, so that every cell index is 0 or more.
        const int left = part.left() - bounds.left(), right = part.right() - bounds.left();
        const int top = part.top() - bounds.top(), bottom = part.bottom() - bounds.top();
        for (int row = top / kCellRows; row <= bottom / kCellRows; ++row)
            for (int column = left / kCellColumns; column <= right / kCellColumns; ++column) {
                TBox& cell = Cells[static_cast<std::size_t>(row) * columns + column];
                const int l = std::max(left, column * kCellColumns);
                const int r = std::min(right, column * kCellColumns + kCellColumns - 1);
                const int t = std::max(top, row * kCellRows);
                const int b = std::min(bottom, row * kCellRows + kCellRows - 1);
                if (cell.Right < cell.Left) {
                    cell = {l, t, r, b};
                } else {
                    cell.Left = std::min(cell.Left, l);
                    cell.Top = std::min(cell.Top, t);
                    cell.Right = std::max(cell.Right, r);
                    cell.Bottom = std::max(cell.Bottom, b);
                }
            }
    }
    auto area = [](const TBox& box) {
        return std::int64_t{box.Right - box.Left + 1} * (box.Bottom - box.Top + 1);
    };
    ThisRow.clear();
    for (int row = 0; row < rows; ++row) {
        RowAbove.swap(ThisRow);
        ThisRow.clear();
        TBox run;
        for (int column = 0; column < columns; ++column) {
            const TBox& cell = Cells[static_cast<std::size_t>(row) * columns + column];
            if (cell.Right < cell.Left)
                continue;
            if (run.Right < run.Left) {
                run = cell;
                continue;
            }
            const TBox joined{run.Left, std::min(run.Top, cell.Top), cell.Right,
                              std::max(run.Bottom, cell.Bottom)};
            if (area(joined) - area(run) - area(cell) <= kRequestPixels) {
                run = joined;
            } else {
                Keep(run);
                run = cell;
            }
        }
        if (run.Right >= run.Left)
            Keep(run);
    }
    for (QRect& rect : Merged)
        rect.translate(bounds.topLeft());
    return Merged;
}

void TPartsMerger::Keep(const TBox& box) {
    for (std::size_t i : RowAbove) {
        QRect& upper = Merged[i];
        if (upper.left() == box.Left && upper.right() == box.Right &&
            upper.bottom() + 1 == box.Top) {
            upper.setBottom(box.Bottom);
            ThisRow.push_back(i);
            return;
        }
    }
    ThisRow.push_back(Merged.size());
    Merged.push_back(QRect(QPoint(box.Left, box.Top), QPoint(box.Right, box.Bottom)));
}

struct TSharedFrames::TSegment {
    XShmSegmentInfo Info{};
    XImage* Image = nullptr;

    std::size_t Bytes() const {
        return static_cast<std::size_t>(Image->bytes_per_line) *
               static_cast<std::size_t>(Image->height);
    }
    // Lets go of the segment: the server first, when it still has it.
    void Free(Display* dpy) {
        if (dpy && QtDisplay() == dpy) {
            XShmDetach(dpy, &Info);
            XSync(dpy, False);
        }
        Image->data = nullptr;
        XDestroyImage(Image);
        shmdt(Info.shmaddr);
    }
};

struct TSharedFrames::TState {
    Display* Dpy = nullptr;
    Visual* Vis = nullptr;
    // By the address of their pixels.
    std::map<const uchar*, TSegment> Segments;
    unsigned long Window = 0;
    GC Gc = nullptr;
    bool WindowFits = false;

    void Release(const uchar* pixels) {
        auto it = Segments.find(pixels);
        if (it == Segments.end())
            return;
        // The display goes with the application; after that the server has let go already.
        it->second.Free(Dpy);
        Segments.erase(it);
    }
};

std::unique_ptr<TSharedFrames> TSharedFrames::ForThisDisplay() {
    Display* dpy = QtDisplay();
    if (!dpy || !XShmQueryExtension(dpy))
        return nullptr;
    auto state = std::make_shared<TState>();
    state->Dpy = dpy;
    state->Vis = DefaultVisual(dpy, DefaultScreen(dpy));
    return std::unique_ptr<TSharedFrames>(new TSharedFrames(std::move(state)));
}

TSharedFrames::TSharedFrames(std::shared_ptr<TState> state) : State(std::move(state)) {}

TSharedFrames::~TSharedFrames() {
    ReservedPages.Wait();
    if (Reserved)
        Reserved->Free(State->Dpy);
    if (State->Gc && QtDisplay() == State->Dpy)
        XFreeGC(State->Dpy, State->Gc);
}

void TSharedFrames::Reserve(int width, int height) {
    ReservedPages.Wait();
    if (Reserved)
        Reserved->Free(State->Dpy);
    Reserved = MakeSegment(width, height);
    if (Reserved)
        ReservedPages = TPagesInAdvance(Reserved->Info.shmaddr, Reserved->Bytes());
}

std::unique_ptr<TSharedFrames::TSegment> TSharedFrames::TakeReserved(int width, int height) {
    ReservedPages.Wait();
    std::unique_ptr<TSegment> segment = std::move(Reserved);
    if (!segment)
        return nullptr;
    // The same segment under an image of the frame's size: making one asks nothing of the
    // server.
    XImage* image = FrameImage(State->Dpy, State->Vis, &segment->Info, width, height);
    if (image &&
        static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height) <=
            segment->Bytes()) {
        segment->Image->data = nullptr;
        XDestroyImage(segment->Image);
        segment->Image = image;
        segment->Image->data = segment->Info.shmaddr;
        return segment;
    }
    if (image)
        XDestroyImage(image);
    segment->Free(State->Dpy);
    return nullptr;
}

std::unique_ptr<TSharedFrames::TSegment> TSharedFrames::MakeSegment(int width, int height) {
    auto made = std::make_unique<TSegment>();
    TSegment& segment = *made;
    segment.Image = FrameImage(State->Dpy, State->Vis, &segment.Info, width, height);
    if (!segment.Image)
        return nullptr;
    const int line = segment.Image->bytes_per_line;
    segment.Info.shmid =
        shmget(IPC_PRIVATE, static_cast<std::size_t>(line) * height, IPC_CREAT | 0600);
    if (segment.Info.shmid < 0) {
        XDestroyImage(segment.Image);
        return nullptr;
    }
    segment.Info.shmaddr = static_cast<char*>(shmat(segment.Info.shmid, nullptr, 0));
    segment.Info.readOnly = True;
    AttachFailed = segment.Info.shmaddr == reinterpret_cast<char*>(-1);
    if (!AttachFailed) {
        XSync(State->Dpy, False);
        auto* previous = XSetErrorHandler(NoteAttachError);
        XShmAttach(State->Dpy, &segment.Info);
        XSync(State->Dpy, False);
        XSetErrorHandler(previous);
    }
    // Marked for removal at once: the segment lives while we or the server hold it.
    shmctl(segment.Info.shmid, IPC_RMID, nullptr);
    if (AttachFailed) {
        if (segment.Info.shmaddr != reinterpret_cast<char*>(-1))
            shmdt(segment.Info.shmaddr);
        XDestroyImage(segment.Image);
        return nullptr;
    }
    segment.Image->data = segment.Info.shmaddr;
    return made;
}

QImage TSharedFrames::Allocate(int width, int height) {
    std::unique_ptr<TSegment> segment = TakeReserved(width, height);
    if (!segment) {
        segment = MakeSegment(width, height);
        if (!segment)
            return {};
        // A frame is written whole as soon as it is made.
        PrefaultPages(segment->Info.shmaddr, segment->Bytes());
    }
    const int line = segment->Image->bytes_per_line;
    auto* pixels = reinterpret_cast<uchar*>(segment->Info.shmaddr);
    // The image finds its segment through the info it was made with: the kept copy.
    TSegment& kept = State->Segments[pixels] = *segment;
    kept.Image->obdata = reinterpret_cast<char*>(&kept.Info);
    // The image may outlive this object; the state it is released into goes with it.
    struct TRelease {
        std::shared_ptr<TState> State;
        const uchar* Pixels;
    };
    return QImage(
        pixels, width, height, line, QImage::Format_RGB32,
        [](void* info) {
            auto* release = static_cast<TRelease*>(info);
            release->State->Release(release->Pixels);
            delete release;
        },
        new TRelease{State, pixels});
}

bool TSharedFrames::Put(unsigned long window, const QImage& image, QPoint at,
                        const std::vector<QRect>& parts) {
    auto it = State->Segments.find(image.constBits());
    if (it == State->Segments.end())
        return false;
    if (window != State->Window) {
        if (State->Gc)
            XFreeGC(State->Dpy, State->Gc);
        State->Window = window;
        // Without graphics exposures: the server would answer every put of a part with an
        // event that wakes the toolkit's event thread for nothing.
        XGCValues values{};
        values.graphics_exposures = False;
        State->Gc = XCreateGC(State->Dpy, window, GCGraphicsExposures, &values);
        XWindowAttributes attributes{};
        State->WindowFits = XGetWindowAttributes(State->Dpy, window, &attributes) &&
                            attributes.depth == 24 && attributes.visual->red_mask == 0xFF0000 &&
                            attributes.visual->green_mask == 0xFF00 &&
                            attributes.visual->blue_mask == 0xFF;
    }
    if (!State->WindowFits)
        return false;
    for (const QRect& part : Merger.Merge(parts))
        XShmPutImage(State->Dpy, window, State->Gc, it->second.Image, part.x() - at.x(),
                     part.y() - at.y(), part.x(), part.y(), static_cast<unsigned>(part.width()),
                     static_cast<unsigned>(part.height()), False);
    XFlush(State->Dpy);
    return true;
}

} // namespace ml
