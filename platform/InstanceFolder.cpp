#include "platform/InstanceFolder.h"

#include "platform/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ml {

namespace {

// More instances of one saver than screens anyone has: beyond this something is wrong.
constexpr int kMaxInstances = 99;
// A folder can vanish or be replaced between opening and locking it (another instance may
// be sweeping it); such a name is tried again a few times before moving on.
constexpr int kRaceRetries = 8;

class TFdGuard {
public:
    explicit TFdGuard(int fd = -1) : Fd(fd) {}
    ~TFdGuard() { Reset(); }
    TFdGuard(const TFdGuard&) = delete;
    TFdGuard& operator=(const TFdGuard&) = delete;
    int Get() const { return Fd; }
    int Take() { return std::exchange(Fd, -1); }
    void Reset(int fd = -1) {
        if (Fd >= 0)
            close(Fd);
        Fd = fd;
    }

private:
    int Fd;
};

std::string Trimmed(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// The names in an open folder, without "." and "..".
std::vector<std::string> Entries(int folderFd) {
    std::vector<std::string> names;
    const int copy = dup(folderFd);
    if (copy < 0)
        return names;
    DIR* dir = fdopendir(copy);
    if (!dir) {
        close(copy);
        return names;
    }
    rewinddir(dir);
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    closedir(dir);
    return names;
}

// Deletes everything in the folder but the lock file. Links are removed, never followed.
void Wipe(int folderFd) {
    for (const std::string& name : Entries(folderFd))
        if (name != TInstanceFolder::kLockName && unlinkat(folderFd, name.c_str(), 0) != 0)
            unlinkat(folderFd, name.c_str(), AT_REMOVEDIR);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// After the lock is ours: the path still names the folder we opened, and the folder still
// holds the lock file we locked (not one that replaced it after a sweep).
bool StillInPlace(const std::string& path, int folderFd, int lockFd) {
    struct stat byPath, folder, byName, lock;
    return lstat(path.c_str(), &byPath) == 0 && fstat(folderFd, &folder) == 0 &&
           SameFile(byPath, folder) &&
           fstatat(folderFd, TInstanceFolder::kLockName, &byName, AT_SYMLINK_NOFOLLOW) == 0 &&
           fstat(lockFd, &lock) == 0 && SameFile(byName, lock);
}

// Opens the folder without following a link and checks that it is this user's.
int OpenOwnFolder(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP || errno == ENOTDIR)
            throw EInOutError("Refusing to use " + path + ": it is not a plain folder");
        throw EInOutError(SystemError("Cannot use the folder", path));
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_uid != geteuid()) {
        close(fd);
        throw EInOutError("Refusing to use " + path + ": it belongs to another user");
    }
    return fd;
}

// Opens the folder's lock file. A folder without one is only adopted while empty: a folder
// of that name that holds other files belongs to some other program.
int OpenLock(const std::string& path, int folderFd) {
    for (;;) {
        int fd = openat(folderFd, TInstanceFolder::kLockName, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            if (!Entries(folderFd).empty())
                throw EInOutError("Refusing to use " + path +
                                  ": it holds files that are not this saver's");
            fd = openat(folderFd, TInstanceFolder::kLockName,
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0 && errno == EEXIST)
                continue; // another instance made it first: open theirs
        }
        if (fd < 0)
            throw EInOutError(SystemError("Cannot lock the folder", path));
        struct stat st;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            throw EInOutError("Refusing to use " + path + ": its lock is not a plain file");
        }
        return fd;
    }
}

// Removes a NAME-N folder that no live instance holds. Folders that are busy, not ours, or
// not made by a saver are left alone.
void SweepStale(const std::string& path) {
    TFdGuard folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (folder.Get() < 0 || fstat(folder.Get(), &st) != 0 || st.st_uid != geteuid())
        return;
    TFdGuard lock(
        openat(folder.Get(), TInstanceFolder::kLockName, O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (lock.Get() < 0 || flock(lock.Get(), LOCK_EX | LOCK_NB) != 0 ||
        !StillInPlace(path, folder.Get(), lock.Get()))
        return;
    Wipe(folder.Get());
    unlinkat(folder.Get(), TInstanceFolder::kLockName, 0);
    rmdir(path.c_str());
}

// True for base + "-" + a number of 2 or more.
bool IsNumberedName(std::string_view name, std::string_view base) {
    if (name.size() <= base.size() + 1 || name.substr(0, base.size()) != base ||
        name[base.size()] != '-')
        return false;
    const std::string_view digits = name.substr(base.size() + 1);
    if (digits.size() > 6 || digits[0] == '0')
        return false;
    for (char c : digits)
        if (c < '0' || c > '9')
            return false;
    return std::stoi(std::string(digits)) >= 2;
}

} // namespace

TInstanceFolder::TInstanceFolder(const std::string& root, const std::string& base) {
    for (int n = 1; n <= kMaxInstances; ++n) {
        const std::string path = root + base + (n == 1 ? "" : "-" + std::to_string(n));
        if (!TryTake(path))
            continue;
        FolderPath = path + "/";
        First = n == 1;
        // Folders that killed instances left behind go now, so that they do not pile up.
        TFdGuard rootFd(open(Trimmed(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (rootFd.Get() >= 0)
            for (const std::string& name : Entries(rootFd.Get()))
                if (root + name != path && IsNumberedName(name, base))
                    SweepStale(root + name);
        return;
    }
    throw EInOutError("Too many instances of " + base + " are running");
}

bool TInstanceFolder::TryTake(const std::string& path) {
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            throw EInOutError(SystemError("Cannot create the folder", path));
        TFdGuard folder(OpenOwnFolder(path));
        TFdGuard lock(OpenLock(path, folder.Get()));
        if (flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                return false; // a live instance holds it
            throw EInOutError(SystemError("Cannot lock the folder", path));
        }
        if (!StillInPlace(path, folder.Get(), lock.Get()))
            continue;
        // A folder found with looser rights (made by hand, or by an older version) is not
        // trusted as it is: only this user may look inside.
        struct stat st;
        if (fstat(folder.Get(), &st) == 0 && (st.st_mode & 07777) != 0700 &&
            fchmod(folder.Get(), 0700) != 0)
            throw EInOutError(SystemError("Cannot make private the folder", path));
        Wipe(folder.Get());
        FolderFd = folder.Take();
        LockFd = lock.Take();
        return true;
    }
    throw EInOutError("Cannot take the folder " + path + ": it keeps changing");
}

TInstanceFolder::~TInstanceFolder() {
    if (LockFd >= 0)
        close(LockFd);
    if (FolderFd >= 0)
        close(FolderFd);
}

void TInstanceFolder::Release() {
    if (FolderFd < 0)
        return;
    const std::vector<std::string> left = Entries(FolderFd);
    const std::string path = Trimmed(FolderPath);
    if (left.size() == 1 && left[0] == kLockName && StillInPlace(path, FolderFd, LockFd)) {
        unlinkat(FolderFd, kLockName, 0);
        rmdir(path.c_str());
    }
    close(LockFd);
    close(FolderFd);
    LockFd = FolderFd = -1;
}

} // namespace ml
