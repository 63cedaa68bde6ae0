#include "tools/authoring/PackPlan.h"

#include "demo/DefaultInterface.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "project/Archive.h"
#include "project/ArchiveWriter.h"
#include "project/QMCProject.h"
#include "tools/authoring/IniSchema.h"
#include "tools/authoring/InterfaceCheck.h"
#include "tools/authoring/PictureChecks.h"
#include "tools/authoring/PictureKind.h"
#include "tools/authoring/PictureSound.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace ml::authoring {

namespace {

const char* const kCrLf = "\r\n";

// Names the extraction folder already uses for the archive's own items; a project file of
// that name would overwrite one of them while it is being read.
const std::vector<std::string> kReservedNames = {"QMC.res", "QMFilenames.res", "QMFiles.res",
                                                 "QMGUI.wui", "QMFinal.res"};

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

// Gathers the files and findings of one project folder.
class TPlanner {
public:
    explicit TPlanner(std::string dir)
        : Dir(std::move(dir)), IniPath(Dir + "project.ini"), Ini(IniPath) {}

    TPackPlan Plan() {
        if (!FileExists(IniPath)) {
            Result.Findings.push_back(
                Error(Dir, "", "the folder holds no project.ini",
                      "Start a project with mirrorlake-tool new DIR PICTURE..., or write "
                      "project.ini as README.md shows"));
            return std::move(Result);
        }
        Append(Result.Findings, CheckIniFile(IniPath, IniPath, ProjectIniSchema()));
        AddPictures();
        AddPreview();
        AddMusic();
        CheckNames();
        Result.SettingsTexts = SettingsTexts();
        AddInterface();
        return std::move(Result);
    }

private:
    std::string Shown(const std::string& entry) const {
        return !entry.empty() && entry[0] == '/' ? entry : Dir + entry;
    }

    void Add(const std::string& entry, std::optional<std::string> bytes = std::nullopt) {
        const bool known = std::any_of(Result.Files.begin(), Result.Files.end(),
                                       [&](const TPackFile& f) { return f.Entry == entry; });
        if (!known)
            Result.Files.push_back(
                {ResolveInFolder(Dir, entry), SafeItemName(entry), entry, std::move(bytes)});
    }

    void AddPictures() {
        const std::vector<std::string> pictures = Ini.ReadSection("FileList");
        if (pictures.empty())
            Result.Findings.push_back(Error(
                IniPath, "[FileList]",
                "names no picture, so the show would only say \"No image found in Images List.\"",
                "Add one line per picture, such as lake.qmp=1"));
        for (const auto& entry : pictures) {
            const std::string where = "[FileList] " + entry;
            const std::string source = ResolveInFolder(Dir, entry);
            Append(Result.Findings, CheckShowPicture(source, Shown(entry), where));
            if (ParseInteger(Ini.ReadString("FileList", entry, "")) == 0)
                Result.Findings.push_back(Warning(IniPath, where,
                                                  "the show plays every picture [FileList] names, "
                                                  "whatever its value",
                                                  "Remove the line to leave the picture out"));
            Add(entry);
            if (KindTheShowExpects(entry) == TPictureKind::PictureFile)
                AddSounds(source, entry);
        }
    }

    void AddSounds(const std::string& picture, const std::string& pictureEntry) {
        for (const auto& sound :
             FindPictureSounds(Dir, picture, Shown(pictureEntry), Result.Findings)) {
            const std::optional<std::string> bytes = ReadFile(sound.Source);
            const std::string where = "played by " + pictureEntry;
            if (!bytes) {
                Result.Findings.push_back(Error(Shown(sound.Entry), where, "cannot be read"));
                continue;
            }
            TPictureSoundCheck check = CheckPictureSound(*bytes);
            switch (check.Verdict) {
            case TSoundVerdict::Refused:
                Result.Findings.push_back(
                    Error(Shown(sound.Entry), where,
                          "it is " + check.Description + "; the show plays " + kPlayableSounds,
                          "Convert it, for example with: sox IN -b 16 OUT.wav, and name the "
                          ".wav in the picture's parameter file"));
                break;
            case TSoundVerdict::Converted:
                Result.Findings.push_back(
                    Note(Shown(sound.Entry), where,
                         "it is " + check.Description + "; the saver carries it as 16-bit PCM"));
                Add(sound.Entry, std::move(check.Bytes));
                break;
            case TSoundVerdict::Playable:
                Add(sound.Entry);
                break;
            }
        }
    }

    void AddPreview() {
        const std::string preview = Ini.ReadString("Advance", "PreviewFile", "");
        if (preview.empty())
            return;
        Append(Result.Findings, CheckPreviewPicture(ResolveInFolder(Dir, preview), Shown(preview),
                                                    "[Advance] PreviewFile"));
        Add(preview);
    }

    void AddMusic() {
        for (const auto& music : SplitMusic(Ini.ReadString("Advance", "MusicFile", ""))) {
            if (!FileExists(ResolveInFolder(Dir, music)))
                Result.Findings.push_back(Error(Shown(music), "[Advance] MusicFile",
                                                "the file does not exist",
                                                "Put it in the project folder or correct the "
                                                "name"));
            Add(music);
        }
    }

    // Inside the saver every file lies under its bare name in one folder.
    void CheckNames() {
        std::map<std::string, std::string> byName;
        for (const auto& file : Result.Files) {
            if (file.Name.empty()) {
                Result.Findings.push_back(Error(IniPath, file.Entry, "names no file"));
                continue;
            }
            if (std::find(kReservedNames.begin(), kReservedNames.end(), file.Name) !=
                kReservedNames.end())
                Result.Findings.push_back(
                    Error(Shown(file.Entry), "",
                          "the name " + file.Name + " is kept for the archive's own items",
                          "Rename the file"));
            auto [it, fresh] = byName.emplace(file.Name, file.Entry);
            if (!fresh)
                Result.Findings.push_back(
                    Error(Shown(file.Entry), "",
                          "it and " + it->second + " would both be stored as " + file.Name,
                          "Rename one of them"));
        }
    }

    // One section of project.ini as CR LF lines, first value of each key; rewrite may
    // change a value (file references become the bare names they are extracted under).
    std::string
    SectionText(const std::string& section,
                const std::function<std::string(const std::string&, const std::string&)>& rewrite =
                    nullptr) const {
        std::string text = "[" + section + "]" + kCrLf;
        std::vector<std::string> seen;
        for (const auto& key : Ini.ReadSection(section)) {
            if (std::any_of(seen.begin(), seen.end(),
                            [&](const std::string& s) { return SameText(s, key); }))
                continue;
            seen.push_back(key);
            std::string value = Ini.ReadString(section, key, "");
            text += key + "=" + (rewrite ? rewrite(key, value) : value) + kCrLf;
        }
        return text;
    }

    std::vector<std::string> SettingsTexts() const {
        std::string list = "[FileListHeader]" + std::string(kCrLf) +
                           "Header=" + Ini.ReadString("FileListHeader", "Header", "Mirrorlake") +
                           kCrLf + "[FileList]" + kCrLf;
        std::vector<std::string> seen;
        for (const auto& key : Ini.ReadSection("FileList")) {
            if (std::find(seen.begin(), seen.end(), key) != seen.end())
                continue;
            seen.push_back(key);
            const bool included = ParseInteger(Ini.ReadString("FileList", key, "")).value_or(1);
            list += SafeItemName(key) + "=" + (included ? "1" : "0") + kCrLf;
        }
        auto bareReferences = [](const std::string& key, const std::string& value) {
            if (SameText(key, "PreviewFile"))
                return SafeItemName(value);
            if (SameText(key, "MusicFile")) {
                std::string names;
                for (const auto& music : SplitMusic(value))
                    names += SafeItemName(music) + ";";
                return names;
            }
            return value;
        };
        std::string settings = SectionText("General") + SectionText("Default") +
                               SectionText("Advance", bareReferences) + SectionText("Build");
        // The description always travels as "QMGUI.wui", which is also what an unpacked
        // project holds, so that the same folder packs again.
        const std::string ui = "[UI]" + std::string(kCrLf) + "UIFile=QMGUI.wui" + kCrLf;
        return {list, settings, ui};
    }

    // The project's own description when it names or holds one, else the default window.
    void AddInterface() {
        const std::string named = Ini.ReadString("UI", "UIFile", "");
        std::string source = named.empty() ? Dir + "ui.wui" : ResolveInFolder(Dir, named);
        if (!named.empty() && !FileExists(source)) {
            Result.Findings.push_back(Error(IniPath, "[UI] UIFile",
                                            "names " + source + ", which does not exist",
                                            "Correct the name, or remove the line to get the "
                                            "default window"));
            return;
        }
        if (!FileExists(source)) {
            Result.Interface = DefaultInterfaceDescription();
            return;
        }
        std::optional<std::string> text = ReadFile(source);
        if (!text) {
            Result.Findings.push_back(Error(source, "", "cannot be read"));
            return;
        }
        Result.Interface = std::move(*text);
        Result.InterfaceSource = source;
        TQMCProject texts;
        texts.Setting.LoadFromFile(IniPath);
        Append(Result.Findings, CheckInterfaceDescription(Result.Interface, source, texts));
    }

    std::string Dir;
    std::string IniPath;
    TIniFile Ini;
    TPackPlan Result;
};

} // namespace

std::vector<std::string> SplitMusic(const std::string& value) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(';', start);
        if (end == std::string::npos)
            end = value.size();
        if (std::string name = Trim(value.substr(start, end - start)); !name.empty())
            names.push_back(name);
        start = end + 1;
    }
    return names;
}

std::string ResolveInFolder(const std::string& dir, std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return !name.empty() && name[0] == '/' ? name : dir + name;
}

TPackPlan PlanPack(const std::string& dir) {
    return TPlanner(IncludeTrailingSeparator(dir)).Plan();
}

std::vector<TArchiveItem> ArchiveItems(const TPackPlan& plan) {
    std::string fileNames;
    std::vector<TArchiveItem> fileItems;
    for (const auto& file : plan.Files) {
        fileNames += file.Name + kCrLf;
        fileItems.push_back(file.Bytes ? TArchiveItem::Bytes(*file.Bytes)
                                       : TArchiveItem::File(file.Source));
    }
    std::vector<TArchiveItem> settings;
    for (const auto& text : plan.SettingsTexts)
        settings.push_back(TArchiveItem::Bytes(text));
    return {TArchiveItem::Container(std::move(settings)), TArchiveItem::Bytes(fileNames),
            TArchiveItem::Container(std::move(fileItems)), TArchiveItem::Bytes(plan.Interface)};
}

} // namespace ml::authoring
