#include "platform/ProgramPath.h"

#include "platform/Paths.h"
#include "platform/Strings.h"

#include <filesystem>
#include <sys/stat.h>

namespace ml {

std::string GetLongFileName(const std::string& path) {
    if (path.empty() || path.find("\\\\") != std::string::npos ||
        path.find_first_of("*?") != std::string::npos)
        return "";
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return "";
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return "";
    return absolute.lexically_normal().string();
}

std::string LongProgramPath() {
    return GetLongFileName(ModuleFileName());
}

std::string ProgramBaseName(const std::string& longProgramPath) {
    std::string name = ExtractFileName(longProgramPath);
    return name.substr(0, name.find('.'));
}

std::string GetExtractFolder(const std::string& longProgramPath) {
    // A program whose name gives no base name (an unnamed path, ".hidden") still gets a
    // folder of its own, never the temporary folder itself.
    std::string base = ProgramBaseName(longProgramPath);
    std::string folder = TempPath() + (base.empty() ? "mirrorlake" : base) + "/";
    EnsurePrivateFolder(folder);
    return folder;
}

std::string GetExtractFolder() {
    return GetExtractFolder(LongProgramPath());
}

} // namespace ml
