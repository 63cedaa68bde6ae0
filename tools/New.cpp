// mirrorlake-tool new: a project folder from pictures, ready for pack.

#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/ReportFindings.h"
#include "tools/authoring/NewProject.h"

#include <cstdio>

namespace ml::tool {
namespace {

int Run(const TArgs& args) {
    TOptions options(args, {"--name", "--publisher", "--website"});
    if (options.Positional().size() < 2)
        throw TUsageError{"expected a new folder and at least one picture (see --help)"};
    const std::string dir = options.Positional()[0];
    const std::vector<std::string> pictures(options.Positional().begin() + 1,
                                            options.Positional().end());
    authoring::TNewProjectTexts texts;
    texts.ProductName = options.Value("--name").value_or("");
    texts.Publisher = options.Value("--publisher").value_or("");
    texts.Website = options.Value("--website").value_or("");

    const authoring::TNewProject project = authoring::MakeNewProject(dir, pictures, texts);
    ReportFindings(project.Findings, "new", dir);
    std::printf("new project %s: %zu picture%s, project.ini, ui.wui and preview.jpg\n"
                "make the saver with: mirrorlake-tool pack %s -o SAVER.scr\n",
                dir.c_str(), project.Pictures.size(), project.Pictures.size() == 1 ? "" : "s",
                dir.c_str());
    return 0;
}

const TCommandRegistration registration{TCommand{
    "new", "start a project folder from pictures",
    "Usage: mirrorlake-tool new DIR PICTURE... [--name TEXT] [--publisher TEXT]\n"
    "                           [--website URL]\n\n"
    "Makes the new project folder DIR (it must not exist, or be empty) from the pictures:\n"
    "JPEG, BMP and GIF pictures are copied under the name the player reads them by (.jpg,\n"
    ".bmp, .gif), PNG pictures are stored as JPEG, and picture files (.qmp) come with the\n"
    "sounds found beside them. DIR gets project.ini (every picture in the show in the order\n"
    "given, 20 seconds each with crossfades, stretched keeping their shape, the plain\n"
    "window path), ui.wui (the default configuration window) and preview.jpg (made from\n"
    "the first picture). The folder appears only when complete.\n\n"
    "  --name TEXT       the saver's name in its windows (default: from DIR's name)\n"
    "  --publisher TEXT  who made it (the About window's 'by' line)\n"
    "  --website URL     the address the windows' link opens\n\n"
    "Then: mirrorlake-tool pack DIR -o my.scr && ./my.scr /S",
    Run}};

} // namespace
} // namespace ml::tool
