#pragma once
// JPEG streams through libjpeg-turbo: every JPEG the program reads or writes goes through
// these two calls.

#include "platform/Bitmap.h"

#include <QSize>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace ml {

// The size a decoded picture will be shown at, asked with the size its stream stores. A
// picture shown at half its size or less is decoded at 1/2, 1/4 or 1/8 of it, the smallest
// that still covers the shown size on both sides: the decoder skips the detail that scaling
// down would drop anyway, in a fraction of the time. Decoding whole is exactly as without it.
using TShownSize = std::function<QSize(QSize stored)>;

// Decodes a complete JPEG (JFIF) stream into a 32-bit bitmap of the picture's size, or of the
// reduced size chosen for shown. Raises EInvalidGraphic with the decoder's message when the
// data is not a JPEG it can read.
TBitmap DecodeJpeg(const std::uint8_t* data, std::size_t size, const TShownSize& shown = {});
TBitmap DecodeJpeg(const std::string& bytes, const TShownSize& shown = {});

// Encodes a bitmap as a baseline JPEG stream at the given quality (1..100).
std::string EncodeJpeg(const TBitmap& bitmap, int quality);

} // namespace ml
