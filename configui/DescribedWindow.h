#pragma once
// Showing a window that the project's interface description holds: filtering its text,
// filling in the product's names, building it, shaping it and showing it modally.

#include "project/UserSettings.h"

#include <memory>
#include <string>

namespace ml {

class TQMCProject;
class TQMForms;
class TfmQMCOnfigWindow;

// Replaces "<ScreensaverName>", "<CompanyName>" and "<Website>" line by line; every line of
// the result ends in CR LF.
std::string ReplacePlaceholders(const std::string& text, const TQMCProject& project);
// The same for a description: a placeholder inside a quoted string gets the value with its
// quotes doubled, so that the string reads as the value once the description is parsed.
std::string ReplaceDescriptionPlaceholders(const std::string& text, const TQMCProject& project);

// Filters the named window's description, fills in the product's names and builds it.
std::unique_ptr<TfmQMCOnfigWindow> BuildDescribedWindow(TQMForms& forms, const TQMCProject& project,
                                                        const std::string& windowName);

// Builds and shows the named window modally; returns when it has closed and been freed.
void ShowDescribedWindow(TQMForms& forms, TQMCProject& project, const std::string& windowName,
                         const TUserSettingsFile& settings = TUserSettingsFile::ForProgram());

} // namespace ml
