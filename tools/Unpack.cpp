// mirrorlake-tool unpack: extracts a saver's project archive into a folder, the way the
// saver itself does at start, plus a project.ini and ui.wui from which pack rebuilds it.

#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/Archive.h"
#include "tools/Command.h"
#include "tools/Options.h"

#include <cstdio>
#include <filesystem>

namespace ml::tool {
namespace {

// The three settings texts of "QMC.res" one after another form a project.ini for pack.
// Returns false when a project file already took one of the names involved.
bool WriteProjectIni(const std::string& dir) {
    std::vector<std::string> parts = {dir + ".project.ini.1", dir + ".project.ini.2",
                                      dir + ".project.ini.3"};
    for (const auto& name : {parts[0], parts[1], parts[2], dir + "project.ini"})
        if (std::filesystem::exists(name))
            return false;
    ExtractArchive(dir + "QMC.res", parts);
    std::string text;
    for (const auto& part : parts) {
        std::string item = ReadWholeFile(part);
        DeleteFile(part);
        if (!item.empty() && item.back() != '\n')
            item += "\r\n";
        text += item;
    }
    WriteOutputFile(dir + "project.ini", text);
    return true;
}

int Unpack(const TArgs& args) {
    TOptions options(args, {"-d"});
    options.ExpectPositional(1, "one saver or archive file");
    std::string saver = options.Positional()[0];
    std::string dir = IncludeTrailingSeparator(options.Required("-d"));
    if (!FileExists(saver))
        throw TUsageError{"cannot read " + saver};
    if (!FindArchive(saver).Found)
        throw TUsageError{saver + " holds no project archive"};

    // Names come from the archive, so they only ever land in a folder of their own.
    std::error_code error;
    if (std::filesystem::exists(dir, error) && !std::filesystem::is_empty(dir, error))
        throw TUsageError{dir + " is not empty; unpack into a new folder"};
    std::filesystem::create_directories(dir, error);
    if (!DirectoryExists(dir))
        throw TUsageError{"cannot create the folder " + dir};

    std::vector<std::string> lines = ExtractProjectFiles(saver, dir);
    if (!WriteProjectIni(dir))
        std::fprintf(stderr, "mirrorlake-tool unpack: a project file already took the name "
                             "project.ini; none written for pack\n");
    if (FileExists(dir + "QMGUI.wui") && !FileExists(dir + "ui.wui"))
        std::filesystem::copy_file(dir + "QMGUI.wui", dir + "ui.wui", error);

    std::size_t files = lines.size();
    std::printf("unpacked the archive (%zu listed file%s) into %s\n", files, files == 1 ? "" : "s",
                dir.c_str());
    return 0;
}

TCommandRegistration registration{
    {"unpack", "extract a saver's project into a folder",
     "Usage: mirrorlake-tool unpack SAVER -d DIR\n\n"
     "Extracts the project archive appended to SAVER (or an archive file) into the new or\n"
     "empty folder DIR: the archive's items QMC.res, QMFilenames.res, QMFiles.res and\n"
     "QMGUI.wui, and every file listed in QMFilenames.res under its file name alone. It also\n"
     "writes project.ini and ui.wui, so that 'pack DIR' rebuilds the project.",
     Unpack}};

} // namespace
} // namespace ml::tool
