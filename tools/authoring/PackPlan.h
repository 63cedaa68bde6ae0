#pragma once
// What pack puts into a saver, worked out and checked before anything is written: every file
// the project uses, under the name it is stored and extracted as, the three settings texts
// and the configuration window's description. Every problem the player would run into later
// is a finding here, naming the author's file and the fix.

#include "tools/authoring/Findings.h"

#include <optional>
#include <string>
#include <vector>

namespace ml {
class TArchiveItem;
}

namespace ml::authoring {

struct TPackFile {
    std::string Source; // the file on disk
    std::string Name;   // the bare name it is stored and extracted under
    std::string Entry;  // as the project names it
    // Content stored instead of the file's own (a sound converted to 16 bits).
    std::optional<std::string> Bytes;
};

struct TPackPlan {
    TFindings Findings;
    std::vector<TPackFile> Files;
    std::vector<std::string> SettingsTexts; // the three items of "QMC.res"
    std::string Interface;                  // the configuration window's description
    std::string InterfaceSource;            // its file, "" for the default window
};

// Checks the project folder `dir` (with or without a trailing "/") and plans its archive.
// Never throws for a problem of the project: those are findings.
TPackPlan PlanPack(const std::string& dir);

// The four items of the archive appended to a saver; the plan must hold no errors.
std::vector<TArchiveItem> ArchiveItems(const TPackPlan& plan);

// The entries of a MusicFile value ("a.mp3;b.wav;"), trimmed, empty ones left out.
std::vector<std::string> SplitMusic(const std::string& value);

// A name from project.ini as a path: relative names lie in `dir` (which ends in "/").
std::string ResolveInFolder(const std::string& dir, std::string name);

} // namespace ml::authoring
