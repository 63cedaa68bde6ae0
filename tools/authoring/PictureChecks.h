#pragma once
// Checks of the pictures a project shows: that the player will read each one as what it is
// (it picks the decoder by the file's name, never by its content) and can decode it, and
// where the sounds of a picture file are.

#include "tools/authoring/Findings.h"

#include <string>
#include <vector>

namespace ml::authoring {

// A picture of the show: a .jpg, .bmp or .gif picture whose content matches its name, or a
// picture file (.qmp) under any other name. `shownName` names the file in findings, `where`
// the line that lists it.
TFindings CheckShowPicture(const std::string& path, const std::string& shownName,
                           const std::string& where);
// The preview picture: a .jpg, .bmp or .gif picture whose content matches its name.
TFindings CheckPreviewPicture(const std::string& path, const std::string& shownName,
                              const std::string& where);

// A sound a picture file plays, found in the project folder.
struct TPictureSoundFile {
    std::string Source; // the file on disk
    std::string Entry;  // as the project names it: relative to the folder, or absolute
};

// The sounds of a picture file that travel with a project in `dir`: each as stored when that
// path exists (below `dir` when relative), else by its file name in `dir`, where the show
// also looks. A sound found nowhere is an error finding. A picture file that cannot be read
// yields nothing (CheckShowPicture reports it).
std::vector<TPictureSoundFile> FindPictureSounds(const std::string& dir, const std::string& picture,
                                                 const std::string& shownName, TFindings& findings);

} // namespace ml::authoring
