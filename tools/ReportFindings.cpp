#include "tools/ReportFindings.h"

#include <cstdio>

namespace ml::tool {

bool ReportFindings(const authoring::TFindings& findings, const std::string& command,
                    const std::string& output) {
    std::size_t errors = 0;
    for (const auto& finding : findings) {
        const bool error = finding.Severity == authoring::TSeverity::Error;
        errors += error ? 1 : 0;
        const char* kind = error                                               ? "error"
                           : finding.Severity == authoring::TSeverity::Warning ? "warning"
                                                                               : "note";
        std::fprintf(stderr, "mirrorlake-tool %s: %s: %s\n", command.c_str(), kind,
                     finding.Text().c_str());
    }
    if (errors == 0)
        return true;
    std::fprintf(stderr, "mirrorlake-tool %s: %zu problem%s; %s not written\n", command.c_str(),
                 errors, errors == 1 ? "" : "s", output.c_str());
    return false;
}

} // namespace ml::tool
