#include "startup/SaverSession.h"

#include "project/Archive.h"

namespace ml {

void LoadSaverProject(TSaverSession& session) {
    ExtractProject(session.Project, session.ProgramPath, session.Extracted);
    session.Forms.LoadFromFile(session.Project.UISetting.UIFile);
}

} // namespace ml
