#pragma once
// Pictures told apart by their content, as an author's files often carry a name that does
// not match what is in them (a PNG saved as .jpg, a photo ending in .jpeg), while the player
// chooses its decoder by the name alone.

#include "platform/Bitmap.h"

#include <string>

namespace ml::authoring {

enum class TPictureKind { Unknown, Jpeg, Png, Bmp, Gif, PictureFile, Tiff, WebP, Heif };

// The kind of a file's first bytes (at least 12 of them tell every kind apart).
TPictureKind PictureKindOfBytes(const std::string& head);
// The kind of a file's content; Unknown when it cannot be read.
TPictureKind PictureKindOfFile(const std::string& path);
// "JPEG", "PNG", "picture file (.qmp)", ...
std::string PictureKindName(TPictureKind kind);

// What the player takes a file for by its name: .jpg, .bmp and .gif (in any case) are plain
// pictures of that kind; every other name is read as a picture file.
TPictureKind KindTheShowExpects(const std::string& path);
// The extension a plain picture of this kind needs for the player, "" for kinds it never
// reads as plain pictures.
std::string PlayerExtension(TPictureKind kind);

// Decodes a JPEG, PNG, BMP or GIF picture chosen by its content, JPEG through the player's
// own decoder. Raises Exception naming the file when it cannot be read or is larger than the
// player takes.
TBitmap ReadAuthorPicture(const std::string& path);

} // namespace ml::authoring
