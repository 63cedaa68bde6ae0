#include "tools/authoring/XScreenSaverList.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace ml::authoring {

namespace {

// A plain constant, not a std::string: an entry may be built while other globals are being
// made, before a string of this file would exist.
constexpr const char kEntryEnd[] = "\\n\\";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

bool Continues(const std::string& line) {
    return !line.empty() && line.back() == '\\';
}

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

// The line that starts the resource (name at the start of the line), or lines.size().
std::size_t FindResource(const std::vector<std::string>& lines, const std::string& name) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].compare(0, name.size(), name) == 0)
            return i;
    return lines.size();
}

// Whether an entry line runs the program: one of its words is the program's path.
bool RunsProgram(const std::string& line, const std::string& program) {
    std::istringstream words(line);
    std::string word;
    while (words >> word)
        if (word == program)
            return true;
    return false;
}

// The lines of a programs list from its first line on: up to the first line that does not
// continue, which ends it (it may be empty).
std::size_t ListEnd(const std::vector<std::string>& lines, std::size_t start) {
    std::size_t end = start;
    while (end < lines.size() && Continues(lines[end]))
        ++end;
    return end; // the closing line, or lines.size() when the file ends inside the list
}

// Adds the entry to the list starting at `start` (the "programs:" line).
void AddToList(std::vector<std::string>& lines, std::size_t start, const std::string& entry,
               const std::string& program) {
    const std::size_t end = ListEnd(lines, start);
    for (std::size_t i = start + 1; i <= end && i < lines.size(); ++i)
        if (RunsProgram(lines[i], program)) {
            // Replaced where it stands, as the user had it: enabled or not.
            const bool disabled = lines[i].find_first_not_of(" \t") != std::string::npos &&
                                  lines[i][lines[i].find_first_not_of(" \t")] == '-';
            const bool last = !Continues(lines[i]);
            std::string replaced = disabled ? "  -" + entry.substr(entry.find('"') - 1) : entry;
            if (last)
                replaced.pop_back(); // it still closes the list
            lines[i] = replaced;
            return;
        }
    if (end == start) {
        // "programs:" with its value on the same line, or none: the list is opened up.
        std::string rest = lines[start].substr(lines[start].find(':') + 1);
        lines[start] = lines[start].substr(0, lines[start].find(':') + 1) + "\t\\";
        std::vector<std::string> added;
        if (!IsBlank(rest))
            added.push_back("\t\t" + rest.substr(rest.find_first_not_of(" \t")) + "\t" + kEntryEnd);
        added.push_back(entry);
        added.push_back("");
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(start) + 1, added.begin(),
                     added.end());
        return;
    }
    if (end < lines.size() && !IsBlank(lines[end])) {
        // The last entry closes the list (as in XScreenSaver's own defaults): it now
        // continues into ours, which closes it instead.
        std::string& last = lines[end];
        const bool ended = last.size() >= 2 && last.compare(last.size() - 2, 2, "\\n") == 0;
        last += ended ? std::string("\\") : std::string(" ") + kEntryEnd;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end) + 1,
                     entry.substr(0, entry.size() - 1));
        return;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), entry);
    if (end + 1 >= lines.size())
        lines.push_back("");
}

} // namespace

std::string ProgramsEntry(const std::string& label, const std::string& command) {
    std::string clean;
    for (char c : label)
        if (c != '"' && static_cast<unsigned char>(c) >= 0x20)
            clean += c;
    return "\t\t\"" + clean + "\"  " + command + "\t" + kEntryEnd;
}

std::string WithProgramsEntry(const std::string& rcText, const std::string& entry,
                              const std::string& program, const std::string& defaults) {
    std::vector<std::string> lines = Lines(rcText);
    std::size_t start = FindResource(lines, "programs:");
    if (start == lines.size()) {
        if (!lines.empty() && !IsBlank(lines.back()))
            lines.push_back("");
        const std::vector<std::string> list = Lines(defaults.empty() ? "programs:\n" : defaults);
        start = lines.size();
        lines.insert(lines.end(), list.begin(), list.end());
    }
    AddToList(lines, start, entry, program);
    return Joined(lines);
}

std::string ProgramsFromDefaults(const std::string& appDefaults) {
    const std::vector<std::string> lines = Lines(appDefaults);
    const std::size_t start = FindResource(lines, "*programs:");
    if (start == lines.size())
        return "";
    std::vector<std::string> list(lines.begin() + static_cast<std::ptrdiff_t>(start),
                                  lines.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                      ListEnd(lines, start) + 1, lines.size())));
    list.front().erase(0, 1); // "*programs:" becomes "programs:"
    return Joined(list);
}

} // namespace ml::authoring
