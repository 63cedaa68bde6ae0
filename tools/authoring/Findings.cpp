#include "tools/authoring/Findings.h"

#include <algorithm>

namespace ml::authoring {

std::string TFinding::Text() const {
    std::string text = File.empty() ? "" : File + ": ";
    if (!Where.empty())
        text += Where + ": ";
    text += Problem;
    if (!Fix.empty())
        text +=
            (!Problem.empty() && (Problem.back() == '?' || Problem.back() == '.') ? " " : ". ") +
            Fix;
    return text;
}

TFinding Error(std::string file, std::string where, std::string problem, std::string fix) {
    return {TSeverity::Error, std::move(file), std::move(where), std::move(problem),
            std::move(fix)};
}

TFinding Warning(std::string file, std::string where, std::string problem, std::string fix) {
    return {TSeverity::Warning, std::move(file), std::move(where), std::move(problem),
            std::move(fix)};
}

TFinding Note(std::string file, std::string where, std::string problem) {
    return {TSeverity::Note, std::move(file), std::move(where), std::move(problem), ""};
}

bool HasErrors(const TFindings& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const TFinding& f) { return f.Severity == TSeverity::Error; });
}

void Append(TFindings& findings, const TFindings& more) {
    findings.insert(findings.end(), more.begin(), more.end());
}

} // namespace ml::authoring
