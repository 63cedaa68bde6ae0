#pragma once
// The switches a screen-saver host starts us with, and the mode each one selects.

#include <string>
#include <vector>

namespace ml {

enum class TSaverMode { None, Show, Configure, Preview, Password };

struct TCommandLine {
    // First argument, upper-cased and cut to two characters: "/c:1234" reads as "/C".
    std::string SwitchText;
    // Second argument, upper-cased: the host window's id in decimal.
    std::string HandleText;
};

// From the arguments after the program name; further arguments are ignored.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The mode a switch selects; None for a switch no mode knows. No switch at all configures.
TSaverMode SelectMode(const std::string& switchText);

} // namespace ml
