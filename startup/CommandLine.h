#pragma once
// The switches a screen-saver host starts us with, and the mode each one selects.

#include <cstdint>
#include <optional>
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

// How screen-saver daemons start a hack: "-root" (draw into the window named by
// $XSCREENSAVER_WINDOW, else the root window) or "-window-id ID"; each also with two dashes,
// and the id also after "=".
struct THackOptions {
    bool Root = false;
    std::string WindowIdText;         // as given; empty when only -root was
    std::vector<std::string> Ignored; // arguments the show does not know
};
// The hack options among the arguments, or nothing when none of them is one (the switches
// above then apply). Raises EConvertError when -window-id has no id after it.
std::optional<THackOptions> ParseHackOptions(const std::vector<std::string>& arguments);
// A window id written in decimal or in hexadecimal after "0x"; nothing for any other text.
std::optional<std::uint32_t> ParseWindowId(const std::string& text);

} // namespace ml
