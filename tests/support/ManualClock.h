#pragma once
// A clock that moves only when the test says so. Sleep advances it at once, so code that
// paces itself runs at full speed and its waits can be counted.

#include "platform/Clock.h"

#include <vector>

namespace ml::test {

class TManualClock : public TClock {
public:
    explicit TManualClock(std::uint32_t start = 1000) : Now(start) {}
    std::uint32_t GetTickCount() override { return Now; }
    void Sleep(std::uint32_t milliseconds) override {
        Sleeps.push_back(milliseconds);
        Now += milliseconds;
    }
    void Advance(std::uint32_t milliseconds) { Now += milliseconds; }

    std::uint32_t Now;
    std::vector<std::uint32_t> Sleeps;
};

// Installs a manual clock for the lifetime of the guard.
class TScopedManualClock : public TManualClock {
public:
    explicit TScopedManualClock(std::uint32_t start = 1000) : TManualClock(start) {
        SetClock(this);
    }
    ~TScopedManualClock() override { SetClock(nullptr); }
};

} // namespace ml::test
