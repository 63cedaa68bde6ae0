#include "platform/ProgramArguments.h"

namespace ml {

namespace {
std::vector<std::string>& Stored() {
    static std::vector<std::string> arguments;
    return arguments;
}
} // namespace

void SetProgramArguments(std::vector<std::string> arguments) {
    Stored() = std::move(arguments);
}

const std::vector<std::string>& ProgramArguments() {
    return Stored();
}

std::string FirstProgramArgument() {
    return Stored().empty() ? std::string() : Stored().front();
}

} // namespace ml
