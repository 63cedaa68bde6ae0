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

// The sound files a picture file plays that can travel with a project in `dir`: each one as
// stored when that path exists below `dir`, else by its file name when `dir` holds it (the
// show looks there too). Sounds found in neither place are left out with a note on stderr,
// since the show also looks in the shared sound folders. Raises TUsageError when the picture
// file cannot be read.
std::vector<std::string> PictureSoundsToPack(const std::string& dir, const std::string& picture);

} // namespace ml::tool
