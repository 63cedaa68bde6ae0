// mirrorlake-tool pack: builds the project archive from a project folder and appends it to a
// copy of the saver program.

#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/Archive.h"
#include "project/ArchiveWriter.h"
#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/ReportFindings.h"
#include "tools/StrippedProgram.h"
#include "tools/authoring/PackPlan.h"

#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace ml::tool {
namespace {

// The mirrorlake program built or installed beside this tool.
std::string DefaultSaver() {
    std::string here = ExtractFilePath(ModuleFileName());
    for (const std::string& candidate : {here + "mirrorlake", here + "../startup/mirrorlake"})
        if (FileExists(candidate))
            return candidate;
    throw TUsageError{"no mirrorlake program found beside this tool; name one with --saver"};
}

// Copies the saver and appends the archive through a temporary file beside the output, so
// that a failure leaves no half-written saver; the copy keeps the saver's permissions.
void WriteSaver(const std::string& saver, const std::vector<TArchiveItem>& items,
                const std::string& output) {
    struct stat saverStat;
    if (stat(saver.c_str(), &saverStat) != 0)
        throw TUsageError{"cannot read the saver program " + saver};
    std::string temporary = output + ".part-XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        throw EInOutError("cannot write " + output);
    close(fd);
    try {
        {
            std::ifstream in(saver, std::ios::binary);
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!in || !out)
                throw EInOutError("cannot copy " + saver + " to " + output);
            out << in.rdbuf();
            WriteArchive(out, items);
            if (!out.flush())
                throw EInOutError("cannot write " + output);
        }
        if (chmod(temporary.c_str(), saverStat.st_mode & 07777) != 0 ||
            std::rename(temporary.c_str(), output.c_str()) != 0)
            throw EInOutError("cannot write " + output);
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
}

int Pack(const TArgs& args) {
    TOptions options(args, {"-o", "--saver"});
    options.ExpectPositional(1, "one project folder");
    const std::string dir = options.Positional()[0];
    const std::string output = options.Required("-o");
    if (!DirectoryExists(dir))
        throw TUsageError{"no project folder " + dir};
    std::string saver = options.Value("--saver").value_or("");
    if (saver.empty())
        saver = DefaultSaver();
    if (!FileExists(saver))
        throw TUsageError{"no saver program " + saver};
    if (FindArchive(saver).Found)
        throw TUsageError{saver + " already carries a project; pack onto a plain mirrorlake"};

    const authoring::TPackPlan plan = authoring::PlanPack(dir);
    if (!ReportFindings(plan.Findings, "pack", output))
        return 1;
    WriteSaver(TStrippedProgram(saver).Path(), authoring::ArchiveItems(plan), output);

    const std::size_t files = plan.Files.size();
    std::printf("packed %zu file%s into %s", files, files == 1 ? "" : "s", output.c_str());
    std::printf(plan.InterfaceSource.empty() ? " with the default configuration window\n"
                                             : " with the configuration window of %s\n",
                plan.InterfaceSource.c_str());
    return 0;
}

TCommandRegistration registration{
    {"pack", "build a saver from a project folder",
     "Usage: mirrorlake-tool pack DIR -o SAVER [--saver PATH]\n\n"
     "Builds the project archive from the folder DIR and appends it to a copy of the saver\n"
     "program (by default the mirrorlake program beside this tool), written as SAVER with\n"
     "the saver's permissions. The program is packed stripped (without symbols and debug\n"
     "information). Do not strip a packed saver: strip would cut off its project.\n\n"
     "DIR holds project.ini with the sections [FileList] (one key per picture file),\n"
     "[General], [Default], [Advance], [Build] and [UI], and the files it names\n"
     "([FileList] pictures, PreviewFile and the MusicFile list, relative to DIR). The\n"
     "configuration window's description is the file [UI] UIFile names, else DIR/ui.wui,\n"
     "else the default window, which shows the project's ProductName, Publisher and Website.\n\n"
     "Everything the saver will read is checked first: unknown sections and keys (with a\n"
     "close match), values out of range, pictures whose content does not match their name,\n"
     "missing files, sounds the mixer cannot play (24- and 32-bit WAVE is converted to 16\n"
     "bits) and the window description. Each problem is printed with the file it is in and\n"
     "the fix; with any error nothing is written and the exit code is 1.",
     Pack}};

} // namespace
} // namespace ml::tool
