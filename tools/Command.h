#pragma once
// The subcommands of mirrorlake-tool. Each lives in its own file and registers itself with
// a static TCommandRegistration, so main() only dispatches.

#include <functional>
#include <string>
#include <vector>

namespace ml::tool {

using TArgs = std::vector<std::string>;

struct TCommand {
    std::string Name;
    std::string Summary; // one line for the overview
    std::string Usage;   // the full --help text
    std::function<int(const TArgs&)> Run;
    // Opens a window on the desktop; every other command runs without a display.
    bool Windowed = false;
};

std::vector<TCommand>& Commands();

struct TCommandRegistration {
    explicit TCommandRegistration(TCommand command) { Commands().push_back(std::move(command)); }
};

// Raised for bad input; main() prints "mirrorlake-tool: " + message and exits with code 2.
struct TUsageError {
    std::string Message;
};

} // namespace ml::tool
