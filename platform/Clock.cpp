#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace ml {

std::uint32_t TSteadyClock::GetTickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void TSteadyClock::Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace {
TSteadyClock steadyClock;
TClock* installedClock = nullptr;
} // namespace

TClock& Clock() {
    return installedClock ? *installedClock : steadyClock;
}

void SetClock(TClock* clock) {
    installedClock = clock;
}

} // namespace ml
