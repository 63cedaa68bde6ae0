#include "project/Archive.h"

#include "platform/Exceptions.h"
#include "platform/InstanceFolder.h"
#include "platform/Paths.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/QMCProject.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace ml {

namespace {

// Larger than the historical 1001-byte blocks: the scan and the copies give the same
// results, with far fewer system calls over a program image of several megabytes.
constexpr std::size_t kBlockSize = 64 * 1024;

const std::array<const char*, 4> kProjectItemNames = {"QMC.res", "QMFilenames.res", "QMFiles.res",
                                                      "QMGUI.wui"};
// The clean-up also removes "QMFinal.res", a name of the same family that older projects
// may have left behind.
constexpr const char* kLegacyFinalName = "QMFinal.res";

// A file descriptor that closes itself.
class TFd {
public:
    explicit TFd(int fd) : Fd(fd) {}
    ~TFd() {
        if (Fd >= 0)
            close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return Fd; }
    bool Valid() const { return Fd >= 0; }

private:
    int Fd;
};

// A read that retries after signals; an error reads as the end of the file, since nothing
// about a damaged archive is reported.
std::size_t ReadSome(int fd, unsigned char* buffer, std::size_t size) {
    for (;;) {
        ssize_t n = read(fd, buffer, size);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            return 0;
    }
}

// Reads until size bytes arrived or the file ended; returns how many arrived.
std::size_t ReadFully(int fd, unsigned char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        std::size_t n = ReadSome(fd, buffer + done, size - done);
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

void WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a full disk leaves a short file, as a short archive would
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

std::int32_t LittleEndian32(const unsigned char* bytes) {
    std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                          std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    return static_cast<std::int32_t>(value);
}

// The next 32-bit number of the file, or nothing when fewer than four bytes remain.
bool ReadInt32(int fd, std::int32_t& value) {
    unsigned char bytes[4];
    if (ReadFully(fd, bytes, sizeof bytes) != sizeof bytes)
        return false;
    value = LittleEndian32(bytes);
    return true;
}

// Creates the output file for one item afresh, or returns -1 when the item must be skipped:
// no name, or the archive being read. Whatever lay under that name before is removed first
// and the file is made new without following a link, so an earlier file is never written
// through (a planted hard link) nor read back as if it were the item.
int OpenOutput(const std::string& name, const struct stat& archive) {
    if (name.empty())
        return -1;
    struct stat existing;
    if (lstat(name.c_str(), &existing) == 0) {
        if (existing.st_dev == archive.st_dev && existing.st_ino == archive.st_ino)
            return -1;
        unlink(name.c_str());
    }
    return open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

} // namespace

TArchiveLocation FindArchive(const std::string& path) {
    TArchiveLocation location;
    TFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.Valid())
        return location;

    // Stored bytes are compared after taking one off, so the stored form of the marker is
    // never spelled out here. The marker's first character occurs nowhere else in it, so
    // starting over at that character after a mismatch finds every occurrence.
    const unsigned char storedFirst = static_cast<unsigned char>(kArchiveMarker[0] + 1);
    std::vector<unsigned char> buffer(kBlockSize);
    std::int64_t position = 0; // bytes before the current block
    std::size_t matched = 0;   // marker characters matched so far, carried across blocks
    std::int64_t end = -1;     // file position just after the marker
    while (end < 0) {
        std::size_t n = ReadSome(file.Get(), buffer.data(), buffer.size());
        if (n == 0)
            break;
        std::size_t j = 0;
        while (j < n && end < 0) {
            if (matched == 0) {
                const void* hit = std::memchr(buffer.data() + j, storedFirst, n - j);
                if (!hit)
                    break;
                j = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) -
                                             buffer.data()) +
                    1;
                matched = 1;
            } else if (static_cast<unsigned char>(buffer[j] - 1) ==
                       static_cast<unsigned char>(kArchiveMarker[matched])) {
                ++j;
                if (++matched == kArchiveMarkerLength)
                    end = position + static_cast<std::int64_t>(j);
            } else {
                matched = 0; // the same byte is tried again as a first character
            }
        }
        position += static_cast<std::int64_t>(n);
        // Offsets are 32-bit in the format; a marker further on cannot be addressed.
        if (position > std::numeric_limits<std::int32_t>::max())
            break;
    }
    if (end < 0 || end > std::numeric_limits<std::int32_t>::max())
        return location;

    location.Found = true;
    location.Offset = static_cast<std::int32_t>(end);
    unsigned char count[4] = {};
    // A file that ends inside the count holds no items.
    if (pread(file.Get(), count, sizeof count, end) == static_cast<ssize_t>(sizeof count))
        location.Count = LittleEndian32(count);
    return location;
}

std::vector<std::string> ExtractArchive(const std::string& path,
                                        const std::vector<std::string>& names) {
    std::vector<std::string> written;
    TArchiveLocation location = FindArchive(path);
    if (!location.Found)
        return written;
    TFd archive(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat archiveStat;
    if (!archive.Valid() || fstat(archive.Get(), &archiveStat) != 0 ||
        lseek(archive.Get(), location.Offset + off_t(4), SEEK_SET) < 0)
        return written;

    std::size_t items =
        location.Count > 0 ? std::min(names.size(), static_cast<std::size_t>(location.Count)) : 0;
    std::vector<unsigned char> buffer(kBlockSize);
    for (std::size_t i = 0; i < items; ++i) {
        std::int32_t size = 0;
        if (!ReadInt32(archive.Get(), size))
            break;
        TFd out(OpenOutput(names[i], archiveStat));
        if (out.Valid())
            written.push_back(names[i]);
        // The item is read through even when it has no output, so the next one lines up.
        std::int64_t remaining = std::max<std::int32_t>(size, 0);
        while (remaining > 0) {
            std::size_t want = static_cast<std::size_t>(
                std::min<std::int64_t>(remaining, static_cast<std::int64_t>(buffer.size())));
            std::size_t n = ReadSome(archive.Get(), buffer.data(), want);
            if (n == 0)
                break;
            if (out.Valid())
                WriteAll(out.Get(), buffer.data(), n);
            remaining -= static_cast<std::int64_t>(n);
        }
    }
    return written;
}

std::vector<TArchiveItemInfo> ListArchive(const std::string& path) {
    std::vector<TArchiveItemInfo> items;
    TArchiveLocation location = FindArchive(path);
    TFd archive(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!location.Found || !archive.Valid() || fstat(archive.Get(), &st) != 0)
        return items;
    std::int64_t fileSize = st.st_size;
    std::int64_t position = location.Offset + std::int64_t(4);
    for (std::int32_t i = 0; i < location.Count && position + 4 <= fileSize; ++i) {
        unsigned char bytes[4];
        if (pread(archive.Get(), bytes, sizeof bytes, position) != 4)
            break;
        TArchiveItemInfo item;
        item.Size = std::max<std::int32_t>(LittleEndian32(bytes), 0);
        item.Offset = position + 4;
        item.Available = std::min<std::int64_t>(item.Size, fileSize - item.Offset);
        items.push_back(item);
        position = item.Offset + item.Size;
    }
    return items;
}

std::string SafeItemName(const std::string& line) {
    std::string name = ExtractFileName(line);
    // The folder's lock file is the instance's, never a project file's to replace.
    if (name.empty() || name == "." || name == ".." || name == TInstanceFolder::kLockName)
        return "";
    return name;
}

std::vector<std::string> ExtractProjectFiles(const std::string& programPath,
                                             const std::string& folder,
                                             std::vector<std::string>* written) {
    std::vector<std::string> containerPaths;
    for (const char* name : kProjectItemNames)
        containerPaths.push_back(folder + name);
    auto note = [&](const std::vector<std::string>& files) {
        if (written)
            written->insert(written->end(), files.begin(), files.end());
    };
    note(ExtractArchive(programPath, containerPaths));

    std::vector<std::string> lines = SplitLines(ReadWholeFile(folder + "QMFilenames.res"));
    std::vector<std::string> filePaths;
    for (const auto& line : lines) {
        std::string name = SafeItemName(line);
        filePaths.push_back(name.empty() ? std::string() : folder + name);
    }
    note(ExtractArchive(folder + "QMFiles.res", filePaths));
    return lines;
}

void ExtractProject(TQMCProject& project, const std::string& programPath,
                    TExtractedFiles& extracted) {
    const std::string folder = GetExtractFolder(programPath);
    extracted.Folder = folder;
    ExtractProjectFiles(programPath, folder, &extracted.Files);
    project.LoadFromFile(folder + "QMC.res");

    // Files were extracted under their file-name part, so references resolve the same way
    // even when the project stored them with a folder.
    for (auto& name : project.FileList.FileNames)
        name = folder + ExtractFileName(name);
    if (!project.Setting.PreviewFile.empty())
        project.Setting.PreviewFile = folder + ExtractFileName(project.Setting.PreviewFile);
    project.UISetting.UIFile = folder + "QMGUI.wui";
}

void RemoveExtractedFiles(TExtractedFiles& extracted, const std::string& programPath) {
    // Only what extraction wrote goes, as it recorded it: the files in the folder (a project
    // file may be named like the list) have no say in what is deleted.
    for (const std::string& file : extracted.Files)
        DeleteFile(file);
    if (!extracted.Folder.empty())
        DeleteFile(extracted.Folder + kLegacyFinalName);
    extracted = TExtractedFiles();
    ReleaseExtractFolder(programPath);
}

void LoadProjectSettings(TQMCProject& project, const std::string& programPath,
                         const std::string& folder) {
    const std::string settings = folder + kProjectItemNames[0];
    ExtractArchive(programPath, {settings});
    try {
        project.LoadFromFile(settings);
    } catch (...) {
        DeleteFile(settings);
        throw;
    }
    DeleteFile(settings);
}

} // namespace ml
