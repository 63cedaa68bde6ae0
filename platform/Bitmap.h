#pragma once
// The toolkit bitmap the rest of the program passes around: a picture of 32-bit pixels whose
// values read as 0x00RRGGBB (the top byte is ignored when comparing). It wraps a QImage so
// that Qt can paint on it and show it; rows are top-down, row 0 is the top line.

#include <QImage>
#include <cstdint>

namespace ml {

enum class TPixelFormat { pfDevice, pf24bit, pf32bit };

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    explicit TBitmap(QImage image);

    int Width() const { return W; }
    int Height() const { return H; }
    bool Empty() const { return W == 0 || H == 0; }

    // Size changes keep the pixels that still fit and make new ones black, as the
    // toolkit's bitmaps do.
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    void SetSize(int width, int height);

    // The format is recorded for callers that ask; the pixels are always 32-bit.
    TPixelFormat PixelFormat() const { return Format; }
    void SetPixelFormat(TPixelFormat format) { Format = format; }

    // Row access; raises EInvalidOperation "Scan line index out of range" outside 0..Height-1.
    std::uint32_t* ScanLine(int row);
    const std::uint32_t* ScanLine(int row) const;

    std::uint32_t Pixel(int x, int y) const { return ScanLine(y)[x] & 0x00FFFFFFu; }
    void SetPixel(int x, int y, std::uint32_t value) { ScanLine(y)[x] = 0xFF000000u | value; }

    // Fills every pixel with one 0x00RRGGBB value.
    void Fill(std::uint32_t value);
    // Copies pixels and size of another bitmap.
    void Assign(const TBitmap& other);

    QImage& ToImage() { return Image; }
    const QImage& ToImage() const { return Image; }

private:
    // The size is kept apart from the image: a bitmap may be 800 x 0 between SetWidth and
    // SetHeight, which a QImage cannot be.
    int W = 0;
    int H = 0;
    QImage Image;
    TPixelFormat Format = TPixelFormat::pf32bit;
};

} // namespace ml
