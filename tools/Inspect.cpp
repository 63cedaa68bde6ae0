// mirrorlake-tool inspect: tells what a file holds. The kind of file is recognised by its
// content, not its name; each kind has one describer in the table below.

#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/Archive.h"
#include "project/QMCProject.h"
#include "tools/Command.h"
#include "tools/DescribePictureFile.h"
#include "tools/Options.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <utility>

namespace ml::tool {
namespace {

const char* const kProjectItemNames[] = {"QMC.res", "QMFilenames.res", "QMFiles.res", "QMGUI.wui"};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A private folder for the items inspect has to read as files, removed afterwards.
class TScratchFolder {
public:
    TScratchFolder() {
        std::string pattern = TempPath() + "mlinspect-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw EInOutError("cannot create a scratch folder in " + TempPath());
        Folder = pattern + "/";
    }
    ~TScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    const std::string& Path() const { return Folder; }

private:
    std::string Folder;
};

// Every setting by its key name, in the order of the settings file.
std::vector<std::pair<std::string, QJsonValue>> SettingValues(const TQMCSetting& s) {
    return {{"ProductName", Q(s.ProductName)},
            {"Publisher", Q(s.Publisher)},
            {"Website", Q(s.Website)},
            {"Stretch", s.Stretch},
            {"Proportional", s.Proportional},
            {"Sound", s.Sound},
            {"Music", s.Music},
            {"Random", s.Random},
            {"Duration", s.Duration},
            {"Transition", s.Transition},
            {"Speed", s.Speed},
            {"ShowImageMode", s.ShowImageMode},
            {"DirectX", s.DirectX},
            {"DirectXQuality", s.DirectXQuality},
            {"Animation", s.Animation},
            {"Zoom", s.Zoom},
            {"LivingZoom", s.LivingZoom},
            {"ZoomDuration", s.ZoomDuration},
            {"AutoWallpaper", s.AutoWallpaper},
            {"PreviewFile", Q(s.PreviewFile)},
            {"MusicFile", Q(s.MusicFile)},
            {"MusicMode", s.MusicMode},
            {"BuildMethod", s.BuildMethod},
            {"BuildFileName", Q(s.BuildFileName)},
            {"BuildSmallThumbs", s.BuildSmallThumbs},
            {"BuildIcon", Q(s.BuildIcon)},
            {"BuildInstall", Q(s.BuildInstall)}};
}

QJsonArray ItemsJson(const std::vector<TArchiveItemInfo>& items,
                     const std::vector<std::string>& names) {
    QJsonArray array;
    for (std::size_t i = 0; i < items.size(); ++i) {
        QJsonObject item{{"offset", static_cast<double>(items[i].Offset)},
                         {"size", items[i].Size},
                         {"available", static_cast<double>(items[i].Available)}};
        if (i < names.size())
            item["name"] = Q(names[i]);
        array.append(item);
    }
    return array;
}

// The project behind a four-item archive: its file list, pictures and settings, read from
// copies of the items in a scratch folder.
QJsonObject ProjectJson(const std::string& path) {
    TScratchFolder scratch;
    const std::string& dir = scratch.Path();
    std::vector<std::string> containers;
    for (const char* name : kProjectItemNames)
        containers.push_back(dir + name);
    ExtractArchive(path, containers);

    std::vector<std::string> lines = SplitLines(ReadWholeFile(dir + "QMFilenames.res"));
    QJsonObject project;
    project["files"] = ItemsJson(ListArchive(dir + "QMFiles.res"), lines);

    std::vector<std::string> texts = {dir + "list.ini", dir + "settings.ini", dir + "ui.ini"};
    ExtractArchive(dir + "QMC.res", texts);
    TQMCProject settings;
    settings.FileList.LoadFromFile(texts[0]);
    settings.Setting.LoadFromFile(texts[1]);
    settings.UISetting.LoadFromFile(texts[2]);
    QJsonArray pictures;
    for (std::size_t i = 0; i < settings.FileList.FileNames.size(); ++i)
        pictures.append(QJsonObject{{"name", Q(settings.FileList.FileNames[i])},
                                    {"included", settings.FileList.Included[i] == "TRUE"}});
    project["pictures"] = pictures;
    QJsonObject values;
    for (const auto& [key, value] : SettingValues(settings.Setting))
        values[Q(key)] = value;
    project["settings"] = values;
    project["UIFile"] = Q(settings.UISetting.UIFile);
    std::error_code error;
    auto uiSize = std::filesystem::file_size(dir + "QMGUI.wui", error);
    project["interfaceDescriptionSize"] = error ? 0.0 : static_cast<double>(uiSize);
    return project;
}

QJsonObject ArchiveJson(const std::string& path) {
    TArchiveLocation location = FindArchive(path);
    std::vector<TArchiveItemInfo> items = ListArchive(path);
    QJsonObject archive{{"file", Q(path)},
                        {"kind", "archive"},
                        {"markerOffset", location.Offset - static_cast<int>(kArchiveMarkerLength)},
                        {"count", location.Count}};
    bool isProject = location.Count == 4;
    archive["items"] =
        ItemsJson(items, isProject ? std::vector<std::string>(std::begin(kProjectItemNames),
                                                              std::end(kProjectItemNames))
                                   : std::vector<std::string>{});
    if (isProject)
        archive["project"] = ProjectJson(path);
    return archive;
}

std::string SizeText(const QJsonObject& item) {
    std::ostringstream text;
    text << item["size"].toInteger() << " bytes";
    if (item["available"].toInteger() < item["size"].toInteger())
        text << " (only " << item["available"].toInteger() << " in the file)";
    return text.str();
}

std::string ValueText(const QJsonValue& value) {
    if (value.isBool())
        return value.toBool() ? "1" : "0";
    if (value.isDouble())
        return std::to_string(value.toInteger());
    return value.toString().toStdString();
}

std::string ArchiveText(const QJsonObject& archive) {
    std::ostringstream text;
    text << archive["file"].toString().toStdString() << ": project archive at byte "
         << archive["markerOffset"].toInteger() << ", " << archive["count"].toInteger()
         << " item(s)\n";
    int index = 1;
    for (const auto& value : archive["items"].toArray()) {
        QJsonObject item = value.toObject();
        std::string name = item["name"].toString().toStdString();
        text << "  item " << index++ << (name.empty() ? "" : " " + name) << ": " << SizeText(item)
             << "\n";
    }
    if (!archive.contains("project"))
        return text.str();

    QJsonObject project = archive["project"].toObject();
    QJsonArray files = project["files"].toArray();
    text << "\nFiles (" << files.size() << "):\n";
    for (const auto& value : files) {
        QJsonObject file = value.toObject();
        text << "  " << file["name"].toString().toStdString() << ": " << SizeText(file) << "\n";
    }
    QJsonArray pictures = project["pictures"].toArray();
    text << "\nPictures (" << pictures.size() << "):\n";
    for (const auto& value : pictures) {
        QJsonObject picture = value.toObject();
        text << "  " << picture["name"].toString().toStdString()
             << (picture["included"].toBool() ? "" : " (not in the show)") << "\n";
    }
    text << "\nSettings:\n";
    QJsonObject settings = project["settings"].toObject();
    TQMCSetting order;
    for (const auto& [key, unused] : SettingValues(order))
        text << "  " << key << "=" << ValueText(settings[Q(key)]) << "\n";
    text << "  UIFile=" << project["UIFile"].toString().toStdString() << "\n"
         << "\nInterface description: " << project["interfaceDescriptionSize"].toInteger()
         << " bytes\n";
    return text.str();
}

std::string DescribeArchive(const std::string& path, bool json) {
    QJsonObject archive = ArchiveJson(path);
    if (json)
        return QJsonDocument(archive).toJson().toStdString();
    return ArchiveText(archive);
}

bool HoldsArchive(const std::string& path) {
    return FindArchive(path).Found;
}

// The kinds of file inspect knows, tried in order; the first that recognises the file
// describes it.
struct TDescriber {
    bool (*Recognises)(const std::string& path);
    std::string (*Describe)(const std::string& path, bool json);
};
const TDescriber kDescribers[] = {
    {IsPictureFile, DescribePictureFile},
    {HoldsArchive, DescribeArchive},
};

int Inspect(const TArgs& args) {
    TOptions options(args, {}, {"--json"});
    options.ExpectPositional(1, "one file");
    std::string path = options.Positional()[0];
    if (!FileExists(path))
        throw TUsageError{"cannot read " + path};
    for (const auto& describer : kDescribers)
        if (describer.Recognises(path)) {
            std::fputs(describer.Describe(path, options.Flag("--json")).c_str(), stdout);
            return 0;
        }
    throw TUsageError{
        path + " is no file that inspect knows (neither a picture file nor a project archive)"};
}

TCommandRegistration registration{
    {"inspect", "describe a saver, an archive or a picture file",
     "Usage: mirrorlake-tool inspect FILE [--json]\n\n"
     "Describes what FILE holds. For a saver program or an archive: where the archive\n"
     "begins, its items and their sizes, and for a project the files it carries, the\n"
     "pictures of the show and every setting. For a picture file (.qmp): every field it\n"
     "stores. --json prints the same as a JSON object.",
     Inspect}};

} // namespace
} // namespace ml::tool
