#pragma once
// Making a picture the desktop background.

#include <string>

namespace ml {

class TBitmap;

// Saves a copy of the bitmap as a BMP file at path (replacing it whole, or leaving the old
// file untouched when writing fails: EInOutError), then asks the desktop to show it, not
// tiled. Where the desktop offers no way to do that, a message says so and names the file.
// Returns whether the desktop took the picture.
bool SetWallpaper(const TBitmap& bitmap, const std::string& path);

} // namespace ml
