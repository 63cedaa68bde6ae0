#pragma once
// The project's settings in memory: the picture list, the product texts and show defaults,
// and where the interface description lies. Filled once from the extracted "QMC.res".

#include <string>
#include <vector>

namespace ml {

class TQMCFileList {
public:
    // Picture file names in show order; after extraction, full paths into the scratch folder.
    std::vector<std::string> FileNames;
    // Per picture "TRUE" or "FALSE": whether it takes part in the show.
    std::vector<std::string> Included;

    void LoadFromFile(const std::string& path);
};

class TQMCSetting {
public:
    std::string ProductName;
    std::string Publisher;
    std::string Website;
    bool Stretch = true;
    bool Proportional = false;
    bool Sound = true;
    bool Music = true;
    bool Random = true;
    int Duration = 30;
    bool Transition = true;
    int Speed = 100;
    int ShowImageMode = 0;
    bool DirectX = true;
    int DirectXQuality = 1;
    std::string PreviewFile;
    std::string MusicFile;
    int MusicMode = 0;
    // Read and kept, but nothing in this program acts on them.
    bool Animation = true;
    bool Zoom = false;
    bool LivingZoom = false;
    int ZoomDuration = 5;
    bool AutoWallpaper = false;
    int BuildMethod = 1;
    std::string BuildFileName;
    bool BuildSmallThumbs = true;
    std::string BuildIcon;
    std::string BuildInstall;

    void LoadFromFile(const std::string& path);
};

class TUISetting {
public:
    std::string UIFile;

    void LoadFromFile(const std::string& path);
};

class TQMCProject {
public:
    TQMCFileList FileList;
    TQMCSetting Setting;
    TUISetting UISetting;

    // Reads the three settings texts of a "QMC.res" container.
    void LoadFromFile(const std::string& path);
};

} // namespace ml
