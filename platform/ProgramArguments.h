#pragma once
// The program's command-line arguments as main() received them (without the program name),
// for the few places below the start sequence that look at them.

#include <string>
#include <vector>

namespace ml {

void SetProgramArguments(std::vector<std::string> arguments);
const std::vector<std::string>& ProgramArguments();
// The first argument, or "" when there is none.
std::string FirstProgramArgument();

} // namespace ml
