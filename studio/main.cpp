// mirrorlake-studio [FILE | DIR]: the authoring window. FILE is a photo or a picture file to
// paint, DIR a project folder.

#include "platform/EndSignals.h"
#include "platform/HostWindow.h"
#include "platform/ProgramPath.h"
#include "startup/Application.h"
#include "studio/StudioLook.h"
#include "studio/StudioWindow.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

namespace {

// Reads the command line before the window system is opened, so that --help, --version and
// a wrong option answer on the terminal even where there is no display.
QStringList OpenedPaths(int argc, char** argv) {
    QCoreApplication reader(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        "Paint where the water is in a picture, tune its waves while they move, and build a "
        "screensaver from a project folder.");
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument("FILE|DIR",
                                  "a photo (JPEG, PNG, BMP, GIF), a picture file "
                                  "(.qmp) or a project folder to open",
                                  "[FILE|DIR]");
    options.process(reader);
    if (options.positionalArguments().size() > 1) {
        std::fputs("mirrorlake-studio: opens one FILE or DIR at a time (see --help)\n", stderr);
        std::exit(2);
    }
    return options.positionalArguments();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setOrganizationName("Mirrorlake");
    QCoreApplication::setApplicationName("Mirrorlake Studio");
    QCoreApplication::setApplicationVersion(QString::fromLatin1(MIRRORLAKE_STUDIO_VERSION));
    const QStringList paths = OpenedPaths(argc, argv);
    // Qt aborts when it cannot reach an X display; one line says it better. A Wayland session
    // is left to Qt.
    if (!std::getenv("WAYLAND_DISPLAY"))
        if (const std::string problem = ml::DisplayProblem(); !problem.empty()) {
            std::fprintf(stderr, "mirrorlake-studio: %s\n", problem.c_str());
            return 1;
        }

    ml::TApplication application(argc, argv);
    ml::studio::ApplyStudioLook(application);
    ml::studio::TStudioWindow window;
    // A signal (a session logging out, Ctrl+C in the terminal) closes the studio along its
    // ordinary path, so that the scratch folder below goes too. A dialog or question that is
    // open at that moment closes with the rest, and the last line ends its loop as well.
    ml::TEndSignals endSignals([&window](int) {
        window.CloseWithoutAsking();
        ml::TApplication::EndAllWindows();
        QCoreApplication::exit(0);
    });
    window.show();
    if (!paths.isEmpty())
        window.OpenPath(paths.front());
    // A signal that came while a question about the opened path was up has closed the window
    // already, and no loop would end.
    const int code = window.isVisible() ? application.exec() : 0;
    // The show's sounds look into the program's scratch folder, which makes one for the
    // studio when it plays; it goes with the studio.
    ml::ReleaseExtractFolder(ml::LongProgramPath());
    return code;
}
