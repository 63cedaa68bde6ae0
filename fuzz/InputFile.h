#pragma once
// The fuzzer's input as a file that the readers open by name, as they open real ones: one
// in-memory file per target, rewritten for every input.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace ml::fuzz {

class TInputFile {
public:
    explicit TInputFile(const char* name) : Fd(memfd_create(name, 0)) {}
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    // Makes the file hold exactly these bytes and returns its path; "" when it cannot.
    std::string Hold(const std::uint8_t* data, std::size_t size) const {
        if (Fd < 0 || ftruncate(Fd, 0) != 0 ||
            pwrite(Fd, data, size, 0) != static_cast<ssize_t>(size))
            return "";
        return "/proc/self/fd/" + std::to_string(Fd);
    }

private:
    int Fd;
};

} // namespace ml::fuzz
