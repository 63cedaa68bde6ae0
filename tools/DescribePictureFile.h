#pragma once
// The picture-file side of `inspect`: every field of a .qmp file, as text or as JSON.

#include <string>
#include <vector>

namespace ml::tool {

// True when the file starts with the picture file magic.
bool IsPictureFile(const std::string& path);

// Describes every field. Raises the reader's error when the file cannot be read; pictures the
// decoder rejects are reported in the description instead.
std::string DescribePictureFile(const std::string& path, bool json);

} // namespace ml::tool
