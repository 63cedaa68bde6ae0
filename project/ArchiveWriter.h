#pragma once
// Builds the containers that the archive reader takes apart: a marker, an item count and
// sized items. An item is bytes in memory, a file streamed from disk, or a nested container,
// so that a project of many megabytes is written without being held in memory.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace ml {

// The marker as a container stores it. Built when called, so that no program file holds it
// before an archive is appended.
std::string StoredArchiveMarker();

class TArchiveItem {
public:
    static TArchiveItem Bytes(std::string bytes);
    // The file's size is taken now; EInOutError names a file that cannot be read.
    static TArchiveItem File(const std::string& path);
    static TArchiveItem Container(std::vector<TArchiveItem> items);

    // Bytes the item takes inside its container, without its size field.
    std::int64_t Size() const { return ItemSize; }
    // Raises EInOutError when a file cannot be read or changed its size since it was added.
    void WriteTo(std::ostream& out) const;

private:
    enum class TKind { Bytes, File, Container };
    TKind Kind = TKind::Bytes;
    std::string Data; // the bytes, or the file's path
    std::shared_ptr<const std::vector<TArchiveItem>> Items;
    std::int64_t ItemSize = 0;
};

// Writes a whole container. Raises EInOutError when an item is larger than the format's
// 32-bit sizes allow, before anything is written.
void WriteArchive(std::ostream& out, const std::vector<TArchiveItem>& items);
// A container in memory, for small ones such as the settings texts.
std::string BuildArchive(const std::vector<std::string>& items);

} // namespace ml
