#pragma once
// The program's own file and the names derived from it. They sit low in the layers because
// the archive reader, the user settings and the start sequence all need them.

#include <string>

namespace ml {

// The long (absolute, normalised) form of an existing local path; "" when the path holds
// "\\", "*" or "?", or names no existing file or folder. Links are not resolved: a saver
// started through a link is known by the link's name.
std::string GetLongFileName(const std::string& path);
// GetLongFileName of the running program's file (ModuleFileName).
std::string LongProgramPath();
// File-name part with everything from its first "." deleted: my.saver.scr gives my.
std::string ProgramBaseName(const std::string& longProgramPath);

// The private scratch folder this process holds for a program file: TempPath() + base name
// + "/", or base name + "-2/", "-3/" ... while other running instances hold the earlier ones
// (see TInstanceFolder). The first call takes it; later calls return the same folder until
// ReleaseExtractFolder. A folder that cannot be used raises EInOutError.
std::string GetExtractFolder(const std::string& longProgramPath);
// The scratch folder of the running program.
std::string GetExtractFolder();
// Removes the folder taken for that program when it is empty, and lets it go.
void ReleaseExtractFolder(const std::string& longProgramPath);
// True when this process holds the program's first folder (base name + "/"): no other
// instance of the same saver was running when it took it.
bool IsFirstInstance(const std::string& longProgramPath);

} // namespace ml
