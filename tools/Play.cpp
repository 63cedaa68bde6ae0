// mirrorlake-tool play: a window that plays a picture file or a project folder and shows it
// again whenever its files change.

#include "platform/EndSignals.h"
#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/ReportFindings.h"
#include "tools/authoring/PlayWindow.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>

namespace ml::tool {
namespace {

void Report(const authoring::TFindings& findings) {
    // Errors do not stop the window; they are what pack or make-qmp will say.
    for (const auto& finding : findings)
        std::fprintf(stderr, "mirrorlake-tool play: %s: %s\n",
                     finding.Severity == authoring::TSeverity::Error     ? "error"
                     : finding.Severity == authoring::TSeverity::Warning ? "warning"
                                                                         : "note",
                     finding.Text().c_str());
}

int Run(const TArgs& args) {
    TOptions options(args, {"--size", "--image", "--areas", "--params", "--max-size"});
    authoring::TPlaySource source;
    if (options.Value("--params")) {
        options.ExpectPositional(0, "either FILE.qmp or DIR, or --image, --areas and --params");
        authoring::TPictureFileRecipe recipe;
        recipe.Image = options.Required("--image");
        recipe.Areas = options.Required("--areas");
        recipe.Params = options.Required("--params");
        if (const auto maxSize = options.Size("--max-size")) {
            recipe.MaxWidth = maxSize->Width;
            recipe.MaxHeight = maxSize->Height;
        }
        source = authoring::PlaySourceOf(recipe);
    } else {
        options.ExpectPositional(1, "one picture file (FILE.qmp) or project folder (DIR)");
        const std::string path = options.Positional()[0];
        if (!std::filesystem::exists(path))
            throw TUsageError{"cannot read " + path + ": no such file or folder"};
        source = authoring::PlaySourceOf(path);
    }
    const auto size = options.Size("--size");

    authoring::TPlayWindow window(source, size ? QSize(size->Width, size->Height) : QSize());
    Report(window.Scene().Findings);
    QObject::connect(&window, &authoring::TPlayWindow::Loaded, [](const auto& findings) {
        std::fprintf(stderr, "mirrorlake-tool play: the files changed; showing them again\n");
        Report(findings);
    });
    // Ctrl+C in the terminal, or a signal, closes the window as Escape does, so that the
    // command ends through its ordinary path and takes its scratch folder with it.
    TEndSignals endSignals([&window](int) { window.close(); });
    window.show();
    return QApplication::exec();
}

const TCommandRegistration registration{TCommand{
    "play", "play a picture file or a project in a window, again on every change",
    "Usage: mirrorlake-tool play FILE.qmp | DIR [--size WxH]\n"
    "       mirrorlake-tool play --image PIC --areas MASK --params PARAMS.ini\n"
    "                            [--max-size WxH] [--size WxH]\n\n"
    "Opens a window that plays, as the show does:\n"
    "  FILE.qmp    one picture file: its water, rain or snow and its sounds\n"
    "  DIR         a project folder: the show of its project.ini, pictures, sounds and music\n"
    "  --image, --areas, --params\n"
    "              make-qmp's inputs: the picture file is built in memory, as make-qmp\n"
    "              would build it (--max-size as there)\n\n"
    "The window watches the files it plays and plays them again when they change: the\n"
    "picture file (rewritten by make-qmp), its sounds, project.ini and every file it names,\n"
    "or make-qmp's three inputs. Edit PARAMS.ini and save: with the third form the change\n"
    "shows at once; with FILE.qmp it shows once make-qmp has written the file again.\n"
    "What pack or make-qmp would refuse is printed on standard error, and play goes on.\n\n"
    "  --size WxH  the window's size (default: the picture's, at most 1280x720; 960x540\n"
    "              for a folder); the show fills it as it fills a screen\n\n"
    "Escape or closing the window ends it. Mouse and keys do not end the show here; F1\n"
    "switches the water off and on. The window draws through the plain window path.",
    Run, true}};

} // namespace
} // namespace ml::tool
