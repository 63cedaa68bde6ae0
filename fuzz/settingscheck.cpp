// Reads arbitrary bytes as project.ini and as a parameter file the way pack and make-qmp
// check them: every finding names the file, and a file without findings has values that
// read within their ranges.

#include "platform/Profile.h"
#include "tools/authoring/IniSchema.h"

#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int SettingsFile() {
    static const int fd = memfd_create("project.ini", 0);
    return fd;
}

void Check(const std::string& path, const ml::authoring::TIniSchema& schema) {
    const ml::authoring::TFindings findings = ml::authoring::CheckIniFile(path, "f.ini", schema);
    for (const auto& finding : findings)
        if (finding.File != "f.ini" || finding.Problem.empty())
            __builtin_trap();
    if (!findings.empty())
        return;
    const ml::TIniFile ini(path);
    for (const auto& section : schema.Sections)
        for (const auto& key : section.Keys)
            if (key.Kind != ml::authoring::TValueKind::Text) {
                const int value = ml::authoring::IntegerValue(ini, schema, section.Name, key.Name);
                if (value < key.Low || value > key.High)
                    __builtin_trap();
            }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = SettingsFile();
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    Check(path, ml::authoring::ProjectIniSchema());
    Check(path, ml::authoring::PictureParamsSchema());
    return 0;
}
