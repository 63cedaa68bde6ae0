#include "saver/RunScreenSaver.h"

#include "platform/Messages.h"
#include "project/QMCProject.h"
#include "project/UserSettings.h"
#include "saver/ShowWindow.h"

namespace ml {

void RunScreenSaver(TQMCProject& project) {
    if (project.FileList.FileNames.empty()) {
        MessageBox("No image found in Images List.", "", TMsgIcon::Information, TMsgButtons::OK);
        return;
    }
    project.FileList.Included.assign(project.FileList.FileNames.size(), "TRUE");
    LoadUserSettings(project);
    TQMfmScrSvr form(project);
    form.setWindowState(Qt::WindowFullScreen);
    form.exec();
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
