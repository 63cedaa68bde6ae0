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

// Scans a file for the first archive marker.
TArchiveLocation FindArchive(const std::string& path);
// Writes up to names.size() items of the archive in path to the given files, in order.
void ExtractArchive(const std::string& path, const std::vector<std::string>& names);

// Extracts the program's appended project into its scratch folder and fills the project,
// pointing every file reference into that folder.
void ExtractProject(TQMCProject& project, const std::string& programPath);
// Deletes what ExtractProject wrote for that program, and the folder when it is then empty.
void RemoveExtractedFiles(const TQMCProject& project, const std::string& programPath);

} // namespace ml
