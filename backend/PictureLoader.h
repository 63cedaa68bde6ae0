#pragma once
// The one picture loader: the decoder is chosen by the upper-cased file extension (".JPG"
// through libjpeg-turbo, ".BMP" and ".GIF" through Qt's readers).

#include "backend/Jpeg.h"
#include "platform/Bitmap.h"

#include <string>

namespace ml {

// Loads a plain picture file into a 32-bit bitmap of its size. Raises EInvalidGraphic
// "Unknown picture file extension (.%s)" for other extensions (the extension without its
// dot, in lower case as written), the decoder's message for bad data, and EInOutError when
// the file cannot be read.
// With shown, the size the picture will be shown at is asked with the size the file stores,
// for every kind; a JPEG shown at half that or less is decoded reduced (see DecodeJpeg).
TBitmap LoadPicture(const std::string& path, const TShownSize& shown = {});

// True for the extensions LoadPicture reads.
bool IsPlainPictureFile(const std::string& path);

} // namespace ml
