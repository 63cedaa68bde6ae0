// Descriptions in the component notation: reading and building must end in a window or in
// one of the reader's errors, never in a crash, and a failed build must free what it made.

#include "configui/ComponentBuilder.h"
#include "platform/Exceptions.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// Fontconfig keeps its caches for the life of the process; the leak check at exit is not
// about them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        ml::BuildFromText(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const ml::Exception&) {
    }
    return 0;
}
