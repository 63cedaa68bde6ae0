#include "platform/Paths.h"

#include "platform/Exceptions.h"
#include "platform/Strings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/auxv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ml {

namespace {
std::string EnvFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? IncludeTrailingSeparator(value) : std::string();
}
} // namespace

std::string TempPath() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"})
        if (std::string folder = EnvFolder(name); !folder.empty())
            return folder;
    return "/tmp/";
}

std::string ModuleFileName() {
    // The name the program was started by, made absolute against the folder it started in,
    // which is why the first call (early in main) fixes it. The system's own link
    // /proc/self/exe resolves links and reads "... (deleted)" once the file is replaced, so it
    // is only the fallback: a saver started through a link keeps the link's name for its
    // folder and settings file.
    static const std::string path = [] {
        const auto* started = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
        if (started && *started) {
            std::error_code error;
            const std::filesystem::path absolute = std::filesystem::absolute(started, error);
            if (!error)
                return absolute.lexically_normal().string();
        }
        char buffer[4096];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }();
    return path;
}

std::string SystemFolder() {
    return "/usr/lib/";
}

std::string ProgramFilesDir() {
    std::string folder = EnvFolder("MIRRORLAKE_PROGRAM_FILES");
    return folder.empty() ? "/usr/share/" : folder;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) {
    return !path.empty() && unlink(path.c_str()) == 0;
}

bool RemoveDirectory(const std::string& path) {
    return !path.empty() && rmdir(path.c_str()) == 0;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "";
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void EnsurePrivateFolder(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (mkdir(path.c_str(), 0700) == 0)
        return;
    if (errno != EEXIST)
        throw EInOutError("Cannot create the folder " + path + ": " + std::strerror(errno));
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        throw EInOutError("Cannot use the folder " + path + ": " + std::strerror(errno));
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode))
        throw EInOutError("Refusing to use " + path + ": it is not a plain folder");
    if (st.st_uid != geteuid())
        throw EInOutError("Refusing to use " + path + ": it belongs to another user");
}

} // namespace ml
