#pragma once
// INI-style settings files, read and written the way the program's stored files expect:
// section and key names match without regard to case, values are trimmed and cut to 2047
// characters, the first of two equal sections or keys wins, key names are listed in file
// order, and lines end in CR LF. Every call reads the file afresh, so a file changed by
// another writer is always seen as it is now.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ml {

// Decimal, or hexadecimal after "$", "0x" or "0X", with an optional sign; a value outside
// 32 bits or any other text gives nothing. Hexadecimal takes all 32 bits ("$FFFFFFFF" is -1).
std::optional<int> ParseInteger(const std::string& text);

class TIniFile {
public:
    static constexpr std::size_t kMaxValueLength = 2047;
    static constexpr std::size_t kMaxKeyListLength = 16384;

    explicit TIniFile(std::string fileName) : FileName(std::move(fileName)) {}

    const std::string& Path() const { return FileName; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // An absent key or a value that is not an integer gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // Booleans are stored as integers: 0 is false, any other number true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // Key names of the section in file order, as many as fit in kMaxKeyListLength characters
    // counting one terminator per name.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // The names of ReadSection, each with the value ReadString would give for it (the first
    // of equal keys), from one reading of the file: a section of any size costs one pass.
    std::vector<std::pair<std::string, std::string>>
    ReadSectionValues(const std::string& section) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    // Writes create the file and the section when they are missing. They report false when
    // the file cannot be written, or when a name or value would not read back as written
    // (a line break anywhere, "]" in a section name, "=" in a key, an empty key); callers
    // that must stay silent ignore it.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInteger(const std::string& section, const std::string& key, int value);
    bool WriteBool(const std::string& section, const std::string& key, bool value);
    bool EraseSection(const std::string& section);

private:
    std::string FileName;
};

} // namespace ml
