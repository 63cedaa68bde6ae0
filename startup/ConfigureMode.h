#pragma once

#include "startup/SaverSession.h"

namespace ml {

// Shows the project's configuration window and cleans up its extracted files.
void ConfigureMode(TSaverSession& session);

} // namespace ml
