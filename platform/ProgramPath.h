#pragma once
// The program's own file and the names derived from it. They sit low in the layers because
// the archive reader, the user settings and the start sequence all need them.

#include <string>

namespace ml {

// The long (absolute, normalised) form of an existing local path; "" when the path holds
// "\\", "*" or "?", or names no existing file or folder.
std::string GetLongFileName(const std::string& path);
// GetLongFileName of the running program's file.
std::string LongProgramPath();
// File-name part with everything from its first "." deleted: my.saver.scr gives my.
std::string ProgramBaseName(const std::string& longProgramPath);
// The private scratch folder for a program file: TempPath() + base name + "/", created with
// mode 0700 when missing. An existing folder that is a link or belongs to another user raises
// EInOutError.
std::string GetExtractFolder(const std::string& longProgramPath);
// The scratch folder of the running program.
std::string GetExtractFolder();

} // namespace ml
