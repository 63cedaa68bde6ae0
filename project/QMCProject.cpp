#include "project/QMCProject.h"

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "project/Archive.h"

namespace ml {

void TQMCFileList::LoadFromFile(const std::string& path) {
    FileNames.clear();
    Included.clear();
    // One reading of the file for the whole list: the flag of each name is read as a
    // boolean, as a lookup of that name would read it.
    for (auto& [name, value] : TIniFile(path).ReadSectionValues("FileList")) {
        FileNames.push_back(std::move(name));
        Included.push_back(ParseInteger(value).value_or(0) != 0 ? "TRUE" : "FALSE");
    }
}

void TQMCSetting::LoadFromFile(const std::string& path) {
    TIniFile ini(path);
    // Every key falls back on the field's current value, so an absent or unreadable key
    // keeps what the constructor set.
    auto text = [&](const char* section, const char* key, std::string& field) {
        field = ini.ReadString(section, key, field);
    };
    auto flag = [&](const char* section, const char* key, bool& field) {
        field = ini.ReadBool(section, key, field);
    };
    auto number = [&](const char* section, const char* key, int& field) {
        field = ini.ReadInteger(section, key, field);
    };

    text("General", "ProductName", ProductName);
    text("General", "Publisher", Publisher);
    text("General", "Website", Website);

    flag("Default", "Stretch", Stretch);
    flag("Default", "Proportional", Proportional);
    flag("Default", "Sound", Sound);
    flag("Default", "Music", Music);
    flag("Default", "Random", Random);
    // A duration below 0 is no time a picture can stay: it counts as unreadable.
    if (const int seconds = ini.ReadInteger("Default", "Duration", Duration); seconds >= 0)
        Duration = seconds;
    flag("Default", "Transition", Transition);
    number("Default", "Speed", Speed);
    number("Default", "ShowImageMode", ShowImageMode);
    flag("Default", "DirectX", DirectX);
    number("Default", "DirectXQuality", DirectXQuality);
    flag("Default", "Animation", Animation);
    flag("Default", "Zoom", Zoom);
    flag("Default", "LivingZoom", LivingZoom);
    number("Default", "ZoomDuration", ZoomDuration);
    flag("Default", "AutoWallpaper", AutoWallpaper);

    text("Advance", "PreviewFile", PreviewFile);
    text("Advance", "MusicFile", MusicFile);
    number("Advance", "MusicMode", MusicMode);

    number("Build", "BuildMethod", BuildMethod);
    text("Build", "BuildFileName", BuildFileName);
    flag("Build", "BuildSmallThumbs", BuildSmallThumbs);
    text("Build", "BuildIcon", BuildIcon);
    text("Build", "BuildInstall", BuildInstall);
}

void TUISetting::LoadFromFile(const std::string& path) {
    UIFile = TIniFile(path).ReadString("UI", "UIFile", "");
}

void TQMCProject::LoadFromFile(const std::string& path) {
    // The three texts pass through scratch files beside the container: in the extraction
    // folder, which belongs to this instance alone, so another user or another saver can
    // neither plant them nor delete them while we read.
    std::string name = ExtractFileName(path);
    std::string stem = name.substr(0, name.size() - ExtractFileExt(name).size()) + ".";
    std::string prefix = ExtractFilePath(path) + "QM" + stem + "~";
    std::vector<std::string> scratch = {prefix + "1.tmp", prefix + "2.tmp", prefix + "3.tmp"};
    // Leftovers of an earlier run must not stand in for items this container lacks.
    for (const auto& file : scratch)
        DeleteFile(file);
    struct TScratchCleanUp {
        const std::vector<std::string>& Files;
        ~TScratchCleanUp() {
            for (const auto& file : Files)
                DeleteFile(file);
        }
    } cleanUp{scratch};

    ExtractArchive(path, scratch);
    FileList.LoadFromFile(scratch[0]);
    Setting.LoadFromFile(scratch[1]);
    UISetting.LoadFromFile(scratch[2]);
}

} // namespace ml
