#pragma once
// A project folder made from pictures, ready to pack: the pictures stored as the player reads
// them, project.ini with settings that suit a slideshow, the default configuration window and
// a preview. What `mirrorlake-tool new` does, callable from code.

#include "tools/authoring/Findings.h"

#include <string>
#include <vector>

namespace ml::authoring {

struct TNewProjectTexts {
    std::string ProductName; // default: made from the folder's name
    std::string Publisher;
    std::string Website;
};

struct TNewProject {
    std::vector<std::string> Pictures; // as listed in [FileList], in the order given
    TFindings Findings;                // what was converted or left for later
};

// Writes the new project folder `dir`, which must not exist or be empty, from pictures that
// are JPEG, PNG, BMP or GIF (told by content) or picture files (.qmp): JPEG, BMP and GIF are
// copied under the name the player reads them by, PNG is stored as JPEG, picture files come
// with the sounds found beside them. The folder appears only when complete. Raises Exception
// for a picture it cannot take or a folder it cannot write.
TNewProject MakeNewProject(const std::string& dir, const std::vector<std::string>& pictures,
                           const TNewProjectTexts& texts);

// "my-lake_pictures" gives "My Lake Pictures".
std::string ProductNameFromFolder(const std::string& dir);

} // namespace ml::authoring
