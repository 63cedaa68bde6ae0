// mirrorlake-studio [FILE | DIR]: the authoring window. FILE is a photo or a picture file to
// paint, DIR a project folder.

#include "platform/ProgramPath.h"
#include "startup/Application.h"
#include "studio/StudioLook.h"
#include "studio/StudioWindow.h"

#include <QCommandLineParser>

int main(int argc, char** argv) {
    ml::TApplication application(argc, argv);
    QApplication::setOrganizationName("Mirrorlake");
    QApplication::setApplicationName("Mirrorlake Studio");
    QApplication::setApplicationVersion(QString::fromLatin1(MIRRORLAKE_STUDIO_VERSION));

    QCommandLineParser options;
    options.setApplicationDescription(
        "Paint where the water is in a picture, tune its waves while they move, and build a "
        "screensaver from a project folder.");
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument("FILE|DIR", "a photo (JPEG, PNG, BMP, GIF), a picture file "
                                              "(.qmp) or a project folder to open");
    options.process(application);
    if (options.positionalArguments().size() > 1)
        options.showHelp(2);

    ml::studio::ApplyStudioLook(application);
    ml::studio::TStudioWindow window;
    window.show();
    if (!options.positionalArguments().isEmpty())
        window.OpenPath(options.positionalArguments().front());
    const int code = application.exec();
    // The show's sounds look into the program's scratch folder, which makes one for the
    // studio when it plays; it goes with the studio.
    ml::ReleaseExtractFolder(ml::LongProgramPath());
    return code;
}
