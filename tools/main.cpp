// mirrorlake-tool: the authoring side. Dispatches to the registered subcommands.

#include "platform/Exceptions.h"
#include "platform/ProgramPath.h"
#include "tools/Command.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ml::tool {

std::vector<TCommand>& Commands() {
    static std::vector<TCommand> commands;
    return commands;
}

namespace {

void PrintOverview(std::FILE* out) {
    std::fputs("Usage: mirrorlake-tool COMMAND [OPTIONS]\n\n"
               "The authoring side of Mirrorlake: starts projects from pictures, makes picture\n"
               "files, checks and packs projects, plays them in a window while you edit,\n"
               "inspects them and renders frames.\n\nCommands:\n",
               out);
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const TCommand& a, const TCommand& b) { return a.Name < b.Name; });
    for (const auto& c : commands)
        std::fprintf(out, "  %-10s %s\n", c.Name.c_str(), c.Summary.c_str());
    std::fputs("\nRun 'mirrorlake-tool COMMAND --help' for a command's options.\n", out);
}

int RunCommand(const TCommand& command, const TArgs& args) {
    try {
        return command.Run(args);
    } catch (const TUsageError& e) {
        std::fprintf(stderr, "mirrorlake-tool %s: %s\n", command.Name.c_str(), e.Message.c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mirrorlake-tool %s: %s\n", command.Name.c_str(), e.what());
        return 1;
    }
}

} // namespace
} // namespace ml::tool

int main(int argc, char** argv) {
    using namespace ml::tool;
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        // Asked for, the overview is the answer; without a command it explains a mistake.
        PrintOverview(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::puts("mirrorlake-tool " MIRRORLAKE_VERSION);
        return 0;
    }
    const auto& commands = Commands();
    auto it = std::find_if(commands.begin(), commands.end(),
                           [&](const TCommand& c) { return c.Name == argv[1]; });
    if (it == commands.end()) {
        std::fprintf(stderr, "mirrorlake-tool: unknown %s '%s' (see --help)\n",
                     argv[1][0] == '-' ? "option" : "command", argv[1]);
        return 2;
    }
    TArgs args(argv + 2, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::puts(it->Usage.c_str());
        return 0;
    }
    // Pictures are decoded and painted, and windows built for checking, through Qt without a
    // display; only a windowed command shows anything. Message boxes go to standard error,
    // where a command line reads them.
    if (!std::getenv("QT_QPA_PLATFORM")) {
        if (!it->Windowed)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        else if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
            std::fprintf(stderr, "mirrorlake-tool %s: needs a display (DISPLAY is not set)\n",
                         argv[1]);
            return 1;
        }
    }
    if (!std::getenv("MIRRORLAKE_MESSAGES"))
        setenv("MIRRORLAKE_MESSAGES", "stderr", 1);
    QApplication app(argc, argv);
    const int code = RunCommand(*it, args);
    // A command that plays a show takes the program's scratch folder for the show's sounds;
    // it goes with the command, however the command ended.
    ml::ReleaseExtractFolder(ml::LongProgramPath());
    return code;
}
