#pragma once
// What the program says about itself: --help (the switches, the daemon options and the
// project it carries) and --version, and the message of a program that carries no project.

#include <string>

namespace ml {

struct TSaverSession;

// The project a program carries, as --help names it.
struct TProjectSummary {
    bool Carried = false; // false: the plain program without a project
    std::string ProductName;
    int PictureCount = 0;
    std::string Problem; // why a carried project could not be read, else ""
};

// Reads the product name and picture count from the program's project settings (through
// the scratch folder, which is gone again afterwards).
TProjectSummary SummarizeProject(TSaverSession& session);

std::string HelpText(const std::string& programName, const TProjectSummary& project);
std::string VersionText();
// Shown when a mode is asked of the plain program: it carries nothing to show.
std::string NoProjectText();

} // namespace ml
