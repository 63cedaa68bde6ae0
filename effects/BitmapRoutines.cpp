#include "effects/BitmapRoutines.h"

#include "effects/FastBMP.h"
#include "effects/Saturation.h"

#include <QPaintDevice>
#include <algorithm>

namespace ml {

void FitBitmapSmooth(const TBitmap& src, TBitmap& dst) {
    // An empty source has nothing to sample; dst keeps what it shows.
    if (src.Empty() || dst.Empty())
        return;
    TFastBMP source;
    source.LoadFromBitmap(src);
    TFastBMP scaled(dst.Width(), dst.Height());
    source.ScaleBilinearInto(scaled);
    scaled.PaintAt(dst, 0, 0);
}

void MakeGrayscale(TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    TFastBMP buffer;
    buffer.LoadFromBitmap(bitmap);
    AdjustSaturation(buffer, 1);
    buffer.PaintAt(bitmap, 0, 0);
}

namespace {

// b + ((a - b) * amount) >> 8 rounds towards minus infinity, which for 0 <= amount <= 256 is
// (a * amount + b * (256 - amount)) >> 8 with nothing negative on the way. Each term stays
// below 65536, so blue and red share one 32-bit multiply in separate 16-bit lanes.
ML_VECTOR_CLONES void FadeRow(std::uint32_t* out, const std::uint32_t* a, const std::uint32_t* b,
                              int width, std::uint32_t amount) {
    const std::uint32_t rest = 256 - amount;
    for (int x = 0; x < width; ++x) {
        const std::uint32_t blueRed =
            (((a[x] & 0x00FF00FFu) * amount + (b[x] & 0x00FF00FFu) * rest) >> 8) & 0x00FF00FFu;
        const std::uint32_t green =
            (((a[x] & 0x0000FF00u) * amount + (b[x] & 0x0000FF00u) * rest) >> 8) & 0x0000FF00u;
        out[x] = (out[x] & 0xFF000000u) | blueRed | green;
    }
}

} // namespace

void CrossFade(TBitmap& dst, const TBitmap& a, const TBitmap& b, int amount) {
    amount = std::clamp(amount, 0, 256);
    const int width = std::min({dst.Width(), a.Width(), b.Width()});
    const int height = std::min({dst.Height(), a.Height(), b.Height()});
    for (int row = 0; row < height; ++row) {
        // The destination row first: taking it may give dst pixels of its own when they were
        // shared, and a or b may be dst itself.
        std::uint32_t* out = dst.ScanLine(row);
        FadeRow(out, a.ScanLine(row), b.ScanLine(row), width, static_cast<std::uint32_t>(amount));
    }
}

std::uint32_t BlendColors(std::uint32_t color1, std::uint32_t color2, int percent) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const long long c1 = (color1 >> shift) & 0xFFu;
        const long long c2 = (color2 >> shift) & 0xFFu;
        const long long mixed = 255 - ((255 - c1) * percent + (255 - c2) * 100) / 100;
        result |= static_cast<std::uint32_t>(std::clamp<long long>(mixed, 0, 255)) << shift;
    }
    return result;
}

void PrepareBitmap(TBitmap& bitmap, int width, int height, TPixelFormat format) {
    bitmap.SetWidth(width);
    bitmap.SetHeight(height);
    bitmap.SetPixelFormat(format);
}

int ScreenBitsPerPixel(const QPaintDevice* device) {
    const int depth = device ? device->depth() : 0;
    return depth > 0 ? depth : 16;
}

} // namespace ml
