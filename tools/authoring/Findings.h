#pragma once
// What the authoring checks find: one problem in one of the author's files, said so that the
// author can fix it. pack prints them and stops on errors; a graphical front end lists them.

#include <string>
#include <vector>

namespace ml::authoring {

// Errors stop a build; warnings point at something that probably does not work as meant;
// notes say what a build did on its own (a sound converted).
enum class TSeverity { Error, Warning, Note };

struct TFinding {
    TSeverity Severity = TSeverity::Error;
    std::string File;    // the author's file, as the project names it or as given
    std::string Where;   // inside the file, e.g. "[Default] Duration"; may be empty
    std::string Problem; // what is wrong
    std::string Fix;     // what to do about it; may be empty

    // "FILE: WHERE: PROBLEM. FIX" on one line.
    std::string Text() const;
};

using TFindings = std::vector<TFinding>;

TFinding Error(std::string file, std::string where, std::string problem, std::string fix = "");
TFinding Warning(std::string file, std::string where, std::string problem, std::string fix = "");
TFinding Note(std::string file, std::string where, std::string problem);

bool HasErrors(const TFindings& findings);
// Appends the findings of `more` to `findings`.
void Append(TFindings& findings, const TFindings& more);

} // namespace ml::authoring
