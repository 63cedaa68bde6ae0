#pragma once
// Showing a window that the project's interface description holds: filtering its text,
// filling in the product's names, building it, shaping it and showing it modally.

#include "project/UserSettings.h"

#include <string>

namespace ml {

class TQMCProject;
class TQMForms;

// Replaces "<ScreensaverName>", "<CompanyName>" and "<Website>" line by line; every line of
// the result ends in CR LF.
std::string ReplacePlaceholders(const std::string& text, const TQMCProject& project);

// Builds and shows the named window modally; returns when it has closed and been freed.
void ShowDescribedWindow(TQMForms& forms, TQMCProject& project, const std::string& windowName,
                         const TUserSettingsFile& settings = TUserSettingsFile::ForProgram());

} // namespace ml
