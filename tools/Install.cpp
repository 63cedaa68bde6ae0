// mirrorlake-tool install: puts a packed saver where XScreenSaver finds it, adds it to the
// user's list of hacks and writes a desktop entry that opens its configuration window.

#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/Archive.h"
#include "project/QMCProject.h"
#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/authoring/XScreenSaverList.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace ml::tool {
namespace {

namespace fs = std::filesystem;

// Where XScreenSaver's own defaults live on Debian; the list of hacks starts from them when
// the user has none yet.
constexpr const char* kXScreenSaverDefaults = "/etc/X11/app-defaults/XScreenSaver";

struct TSaverSummary {
    std::string Label; // the product name, or the saver's name without one
    int Pictures = 0;
};

// Reads the product name and picture count from the saver's settings, in a scratch folder.
TSaverSummary Summarize(const std::string& saver, const std::string& name) {
    std::string scratch = TempPath() + "mirrorlake-install-XXXXXX";
    if (!mkdtemp(scratch.data()))
        throw EInOutError("cannot create a scratch folder in " + TempPath());
    TQMCProject project;
    try {
        LoadProjectSettings(project, saver, scratch + "/");
    } catch (...) {
        fs::remove_all(scratch);
        throw;
    }
    fs::remove_all(scratch);
    const std::string product = Trim(project.Setting.ProductName);
    return {product.empty() ? name : product, static_cast<int>(project.FileList.FileNames.size())};
}

std::string ReplaceAllIn(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string XmlText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// One line of a desktop entry's value: no line breaks.
std::string DesktopText(const std::string& text) {
    std::string line;
    for (char c : text)
        line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return line;
}

// The templates installed beside the tool (share/mirrorlake/ of its prefix; in a build tree
// the build puts them in the same place relative to the tool).
std::string Template(const std::string& name) {
    const std::string path = ExtractFilePath(ModuleFileName()) + "../share/mirrorlake/" + name;
    if (!FileExists(path))
        throw EInOutError("cannot find the template " + path +
                          " (install mirrorlake with cmake --install)");
    return ReadWholeFile(path);
}

// XScreenSaver runs a hack's command split at spaces: the saver's path must hold none, nor
// anything a shell would read differently.
void CheckCommandPath(const std::string& path) {
    if (path.find_first_of(" \t\n\"'\\$`;&|<>*?()") != std::string::npos)
        throw TUsageError{"the saver would be installed as " + path +
                          ", which XScreenSaver cannot run (spaces or quotes in it); choose "
                          "another --prefix"};
}

// A step of the installation: what it does, and the doing.
struct TStep {
    std::string Description;
    std::function<void()> Do;
};

void CopyProgram(const std::string& from, const std::string& to) {
    fs::create_directories(fs::path(to).parent_path());
    const std::string temporary = to + ".part";
    fs::copy_file(from, temporary, fs::copy_options::overwrite_existing);
    fs::permissions(temporary, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
    fs::rename(temporary, to);
}

void WriteFileIn(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    WriteOutputFile(path, text);
}

int Install(const TArgs& args) {
    TOptions options(args, {"--prefix"}, {"--dry-run"});
    options.ExpectPositional(1, "one saver");
    const std::string saver = options.Positional()[0];
    if (!FileExists(saver))
        throw TUsageError{"no saver " + saver};
    if (!FindArchive(saver).Found)
        throw TUsageError{saver + " carries no project; make a saver with mirrorlake-tool pack"};
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        throw TUsageError{"HOME is not set: there is no ~/.xscreensaver to add the saver to"};

    std::string prefix = options.Value("--prefix").value_or(std::string(home) + "/.local");
    prefix = fs::absolute(prefix).lexically_normal().string();
    prefix = IncludeTrailingSeparator(prefix);
    const std::string base = ProgramBaseName(saver).empty() ? "saver" : ProgramBaseName(saver);
    const std::string name = base + ".scr";
    const std::string program = prefix + "libexec/mirrorlake/" + name;
    const std::string xml = prefix + "share/xscreensaver/config/" + name + ".xml";
    const std::string desktop = prefix + "share/applications/mirrorlake-" + base + ".desktop";
    const std::string rc = IncludeTrailingSeparator(home) + ".xscreensaver";
    CheckCommandPath(program);

    const TSaverSummary summary = Summarize(saver, base);
    const std::string description =
        "Pictures with living water: " + std::to_string(summary.Pictures) +
        (summary.Pictures == 1 ? " picture" : " pictures") + " of " + summary.Label + ".";
    const auto fill = [&](std::string text, const std::function<std::string(std::string)>& as) {
        text = ReplaceAllIn(text, "@NAME@", as(name));
        text = ReplaceAllIn(text, "@LABEL@", as(summary.Label));
        text = ReplaceAllIn(text, "@DESCRIPTION@", as(description));
        return ReplaceAllIn(text, "@PROGRAM@", as(program));
    };
    const std::string xmlText = fill(Template("xscreensaver-hack.xml"), XmlText);
    const std::string desktopText = fill(Template("saver.desktop"), DesktopText);
    const std::string entry = authoring::ProgramsEntry(summary.Label, program + " --root");
    const std::string rcBefore = ReadWholeFile(rc);
    const std::string rcAfter = authoring::WithProgramsEntry(
        rcBefore, entry, program,
        authoring::ProgramsFromDefaults(ReadWholeFile(kXScreenSaverDefaults)));

    std::vector<TStep> steps = {
        {"copy " + saver + " to " + program, [&] { CopyProgram(saver, program); }},
        {"write the hack description " + xml, [&] { WriteFileIn(xml, xmlText); }},
        {"write the desktop entry " + desktop, [&] { WriteFileIn(desktop, desktopText); }},
    };
    if (FileExists(rc))
        steps.push_back({"keep " + rc + " as it was in " + rc + ".bak",
                         [&] { WriteOutputFile(rc + ".bak", rcBefore); }});
    steps.push_back({"add to the programs list of " + rc + ":\n" + entry,
                     [&] { WriteOutputFile(rc, rcAfter); }});

    const bool dryRun = options.Flag("--dry-run");
    for (const TStep& step : steps) {
        std::printf("%s%s\n", dryRun ? "would " : "", step.Description.c_str());
        if (!dryRun)
            step.Do();
    }
    if (dryRun)
        return 0;
    std::printf("\nInstalled \"%s\". In xscreensaver-settings choose it in the list (mode \"Only "
                "one screen saver\", or leave it among the random ones); its own settings open "
                "with \"%s settings\" in the desktop's menu or %s /C.\n",
                summary.Label.c_str(), summary.Label.c_str(), program.c_str());
    if (prefix != "/usr/")
        std::printf("XScreenSaver's settings dialog reads hack descriptions only from "
                    "/usr/share/xscreensaver/config, so it shows this one without.\n");
    return 0;
}

TCommandRegistration registration{
    {"install", "install a saver for XScreenSaver and the desktop's menu",
     "Usage: mirrorlake-tool install SAVER [--prefix P] [--dry-run]\n\n"
     "Installs the packed saver SAVER for the user running the command (P is ~/.local\n"
     "unless given; NAME is the saver's file name up to its first dot):\n"
     "  P/libexec/mirrorlake/NAME.scr            the saver (its settings file goes beside it)\n"
     "  ~/.xscreensaver                          its entry at the end of the programs list,\n"
     "                                           every other line kept, the file as it was\n"
     "                                           kept in ~/.xscreensaver.bak; an earlier\n"
     "                                           entry for the same path is replaced\n"
     "  P/share/xscreensaver/config/NAME.scr.xml the hack description (XScreenSaver's\n"
     "                                           settings dialog reads it from /usr only)\n"
     "  P/share/applications/mirrorlake-NAME.desktop\n"
     "                                           a menu entry opening its configuration\n\n"
     "Without a ~/.xscreensaver the list starts from XScreenSaver's defaults, so no other\n"
     "saver goes missing. XScreenSaver reads the file again by itself; choose the saver in\n"
     "xscreensaver-settings.\n\n"
     "  --dry-run   print each step and the programs entry, change nothing\n\n"
     "Do not strip a packed saver: strip would cut off its project.",
     Install}};

} // namespace
} // namespace ml::tool
