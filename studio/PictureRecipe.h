#pragma once
// The studio's picture as make-qmp's inputs: the picture and its mask as lossless files, the
// settings as a parameter file, and the recipe naming them. Saving builds from these with
// make-qmp's own code, so a picture file saved here is the one make-qmp makes from the same
// picture, mask and parameters, byte for byte.

#include "studio/PictureSettings.h"
#include "tools/authoring/PictureFileBuild.h"

#include <optional>
#include <string>

namespace ml {
class TBitmap;
}

namespace ml::studio {

// Writes the parameter file make-qmp reads for these settings: every area, the weather and
// the sounds in use.
void WriteParameterFile(const std::string& path, const TPictureSettings& settings);

// Writes picture, mask (exact area colours) and thumbnail (when given) as BMP files and the
// parameter file into folder (ending in "/"), and returns the recipe that builds them.
authoring::TPictureFileRecipe WriteRecipe(const std::string& folder, const TBitmap& picture,
                                          const TBitmap& mask,
                                          const std::optional<TBitmap>& thumbnail,
                                          const TPictureSettings& settings);

} // namespace ml::studio
