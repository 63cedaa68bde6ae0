#pragma once
// Show and configure modes run their window on the extracted project and remove the
// extracted files afterwards, also when the window fails to open.

#include "startup/SaverSession.h"

#include <functional>

namespace ml {

// Loads the project, runs the mode's window and removes the extracted files; an error is
// passed on to the top-level report after the clean-up.
void RunOnExtractedProject(TSaverSession& session, const std::function<void()>& window);

} // namespace ml
