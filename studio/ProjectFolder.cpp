#include "studio/ProjectFolder.h"

#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "tools/authoring/IniSchema.h"
#include "tools/authoring/PackPlan.h"

#include <algorithm>
#include <filesystem>

namespace ml::studio {

namespace {

constexpr const char* kFileList = "FileList";
constexpr const char* kAdvance = "Advance";
constexpr const char* kMusicFile = "MusicFile";

std::string Lower(const std::string& text) {
    return LowerCase(text);
}

} // namespace

bool TProjectFolder::IsProjectFolder(const std::string& folder) {
    return FileExists(IncludeTrailingSeparator(folder) + kSettingsFile);
}

void TProjectFolder::Load(const std::string& folder) {
    Dir = IncludeTrailingSeparator(folder);
    Pictures.clear();
    Music.clear();
    Values.clear();
    Changed.clear();
    Dirty = false;
    const TIniFile ini(SettingsPath());
    for (const std::string& name : ini.ReadSection(kFileList))
        Pictures.push_back({name, ini.ReadInteger(kFileList, name, 1) != 0});
    for (const authoring::TSectionRule& section : authoring::ProjectIniSchema().Sections)
        for (const authoring::TKeyRule& key : section.Keys)
            if (ini.ValueExists(section.Name, key.Name))
                Values[Lower(section.Name)][Lower(key.Name)] =
                    ini.ReadString(section.Name, key.Name, "");
    Music = authoring::SplitMusic(Value(kAdvance, kMusicFile));
    AddUnlistedPictures();
}

// The pictures the show can hold by their names: picture files and the plain pictures the
// player reads. The preview picture is not offered unless it is listed already.
void TProjectFolder::AddUnlistedPictures() {
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(Dir, ignored)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = LowerCase(ExtractFileExt(name));
        if (entry.is_regular_file(ignored) &&
            (extension == ".qmp" || extension == ".jpg" || extension == ".bmp" ||
             extension == ".gif") &&
            !SameText(name, Value("Advance", "PreviewFile")))
            found.push_back(name);
    }
    std::sort(found.begin(), found.end());
    for (const std::string& name : found)
        if (std::none_of(Pictures.begin(), Pictures.end(),
                         [&](const TProjectPicture& p) { return SameText(p.Name, name); }))
            Pictures.push_back({name, false});
}

std::string TProjectFolder::Value(const std::string& section, const std::string& key) const {
    if (auto changed = Changed.find({Lower(section), Lower(key)}); changed != Changed.end())
        return changed->second;
    if (auto s = Values.find(Lower(section)); s != Values.end())
        if (auto k = s->second.find(Lower(key)); k != s->second.end())
            return k->second;
    const authoring::TKeyRule& rule = authoring::ProjectIniSchema().Rule(section, key);
    return rule.Kind == authoring::TValueKind::Text ? "" : std::to_string(rule.Default);
}

void TProjectFolder::SetValue(const std::string& section, const std::string& key,
                              const std::string& value) {
    if (Value(section, key) == value)
        return;
    Changed[{Lower(section), Lower(key)}] = value;
    Dirty = true;
}

bool TProjectFolder::AddPicture(const std::string& name) {
    auto known = std::find_if(Pictures.begin(), Pictures.end(),
                              [&](const TProjectPicture& p) { return SameText(p.Name, name); });
    if (known != Pictures.end() && known->Included)
        return false;
    if (known != Pictures.end())
        known->Included = true;
    else
        Pictures.push_back({name, true});
    Dirty = true;
    return true;
}

void TProjectFolder::Save() {
    if (!Dirty && FileExists(SettingsPath()))
        return;
    std::string music;
    for (const std::string& entry : Music)
        music += entry + ";";
    SetValue(kAdvance, kMusicFile, music);

    TIniFile ini(SettingsPath());
    // The list is written afresh, so that its order is the order the author gave.
    bool written = ini.EraseSection(kFileList);
    for (const TProjectPicture& picture : Pictures)
        if (picture.Included)
            written = ini.WriteInteger(kFileList, picture.Name, 1) && written;
    for (const auto& [where, value] : Changed) {
        const authoring::TKeyRule& rule =
            authoring::ProjectIniSchema().Rule(where.first, where.second);
        const authoring::TSectionRule* section = authoring::ProjectIniSchema().Find(where.first);
        written = ini.WriteString(section->Name, rule.Name, value) && written;
        Values[where.first][where.second] = value;
    }
    if (!written)
        throw EInOutError("Cannot write " + SettingsPath());
    Changed.clear();
    Dirty = false;
}

} // namespace ml::studio
