#include "startup/SaverSession.h"

#include "project/Archive.h"

namespace ml {

void LoadSaverProject(TSaverSession& session) {
    ExtractProject(session.Project, session.ProgramPath, session.Extracted);
    session.Forms.LoadFromFile(session.Project.UISetting.UIFile);
}

void StartLoadingAhead(TSaverSession& session) {
    session.LoadingAhead =
        std::async(std::launch::async, [&session] { LoadSaverProject(session); });
}

void FinishLoadingAhead(TSaverSession& session) noexcept {
    if (!session.LoadingAhead.valid())
        return;
    try {
        session.LoadingAhead.get();
    } catch (...) {
        // Whatever failed, the files that were written go.
    }
    RemoveExtractedFiles(session.Extracted, session.ProgramPath);
}

} // namespace ml
