#pragma once
// Where the program is, where it may put scratch files, and the system folders the
// original platform offers. Folders returned here end with "/".

#include <string>

namespace ml {

// The user's private temporary folder: $XDG_RUNTIME_DIR when set, else $TMPDIR, else /tmp.
std::string TempPath();
// The running program's own file: the path it was started by, made absolute (links are not
// resolved); the system's record of the executable when that is not available.
std::string ModuleFileName();
// The system folder ("/usr/lib/" here); the password-change library would live there.
std::string SystemFolder();
// The folder that holds installed programs' shared data: $MIRRORLAKE_PROGRAM_FILES when set
// (tests and relocated installs), else "/usr/share/".
std::string ProgramFilesDir();

bool FileExists(const std::string& path);           // a regular file (or a link to one)
bool DirectoryExists(const std::string& path);      // a folder
bool DeleteFile(const std::string& path);           // false when it could not be removed
bool RemoveDirectory(const std::string& path);      // only an empty folder
std::string ReadWholeFile(const std::string& path); // "" when it cannot be read

// Creates a folder for this user alone (mode 0700). An existing folder is accepted only when
// it is a real folder owned by this user; otherwise an EInOutError names the folder and why.
void EnsurePrivateFolder(const std::string& folder);

} // namespace ml
