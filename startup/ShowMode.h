#pragma once

#include "startup/SaverSession.h"

namespace ml {

// Runs the full-screen show of the program's project and cleans up its extracted files.
void ShowMode(TSaverSession& session);

} // namespace ml
