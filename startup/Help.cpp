#include "startup/Help.h"

#include "platform/ProgramPath.h"
#include "project/Archive.h"
#include "startup/SaverSession.h"

#ifndef MIRRORLAKE_VERSION
#define MIRRORLAKE_VERSION "unknown"
#endif

namespace ml {

TProjectSummary SummarizeProject(TSaverSession& session) {
    TProjectSummary summary;
    summary.Carried = FindArchive(session.ProgramPath).Found;
    if (!summary.Carried)
        return summary;
    try {
        LoadProjectSettings(session.Project, session.ProgramPath,
                            GetExtractFolder(session.ProgramPath));
        summary.ProductName = session.Project.Setting.ProductName;
        summary.PictureCount = static_cast<int>(session.Project.FileList.FileNames.size());
    } catch (const std::exception& error) {
        summary.Problem = error.what();
    }
    ReleaseExtractFolder(session.ProgramPath);
    return summary;
}

std::string NoProjectText() {
    return "This program carries no project, so there is nothing to show. Make a saver from "
           "a project folder with\n  mirrorlake-tool pack PROJECT-FOLDER -o NAME.scr";
}

std::string VersionText() {
    return std::string("mirrorlake ") + MIRRORLAKE_VERSION;
}

std::string HelpText(const std::string& programName, const TProjectSummary& project) {
    std::string text = "Usage: " + programName + " [SWITCH]\n       " + programName +
                       " -root | -window-id ID\n\n"
                       "A Mirrorlake picture screensaver: pictures with living water.\n";
    if (!project.Carried)
        text += NoProjectText() + "\n";
    else if (!project.Problem.empty())
        text += "It carries a project that cannot be read: " + project.Problem + "\n";
    else
        text += "It carries \"" + project.ProductName + "\" with " +
                std::to_string(project.PictureCount) +
                (project.PictureCount == 1 ? " picture.\n" : " pictures.\n");
    text += R"(
Switches (only the first two characters of the first argument count, in any case;
"/", "-" or the bare letter mean the same):
  (none), /c     open the configuration window
  /s             run the show full screen on every monitor; a key, a mouse button or
                 a mouse move ends it
  /p WINDOW      draw the preview picture once into the X11 window WINDOW (decimal id)
  /a             change the password: the desktop's locker keeps it, nothing to do

Screen-saver daemon options (XScreenSaver hacks):
  -root, --root  run the show in the window named by $XSCREENSAVER_WINDOW, or else in
                 the root window
  -window-id ID, --window-id ID
                 run the show in the X11 window ID (decimal, or hexadecimal after 0x)
  The window's owner keeps the input: the show follows the window's size and ends on
  SIGTERM, SIGINT or SIGHUP. Only the first instance of a saver plays sound.

  --help         show this text
  --version      show the version

Every mode ends cleanly on SIGTERM, SIGINT or SIGHUP. While it runs, the project is
unpacked into $XDG_RUNTIME_DIR/NAME/ (else $TMPDIR, else /tmp; NAME-2/ ... for further
instances); your settings are kept beside the program, in its name with ".ini".
Do not strip a packed saver: its project is appended to the program and would be lost.
)";
    return text;
}

} // namespace ml
