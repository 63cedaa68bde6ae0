#include "platform/Profile.h"

#include "platform/Strings.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace ml {

namespace {

// The file as lines, with the positions of sections and keys worked out on demand.
struct Document {
    std::vector<std::string> lines;
    bool byteOrderMark = false;

    static Document Load(const std::string& path) {
        Document doc;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return doc;
        std::ostringstream buffer;
        buffer << in.rdbuf();
        std::string text = buffer.str();
        // Editors on other systems like to start a text with a byte-order mark; it would
        // otherwise hide the first section header.
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            text.erase(0, 3);
            doc.byteOrderMark = true; // kept on a rewrite, so the text reads as it did
        }
        doc.lines = SplitLines(text);
        return doc;
    }

    bool Save(const std::string& path) const {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        if (byteOrderMark)
            out << "\xEF\xBB\xBF";
        for (const auto& line : lines)
            out << line << "\r\n";
        return static_cast<bool>(out.flush());
    }

    static std::optional<std::string> SectionName(const std::string& line) {
        std::string t = Trim(line);
        if (t.size() < 2 || t.front() != '[')
            return std::nullopt;
        std::size_t close = t.find(']');
        if (close == std::string::npos)
            return std::nullopt;
        return Trim(t.substr(1, close - 1));
    }

    static bool IsComment(const std::string& line) {
        std::string t = Trim(line);
        return !t.empty() && t.front() == ';';
    }

    // Key and value of a "key=value" line; nothing for other lines.
    static std::optional<std::pair<std::string, std::string>> Entry(const std::string& line) {
        if (IsComment(line))
            return std::nullopt;
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        return std::make_pair(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }

    // Index of the first header of the section, or lines.size().
    std::size_t FindSection(const std::string& section) const {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (auto name = SectionName(lines[i]); name && SameText(*name, section))
                return i;
        return lines.size();
    }

    // One past the last line that belongs to the section starting at header index h.
    std::size_t SectionEnd(std::size_t h) const {
        std::size_t i = h + 1;
        while (i < lines.size() && !SectionName(lines[i]))
            ++i;
        return i;
    }

    std::size_t FindKey(std::size_t h, const std::string& key) const {
        std::size_t end = SectionEnd(h);
        for (std::size_t i = h + 1; i < end; ++i)
            if (auto e = Entry(lines[i]); e && SameText(e->first, key))
                return i;
        return lines.size();
    }

    std::optional<std::string> Value(const std::string& section, const std::string& key) const {
        std::size_t h = FindSection(section);
        if (h == lines.size())
            return std::nullopt;
        std::size_t k = FindKey(h, key);
        if (k == lines.size())
            return std::nullopt;
        return Entry(lines[k])->second;
    }
};

std::optional<int> ParseDigits(const std::string& digits, int base) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + d;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 10 && value > 0x80000000ull)
        return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

} // namespace

std::optional<int> ParseInteger(const std::string& text) {
    std::string t = text;
    std::size_t first = 0;
    while (first < t.size() && t[first] == ' ')
        ++first;
    t = t.substr(first);
    bool negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t = t.substr(1);
    }
    std::optional<int> magnitude;
    bool decimal = false;
    if (!t.empty() && t[0] == '$')
        magnitude = ParseDigits(t.substr(1), 16);
    else if (t.size() > 1 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        magnitude = ParseDigits(t.substr(2), 16);
    else {
        magnitude = ParseDigits(t, 10);
        decimal = true;
    }
    if (!magnitude)
        return std::nullopt;
    std::uint32_t bits = static_cast<std::uint32_t>(*magnitude);
    if (decimal && bits == 0x80000000u && !negative)
        return std::nullopt;
    return static_cast<int>(negative ? 0u - bits : bits);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    auto value = Document::Load(FileName).Value(section, key);
    std::string result = value ? *value : defaultValue;
    if (result.size() > kMaxValueLength)
        result.resize(kMaxValueLength);
    return result;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
    auto value = Document::Load(FileName).Value(section, key);
    if (!value)
        return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> names;
    for (auto& entry : ReadSectionValues(section))
        names.push_back(std::move(entry.first));
    return names;
}

std::vector<std::pair<std::string, std::string>>
TIniFile::ReadSectionValues(const std::string& section) const {
    Document doc = Document::Load(FileName);
    std::vector<std::pair<std::string, std::string>> entries;
    std::size_t h = doc.FindSection(section);
    if (h == doc.lines.size())
        return entries;
    const std::size_t end = doc.SectionEnd(h);
    // A key's value is its first line's, wherever a later copy of the name stands.
    std::unordered_map<std::string, std::string> firstValues;
    for (std::size_t i = h + 1; i < end; ++i)
        if (auto e = Document::Entry(doc.lines[i]))
            firstValues.try_emplace(UpperCase(e->first), e->second.substr(0, kMaxValueLength));
    std::size_t used = 0;
    for (std::size_t i = h + 1; i < end; ++i) {
        auto e = Document::Entry(doc.lines[i]);
        if (!e || e->first.empty())
            continue;
        used += e->first.size() + 1;
        if (used > kMaxKeyListLength)
            break;
        entries.emplace_back(e->first, firstValues[UpperCase(e->first)]);
    }
    return entries;
}

bool TIniFile::SectionExists(const std::string& section) const {
    Document doc = Document::Load(FileName);
    return doc.FindSection(section) != doc.lines.size();
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return Document::Load(FileName).Value(section, key).has_value();
}

bool TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    // A line break would start a new line of the file: a value could then plant keys or
    // whole sections, and a key holding "=" would read back as another key.
    auto breaksLine = [](const std::string& text) {
        return text.find_first_of("\r\n") != std::string::npos;
    };
    if (breaksLine(section) || breaksLine(key) || breaksLine(value) ||
        section.find(']') != std::string::npos || key.find('=') != std::string::npos ||
        Trim(key).empty())
        return false;
    Document doc = Document::Load(FileName);
    std::string line = key + "=" + value;
    std::size_t h = doc.FindSection(section);
    if (h == doc.lines.size()) {
        if (!doc.lines.empty() && !Trim(doc.lines.back()).empty())
            doc.lines.push_back("");
        doc.lines.push_back("[" + section + "]");
        doc.lines.push_back(line);
        return doc.Save(FileName);
    }
    std::size_t k = doc.FindKey(h, key);
    if (k != doc.lines.size()) {
        doc.lines[k] = line;
        return doc.Save(FileName);
    }
    // New keys go after the section's last non-blank line, keeping the blank separator.
    std::size_t end = doc.SectionEnd(h);
    while (end > h + 1 && Trim(doc.lines[end - 1]).empty())
        --end;
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(end), line);
    return doc.Save(FileName);
}

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::EraseSection(const std::string& section) {
    Document doc = Document::Load(FileName);
    // Every copy goes: reads take the first, so erasing only that one would bring an older
    // copy back to life.
    bool erased = false;
    for (std::size_t h = doc.FindSection(section); h != doc.lines.size();
         h = doc.FindSection(section)) {
        doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(h),
                        doc.lines.begin() + static_cast<std::ptrdiff_t>(doc.SectionEnd(h)));
        erased = true;
    }
    return !erased || doc.Save(FileName);
}

} // namespace ml
