#pragma once
// The container format of the project appended to the program: a marker, an item count and
// sized items, nested twice. Items carry no names; the reader supplies them.

#include <cstdint>
#include <string>
#include <vector>

namespace ml {

class TQMCProject;

struct TArchiveLocation {
    bool Found = false;
    std::int32_t Offset = 0; // file position just after the marker
    std::int32_t Count = 0;  // item count stored there
};

// The marker as the program holds it. Containers store each character plus one, so that
// the stored form never occurs in the program's own code or data.
inline constexpr char kArchiveMarker[] = "{QMRESROURCE}";
inline constexpr std::size_t kArchiveMarkerLength = sizeof kArchiveMarker - 1;

// Scans a file for the first archive marker.
TArchiveLocation FindArchive(const std::string& path);
// Writes up to names.size() items of the archive in path to the given files, in order, and
// returns the files it created. An empty name skips its item, and so does a name that is the
// archive itself. Each output file is made new (what lay under its name is removed first)
// without following a symbolic link.
std::vector<std::string> ExtractArchive(const std::string& path,
                                        const std::vector<std::string>& names);

// Where a line of the file list is extracted inside a folder: its file-name part, or ""
// (nothing is written or deleted) when that part is empty, ".", ".." or the name of the
// folder's lock file.
std::string SafeItemName(const std::string& line);
// Extracts the four items of the program's appended archive into folder (ending in "/") and
// then the files of "QMFiles.res" under their safe names. Returns the lines of
// "QMFilenames.res" (empty when there is none); adds every file it created to written.
std::vector<std::string> ExtractProjectFiles(const std::string& programPath,
                                             const std::string& folder,
                                             std::vector<std::string>* written = nullptr);

// What ExtractProject wrote: the scratch folder and each file it created there, recorded as
// they were made so that the clean-up works also after a failed load.
struct TExtractedFiles {
    std::string Folder;
    std::vector<std::string> Files;
};

// Extracts the program's appended project into its scratch folder and fills the project,
// pointing every file reference into that folder. The files are recorded in extracted as
// they are written, also when loading the settings fails afterwards.
void ExtractProject(TQMCProject& project, const std::string& programPath,
                    TExtractedFiles& extracted);
// Deletes what ExtractProject recorded, then the program's scratch folder when it is empty,
// and lets the folder go. Failed deletions are ignored.
void RemoveExtractedFiles(TExtractedFiles& extracted, const std::string& programPath);

// Reads only the project's settings ("QMC.res", the first item) from a program file, through
// a scratch file in folder (ending in "/") that is deleted again: enough to name a saver's
// product and pictures without unpacking its files.
void LoadProjectSettings(TQMCProject& project, const std::string& programPath,
                         const std::string& folder);

// One item of a container as it lies in the file: where its content starts, the size stored
// for it (a negative size reads as 0) and how much of it the file really holds.
struct TArchiveItemInfo {
    std::int64_t Offset = 0;
    std::int32_t Size = 0;
    std::int64_t Available = 0;
};
// The items of the first container in path, as far as the file holds their sizes.
std::vector<TArchiveItemInfo> ListArchive(const std::string& path);

} // namespace ml
