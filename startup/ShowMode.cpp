#include "startup/ShowMode.h"

#include "platform/Messages.h"
#include "project/Archive.h"

namespace ml {

void ShowMode(TSaverSession& session) {
    LoadSaverProject(session);
    // The full-screen window is the next piece of work; until then the mode says so plainly
    // instead of exiting without a trace.
    MessageBox("The full-screen show is not built into this version yet.", "",
               TMsgIcon::Information);
    RemoveExtractedFiles(session.Project, session.ProgramPath);
}

} // namespace ml
