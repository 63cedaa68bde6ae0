#include "tests/support/ResourceLimits.h"

#include "platform/AddressSanitizer.h"

#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ml::test {

namespace {

constexpr bool kSanitizerBuild = kAddressSanitizer;

std::size_t AddressSpaceInUse() {
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

void Limit(int resource, rlim_t value) {
    const rlimit limit{value, value};
    setrlimit(resource, &limit);
}

} // namespace

bool RunsWithin(const TResourceLimits& limits, const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        Limit(RLIMIT_CPU, static_cast<rlim_t>(limits.CpuSeconds));
        if (limits.ExtraBytes != 0 && !kSanitizerBuild)
            Limit(RLIMIT_AS, AddressSpaceInUse() + limits.ExtraBytes);
        int code = 1;
        try {
            code = work() ? 0 : 1;
        } catch (...) {
            code = 2;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace ml::test
