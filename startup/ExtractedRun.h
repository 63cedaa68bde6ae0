#pragma once
// Show and configure modes run their window on the extracted project and remove the
// extracted files afterwards, on every path: also when loading the project fails or the
// window does not open.

#include "startup/SaverSession.h"

#include <functional>

namespace ml {

// Loads the project, runs the mode's window and removes the extracted files; an error is
// passed on to the top-level report after the clean-up. A signal to end that arrived while
// the project loaded skips the window.
void RunOnExtractedProject(TSaverSession& session, const std::function<void()>& window);

} // namespace ml
