#pragma once
// The show's entry points: the full show of a project, and one picture full screen for the
// configuration window's preview.

#include <string>

namespace ml {

class TQMCProject;

// Checks the picture list, applies the user's settings and shows the saver form modally.
void RunScreenSaver(TQMCProject& project);
// Shows one picture of the project full screen, with its sounds and without music.
void PreviewPicture(const TQMCProject& project, const std::string& fileName);

} // namespace ml
