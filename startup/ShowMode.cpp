#include "startup/ShowMode.h"

#include "project/Archive.h"
#include "saver/RunScreenSaver.h"

namespace ml {

void ShowMode(TSaverSession& session) {
    LoadSaverProject(session);
    RunScreenSaver(session.Project);
    RemoveExtractedFiles(session.Project, session.ProgramPath);
}

} // namespace ml
