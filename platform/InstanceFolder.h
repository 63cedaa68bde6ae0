#pragma once
// The scratch folder one running instance of a saver holds for itself. Screen-saver daemons
// start one process per screen, and a configuration window may open while the show runs, so
// instances of the same saver live side by side; each extracts into a folder of its own
// (NAME/, or NAME-2/, NAME-3/ ... while live instances hold the earlier ones) and holds it
// with a lock that the system drops when the process ends, however it ends.

#include <string>

namespace ml {

class TInstanceFolder {
public:
    // Takes the first free folder root + base (+ "-N") + "/". The folder is made for this user
    // alone: created with mode 0700, an existing one only accepted when it is a real folder
    // owned by this user (its mode is set back to 0700) that holds our lock file or nothing at
    // all. Whatever a dead instance left in it is deleted, and so are the other NAME-N folders
    // that no live instance holds. Raises EInOutError naming the folder when it is refused.
    TInstanceFolder(const std::string& root, const std::string& base);
    ~TInstanceFolder();
    TInstanceFolder(const TInstanceFolder&) = delete;
    TInstanceFolder& operator=(const TInstanceFolder&) = delete;

    // The folder, ending with "/".
    const std::string& Path() const { return FolderPath; }
    // True when this instance holds NAME/ itself: no other instance of the saver was running
    // when it started.
    bool IsFirst() const { return First; }
    // Removes the folder when nothing but the lock is left in it, and lets it go. Files that
    // are still there keep the folder (and the lock file, so that the next instance may clean
    // it). Nothing is left held either way.
    void Release();

    // The lock file's name; every folder we made holds one.
    static constexpr const char* kLockName = ".mirrorlake-instance";

private:
    bool TryTake(const std::string& path);

    std::string FolderPath;
    int FolderFd = -1;
    int LockFd = -1;
    bool First = false;
};

} // namespace ml
