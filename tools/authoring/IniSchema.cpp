#include "tools/authoring/IniSchema.h"

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "tools/authoring/CloseMatch.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace ml::authoring {

namespace {

TKeyRule Flag(std::string name, int defaultValue) {
    return {std::move(name), TValueKind::Flag, defaultValue, 0, 1, ""};
}

TKeyRule Text(std::string name) {
    return {std::move(name), TValueKind::Text, 0, TKeyRule::kLowest, TKeyRule::kHighest, ""};
}

TKeyRule Number(std::string name, int defaultValue, int low = TKeyRule::kLowest,
                int high = TKeyRule::kHighest, std::string meaning = "") {
    return {std::move(name), TValueKind::Integer, defaultValue, low, high, std::move(meaning)};
}

TSectionRule Section(std::string name, std::vector<TKeyRule> keys) {
    TSectionRule section;
    section.Name = std::move(name);
    section.Keys = std::move(keys);
    return section;
}

TIniSchema MakeProjectIniSchema() {
    TSectionRule fileList = Section("FileList", {});
    fileList.AnyKeys = true;
    fileList.AnyKey = Flag("", 1);
    fileList.AnyKey.Meaning = "1 in the show, 0 left out";
    return {{
        Section("FileListHeader", {Text("Header")}),
        fileList,
        Section("General", {Text("ProductName"), Text("Publisher"), Text("Website")}),
        Section("Default",
                {Flag("Stretch", 1), Flag("Proportional", 0), Flag("Sound", 1), Flag("Music", 1),
                 Flag("Random", 1), Number("Duration", 30, 1, 999, "seconds per picture"),
                 Flag("Transition", 1),
                 Number("Speed", 100, 0, 500, "percent, 100 is normal speed"),
                 Number("ShowImageMode", 0, 0, 3,
                        "0 random, 1 in sequence, 2 favourites at random, 3 the selected one only"),
                 Flag("DirectX", 1),
                 Number("DirectXQuality", 1, 0, 3,
                        "working size 0 1024x768, 1 800x600, 2 640x480, 3 the screen's"),
                 Flag("Animation", 1), Flag("Zoom", 0), Flag("LivingZoom", 0),
                 Number("ZoomDuration", 5), Flag("AutoWallpaper", 0)}),
        Section("Advance", {Text("PreviewFile"), Text("MusicFile"), Number("MusicMode", 0)}),
        Section("Build", {Number("BuildMethod", 1), Text("BuildFileName"),
                          Flag("BuildSmallThumbs", 1), Text("BuildIcon"), Text("BuildInstall")}),
        Section("UI", {Text("UIFile")}),
    }};
}

TIniSchema MakePictureParamsSchema() {
    TIniSchema schema;
    for (int area = 1; area <= 4; ++area)
        schema.Sections.push_back(Section(
            "Area" + std::to_string(area),
            {Number("Amplitude", 0, 0, TKeyRule::kHighest, "pixels of the stored picture"),
             Number("WaveCount", 0), Number("PhaseStep", 0),
             Number("Direction", 0, 0, 1, "0 one way, 1 the other"), Flag("Horizontal", 0),
             Flag("Vertical", 0), Flag("Perspective", 0),
             // A zero period would stop the water, so an unset one gives the usual full circle.
             Number("Period", 360, 1, TKeyRule::kHighest, "degrees"),
             Number("JitterRange", 0, 0, TKeyRule::kHighest, "pixels of the stored picture")}));
    // SpeedIndex 10 is the table's 100 %: weather falls at its normal pace unless the
    // author asks for another.
    schema.Sections.push_back(Section(
        "Weather", {Number("Kind", 0, 0, 2, "0 none, 1 snow, 2 rain"),
                    Number("Count", 0, 0, 1000, "the show draws at most 1000 flakes or drops"),
                    Number("SpeedIndex", 10, 0, 20, "a position in the speed table, 10 is 100 %"),
                    Number("Angle", 0), Number("Length", 0, 0, TKeyRule::kHighest, "tenths")}));
    for (int slot = 1; slot <= 8; ++slot)
        schema.Sections.push_back(
            Section("Sound" + std::to_string(slot),
                    {Text("Path"),
                     Number("Mode", 0, 0, 2,
                            "0 loop, 1 once at random intervals, 2 once every MinSeconds seconds"),
                     Number("MinSeconds", 0, 0), Number("MaxSeconds", 0, 0)}));
    return schema;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// "[General], [Area1]..[Area4], [Weather]": numbered sections in a row are written as a range.
std::string SectionList(const std::vector<std::string>& names) {
    auto stem = [](const std::string& name) {
        return name.substr(0, name.find_last_not_of("0123456789") + 1);
    };
    std::string text;
    for (std::size_t i = 0; i < names.size();) {
        std::size_t last = i;
        while (last + 1 < names.size() && stem(names[last + 1]) == stem(names[i]) &&
               stem(names[i]) != names[i])
            ++last;
        text += (text.empty() ? "[" : ", [") + names[i] + "]";
        if (last > i)
            text += "..[" + names[last] + "]";
        i = last + 1;
    }
    return text;
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& known,
                       bool sections = false) {
    auto match = CloseMatch(word, known);
    if (!match)
        return "";
    return " — did you mean " + (sections ? "[" + *match + "]" : *match) + "?";
}

// One line of the file as the settings reader takes it. The reader itself only answers for
// values; the checks also need what it passes over in silence: lines that are no setting,
// repeated sections and keys, and where each one is.
struct TLine {
    enum class TKind { Blank, Comment, Section, Entry, Stray } Kind = TKind::Blank;
    int Number = 0;
    std::string Name; // section or key
    std::string Text; // the line, trimmed
};

std::vector<TLine> ScanLines(const std::string& path, bool& readable) {
    std::ifstream in(path, std::ios::binary);
    readable = static_cast<bool>(in);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    std::vector<TLine> lines;
    int number = 0;
    for (const std::string& raw : SplitLines(text)) {
        TLine line{TLine::TKind::Blank, ++number, "", Trim(raw)};
        const std::size_t close = line.Text.find(']');
        const std::size_t equals = line.Text.find('=');
        if (line.Text.empty())
            line.Kind = TLine::TKind::Blank;
        else if (line.Text[0] == ';')
            line.Kind = TLine::TKind::Comment;
        else if (line.Text[0] == '[' && close != std::string::npos && line.Text.size() >= 2) {
            line.Kind = TLine::TKind::Section;
            line.Name = Trim(line.Text.substr(1, close - 1));
        } else if (equals != std::string::npos && equals > 0) {
            line.Kind = TLine::TKind::Entry;
            line.Name = Trim(line.Text.substr(0, equals));
        } else {
            line.Kind = TLine::TKind::Stray;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string LineWhere(const TLine& line, const std::string& detail = "") {
    return "line " + std::to_string(line.Number) + (detail.empty() ? "" : ", " + detail);
}

std::string RangeText(const TKeyRule& rule) {
    std::string range;
    if (rule.Low != TKeyRule::kLowest && rule.High != TKeyRule::kHighest)
        range = "a number from " + std::to_string(rule.Low) + " to " + std::to_string(rule.High);
    else if (rule.Low != TKeyRule::kLowest)
        range = "a number of " + std::to_string(rule.Low) + " or more";
    else
        range = "a whole number";
    return rule.Meaning.empty() ? range : range + " (" + rule.Meaning + ")";
}

// The value problem of one key, or "" when the value is fine.
std::string ValueProblem(const TKeyRule& rule, const std::string& value) {
    if (rule.Kind == TValueKind::Text)
        return "";
    const auto number = ParseInteger(value);
    const bool fits = number && *number >= rule.Low && *number <= rule.High;
    if (fits)
        return "";
    std::string problem = "'" + value + "' is not ";
    problem += rule.Kind == TValueKind::Flag
                   ? "1 or 0" + (rule.Meaning.empty() ? std::string() : " (" + rule.Meaning + ")")
                   : RangeText(rule);
    if (value.find(';') != std::string::npos)
        problem += "; a comment takes a line of its own";
    else if (value.empty())
        problem += "; leave the line out to keep the default";
    return problem;
}

void CheckValue(TFindings& findings, const std::string& file, const TIniFile& ini,
                const std::string& section, const TLine& line, const TKeyRule& rule) {
    const std::string value = ini.ReadString(section, line.Name, "");
    const std::string problem = ValueProblem(rule, value);
    if (!problem.empty())
        findings.push_back(Error(file, LineWhere(line, "[" + section + "] " + line.Name), problem));
}

} // namespace

const TKeyRule* TSectionRule::Find(const std::string& key) const {
    for (const auto& rule : Keys)
        if (SameText(rule.Name, key))
            return &rule;
    return AnyKeys ? &AnyKey : nullptr;
}

std::vector<std::string> TSectionRule::KeyNames() const {
    std::vector<std::string> names;
    for (const auto& rule : Keys)
        names.push_back(rule.Name);
    return names;
}

const TSectionRule* TIniSchema::Find(const std::string& section) const {
    for (const auto& rule : Sections)
        if (SameText(rule.Name, section))
            return &rule;
    return nullptr;
}

std::vector<std::string> TIniSchema::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& rule : Sections)
        names.push_back(rule.Name);
    return names;
}

const TKeyRule& TIniSchema::Rule(const std::string& section, const std::string& key) const {
    const TSectionRule* s = Find(section);
    const TKeyRule* k = s ? s->Find(key) : nullptr;
    if (!k)
        throw std::logic_error("no rule for [" + section + "] " + key);
    return *k;
}

const TIniSchema& ProjectIniSchema() {
    static const TIniSchema schema = MakeProjectIniSchema();
    return schema;
}

const TIniSchema& PictureParamsSchema() {
    static const TIniSchema schema = MakePictureParamsSchema();
    return schema;
}

TFindings CheckIniFile(const std::string& path, const std::string& shownName,
                       const TIniSchema& schema) {
    TFindings findings;
    bool readable = false;
    const std::vector<TLine> lines = ScanLines(path, readable);
    if (!readable)
        return {Error(shownName, "", "cannot be read")};
    const TIniFile ini(path);

    std::map<std::string, int> sectionSeen; // upper-cased name -> line of its first header
    const TSectionRule* rule = nullptr;
    std::string section; // the section the current lines belong to
    bool inSection = false;
    bool firstCopy = true; // lines under a repeated header are never read
    std::map<std::string, int> keySeen;
    for (const TLine& line : lines) {
        switch (line.Kind) {
        case TLine::TKind::Blank:
        case TLine::TKind::Comment:
            break;
        case TLine::TKind::Stray:
            findings.push_back(Error(shownName, LineWhere(line),
                                     "'" + line.Text + "' is not a setting and is ignored",
                                     "Write KEY=VALUE, [SECTION], or a comment starting with ;"));
            break;
        case TLine::TKind::Section: {
            section = line.Name;
            inSection = true;
            keySeen.clear();
            rule = schema.Find(section);
            auto [at, fresh] = sectionSeen.emplace(UpperCase(section), line.Number);
            firstCopy = fresh;
            if (!fresh)
                findings.push_back(Error(shownName, LineWhere(line, "[" + section + "]"),
                                         "the section appears again (first on line " +
                                             std::to_string(at->second) +
                                             "); only the first is read",
                                         "Put all its keys under one [" + section + "]"));
            else if (!rule)
                findings.push_back(Error(shownName, LineWhere(line),
                                         "[" + section + "] is not a known section" +
                                             DidYouMean(section, schema.SectionNames(), true),
                                         "The sections are " + SectionList(schema.SectionNames())));
            break;
        }
        case TLine::TKind::Entry: {
            if (!inSection) {
                findings.push_back(Error(shownName, LineWhere(line),
                                         line.Name + " comes before any [section] and is ignored",
                                         "Move it under its section"));
                break;
            }
            if (!rule || !firstCopy)
                break; // already reported with its section
            const TKeyRule* key = rule->Find(line.Name);
            if (!key) {
                findings.push_back(Error(
                    shownName, LineWhere(line, "[" + section + "]"),
                    line.Name + " is not a known key" + DidYouMean(line.Name, rule->KeyNames()),
                    "The keys of [" + rule->Name + "] are " + Joined(rule->KeyNames())));
                break;
            }
            auto [at, fresh] = keySeen.emplace(UpperCase(line.Name), line.Number);
            if (!fresh) {
                findings.push_back(
                    Error(shownName, LineWhere(line, "[" + section + "] " + line.Name),
                          "the key appears again (first on line " + std::to_string(at->second) +
                              "); only the first is read",
                          "Keep one of them"));
                break;
            }
            CheckValue(findings, shownName, ini, section, line, *key);
            break;
        }
        }
    }
    return findings;
}

int IntegerValue(const TIniFile& ini, const TIniSchema& schema, const std::string& section,
                 const std::string& key) {
    const TKeyRule& rule = schema.Rule(section, key);
    return ini.ReadInteger(section, key, rule.Default);
}

} // namespace ml::authoring
