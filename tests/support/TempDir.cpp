#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace ml::test {

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mltest-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a test folder");
    Folder = pattern + "/";
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
    std::string path = File(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace ml::test
