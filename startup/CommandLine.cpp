#include "startup/CommandLine.h"

#include "platform/Strings.h"

#include <algorithm>
#include <array>

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

} // namespace ml
