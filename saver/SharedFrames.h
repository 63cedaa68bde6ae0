#pragma once
// Frames the X server reads straight from the show's memory (the MIT shared-memory
// extension): the water is computed into such a frame and its changed parts go to the window
// without first being copied into the toolkit's backing store, which would cost as much as a
// good part of computing them.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <memory>
#include <vector>

namespace ml {

class TSharedFrames {
public:
    // Null unless the application runs on an X display that offers shared memory.
    static std::unique_ptr<TSharedFrames> ForThisDisplay();
    ~TSharedFrames();
    TSharedFrames(const TSharedFrames&) = delete;
    TSharedFrames& operator=(const TSharedFrames&) = delete;

    // A 32-bit image whose pixels the server can read; a null image when no segment can be
    // made or attached (a display on another machine, for one).
    QImage Allocate(int width, int height);
    // Puts the parts (window coordinates) of an image made by Allocate, placed at `at`, into
    // the window. The server reads them when it handles the request, long before the next
    // frame is written 33 ms later; waiting for it each frame would cost two thread wake-ups
    // a frame, more than the copy saved. False, with nothing put, when the image's pixels are
    // not in a segment of ours (it was copied) or the window is not the image's 24-bit layout.
    bool Put(unsigned long window, const QImage& image, QPoint at, const std::vector<QRect>& parts);

private:
    struct TState;
    explicit TSharedFrames(std::shared_ptr<TState> state);
    std::shared_ptr<TState> State;
};

} // namespace ml
