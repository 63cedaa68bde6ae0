#include "startup/ConfigureMode.h"

#include "configui/DescribedWindow.h"
#include "startup/ExtractedRun.h"

namespace ml {

void ConfigureMode(TSaverSession& session) {
    RunOnExtractedProject(
        session, [&] { ShowDescribedWindow(session.Forms, session.Project, "MainWindow"); });
}

} // namespace ml
