#include "startup/StartSequence.h"

#include "platform/EndSignals.h"
#include "platform/HostWindow.h"
#include "platform/Messages.h"
#include "platform/PageMemory.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/Archive.h"
#include "startup/Application.h"
#include "startup/ConfigureMode.h"
#include "startup/HackMode.h"
#include "startup/Help.h"
#include "startup/PasswordMode.h"
#include "startup/PreviewMode.h"
#include "startup/ShowMode.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace ml {

namespace {

// Enough for the allocations of a start-up, most of which live on while the window shows.
constexpr std::size_t kStartHeap = std::size_t{8} << 20;

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

// Reports that come before any window: one line on standard error, exit code 1.
int Fail(const std::string& message) {
    std::fprintf(stderr, "mirrorlake: %s\n", message.c_str());
    return 1;
}

// --help and --version need neither a display nor a mode.
std::optional<int> AnswerAboutItself(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return std::nullopt;
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        TSaverSession session;
        session.ProgramPath = LongProgramPath();
        const std::string name = ExtractFileName(ModuleFileName());
        std::fputs(HelpText(name.empty() ? "mirrorlake" : name, SummarizeProject(session)).c_str(),
                   stdout);
        return 0;
    }
    if (arguments[0] == "--version") {
        std::puts(VersionText().c_str());
        return 0;
    }
    return std::nullopt;
}

} // namespace

int RunStartSequence(int argc, char** argv) {
    // The program is known by the path it was started by, made absolute against the folder
    // it started in: taken now, before anything else happens.
    ModuleFileName();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    SetProgramArguments(arguments);
    if (const std::optional<int> answered = AnswerAboutItself(arguments))
        return *answered;

    TSaverSession session;
    session.CommandLine = ParseCommandLine(arguments);
    std::optional<THackOptions> hack;
    try {
        hack = ParseHackOptions(arguments);
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    const TSaverMode mode = hack ? TSaverMode::None : SelectMode(session.CommandLine.SwitchText);

    // Password change shows nothing and an unknown switch runs nothing, so neither needs a
    // display: the application object is made only for the modes that use it.
    if (mode == TSaverMode::Password) {
        PasswordMode();
        return 0;
    }
    if (mode == TSaverMode::None && !hack)
        return 0;
    if (const std::string problem = DisplayProblem(); !problem.empty())
        return Fail(problem);
    if (hack) {
        // A daemon's hack has nobody to click a message box away (the screen may be
        // locked); its reports go to standard error, which daemons keep in their logs.
        SendMessagesToStderr();
        for (const std::string& ignored : hack->Ignored)
            std::fprintf(stderr, "mirrorlake: ignoring '%s'\n", ignored.c_str());
    }

    // What the toolkit and the project allocate on the way to the first window finds its
    // memory ready.
    PrepareHeap(kStartHeap);
    TApplication application(argc, argv);
    // Message boxes take their caption from this; the product name comes from the project,
    // so the program itself stays nameless.
    SetApplicationTitle(" ");
    TEndSignals endSignals([](int) { TApplication::EndAllWindows(); });
    try {
        session.ProgramPath = LongProgramPath();
        if (!FindArchive(session.ProgramPath).Found) {
            ShowErrorMessage(NoProjectText());
            return 1;
        }
        if (hack)
            HackMode(session, *hack);
        else
            RunMode(session, mode);
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
        return 1;
    }
    return 0;
}

} // namespace ml
