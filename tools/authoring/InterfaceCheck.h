#pragma once
// The check of a configuration window description before it travels with a project: the
// player opens "MainWindow" for /C and shows nothing but an error box when the file does not
// load, has no such window, or a window does not build.

#include "tools/authoring/Findings.h"

#include <string>

namespace ml {
class TQMCProject;
}

namespace ml::authoring {

// Reads the description as the player does and, when a widget application is running, builds
// every window it holds without showing it, with the project's texts in place of the
// placeholders. Buttons that open another window must name one the file holds.
TFindings CheckInterfaceDescription(const std::string& text, const std::string& shownName,
                                    const TQMCProject& project);

} // namespace ml::authoring
