#pragma once
// Frames the X server reads straight from the show's memory (the MIT shared-memory
// extension): the water is computed into such a frame and its changed parts go to the window
// without first being copied into the toolkit's backing store, which would cost as much as a
// good part of computing them.

#include "platform/PageMemory.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <memory>
#include <vector>

namespace ml {

// Fewer rectangles covering at least the given parts, for putting them to a window: each put
// is a request the server handles on its own, costing about as much as copying a couple of
// thousand pixels. The parts are gathered in cells of about that many pixels, each keeping
// the bounds of what falls into it; along a row of cells, neighbours join while that adds
// fewer pixels than a request costs, and a rectangle that goes on straight down from one of
// the row above joins that one. The pixels added show what the window shows already.
class TPartsMerger {
public:
    // Valid until the next call.
    const std::vector<QRect>& Merge(const std::vector<QRect>& parts);

private:
    struct TBox {
        int Left = 0, Top = 0, Right = -1, Bottom = -1; // inclusive; empty while Right < Left
    };
    void Keep(const TBox& box);

    std::vector<TBox> Cells;
    std::vector<QRect> Merged;
    // Where in Merged the rectangles of this row of cells and of the row above lie.
    std::vector<std::size_t> RowAbove, ThisRow;
};

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
    // Makes the segment for frames of up to width x height pixels before they are asked for,
    // and has its pages mapped on another core meanwhile: the next Allocate of a frame that
    // fits takes it. Memory the server shares cannot have huge pages, so the first touch of
    // each of its thousands of pages costs more than writing it.
    void Reserve(int width, int height);
    // Puts the parts (window coordinates) of an image made by Allocate, placed at `at`, into
    // the window. The server reads them when it handles the request, long before the next
    // frame is written 33 ms later; waiting for it each frame would cost two thread wake-ups
    // a frame, more than the copy saved. False, with nothing put, when the image's pixels are
    // not in a segment of ours (it was copied) or the window is not the image's 24-bit layout.
    bool Put(unsigned long window, const QImage& image, QPoint at, const std::vector<QRect>& parts);

private:
    struct TState;
    struct TSegment;
    TPartsMerger Merger;
    explicit TSharedFrames(std::shared_ptr<TState> state);
    std::unique_ptr<TSegment> MakeSegment(int width, int height);
    // The reserved segment when it holds a frame of that size, reshaped to it; else null.
    std::unique_ptr<TSegment> TakeReserved(int width, int height);
    std::shared_ptr<TState> State;
    std::unique_ptr<TSegment> Reserved;
    TPagesInAdvance ReservedPages;
};

} // namespace ml
