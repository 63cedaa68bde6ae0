#include "effects/FastBMP.h"

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace ml {

namespace {

// A run of 32-bit pixels that paints write into: covers [Left, Left + Width) x
// [Top, Top + Height) in destination coordinates.
struct TTarget {
    std::uint32_t* Bits = nullptr;
    qsizetype StridePixels = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

std::uint32_t PackPixel(const std::uint8_t* bgr) {
    return 0xFF000000u | (std::uint32_t(bgr[2]) << 16) | (std::uint32_t(bgr[1]) << 8) | bgr[0];
}

// Writes the w x h destination rectangle at (x, y). sourceColumn(dx) and sourceRow(dy) give
// the source column and memory row for a destination offset, or -1 where nothing is painted.
template <typename ColumnOf, typename RowOf>
void PaintPixels(const TFastRGB& src, const TTarget& target, int x, int y, int w, int h,
                 ColumnOf sourceColumn, RowOf sourceRow) {
    const int x0 = std::max(x, target.Left);
    const int x1 = static_cast<int>(std::min<long long>(
        static_cast<long long>(x) + w, static_cast<long long>(target.Left) + target.Width));
    const int y0 = std::max(y, target.Top);
    const int y1 = static_cast<int>(std::min<long long>(
        static_cast<long long>(y) + h, static_cast<long long>(target.Top) + target.Height));
    if (x0 >= x1 || y0 >= y1)
        return;
    // Byte offsets of the source pixel for each painted column, -1 for none.
    std::vector<int> offsets(static_cast<std::size_t>(x1 - x0));
    for (int tx = x0; tx < x1; ++tx) {
        const int column = sourceColumn(tx - x);
        offsets[static_cast<std::size_t>(tx - x0)] = column < 0 ? -1 : column * 3;
    }
    for (int ty = y0; ty < y1; ++ty) {
        const int row = sourceRow(ty - y);
        if (row < 0)
            continue;
        const std::uint8_t* line = src.Row(row);
        std::uint32_t* out =
            target.Bits + (ty - target.Top) * target.StridePixels + (x0 - target.Left);
        for (std::size_t i = 0; i < offsets.size(); ++i)
            if (offsets[i] >= 0)
                out[i] = PackPixel(line + offsets[i]);
    }
}

// Nearest-pixel stretch of the sw x sh source block at (sx, sy) (sy in memory rows) into the
// w x h rectangle at (x, y). Destination rows run top-down, so the rectangle's bottom row
// takes memory row sy: the picture stays upright.
void StretchPixels(const TFastRGB& src, const TTarget& target, int x, int y, int w, int h, int sx,
                   int sy, int sw, int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || src.Width() == 0 || src.Height() == 0)
        return;
    auto column = [&](int dx) {
        const long long c = sx + static_cast<long long>(dx) * sw / w;
        return c < 0 || c >= src.Width() ? -1 : static_cast<int>(c);
    };
    auto row = [&](int dy) {
        const long long r = sy + static_cast<long long>(h - 1 - dy) * sh / h;
        return r < 0 || r >= src.Height() ? -1 : static_cast<int>(r);
    };
    PaintPixels(src, target, x, y, w, h, column, row);
}

TTarget TargetOf(QImage& image, int left, int top) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()),
            image.bytesPerLine() / 4,
            left,
            top,
            image.width(),
            image.height()};
}

// The part of the w x h rectangle at (x, y) that can reach the painter's device; the whole
// rectangle when the painter's transform is more than a move.
QRect VisiblePart(const QPainter& dc, int x, int y, int w, int h) {
    const QRect wanted(x, y, w, h);
    const QPaintDevice* device = dc.device();
    if (!device || dc.transform().type() > QTransform::TxTranslate)
        return wanted;
    const QRect deviceRect =
        dc.transform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
    return wanted.intersected(deviceRect);
}

// Renders through a scratch image that starts fully transparent, so that pixels the paint
// leaves out keep what the painter's device had; painted pixels are opaque and land exactly.
template <typename Render>
void PaintThroughImage(QPainter& dc, int x, int y, int w, int h, Render render) {
    if (w <= 0 || h <= 0)
        return;
    const QRect part = VisiblePart(dc, x, y, w, h);
    if (part.isEmpty())
        return;
    QImage scratch(part.size(), QImage::Format_ARGB32_Premultiplied);
    scratch.fill(0);
    render(TargetOf(scratch, part.x(), part.y()));
    dc.save();
    dc.setCompositionMode(QPainter::CompositionMode_SourceOver);
    dc.drawImage(part.topLeft(), scratch);
    dc.restore();
}

// One source row laid out for the bilinear scaler: for every destination column, its left
// and right source pixels as 0x00RRGGBB words, so that loading a row is two word copies per
// column and the blend pulls the channels apart with vector shifts.
class TBlendRow {
public:
    // Four-byte reads take one byte beyond each pixel. Offsets only grow, so the columns
    // whose reads stay within the row's pixels come first; the rest (whose right pixel is the
    // row's last) read exactly their six bytes.
    TBlendRow(const std::vector<int>& offsets, int sourceWidth)
        : Offsets(&offsets), Left(offsets.size()), Right(offsets.size()) {
        while (Whole < offsets.size() && offsets[Whole] + 7 <= sourceWidth * 3)
            ++Whole;
    }

    int SourceRow = -1;
    const std::uint32_t* LeftPixels() const { return Left.data(); }
    const std::uint32_t* RightPixels() const { return Right.data(); }

    void Load(const TFastRGB& src, int row) {
        if (row == SourceRow)
            return;
        SourceRow = row;
        const std::uint8_t* line = src.Row(row);
        const int* offset = Offsets->data();
        const std::size_t n = Offsets->size();
        for (std::size_t c = 0; c < Whole; ++c) {
            std::uint32_t left, right;
            std::memcpy(&left, line + offset[c], 4);
            std::memcpy(&right, line + offset[c] + 3, 4);
            Left[c] = left & 0xFFFFFF;
            Right[c] = right & 0xFFFFFF;
        }
        for (std::size_t c = Whole; c < n; ++c) {
            const std::uint8_t* p = line + offset[c];
            Left[c] = p[0] | p[1] << 8 | p[2] << 16;
            Right[c] = p[3] | p[4] << 8 | p[5] << 16;
        }
    }

private:
    const std::vector<int>* Offsets;
    std::vector<std::uint32_t> Left;
    std::vector<std::uint32_t> Right;
    std::size_t Whole = 0; // columns read with whole words
};

// Blends one destination row: for every column, the four neighbours weighted by their
// fixed-point fractions. This is element-wise arithmetic over columns, which the compiler
// turns into vector code; every product fits 32 bits (weights are at most 32768, channels at
// most 255). The output never overlaps the inputs (__restrict), which spares the loop
// run-time overlap checks.
ML_VECTOR_CLONES void BlendColumns(const TBlendRow& upper, const TBlendRow& lower,
                                   const std::uint16_t* fx, std::uint16_t fy,
                                   std::uint32_t* __restrict pixel, std::size_t n) {
    const std::uint32_t gy = 32768u - fy;
    const std::uint32_t* __restrict ul = upper.LeftPixels();
    const std::uint32_t* __restrict ur = upper.RightPixels();
    const std::uint32_t* __restrict ll = lower.LeftPixels();
    const std::uint32_t* __restrict lr = lower.RightPixels();
    for (std::size_t c = 0; c < n; ++c) {
        const std::uint32_t wUpperRight = (fx[c] * gy) >> 15;
        const std::uint32_t wUpperLeft = gy - wUpperRight;
        const std::uint32_t wLowerRight = (fx[c] * std::uint32_t{fy}) >> 15;
        const std::uint32_t wLowerLeft = fy - wLowerRight;
        std::uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t value =
                (((ul[c] >> shift) & 0xFF) * wUpperLeft + ((ur[c] >> shift) & 0xFF) * wUpperRight +
                 ((ll[c] >> shift) & 0xFF) * wLowerLeft +
                 ((lr[c] >> shift) & 0xFF) * wLowerRight) >>
                15;
            out |= value << shift;
        }
        pixel[c] = out;
    }
}

// Runs work(from, to) over the rows 0..height-1, split into bands on the shared thread
// pool when the picture is large enough to repay it, as Qt's own smooth scaling does. Every
// band writes its own rows only, and all have finished when this returns, so callers still
// see one ordinary call on their own thread. The calling thread takes the last band; a band
// the pool cannot start at once runs here too.
template <typename Work> void RunInBands(int width, int height, Work& work) {
    constexpr long long kMinPixelsPerBand = 1 << 17;
    const long long pixels = static_cast<long long>(width) * height;
    const int bands = static_cast<int>(std::clamp<long long>(
        std::min<long long>(pixels / kMinPixelsPerBand, QThread::idealThreadCount()), 1, height));
    if (bands == 1) {
        work(0, height);
        return;
    }
    QSemaphore finished;
    int started = 0;
    for (int band = 0; band + 1 < bands; ++band) {
        const int from = height * band / bands;
        const int to = height * (band + 1) / bands;
        auto task = [&work, &finished, from, to] {
            work(from, to);
            finished.release();
        };
        if (QThreadPool::globalInstance()->tryStart(task))
            ++started;
        else
            work(from, to);
    }
    work(height * (bands - 1) / bands, height);
    finished.acquire(started);
}

} // namespace

void TFastBMP::Allocate(int width, int height) {
    if (width == FWidth && height == FHeight)
        return;
    const long long stride = (static_cast<long long>(width) * 24 + 31) / 32 * 4;
    const long long size = stride * height;
    if (width < 0 || height < 0 || size > INT_MAX)
        throw EInvalidOperation("Invalid pixel buffer size " + std::to_string(width) + " x " +
                                std::to_string(height));
    // Everything that can fail comes first, so that a failed Allocate leaves the old buffer.
    TBlock storage;
    if (size > 0)
        storage = MakeBlock(static_cast<std::size_t>(size));
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(height), nullptr);
    for (int i = 0; storage && i < height; ++i)
        rows[static_cast<std::size_t>(i)] = storage.get() + i * stride;

    FStorage = std::move(storage);
    FRows = std::move(rows);
    FBits = FStorage.get();
    FWidth = width;
    FHeight = height;
    FRowStride = static_cast<int>(stride);
    FRowPadding = width % 4;
    FImageSize = static_cast<int>(size);
    FHeader.Width = width;
    FHeader.Height = height;
}

void TFastBMP::Swap(TFastBMP& other) noexcept {
    std::swap(FRowPadding, other.FRowPadding);
    std::swap(FRowStride, other.FRowStride);
    std::swap(FImageSize, other.FImageSize);
    std::swap(FWidth, other.FWidth);
    std::swap(FHeight, other.FHeight);
    std::swap(FRows, other.FRows);
    std::swap(FBits, other.FBits);
    std::swap(FHeader, other.FHeader);
    std::swap(FStorage, other.FStorage);
}

TFastBMP& TFastBMP::operator=(TFastBMP&& other) noexcept {
    TFastBMP taken(std::move(other));
    Swap(taken);
    return *this;
}

void TFastBMP::LoadFromBitmap(const TBitmap& bitmap) {
    Allocate(bitmap.Width(), bitmap.Height());
    if (FBits == nullptr)
        return;
    for (int i = 0; i < FHeight; ++i) {
        const std::uint32_t* in = bitmap.ScanLine(FHeight - 1 - i);
        std::uint8_t* out = Row(i);
        for (int x = 0; x < FWidth; ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(in[x]);
            out[1] = static_cast<std::uint8_t>(in[x] >> 8);
            out[2] = static_cast<std::uint8_t>(in[x] >> 16);
        }
    }
}

void TFastBMP::PaintAt(QPainter& dc, int x, int y) const {
    PaintRegionStretched(dc, x, y, FWidth, FHeight, 0, 0, FWidth, FHeight);
}

void TFastBMP::PaintStretched(QPainter& dc, int x, int y, int w, int h) const {
    PaintRegionStretched(dc, x, y, w, h, 0, 0, FWidth, FHeight);
}

void TFastBMP::PaintRegion(QPainter& dc, int x, int y, int w, int h, int sx, int sy) const {
    PaintRegionStretched(dc, x, y, w, h, sx, sy, w, h);
}

void TFastBMP::PaintRegionStretched(QPainter& dc, int x, int y, int w, int h, int sx, int sy,
                                    int sw, int sh) const {
    if (sw <= 0 || sh <= 0)
        return;
    PaintThroughImage(dc, x, y, w, h, [&](const TTarget& target) {
        StretchPixels(*this, target, x, y, w, h, sx, sy, sw, sh);
    });
}

void TFastBMP::PaintTiled(QPainter& dc, int x, int y, int w, int h) const {
    if (FWidth == 0 || FHeight == 0)
        return;
    // The picture's top line starts every tile, as when the tiles are laid from the
    // top-left corner of the rectangle.
    PaintThroughImage(dc, x, y, w, h, [&](const TTarget& target) {
        PaintPixels(
            *this, target, x, y, w, h, [&](int dx) { return dx % FWidth; },
            [&](int dy) { return FHeight - 1 - dy % FHeight; });
    });
}

void TFastBMP::PaintAt(TBitmap& target, int x, int y) const {
    if (target.Empty())
        return;
    QImage& image = target.ToImage();
    StretchPixels(*this, TargetOf(image, 0, 0), x, y, FWidth, FHeight, 0, 0, FWidth, FHeight);
}

void TFastBMP::ScaleNearestInto(TFastRGB& dst) const {
    const int dw = dst.Width();
    const int dh = dst.Height();
    if (dw == 0 || dh == 0)
        return;
    if (dw == FWidth && dh == FHeight) {
        std::memcpy(dst.Bits(), FBits, static_cast<std::size_t>(FImageSize));
        return;
    }
    if (FWidth == 0 || FHeight == 0)
        return;
    const float rx = static_cast<float>(dw) / static_cast<float>(FWidth);
    const float ry = static_cast<float>(dh) / static_cast<float>(FHeight);

    if (rx < 1.0f || ry < 1.0f) {
        // 16.16 fixed point in both directions. The accumulators are 64-bit so that wide
        // pictures cannot overflow them; below 32768 pixels this is the 32-bit arithmetic.
        const long long stepX = (static_cast<long long>(FWidth) << 16) / dw;
        const long long stepY = (static_cast<long long>(FHeight) << 16) / dh;
        std::vector<int> offsets(static_cast<std::size_t>(dw));
        long long ax = 0;
        for (int c = 0; c < dw; ++c, ax += stepX)
            offsets[static_cast<std::size_t>(c)] = static_cast<int>(ax >> 16) * 3;
        long long ay = 0;
        for (int r = 0; r < dh; ++r, ay += stepY) {
            const std::uint8_t* in = Row(static_cast<int>(ay >> 16));
            std::uint8_t* out = dst.Row(r);
            for (int c = 0; c < dw; ++c, out += 3) {
                const std::uint8_t* p = in + offsets[static_cast<std::size_t>(c)];
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
            }
        }
        return;
    }

    // Enlarging: every source pixel becomes a run of nx pixels starting at the truncated
    // position j x rx (later runs overwrite the overlap of earlier ones), and every source
    // row is repeated into ny destination rows. The products below are exact in double, so
    // truncating them matches the ratio's single-precision value.
    const double rxd = rx;
    const double ryd = ry;
    const int nx = static_cast<int>(std::nearbyint(rxd + 0.5));
    const int ny = static_cast<int>(std::nearbyint(ryd + 0.5));
    const std::size_t rowBytes = static_cast<std::size_t>(dw) * 3;
    std::vector<std::uint8_t> work(rowBytes);
    for (int i = 0; i < FHeight; ++i) {
        const std::uint8_t* in = Row(i);
        for (int j = 0; j < FWidth; ++j) {
            const int start = static_cast<int>(j * rxd);
            const int end = std::min(start + nx, dw);
            for (int c = start; c < end; ++c)
                std::memcpy(&work[static_cast<std::size_t>(c) * 3], in + j * 3, 3);
        }
        const int firstRow = static_cast<int>(i * ryd);
        const int endRow = std::min(firstRow + ny, dh);
        for (int r = firstRow; r < endRow; ++r)
            std::memcpy(dst.Row(r), work.data(), rowBytes);
    }
}

void TFastBMP::ScaleBilinearInto(TFastRGB& dst) const {
    const int dw = dst.Width();
    const int dh = dst.Height();
    if (dw < 1 || dh < 1)
        return;
    if (FWidth == 1) {
        ScaleNearestInto(dst);
        return;
    }
    if (dw == FWidth && dh == FHeight) {
        std::memcpy(dst.Bits(), FBits, static_cast<std::size_t>(FImageSize));
        return;
    }
    if (FWidth == 0 || FHeight == 0)
        return;
    // 17.15 fixed point. Stepping over width - 1 and height - 1 keeps the right column and
    // the lower row of every sample inside the picture.
    const long long stepX = (static_cast<long long>(FWidth - 1) << 15) / dw;
    const long long stepY = (static_cast<long long>(FHeight - 1) << 15) / dh;
    const std::size_t n = static_cast<std::size_t>(dw);
    std::vector<int> offsets(n);
    std::vector<std::uint16_t> fx(n);
    long long ax = 0;
    for (std::size_t c = 0; c < n; ++c, ax += stepX) {
        offsets[c] = static_cast<int>(ax >> 15) * 3;
        fx[c] = static_cast<std::uint16_t>(ax & 32767);
    }
    // Rows from..to-1 of dst; bands of rows share nothing but the read-only tables.
    auto blendRows = [&, stepY, n](int from, int to) {
        TBlendRow upper(offsets, FWidth), lower(offsets, FWidth);
        // One finished pixel per column as blue | green << 8 | red << 16, so that the pixels
        // go out with one store each.
        std::vector<std::uint32_t> pixels(n);
        long long ay = from * stepY;
        for (int r = from; r < to; ++r, ay += stepY) {
            const int upperRow = static_cast<int>(ay >> 15);
            const int lowerRow = upperRow + 1 < FHeight ? upperRow + 1 : upperRow;
            // Consecutive destination rows mostly blend the same source rows: reuse them.
            if (lower.SourceRow == upperRow)
                std::swap(upper, lower);
            upper.Load(*this, upperRow);
            lower.Load(*this, lowerRow);
            BlendColumns(upper, lower, fx.data(), static_cast<std::uint16_t>(ay & 32767),
                         pixels.data(), n);
            // Each four-byte store spills one byte into the next pixel, which its own store
            // then overwrites; the last pixel goes out as three bytes so that nothing past it
            // is touched.
            std::uint8_t* out = dst.Row(r);
            for (std::size_t c = 0; c + 1 < n; ++c)
                std::memcpy(out + 3 * c, &pixels[c], 4);
            std::memcpy(out + 3 * (n - 1), &pixels[n - 1], 3);
        }
    };
    RunInBands(dw, dh, blendRows);
}

void TFastBMP::CopyRegionInto(TFastRGB& dst, int x, int y, int w, int h, int sx, int sy) const {
    // 64-bit so that extreme arguments clip instead of overflowing.
    long long X = x, Y = y, W = w, H = h, SX = sx, SY = sy;
    if (X < 0) {
        SX -= X;
        W += X;
        X = 0;
    }
    if (Y < 0) {
        SY -= Y;
        H += Y;
        Y = 0;
    }
    if (SX < 0) {
        X -= SX;
        W += SX;
        SX = 0;
    }
    if (SY < 0) {
        Y -= SY;
        H += SY;
        SY = 0;
    }
    if (SX > FWidth - 1 || SY > FHeight - 1)
        return;
    if (SX + W > FWidth)
        W = FWidth - SX;
    if (SY + H > FHeight)
        H = FHeight - SY;
    if (X + W > dst.Width())
        W = dst.Width() - X;
    if (Y + H > dst.Height())
        H = dst.Height() - Y;
    if (H < 1 || W < 1)
        return;
    const std::size_t bytes = static_cast<std::size_t>(W) * 3;
    // Within one buffer a block moved to higher rows is copied from its last row down, so
    // that no row is overwritten before it has been read; memmove covers overlap in a row.
    const bool backwards = &dst == this && Y > SY;
    for (long long k = 0; k < H; ++k) {
        const long long i = backwards ? H - 1 - k : k;
        std::memmove(dst.Row(static_cast<int>(Y + i)) + X * 3,
                     Row(static_cast<int>(SY + i)) + SX * 3, bytes);
    }
}

void TFastBMP::TileInto(TFastRGB& dst) const {
    if (FWidth == 0 || FHeight == 0 || dst.Width() == 0 || dst.Height() == 0)
        return;
    CopyRegionInto(dst, 0, 0, FWidth, FHeight, 0, 0);
    // Doubling the filled part each time needs only log2 copies per direction.
    for (long long filled = FWidth; filled < dst.Width(); filled *= 2)
        dst.CopyRegionInto(dst, static_cast<int>(filled), 0, static_cast<int>(filled), FHeight, 0,
                           0);
    for (long long filled = FHeight; filled < dst.Height(); filled *= 2)
        dst.CopyRegionInto(dst, 0, static_cast<int>(filled), dst.Width(), static_cast<int>(filled),
                           0, 0);
}

} // namespace ml
