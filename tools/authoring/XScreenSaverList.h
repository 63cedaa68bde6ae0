#pragma once
// XScreenSaver's list of hacks, the "programs:" resource of ~/.xscreensaver, as install
// edits it. The resource is one value over many lines: "programs:" and then one entry per
// line, each line but the last ending in a backslash and each entry in a written-out "\n".
// An entry is an optional "-" (disabled), an optional visual ("GL:"), an optional label in
// double quotes and the command, for example
//     "Lake"  /home/u/.local/libexec/mirrorlake/lake.scr --root
// "selected:" counts entries from 0, so entries are never reordered: a new one goes last,
// and one for the same program is replaced where it stands.

#include <string>

namespace ml::authoring {

// The entry line for a hack: its label (double quotes and control characters dropped) and
// its command.
std::string ProgramsEntry(const std::string& label, const std::string& command);

// The text of ~/.xscreensaver with the entry in its programs list: in place of an entry
// whose command runs the same program, else at the end. A text without a programs list
// (no file yet) gets defaults' list (XScreenSaver's own, as ProgramsFromDefaults gives it)
// with the entry at its end, so that no other hack goes missing. Every other line stays.
std::string WithProgramsEntry(const std::string& rcText, const std::string& entry,
                              const std::string& program, const std::string& defaults);

// The programs list of XScreenSaver's app-defaults file ("*programs:"), written as
// ~/.xscreensaver writes it; "" when the file holds none.
std::string ProgramsFromDefaults(const std::string& appDefaults);

} // namespace ml::authoring
