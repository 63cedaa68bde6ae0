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

void CrossFade(TBitmap& dst, const TBitmap& a, const TBitmap& b, int amount) {
    amount = std::clamp(amount, 0, 256);
    const int width = std::min({dst.Width(), a.Width(), b.Width()});
    const int height = std::min({dst.Height(), a.Height(), b.Height()});
    for (int row = 0; row < height; ++row) {
        // The destination row first: taking it may give dst pixels of its own when they were
        // shared, and a or b may be dst itself.
        std::uint32_t* out = dst.ScanLine(row);
        const std::uint32_t* pa = a.ScanLine(row);
        const std::uint32_t* pb = b.ScanLine(row);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t va = pa[x];
            const std::uint32_t vb = pb[x];
            std::uint32_t result = out[x] & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const int cb = static_cast<int>((vb >> shift) & 0xFFu);
                const int ca = static_cast<int>((va >> shift) & 0xFFu);
                // >> on a negative difference rounds towards minus infinity.
                result |= static_cast<std::uint32_t>(cb + (((ca - cb) * amount) >> 8)) << shift;
            }
            out[x] = result;
        }
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
