#include "startup/ShowMode.h"

#include "saver/RunScreenSaver.h"
#include "startup/ExtractedRun.h"

namespace ml {

void ShowMode(TSaverSession& session) {
    RunOnExtractedProject(session, [&] { RunScreenSaver(session.Project); });
}

} // namespace ml
