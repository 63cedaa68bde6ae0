#pragma once
// The program a packed saver carries. Savers are copied to everyone who installs them, so
// the program goes in without the symbols and debug information a development build keeps
// (27 MB become under 1 MB). Stripping must happen here, before packing: stripping a packed
// saver would cut off the project appended to it.

#include <string>

namespace ml::tool {

class TStrippedProgram {
public:
    // Strips a copy of the program into a scratch file with the system's strip. Where strip
    // is missing or fails, a warning is printed and the program is used as it is.
    explicit TStrippedProgram(const std::string& program);
    ~TStrippedProgram();
    TStrippedProgram(const TStrippedProgram&) = delete;
    TStrippedProgram& operator=(const TStrippedProgram&) = delete;

    // The file to pack: the stripped copy, or the program itself.
    const std::string& Path() const { return Result; }

private:
    std::string Copy;
    std::string Result;
};

} // namespace ml::tool
