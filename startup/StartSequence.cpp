#include "startup/StartSequence.h"

#include "platform/Messages.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "startup/Application.h"
#include "startup/ConfigureMode.h"
#include "startup/PasswordMode.h"
#include "startup/PreviewMode.h"
#include "startup/ShowMode.h"

#include <exception>
#include <string>
#include <vector>

namespace ml {

namespace {

void RunMode(TSaverSession& session, TSaverMode mode) {
    switch (mode) {
    case TSaverMode::Show:
        ShowMode(session);
        break;
    case TSaverMode::Configure:
        ConfigureMode(session);
        break;
    case TSaverMode::Preview:
        PreviewMode(session);
        break;
    case TSaverMode::Password:
    case TSaverMode::None:
        break;
    }
}

} // namespace

int RunStartSequence(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    SetProgramArguments(arguments);
    TSaverSession session;
    session.CommandLine = ParseCommandLine(arguments);
    const TSaverMode mode = SelectMode(session.CommandLine.SwitchText);

    // Password change shows nothing and an unknown switch runs nothing, so neither needs a
    // display: the application object is made only for the modes that use it.
    if (mode == TSaverMode::Password) {
        PasswordMode();
        return 0;
    }
    if (mode == TSaverMode::None)
        return 0;

    TApplication application(argc, argv);
    // Message boxes take their caption from this; the product name comes from the project,
    // so the program itself stays nameless.
    SetApplicationTitle(" ");
    try {
        session.ProgramPath = LongProgramPath();
        RunMode(session, mode);
    } catch (const std::exception& error) {
        // The extracted files stay: clean-up belongs to the mode that did not finish.
        ShowErrorMessage(error.what());
        return 1;
    }
    return 0;
}

} // namespace ml
