// Treats arbitrary bytes as a program file with an appended project and runs the whole
// extraction and clean-up on it. Besides crashes and out-of-bounds reads this checks the
// promise that matters most: whatever the archive says, every file lands in the scratch
// folder and the clean-up leaves nothing behind.

#include "project/Archive.h"
#include "fuzz/InputFile.h"
#include "platform/Paths.h"
#include "project/QMCProject.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The private temporary folder for every run, empty between inputs and removed at exit. It
// is never freed, so that the exit handler still finds it.
const std::string& Root() {
    static const std::string* root = [] {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/mlfuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Root(), ignored);
        });
        return new std::string(pattern + "/");
    }();
    return *root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& root = Root();
    static const ml::fuzz::TInputFile file("program.scr");
    const std::string program = file.Hold(data, size);
    if (program.empty())
        return 0;

    ml::TArchiveLocation location = ml::FindArchive(program);
    if (location.Found &&
        (location.Offset < 13 || static_cast<std::size_t>(location.Offset) > size))
        __builtin_trap();
    (void)ml::ListArchive(program);

    ml::TQMCProject project;
    ml::TExtractedFiles extracted;
    try {
        ml::ExtractProject(project, program, extracted);
    } catch (const std::exception&) {
        // A damaged settings item may fail the load; the clean-up below must still work.
    }
    for (const auto& name : project.FileList.FileNames)
        if (name.rfind(root, 0) != 0)
            __builtin_trap();
    ml::RemoveExtractedFiles(extracted, program);

    if (!std::filesystem::is_empty(root))
        __builtin_trap();
    return 0;
}
