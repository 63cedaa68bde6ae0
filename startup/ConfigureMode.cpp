#include "startup/ConfigureMode.h"

#include "platform/Messages.h"
#include "project/Archive.h"

namespace ml {

void ConfigureMode(TSaverSession& session) {
    LoadSaverProject(session);
    // The described configuration window is the next piece of work; until then the mode
    // says so plainly instead of exiting without a trace.
    MessageBox("The configuration window is not built into this version yet.", "",
               TMsgIcon::Information);
    RemoveExtractedFiles(session.Project, session.ProgramPath);
}

} // namespace ml
