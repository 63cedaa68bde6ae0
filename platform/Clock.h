#pragma once
// The millisecond tick count and the blocking pause that pacing, durations and sound
// scheduling are written against. Production code asks Clock(); tests install a clock they
// advance themselves, so nothing time-dependent needs a real wait.

#include <cstdint>

namespace ml {

class TClock {
public:
    virtual ~TClock() = default;
    // Milliseconds since an arbitrary start; wraps around like a 32-bit counter.
    virtual std::uint32_t GetTickCount() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

class TSteadyClock : public TClock {
public:
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t milliseconds) override;
};

// The process-wide clock; a steady clock unless one was installed.
TClock& Clock();
// Installs a clock (not owned); nullptr restores the steady clock.
void SetClock(TClock* clock);

} // namespace ml
