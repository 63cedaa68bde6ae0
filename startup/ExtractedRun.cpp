#include "startup/ExtractedRun.h"

#include "platform/EndSignals.h"
#include "project/Archive.h"

namespace ml {

void RunOnExtractedProject(TSaverSession& session, const std::function<void()>& window) {
    try {
        LoadSaverProject(session);
        if (!TEndSignals::Received())
            window();
    } catch (...) {
        RemoveExtractedFiles(session.Extracted, session.ProgramPath);
        throw;
    }
    RemoveExtractedFiles(session.Extracted, session.ProgramPath);
}

} // namespace ml
