#include "startup/ExtractedRun.h"

#include "project/Archive.h"

namespace ml {

void RunOnExtractedProject(TSaverSession& session, const std::function<void()>& window) {
    LoadSaverProject(session);
    try {
        window();
    } catch (...) {
        RemoveExtractedFiles(session.Project, session.ProgramPath);
        throw;
    }
    RemoveExtractedFiles(session.Project, session.ProgramPath);
}

} // namespace ml
