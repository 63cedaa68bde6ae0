#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <string>

namespace ml::test {

class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // The folder, ending with "/".
    const std::string& Path() const { return Folder; }
    std::string File(const std::string& name) const { return Folder + name; }
    // Writes bytes to a file in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string Folder;
};

} // namespace ml::test
