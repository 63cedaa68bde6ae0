#include "saver/RunScreenSaver.h"

#include "platform/Messages.h"
#include "project/QMCProject.h"
#include "project/UserSettings.h"
#include "saver/ShowGroup.h"

namespace ml {

namespace {

// The steps before any window: false when the project has no picture at all.
bool PrepareShow(TQMCProject& project) {
    if (project.FileList.FileNames.empty()) {
        MessageBox("No image found in Images List.", "", TMsgIcon::Information, TMsgButtons::OK);
        return false;
    }
    project.FileList.Included.assign(project.FileList.FileNames.size(), "TRUE");
    LoadUserSettings(project);
    return true;
}

} // namespace

void RunScreenSaver(TQMCProject& project) {
    if (!PrepareShow(project))
        return;
    TShowGroup group(project);
    for (const QRect& screen : ScreenGeometries())
        group.AddScreen(screen);
    group.Run();
}

void RunScreenSaverInHost(TQMCProject& project, THostWindow& host, bool primary) {
    if (!PrepareShow(project))
        return;
    TShowGroup group(project);
    group.AddHosted(host, primary);
    group.Run();
}

void PreviewPicture(const TQMCProject& project, const std::string& fileName) {
    TQMCProject single;
    single.FileList.FileNames = {fileName};
    single.FileList.Included = {"TRUE"};
    single.Setting.Stretch = project.Setting.Stretch;
    single.Setting.Proportional = project.Setting.Proportional;
    single.Setting.Speed = project.Setting.Speed;
    single.Setting.Sound = true;
    single.Setting.Music = false;
    RunScreenSaver(single);
}

} // namespace ml
