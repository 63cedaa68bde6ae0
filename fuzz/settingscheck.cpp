// Reads arbitrary bytes as project.ini and as a parameter file the way pack and make-qmp
// check them: every finding names the file, and a file without findings has values that
// read within their ranges.

#include "fuzz/InputFile.h"
#include "platform/Profile.h"
#include "tools/authoring/IniSchema.h"

#include <cstdint>
#include <string>

namespace {

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
    static const ml::fuzz::TInputFile file("project.ini");
    const std::string path = file.Hold(data, size);
    if (path.empty())
        return 0;
    Check(path, ml::authoring::ProjectIniSchema());
    Check(path, ml::authoring::PictureParamsSchema());
    return 0;
}
