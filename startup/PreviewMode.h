#pragma once

#include "startup/SaverSession.h"

#include <cstdint>

namespace ml {

// How long preview mode waits for the host window to appear. The host creates it just
// before starting us, so a window that is still hidden after this is not coming.
inline constexpr std::uint32_t kHostWindowWaitMs = 10000;

// Draws the project's preview picture once, stretched, into the host window named by the
// second argument. The extracted files stay: the host starts previews often, and a later run
// overwrites them.
void PreviewMode(TSaverSession& session);

} // namespace ml
