#pragma once
// Runs a piece of work in a child process with limits on its CPU time and on the memory it
// may add, so that a test can show that a hostile input costs no more than the work needs:
// work that grows with the square of its input runs out of CPU time, and a buffer sized by a
// claim the data cannot back fails to allocate. The limits are far above what the work needs
// when it is done right, so a busy machine does not matter.

#include <cstddef>
#include <functional>

namespace ml::test {

struct TResourceLimits {
    int CpuSeconds = 10;
    // Address space the work may add to the process as it is; 0 leaves it free. Ignored in
    // sanitizer builds, whose shadow memory needs the address space unlimited.
    std::size_t ExtraBytes = 0;
};

// True when the work, run within the limits, returned true (its own check of the outcome,
// made in the child). Running out of CPU time, an exception and a crash all give false.
bool RunsWithin(const TResourceLimits& limits, const std::function<bool()>& work);

} // namespace ml::test
