#pragma once
// Prints the findings of the authoring checks the way every command shows them.

#include "tools/authoring/Findings.h"

#include <string>

namespace ml::tool {

// Prints every finding to standard error, one line each ("error: ...", "warning: ..." or
// "note: ..."). With errors it adds that `output` was not written and returns false.
bool ReportFindings(const authoring::TFindings& findings, const std::string& command,
                    const std::string& output);

} // namespace ml::tool
