#include "tools/StrippedProgram.h"

#include "platform/Paths.h"

#include <QProcess>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace ml::tool {

TStrippedProgram::TStrippedProgram(const std::string& program) : Result(program) {
    std::string scratch = TempPath() + "mirrorlake-strip-XXXXXX";
    const int fd = mkstemp(scratch.data());
    if (fd < 0) {
        std::fprintf(stderr, "mirrorlake-tool: no scratch file in %s; packing %s unstripped\n",
                     TempPath().c_str(), program.c_str());
        return;
    }
    close(fd);
    Copy = scratch;
    QProcess strip;
    strip.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    strip.start("strip", {"--strip-all", "-o", QString::fromStdString(Copy),
                          QString::fromStdString(program)});
    if (strip.waitForFinished(60000) && strip.exitStatus() == QProcess::NormalExit &&
        strip.exitCode() == 0) {
        // The saver is written with the program's permissions, which the copy takes over.
        struct stat original;
        if (stat(program.c_str(), &original) == 0)
            chmod(Copy.c_str(), original.st_mode & 07777);
        Result = Copy;
        return;
    }
    std::fprintf(stderr,
                 "mirrorlake-tool: could not strip %s (is binutils installed?); packing it "
                 "with its debug information\n",
                 program.c_str());
}

TStrippedProgram::~TStrippedProgram() {
    if (!Copy.empty())
        std::remove(Copy.c_str());
}

} // namespace ml::tool
