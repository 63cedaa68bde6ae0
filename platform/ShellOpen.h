#pragma once
// Opening a document or an address with the desktop's own handler (a browser for web
// addresses). Tests install an opener that records instead.

#include <functional>
#include <string>

namespace ml {

using TShellOpener = std::function<bool(const std::string& target)>;

// Opens the target; false when the desktop has no handler for it.
bool ShellOpen(const std::string& target);
// Installs an opener; an empty one restores the desktop's.
void SetShellOpener(TShellOpener opener);

} // namespace ml
