#pragma once
// The show as a screen-saver daemon's hack: inside the daemon's window (or the root window),
// at its size, until the daemon sends a signal to end it.

#include "startup/CommandLine.h"
#include "startup/SaverSession.h"

#include <cstdint>

namespace ml {

// The window the options name: the -window-id, else $XSCREENSAVER_WINDOW (with -root), else
// the root window. Raises EConvertError for an id that is not a window id.
std::uint32_t HackWindowId(const THackOptions& options);

// Runs the show in that window and removes the extracted files afterwards. Only the first
// instance of a saver plays sound: daemons start one instance per screen, and the sound of
// a show is heard once.
void HackMode(TSaverSession& session, const THackOptions& options);

} // namespace ml
