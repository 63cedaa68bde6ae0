#pragma once
// Whole-picture work on the toolkit's 32-bit bitmaps, done through the pixel buffer where
// that is the fast path.

#include "platform/Bitmap.h"

#include <cstdint>

class QPaintDevice;

namespace ml {

// Scales src with bilinear filtering to dst's current size and writes it into dst.
void FitBitmapSmooth(const TBitmap& src, TBitmap& dst);

// Turns the bitmap grey in place: every channel becomes (blue + green + red) div 3.
void MakeGrayscale(TBitmap& bitmap);

// dst = b + ((a - b) * amount) >> 8 per blue, green and red byte (the fourth byte of dst is
// left as it was), rounding towards minus infinity; 0 gives b, 256 gives a. Amounts outside
// 0..256 are clamped. dst may be a or b. Only the area the three bitmaps share is written.
void CrossFade(TBitmap& dst, const TBitmap& a, const TBitmap& b, int amount);

// Mixes two 0x00RRGGBB colours: per channel 255 - ((255 - c1) * percent + (255 - c2) * 100)
// div 100, clamped to 0..255. A white color1 returns color2 for any percent. The top byte
// of either colour is ignored.
std::uint32_t BlendColors(std::uint32_t color1, std::uint32_t color2, int percent);

// Sets width, then height, then pixel format.
void PrepareBitmap(TBitmap& bitmap, int width, int height, TPixelFormat format);

// The colour depth of a paint device (a window, a screen image); 16 when there is none to
// ask or it gives no depth.
int ScreenBitsPerPixel(const QPaintDevice* device);

} // namespace ml
