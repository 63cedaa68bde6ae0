#pragma once
// What the play window shows: one picture file, a picture file rebuilt from make-qmp's
// inputs, or a project folder, turned into a show project that points at the author's own
// files, with the list of files whose change means "show it again".
//
// The show looks for a picture's sounds first as the picture file names them, relative to
// the working folder; a front end sets that to WorkingFolder before it shows the scene.

#include "project/QMCProject.h"
#include "tools/authoring/Findings.h"
#include "tools/authoring/PictureFileBuild.h"

#include <string>
#include <vector>

namespace ml::authoring {

struct TPlaySource {
    enum class TKind { PictureFile, Recipe, ProjectFolder };
    TKind Kind = TKind::PictureFile;
    std::string Path;          // the picture file or the project folder
    TPictureFileRecipe Recipe; // for Recipe: make-qmp's inputs
};

// FILE (a picture file by content) or DIR (a folder with project.ini).
TPlaySource PlaySourceOf(const std::string& path);
TPlaySource PlaySourceOf(const TPictureFileRecipe& recipe);

struct TPlayScene {
    TQMCProject Project; // every reference a full path to the author's files
    std::string WorkingFolder;
    // Files whose change is a reason to show the scene again, and the folders they lie in
    // (a file saved by renaming a new one over it is seen there).
    std::vector<std::string> Files;
    std::vector<std::string> Folders;
    TFindings Findings; // what pack or make-qmp would say
    int Width = 0;      // the picture's own size, for a window that fits it (0 for a folder)
    int Height = 0;
};

// Prepares the scene as the files stand now. A recipe is built into `scratchFile`. Never
// throws for a problem of the author's files: the scene then shows what it can and the
// findings say why.
TPlayScene PrepareScene(const TPlaySource& source, const std::string& scratchFile);

} // namespace ml::authoring
