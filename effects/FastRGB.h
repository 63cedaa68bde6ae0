#pragma once
// The pixel buffer's fixed memory layout and its ten operations. Pixels are 24-bit, three
// bytes blue, green, red; each row is padded to a multiple of four bytes; rows are stored
// bottom-up, so row 0 in memory is the bottom line of the picture. Every row-indexed
// argument below counts rows in that memory order. Scaling and copying map rows to rows in
// the same order, which keeps pictures upright.
//
// The layout is the classic device-independent bitmap one on purpose: the wallpaper file and
// the fixed-point scalers are written against it, and callers may walk Row(i) directly.

#include <cstdint>
#include <vector>

class QPainter;

namespace ml {

class TFastRGB {
public:
    TFastRGB() = default;
    virtual ~TFastRGB() = default;
    TFastRGB(const TFastRGB&) = delete;
    TFastRGB& operator=(const TFastRGB&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Padding bytes at the end of each row: Width mod 4.
    int RowPadding() const { return FRowPadding; }
    // Bytes from the start of one row to the next.
    int RowStride() const { return FRowStride; }
    // RowStride x Height.
    int ImageSize() const { return FImageSize; }
    // First byte of pixel memory; nullptr while nothing is allocated.
    std::uint8_t* Bits() { return FBits; }
    const std::uint8_t* Bits() const { return FBits; }
    // Start of memory row i (0 = bottom line); i must lie in 0..Height-1.
    std::uint8_t* Row(int i) { return FRows[static_cast<std::size_t>(i)]; }
    const std::uint8_t* Row(int i) const { return FRows[static_cast<std::size_t>(i)]; }

    // Sizes the buffer. The same size as now keeps the contents; any other size gives
    // fresh black pixels.
    virtual void Allocate(int width, int height) = 0;

    // Painting onto a painter. Source rows (sy) count from the bottom line, as in memory;
    // destination coordinates are the painter's. Stretched paints pick the nearest source
    // pixel without smoothing; source pixels outside the buffer paint nothing.
    virtual void PaintAt(QPainter& dc, int x, int y) const = 0;
    virtual void PaintStretched(QPainter& dc, int x, int y, int w, int h) const = 0;
    virtual void PaintRegion(QPainter& dc, int x, int y, int w, int h, int sx, int sy) const = 0;
    virtual void PaintRegionStretched(QPainter& dc, int x, int y, int w, int h, int sx, int sy,
                                      int sw, int sh) const = 0;
    // Repeats the picture from (x, y) over w x h, its top line at y.
    virtual void PaintTiled(QPainter& dc, int x, int y, int w, int h) const = 0;

    // Scales the whole buffer into dst, which must already have the wanted size.
    virtual void ScaleNearestInto(TFastRGB& dst) const = 0;
    virtual void ScaleBilinearInto(TFastRGB& dst) const = 0;
    // Copies the w x h block at (sx, sy) to (x, y) of dst after clipping it to both buffers.
    // dst may be this buffer itself; overlapping blocks copy correctly.
    virtual void CopyRegionInto(TFastRGB& dst, int x, int y, int w, int h, int sx,
                                int sy) const = 0;
    // Fills dst with copies of this buffer, the first at memory row 0, column 0.
    virtual void TileInto(TFastRGB& dst) const = 0;

protected:
    int FRowPadding = 0;
    int FRowStride = 0;
    int FImageSize = 0;
    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint8_t*> FRows;
    std::uint8_t* FBits = nullptr;
};

} // namespace ml
