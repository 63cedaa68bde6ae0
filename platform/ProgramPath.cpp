#include "platform/ProgramPath.h"

#include "platform/InstanceFolder.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

#include <filesystem>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace ml {

namespace {

// The folders this process holds, by the temporary path and base name they were taken for.
std::map<std::string, std::unique_ptr<TInstanceFolder>>& HeldFolders() {
    static std::map<std::string, std::unique_ptr<TInstanceFolder>> folders;
    return folders;
}

std::string FolderBase(const std::string& longProgramPath) {
    // A program whose name gives no base name (an unnamed path, ".hidden") still gets a
    // folder of its own, never the temporary folder itself.
    const std::string base = ProgramBaseName(longProgramPath);
    return base.empty() ? "mirrorlake" : base;
}

TInstanceFolder& HeldFolder(const std::string& longProgramPath) {
    const std::string root = TempPath();
    const std::string base = FolderBase(longProgramPath);
    std::unique_ptr<TInstanceFolder>& held = HeldFolders()[root + base];
    if (!held)
        held = std::make_unique<TInstanceFolder>(root, base);
    return *held;
}

} // namespace

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
    return HeldFolder(longProgramPath).Path();
}

std::string GetExtractFolder() {
    return GetExtractFolder(LongProgramPath());
}

void ReleaseExtractFolder(const std::string& longProgramPath) {
    auto& folders = HeldFolders();
    const auto held = folders.find(TempPath() + FolderBase(longProgramPath));
    if (held == folders.end())
        return;
    if (held->second)
        held->second->Release();
    folders.erase(held);
}

bool IsFirstInstance(const std::string& longProgramPath) {
    return HeldFolder(longProgramPath).IsFirst();
}

} // namespace ml
