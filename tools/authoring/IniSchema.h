#pragma once
// The sections and keys an author writes in project.ini and in make-qmp's parameter file,
// with the kind and range of every value: one table that both checks a file (unknown names
// with a close match, values out of range) and gives the values once checked.

#include "tools/authoring/Findings.h"

#include <limits>
#include <string>
#include <vector>

namespace ml {
class TIniFile;
}

namespace ml::authoring {

enum class TValueKind {
    Integer, // decimal or hexadecimal, within Low..High
    Flag,    // 1 or 0
    Text     // anything
};

struct TKeyRule {
    static constexpr int kLowest = std::numeric_limits<int>::min();
    static constexpr int kHighest = std::numeric_limits<int>::max();

    std::string Name;
    TValueKind Kind = TValueKind::Integer;
    int Default = 0;
    int Low = kLowest;
    int High = kHighest;
    std::string Meaning; // what the numbers stand for, said after a value out of range
};

struct TSectionRule {
    std::string Name;
    std::vector<TKeyRule> Keys;
    // Keys of any name, all following AnyKey ([FileList]: one key per picture file).
    bool AnyKeys = false;
    TKeyRule AnyKey;

    const TKeyRule* Find(const std::string& key) const;
    std::vector<std::string> KeyNames() const;
};

struct TIniSchema {
    std::vector<TSectionRule> Sections;

    const TSectionRule* Find(const std::string& section) const;
    std::vector<std::string> SectionNames() const;
    // The rule of a key the table holds; a missing one is a slip in the caller.
    const TKeyRule& Rule(const std::string& section, const std::string& key) const;
};

// project.ini of a project folder.
const TIniSchema& ProjectIniSchema();
// make-qmp's parameter file: [Area1]..[Area4], [Weather], [Sound1]..[Sound8].
const TIniSchema& PictureParamsSchema();

// Every problem of the file against the table: sections and keys it does not know (with a
// close match and the known names), values of the wrong kind or out of range, and lines the
// settings reader skips without a word (no "=", an unclosed "["). `shownName` names the file
// in the findings.
TFindings CheckIniFile(const std::string& path, const std::string& shownName,
                       const TIniSchema& schema);

// The value of a key that CheckIniFile passed, or the table's default when it is absent.
int IntegerValue(const TIniFile& ini, const TIniSchema& schema, const std::string& section,
                 const std::string& key);

} // namespace ml::authoring
