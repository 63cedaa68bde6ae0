#include "startup/CommandLine.h"

#include "platform/Exceptions.h"
#include "platform/Strings.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>

namespace ml {

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    if (!arguments.empty())
        line.SwitchText = UpperCase(arguments[0].substr(0, 2));
    if (arguments.size() > 1)
        line.HandleText = UpperCase(arguments[1]);
    return line;
}

TSaverMode SelectMode(const std::string& switchText) {
    // Hosts write the same switch with "/", with "-" or as the bare letter.
    auto oneOf = [&](char letter) {
        const std::array<std::string, 3> forms = {
            std::string("/") + letter, std::string("-") + letter, std::string(1, letter)};
        return std::find(forms.begin(), forms.end(), switchText) != forms.end();
    };
    if (oneOf('A'))
        return TSaverMode::Password;
    if (oneOf('S'))
        return TSaverMode::Show;
    // Opening the file from a file manager passes nothing: that is a request to configure.
    if (switchText.empty() || oneOf('C'))
        return TSaverMode::Configure;
    if (oneOf('P'))
        return TSaverMode::Preview;
    return TSaverMode::None;
}

std::optional<THackOptions> ParseHackOptions(const std::vector<std::string>& arguments) {
    auto isOneOf = [](const std::string& argument, const char* name) {
        return argument == std::string("-") + name || argument == std::string("--") + name;
    };
    THackOptions options;
    bool found = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (isOneOf(argument, "root")) {
            options.Root = found = true;
        } else if (isOneOf(name, "window-id")) {
            found = true;
            if (equals != std::string::npos)
                options.WindowIdText = argument.substr(equals + 1);
            else if (i + 1 < arguments.size())
                options.WindowIdText = arguments[++i];
            else
                throw EConvertError("-window-id needs the id of a window");
        } else {
            options.Ignored.push_back(argument);
        }
    }
    if (!found)
        return std::nullopt;
    return options;
}

std::optional<std::uint32_t> ParseWindowId(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                              std::string::npos)
        return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (errno != 0 || value == 0 || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace ml
