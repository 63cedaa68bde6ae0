#include "project/UserSettings.h"

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/QMCProject.h"
#include "project/SpeedTable.h"

namespace ml {

namespace {

constexpr const char* kSetting = "Setting";
constexpr const char* kFiles = "Files";

// The dialog's starting point, derived from the project alone.
TShowSettings ProjectShowSettings(const TQMCSetting& s) {
    TShowSettings result;
    result.ImageSize = !s.Stretch ? 0 : (s.Proportional ? 2 : 1);
    result.ImageMode = s.ShowImageMode;
    result.Speed = 0;
    for (std::size_t i = 0; i < SpeedTable.size(); ++i)
        if (SpeedTable[i] == s.Speed)
            result.Speed = static_cast<int>(i);
    result.Sound = s.Sound;
    result.Music = s.Music;
    result.Transition = s.Transition;
    result.Duration = s.Duration;
    result.DirectX = s.DirectX;
    result.DirectXQuality = s.DirectXQuality;
    return result;
}

TShowSettings ReadShowSettings(const TIniFile& ini, const TShowSettings& d) {
    TShowSettings r;
    r.ImageSize = ini.ReadInteger(kSetting, "ImageSize", d.ImageSize);
    r.ImageMode = ini.ReadInteger(kSetting, "ImageMode", d.ImageMode);
    r.Speed = ini.ReadInteger(kSetting, "Speed", d.Speed);
    r.Sound = ini.ReadBool(kSetting, "Sound", d.Sound);
    r.Music = ini.ReadBool(kSetting, "Music", d.Music);
    r.Transition = ini.ReadBool(kSetting, "Transition", d.Transition);
    // A duration below 0 is no time a picture can stay: it counts as unreadable.
    r.Duration = ini.ReadInteger(kSetting, "Duration", d.Duration);
    if (r.Duration < 0)
        r.Duration = d.Duration;
    r.DirectX = ini.ReadBool(kSetting, "DirectX", d.DirectX);
    r.DirectXQuality = ini.ReadInteger(kSetting, "DirectXQuality", d.DirectXQuality);
    return r;
}

bool IsPosition(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

// The pictures that [Files] takes out of the favourites. A key names a picture only when it
// is the picture's position written as the window writes it, in plain decimal: "02", "+2" or
// "$2" name nothing, for the show as for the window.
std::vector<bool> ExcludedPictures(const TIniFile& ini, std::size_t count) {
    std::vector<bool> excluded(count, false);
    for (const std::string& key : ini.ReadSection(kFiles)) {
        const bool plain = !key.empty() && key.size() <= 9 && (key == "0" || key[0] != '0') &&
                           key.find_first_not_of("0123456789") == std::string::npos;
        if (plain && std::stoul(key) < count)
            excluded[std::stoul(key)] = true;
    }
    return excluded;
}

} // namespace

TUserSettingsFile TUserSettingsFile::For(const std::string& longProgramPath,
                                         const std::string& firstArgument) {
    return {UserSettingsFileName(longProgramPath), SettingsAllowed(longProgramPath, firstArgument)};
}

TUserSettingsFile TUserSettingsFile::ForProgram() {
    return For(LongProgramPath(), FirstProgramArgument());
}

std::string UserSettingsFileName(const std::string& longProgramPath) {
    return ChangeFileExt(longProgramPath, ".ini");
}

bool SettingsAllowed(const std::string& longProgramPath, const std::string& firstArgument) {
    return UpperCase(ExtractFileExt(longProgramPath)) == ".SCR" || UpperCase(firstArgument) == "/C";
}

void LoadUserSettings(TQMCProject& project, const TUserSettingsFile& file) {
    if (!FileExists(file.FileName))
        return;
    TIniFile ini(file.FileName);
    TQMCSetting& s = project.Setting;
    TShowSettings defaults;
    defaults.ImageSize = -1;
    defaults.ImageMode = s.ShowImageMode;
    defaults.Speed = -1;
    defaults.Sound = s.Sound;
    defaults.Music = s.Music;
    defaults.Transition = s.Transition;
    defaults.Duration = s.Duration;
    defaults.DirectX = true;
    defaults.DirectXQuality = 1;
    TShowSettings user = ReadShowSettings(ini, defaults);

    auto& included = project.FileList.Included;
    int index = ini.ReadInteger(kSetting, "Index", 0);
    if (!IsPosition(index, included.size()))
        index = 0;
    if (user.ImageMode == 3 && IsPosition(index, included.size()) && included[index] == "TRUE")
        for (std::size_t i = 0; i < included.size(); ++i)
            included[i] = static_cast<int>(i) == index ? "TRUE" : "FALSE";
    if (user.ImageMode == 2) {
        const std::vector<bool> excluded = ExcludedPictures(ini, included.size());
        for (std::size_t i = 0; i < included.size(); ++i)
            if (excluded[i])
                included[i] = "FALSE";
    }

    ApplyShowSettings(project, user, true);
}

void ApplyShowSettings(TQMCProject& project, const TShowSettings& settings, bool withDisplayPath) {
    TQMCSetting& s = project.Setting;
    s.ShowImageMode = settings.ImageMode;
    s.Duration = settings.Duration;
    s.Sound = settings.Sound;
    s.Music = settings.Music;
    s.Transition = settings.Transition;
    if (withDisplayPath) {
        s.DirectX = settings.DirectX;
        s.DirectXQuality = settings.DirectXQuality;
    }
    if (IsPosition(settings.Speed, SpeedTable.size()))
        s.Speed = SpeedTable[settings.Speed];
    if (settings.ImageSize != -1) {
        s.Stretch = settings.ImageSize > 0;
        s.Proportional = settings.ImageSize == 2;
    }
}

bool ReadUserSettings(const TQMCProject& project, TShowSettings& settings,
                      const TUserSettingsFile& file) {
    settings = ProjectShowSettings(project.Setting);
    if (!file.Allowed)
        return false;
    if (FileExists(file.FileName))
        settings = ReadShowSettings(TIniFile(file.FileName), settings);
    return true;
}

void SaveUserSettings(const TShowSettings& settings, const TUserSettingsFile& file) {
    if (!file.Allowed)
        return;
    TIniFile ini(file.FileName);
    ini.WriteInteger(kSetting, "ImageSize", settings.ImageSize);
    ini.WriteInteger(kSetting, "ImageMode", settings.ImageMode);
    ini.WriteInteger(kSetting, "Speed", settings.Speed);
    ini.WriteBool(kSetting, "Sound", settings.Sound);
    ini.WriteBool(kSetting, "Music", settings.Music);
    ini.WriteBool(kSetting, "Transition", settings.Transition);
    ini.WriteInteger(kSetting, "Duration", settings.Duration);
    ini.WriteBool(kSetting, "DirectX", settings.DirectX);
    ini.WriteInteger(kSetting, "DirectXQuality", settings.DirectXQuality);
}

void SaveCurrentIndex(int index, const TUserSettingsFile& file) {
    if (file.Allowed)
        TIniFile(file.FileName).WriteInteger(kSetting, "Index", index);
}

void SaveExcludedPictures(const std::vector<TPictureCheck>& checks, const TUserSettingsFile& file) {
    if (!file.Allowed)
        return;
    TIniFile ini(file.FileName);
    ini.EraseSection(kFiles);
    for (std::size_t i = 0; i < checks.size(); ++i)
        if (checks[i].Available && !checks[i].Checked)
            ini.WriteString(kFiles, std::to_string(i), "");
}

int ReadCurrentIndex(int pictureCount, const TUserSettingsFile& file) {
    if (!file.Allowed)
        return 0;
    int index = TIniFile(file.FileName).ReadInteger(kSetting, "Index", 0);
    return index >= 0 && index < pictureCount ? index : 0;
}

std::vector<bool> ReadExcludedPictures(std::size_t pictureCount, const TUserSettingsFile& file) {
    if (!file.Allowed)
        return std::vector<bool>(pictureCount, false);
    return ExcludedPictures(TIniFile(file.FileName), pictureCount);
}

std::string GetProgramFilesFolder() {
    return IncludeTrailingSeparator(ProgramFilesDir());
}

std::string GetCommonFolder() {
    std::string folder = GetProgramFilesFolder();
    return folder.empty() ? folder : folder + "Brellix/Common/";
}

} // namespace ml
