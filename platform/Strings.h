#pragma once
// Text helpers shared by every layer: the path pieces and case rules the program's file
// conventions are written in. Paths may use "/" or "\" as separators; ":" also ends a
// folder part, as in a drive prefix.

#include <string>
#include <vector>

namespace ml {

std::string UpperCase(std::string text);
std::string LowerCase(std::string text);
std::string Trim(const std::string& text);
bool SameText(const std::string& a, const std::string& b); // case-insensitive equality

// The part after the last "/", "\" or ":".
std::string ExtractFileName(const std::string& path);
// The part up to and including the last "/", "\" or ":".
std::string ExtractFilePath(const std::string& path);
// From the last "." of the file-name part on ("" when there is none).
std::string ExtractFileExt(const std::string& path);
// The path with its extension (from the last "." of the file-name part) replaced by ext.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// The folder with a "/" appended unless it already ends in a separator; "" stays "".
std::string IncludeTrailingSeparator(const std::string& folder);

// Lines of a text; CR LF, LF and lone CR all end a line, and a last line without an end
// still counts.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace ml
