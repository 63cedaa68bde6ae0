#pragma once
// Building a picture file (.qmp) from an author's picture, area mask and parameter file:
// what make-qmp does, callable from code so that a live view or a graphical front end can
// rebuild a picture as its inputs change.

#include "tools/authoring/Findings.h"
#include "tools/authoring/MaskReport.h"

#include <optional>
#include <string>

namespace ml {
class TBitmap;
}

namespace ml::authoring {

struct TPictureFileRecipe {
    std::string Image;  // the picture: JPEG, PNG, BMP or GIF, told by its content
    std::string Areas;  // the area mask, the picture's size
    std::string Params; // the parameter file ([Area1]..[Area4], [Weather], [Sound1]..[Sound8])
    std::optional<std::string> Title; // default: the picture's file name without extension
    std::string ExtraText;
    std::string Thumbnail = "auto"; // "auto", or a picture to use instead
    int Quality = 90;               // JPEG quality 1..100
    // When set, the picture is stored within this size, its proportions kept, and the mask
    // comes along; smaller pictures keep their size.
    int MaxWidth = 0;
    int MaxHeight = 0;
};

struct TBuiltPictureFile {
    // Errors mean nothing was built and Bytes is empty; warnings come with a built file.
    TFindings Findings;
    std::string Bytes;
    int SourceWidth = 0;
    int SourceHeight = 0;
    int Width = 0; // as stored
    int Height = 0;
    std::size_t AreaRuns = 0;
    int Sounds = 0;
    TMaskReport Mask;
};

TBuiltPictureFile BuildPictureFile(const TPictureFileRecipe& recipe);

// Brings picture and mask within maxWidth x maxHeight, keeping the picture's proportions:
// the picture smoothly, the mask by dropping pixels so that every pixel keeps its exact area
// colour. Pictures already within the size stay as they are.
void FitWithin(TBitmap& picture, TBitmap& mask, int maxWidth, int maxHeight);

} // namespace ml::authoring
