#include "project/ArchiveWriter.h"

#include "platform/Exceptions.h"
#include "project/Archive.h"

#include <fstream>
#include <limits>
#include <sstream>
#include <sys/stat.h>

namespace ml {

namespace {

constexpr std::int64_t kMaxItemSize = std::numeric_limits<std::int32_t>::max();

void WriteInt32(std::ostream& out, std::int64_t value) {
    auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8 & 0xFF),
                     static_cast<char>(bits >> 16 & 0xFF), static_cast<char>(bits >> 24 & 0xFF)};
    out.write(bytes, sizeof bytes);
}

std::int64_t ContainerSize(const std::vector<TArchiveItem>& items) {
    std::int64_t size = static_cast<std::int64_t>(kArchiveMarkerLength) + 4;
    for (const auto& item : items)
        size += 4 + item.Size();
    return size;
}

void CheckSize(std::int64_t size, const std::string& what) {
    if (size > kMaxItemSize)
        throw EInOutError(what + " is too large for an archive item (" + std::to_string(size) +
                          " bytes, at most " + std::to_string(kMaxItemSize) + ")");
}

} // namespace

std::string StoredArchiveMarker() {
    // Read through a volatile so that the compiler cannot fold the shifted text into a
    // constant of the program.
    static volatile unsigned char shift = 1;
    std::string marker(kArchiveMarker, kArchiveMarkerLength);
    for (char& c : marker)
        c = static_cast<char>(static_cast<unsigned char>(c) + shift);
    return marker;
}

TArchiveItem TArchiveItem::Bytes(std::string bytes) {
    TArchiveItem item;
    item.Kind = TKind::Bytes;
    item.ItemSize = static_cast<std::int64_t>(bytes.size());
    item.Data = std::move(bytes);
    CheckSize(item.ItemSize, "A text item");
    return item;
}

TArchiveItem TArchiveItem::File(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EInOutError("Cannot read " + path + ": no such file");
    TArchiveItem item;
    item.Kind = TKind::File;
    item.Data = path;
    item.ItemSize = st.st_size;
    CheckSize(item.ItemSize, path);
    return item;
}

TArchiveItem TArchiveItem::Container(std::vector<TArchiveItem> items) {
    TArchiveItem item;
    item.Kind = TKind::Container;
    item.ItemSize = ContainerSize(items);
    item.Items = std::make_shared<const std::vector<TArchiveItem>>(std::move(items));
    CheckSize(item.ItemSize, "A nested container");
    return item;
}

void TArchiveItem::WriteTo(std::ostream& out) const {
    switch (Kind) {
    case TKind::Bytes:
        out.write(Data.data(), static_cast<std::streamsize>(Data.size()));
        return;
    case TKind::Container:
        WriteArchive(out, *Items);
        return;
    case TKind::File:
        break;
    }
    std::ifstream in(Data, std::ios::binary);
    if (!in)
        throw EInOutError("Cannot read " + Data);
    char buffer[64 * 1024];
    std::int64_t remaining = ItemSize;
    while (remaining > 0) {
        auto want = static_cast<std::streamsize>(
            std::min<std::int64_t>(remaining, static_cast<std::int64_t>(sizeof buffer)));
        in.read(buffer, want);
        std::streamsize got = in.gcount();
        if (got <= 0)
            break;
        out.write(buffer, got);
        remaining -= got;
    }
    // The size is already written in front of the item: a file that changed meanwhile
    // would leave a container whose items no longer line up.
    if (remaining != 0 || in.peek() != std::char_traits<char>::eof())
        throw EInOutError(Data + " changed while it was being packed");
}

void WriteArchive(std::ostream& out, const std::vector<TArchiveItem>& items) {
    CheckSize(ContainerSize(items), "The archive");
    out << StoredArchiveMarker();
    WriteInt32(out, static_cast<std::int64_t>(items.size()));
    for (const auto& item : items) {
        WriteInt32(out, item.Size());
        item.WriteTo(out);
    }
}

std::string BuildArchive(const std::vector<std::string>& items) {
    std::vector<TArchiveItem> list;
    for (const auto& bytes : items)
        list.push_back(TArchiveItem::Bytes(bytes));
    std::ostringstream out;
    WriteArchive(out, list);
    return out.str();
}

} // namespace ml
