#pragma once
// Helpers for the archive and project settings tests: a private temporary path for the
// duration of a test, and archives built with the program's own writer so that no test
// spells out the stored marker.

#include "platform/Paths.h"
#include "project/ArchiveWriter.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace ml::test {

// Points TempPath() at a fresh folder until the end of the scope.
class TScopedTempPath {
public:
    TScopedTempPath() {
        if (const char* value = std::getenv("XDG_RUNTIME_DIR"))
            Previous = value;
        setenv("XDG_RUNTIME_DIR", Dir.Path().c_str(), 1);
    }
    ~TScopedTempPath() {
        if (Previous)
            setenv("XDG_RUNTIME_DIR", Previous->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    const TTempDir& Folder() const { return Dir; }

private:
    TTempDir Dir;
    std::optional<std::string> Previous;
};

inline std::string Int32Bytes(std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8 & 0xFF),
            static_cast<char>(bits >> 16 & 0xFF), static_cast<char>(bits >> 24 & 0xFF)};
}

} // namespace ml::test
