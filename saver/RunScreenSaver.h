#pragma once
// The show's entry points: the full show of a project on every screen, the same show inside
// a host's window, and one picture full screen for the configuration window's preview.

#include <string>

namespace ml {

class TQMCProject;
class THostWindow;

// Checks the picture list, applies the user's settings and runs the show on every screen.
void RunScreenSaver(TQMCProject& project);
// The same show inside a host's window (a screen-saver daemon's), at its size; the host owns
// the input, so the show runs until it is told to end. primary: whether this show plays the
// sound and the music.
void RunScreenSaverInHost(TQMCProject& project, THostWindow& host, bool primary);
// Shows one picture of the project full screen, with its sounds and without music.
void PreviewPicture(const TQMCProject& project, const std::string& fileName);

} // namespace ml
