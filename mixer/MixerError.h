#pragma once
// Every failure of the sound mixer and of its wave loader is raised as an EMixerError that
// carries one fixed text, so callers can show it or, as the show does, swallow it.

#include "platform/Exceptions.h"

namespace ml {

class EMixerError : public Exception {
public:
    using Exception::Exception;
};

// Raised for every allocation that fails, whatever was being allocated.
inline constexpr const char* kMixerMemoryText =
    "Unable to allocate memory for waveform data.  Try making more memory available by "
    "closing other applications.";

} // namespace ml
