// mirrorlake-tool pack: builds the project archive from a project folder and appends it to a
// copy of the saver program.

#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "project/Archive.h"
#include "project/ArchiveWriter.h"
#include "tools/Command.h"
#include "tools/DescribePictureFile.h"
#include "tools/Options.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace ml::tool {
namespace {

const char* const kCrLf = "\r\n";

// Names the extraction folder already uses for the archive's own items; a project file of
// that name would overwrite one of them while it is being read.
const std::vector<std::string> kReservedNames = {"QMC.res", "QMFilenames.res", "QMFiles.res",
                                                 "QMGUI.wui", "QMFinal.res"};

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

// Every file the project uses, as project.ini names it: the pictures of [FileList], the
// preview picture, each music file and the sounds its picture files play. Names are
// relative to the project folder unless absolute. This is the one place that decides what
// goes into "QMFiles.res".
std::vector<std::string> ProjectFileNames(const std::string& dir) {
    TIniFile ini(dir + "project.ini");
    std::vector<std::string> names = ini.ReadSection("FileList");
    if (std::string preview = ini.ReadString("Advance", "PreviewFile", ""); !preview.empty())
        names.push_back(preview);
    for (const auto& music : SplitMusic(ini.ReadString("Advance", "MusicFile", "")))
        names.push_back(music);
    // Picture files name their sounds inside; those the folder holds travel with the project.
    for (const auto& name : std::vector<std::string>(names))
        if (UpperCase(ExtractFileExt(name)) == ".QMP" && FileExists(ResolveInFolder(dir, name)))
            for (const auto& sound : PictureSoundsToPack(dir, ResolveInFolder(dir, name)))
                names.push_back(sound);
    std::vector<std::string> unique;
    for (const auto& name : names)
        if (std::find(unique.begin(), unique.end(), name) == unique.end())
            unique.push_back(name);
    return unique;
}

// A project file on disk and the bare name it is stored and extracted under.
struct TProjectFile {
    std::string Source;
    std::string Name;
};

std::vector<TProjectFile> CollectFiles(const std::string& dir) {
    std::vector<TProjectFile> files;
    std::map<std::string, std::string> byName;
    for (const auto& entry : ProjectFileNames(dir)) {
        TProjectFile file{ResolveInFolder(dir, entry), SafeItemName(entry)};
        if (file.Name.empty())
            throw TUsageError{"project.ini names a file '" + entry + "' without a file name"};
        if (std::find(kReservedNames.begin(), kReservedNames.end(), file.Name) !=
            kReservedNames.end())
            throw TUsageError{"project file name " + file.Name +
                              " is reserved for the archive's own items"};
        if (!FileExists(file.Source))
            throw TUsageError{"missing project file " + file.Source + " (named in project.ini)"};
        auto [it, fresh] = byName.emplace(file.Name, entry);
        if (!fresh)
            throw TUsageError{"'" + entry + "' and '" + it->second +
                              "' would both be extracted as " + file.Name};
        files.push_back(file);
    }
    return files;
}

// One section of project.ini as CR LF lines, first value of each key; rewrite may change
// a value (file references become the bare names they are extracted under).
std::string SectionText(
    const TIniFile& ini, const std::string& section,
    const std::function<std::string(const std::string&, const std::string&)>& rewrite = nullptr) {
    std::string text = "[" + section + "]" + kCrLf;
    std::vector<std::string> seen;
    for (const auto& key : ini.ReadSection(section)) {
        if (std::any_of(seen.begin(), seen.end(),
                        [&](const std::string& s) { return SameText(s, key); }))
            continue;
        seen.push_back(key);
        std::string value = ini.ReadString(section, key, "");
        text += key + "=" + (rewrite ? rewrite(key, value) : value) + kCrLf;
    }
    return text;
}

// The three settings texts of "QMC.res".
std::vector<std::string> SettingsTexts(const std::string& dir) {
    TIniFile ini(dir + "project.ini");
    std::string list = "[FileListHeader]" + std::string(kCrLf) +
                       "Header=" + ini.ReadString("FileListHeader", "Header", "Mirrorlake") +
                       kCrLf + "[FileList]" + kCrLf;
    std::vector<std::string> seen;
    for (const auto& key : ini.ReadSection("FileList")) {
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
        seen.push_back(key);
        // The player reads a word such as TRUE as "not in the show"; say so now instead.
        std::string value = ini.ReadString("FileList", key, "");
        auto flag = ParseInteger(value);
        if (!flag)
            throw TUsageError{"[FileList] " + key + "=" + value + ": use 1 (in the show) or 0"};
        list += SafeItemName(key) + "=" + (*flag ? "1" : "0") + kCrLf;
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
    std::string settings = SectionText(ini, "General") + SectionText(ini, "Default") +
                           SectionText(ini, "Advance", bareReferences) + SectionText(ini, "Build");
    return {list, settings, SectionText(ini, "UI")};
}

// The mirrorlake program built or installed beside this tool.
std::string DefaultSaver() {
    std::string here = ExtractFilePath(ModuleFileName());
    for (const std::string& candidate : {here + "mirrorlake", here + "../startup/mirrorlake"})
        if (FileExists(candidate))
            return candidate;
    throw TUsageError{"no mirrorlake program found beside this tool; name one with --saver"};
}

// Copies the saver and appends the archive through a temporary file beside the output, so
// that a failure leaves no half-written saver; the copy keeps the saver's permissions.
void WriteSaver(const std::string& saver, const std::vector<TArchiveItem>& items,
                const std::string& output) {
    struct stat saverStat;
    if (stat(saver.c_str(), &saverStat) != 0)
        throw TUsageError{"cannot read the saver program " + saver};
    std::string temporary = output + ".part-XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        throw EInOutError("cannot write " + output);
    close(fd);
    try {
        {
            std::ifstream in(saver, std::ios::binary);
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!in || !out)
                throw EInOutError("cannot copy " + saver + " to " + output);
            out << in.rdbuf();
            WriteArchive(out, items);
            if (!out.flush())
                throw EInOutError("cannot write " + output);
        }
        if (chmod(temporary.c_str(), saverStat.st_mode & 07777) != 0 ||
            std::rename(temporary.c_str(), output.c_str()) != 0)
            throw EInOutError("cannot write " + output);
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
}

int Pack(const TArgs& args) {
    TOptions options(args, {"-o", "--saver"});
    options.ExpectPositional(1, "one project folder");
    std::string dir = IncludeTrailingSeparator(options.Positional()[0]);
    std::string output = options.Required("-o");
    if (!FileExists(dir + "project.ini"))
        throw TUsageError{"no project.ini in " + dir};
    std::string saver = options.Value("--saver").value_or("");
    if (saver.empty())
        saver = DefaultSaver();
    if (!FileExists(saver))
        throw TUsageError{"no saver program " + saver};
    if (FindArchive(saver).Found)
        throw TUsageError{saver + " already carries a project; pack onto a plain mirrorlake"};

    std::vector<TProjectFile> files = CollectFiles(dir);
    std::string fileNames;
    std::vector<TArchiveItem> fileItems;
    for (const auto& file : files) {
        fileNames += file.Name + kCrLf;
        fileItems.push_back(TArchiveItem::File(file.Source));
    }
    std::vector<TArchiveItem> settings;
    for (auto& text : SettingsTexts(dir))
        settings.push_back(TArchiveItem::Bytes(std::move(text)));
    std::string ui = dir + "ui.wui";
    std::vector<TArchiveItem> items = {
        TArchiveItem::Container(std::move(settings)), TArchiveItem::Bytes(fileNames),
        TArchiveItem::Container(std::move(fileItems)),
        // Without a description of its own the saver still needs a readable one: a collection
        // that holds no window.
        FileExists(ui) ? TArchiveItem::File(ui) : TArchiveItem::Bytes("0" + std::string(kCrLf))};
    WriteSaver(saver, items, output);

    std::printf("packed %zu file%s into %s\n", files.size(), files.size() == 1 ? "" : "s",
                output.c_str());
    return 0;
}

TCommandRegistration registration{
    {"pack", "build a saver from a project folder",
     "Usage: mirrorlake-tool pack DIR -o SAVER [--saver PATH]\n\n"
     "Builds the project archive from the folder DIR and appends it to a copy of the saver\n"
     "program (by default the mirrorlake program beside this tool), written as SAVER with\n"
     "the saver's permissions.\n\n"
     "DIR holds project.ini with the sections [FileList] (one key per picture file, value 1\n"
     "to include it in the show, 0 not), [General], [Default], [Advance], [Build] and [UI],\n"
     "the files it names ([FileList] pictures, PreviewFile and the MusicFile list, relative\n"
     "to DIR), and optionally ui.wui, the configuration window's description.",
     Pack}};

} // namespace
} // namespace ml::tool
