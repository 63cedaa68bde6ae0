#pragma once
// JPEG streams through libjpeg-turbo: every JPEG the program reads or writes goes through
// these two calls.

#include "platform/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace ml {

// Decodes a complete JPEG (JFIF) stream into a 32-bit bitmap of the picture's size. Raises
// EInvalidGraphic with the decoder's message when the data is not a JPEG it can read.
TBitmap DecodeJpeg(const std::uint8_t* data, std::size_t size);
TBitmap DecodeJpeg(const std::string& bytes);

// Encodes a bitmap as a baseline JPEG stream at the given quality (1..100).
std::string EncodeJpeg(const TBitmap& bitmap, int quality);

} // namespace ml
