#pragma once
// The one concrete pixel buffer: plain memory in the layout TFastRGB fixes, painted through
// Qt. A buffer is a short-lived work object: make it, fill it, scale or paint it, drop it.

#include "effects/FastRGB.h"
#include "platform/PageMemory.h"

#include <memory>

// Hot pixel loops are compiled twice on x86-64, for the baseline and for AVX2, and the
// loader picks the one the processor runs; elsewhere (other processors, clang and sanitizer
// builds) they are compiled once.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) &&                             \
    !defined(__SANITIZE_ADDRESS__)
#define ML_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ML_VECTOR_CLONES
#endif

namespace ml {

class TBitmap;

// The header a device-independent bitmap of this buffer would carry; written into the
// wallpaper file and kept equal to Width and Height (height positive: bottom-up rows).
struct TBitmapInfoHeader {
    std::uint32_t Size = 40;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint16_t Planes = 1;
    std::uint16_t BitCount = 24;
    std::uint32_t Compression = 0; // uncompressed RGB
    std::uint32_t SizeImage = 0;
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    std::uint32_t ClrUsed = 0;
    std::uint32_t ClrImportant = 0;
};

class TFastBMP : public TFastRGB {
public:
    TFastBMP() = default;
    TFastBMP(int width, int height) { Allocate(width, height); }
    // Moving hands the pixels over; the moved-from buffer is left empty (0 x 0).
    TFastBMP(TFastBMP&& other) noexcept { Swap(other); }
    TFastBMP& operator=(TFastBMP&& other) noexcept;

    const TBitmapInfoHeader& Header() const { return FHeader; }

    // Raises EInvalidOperation for a negative size or one whose bytes would not fit the
    // 32-bit size fields.
    void Allocate(int width, int height) override;
    // Sizes the buffer to the bitmap and copies its pixels (0x00RRGGBB, top-down) in.
    void LoadFromBitmap(const TBitmap& bitmap);

    void PaintAt(QPainter& dc, int x, int y) const override;
    void PaintStretched(QPainter& dc, int x, int y, int w, int h) const override;
    void PaintRegion(QPainter& dc, int x, int y, int w, int h, int sx, int sy) const override;
    void PaintRegionStretched(QPainter& dc, int x, int y, int w, int h, int sx, int sy, int sw,
                              int sh) const override;
    void PaintTiled(QPainter& dc, int x, int y, int w, int h) const override;
    // Writes the buffer 1:1 into a bitmap, top line at y; parts outside the bitmap are
    // dropped. The pixels' fourth byte becomes 0xFF, as the bitmap keeps it.
    void PaintAt(TBitmap& target, int x, int y) const;

    void ScaleNearestInto(TFastRGB& dst) const override;
    void ScaleBilinearInto(TFastRGB& dst) const override;
    void CopyRegionInto(TFastRGB& dst, int x, int y, int w, int h, int sx, int sy) const override;
    void TileInto(TFastRGB& dst) const override;

private:
    void Swap(TFastBMP& other) noexcept;

    TBitmapInfoHeader FHeader;
    TBlock FStorage;
};

} // namespace ml
