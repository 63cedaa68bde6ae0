#pragma once
// The user's own show settings, kept in an INI file beside the program (its path with ".ini"
// in place of the extension). The show reads it; the configuration window and its settings
// dialog write it, but only where the program may (see SettingsAllowed).

#include <string>
#include <vector>

namespace ml {

class TQMCProject;

// Where the settings live and whether the configuration side may touch them.
struct TUserSettingsFile {
    std::string FileName;
    bool Allowed = false;

    // For a program file and its first argument.
    static TUserSettingsFile For(const std::string& longProgramPath,
                                 const std::string& firstArgument);
    // For the running program.
    static TUserSettingsFile ForProgram();
};

std::string UserSettingsFileName(const std::string& longProgramPath);
// The program file's extension is ".SCR", or the whole first argument is "/C".
bool SettingsAllowed(const std::string& longProgramPath, const std::string& firstArgument);

// The nine values of the settings dialog, in the order they are written.
struct TShowSettings {
    int ImageSize = 0; // 0 original size, 1 stretch to full, 2 stretch keeping proportions
    int ImageMode = 0; // as ShowImageMode
    int Speed = 10;    // a position in SpeedTable
    bool Sound = true;
    bool Music = true;
    bool Transition = true;
    int Duration = 30;
    bool DirectX = true;
    int DirectXQuality = 1;
};

// Applies the file to the project before a show; no file leaves the project as it is.
void LoadUserSettings(TQMCProject& project,
                      const TUserSettingsFile& file = TUserSettingsFile::ForProgram());

// The dialog's values: the project's settings overlaid with the file's. Returns false (with
// the project-derived values) when the settings may not be written.
bool ReadUserSettings(const TQMCProject& project, TShowSettings& settings,
                      const TUserSettingsFile& file = TUserSettingsFile::ForProgram());

// Stores ImageMode, Duration, Sound, Music and Transition, the speed position (when it is one)
// and the size mode in the project; DirectX and DirectXQuality only when withDisplayPath.
void ApplyShowSettings(TQMCProject& project, const TShowSettings& settings, bool withDisplayPath);

void SaveUserSettings(const TShowSettings& settings,
                      const TUserSettingsFile& file = TUserSettingsFile::ForProgram());
void SaveCurrentIndex(int index, const TUserSettingsFile& file = TUserSettingsFile::ForProgram());

// One thumbnail grid item's check box.
struct TPictureCheck {
    bool Available = false;
    bool Checked = false;
};
// Rewrites [Files] with the positions of the pictures whose box is available and unticked.
void SaveExcludedPictures(const std::vector<TPictureCheck>& checks,
                          const TUserSettingsFile& file = TUserSettingsFile::ForProgram());

// "Index" for a window with pictureCount pictures: 0 when absent or not a valid position.
int ReadCurrentIndex(int pictureCount,
                     const TUserSettingsFile& file = TUserSettingsFile::ForProgram());
// Per picture, whether [Files] takes it out of the favourites (its position is a key, written
// in plain decimal); none when the settings may not be read.
std::vector<bool>
ReadExcludedPictures(std::size_t pictureCount,
                     const TUserSettingsFile& file = TUserSettingsFile::ForProgram());

// The shared folders of installed programs; "" when the system names none.
std::string GetProgramFilesFolder();
std::string GetCommonFolder();

} // namespace ml
