#pragma once
// What one run of the program holds from start to exit: its own path, its switches, the
// project and the interface descriptions it carries, and how it reaches a host window.

#include "configui/FormsCollection.h"
#include "platform/ForeignWindow.h"
#include "platform/HostWindow.h"
#include "project/Archive.h"
#include "project/QMCProject.h"
#include "startup/CommandLine.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ml {

struct TSaverSession {
    // The long form of the program's own file; "" when it cannot be named.
    std::string ProgramPath;
    TCommandLine CommandLine;
    TQMCProject Project;
    TQMForms Forms;
    // What extraction wrote, for the clean-up.
    TExtractedFiles Extracted;
    // The picture preview mode draws; set from the project unless a caller set it first.
    std::string PreviewPictureFile;
    // Opens the host window of preview mode; tests put a window of their own here.
    std::function<std::unique_ptr<TForeignWindow>(std::uint32_t)> OpenWindow = OpenForeignWindow;
    // Opens the host window a screen-saver daemon runs the show in.
    std::function<std::unique_ptr<THostWindow>(std::uint32_t)> OpenHost = OpenHostWindow;
};

// Extracts the project appended to the program into its scratch folder, loads its settings
// and then the interface descriptions it carries. Errors are left to the caller.
void LoadSaverProject(TSaverSession& session);

} // namespace ml
