// Feeds arbitrary bytes to the picture file reader through TProject::Load, which reads every
// field, decodes the area map and both JPEG streams. Failures must end in the error message,
// never in a crash, a read out of bounds or a runaway allocation.

#include "platform/Messages.h"
#include "project/Project.h"

#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

class TSilentSink : public ml::TMessageSink {
public:
    ml::TMsgResult Show(const ml::TMessage&) override { return ml::TMsgResult::OK; }
};

// One in-memory file, rewritten for every input and opened by name like a real one.
int ScratchFile() {
    static const int fd = memfd_create("picturefile", 0);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TSilentSink sink;
    ml::SetMessageSink(&sink);
    const int fd = ScratchFile();
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    ml::TProject project;
    if (project.Load(path)) {
        // Every area map pixel must lie inside the bitmap the decoder sized.
        const ml::TBitmap& map = project.AreaMap;
        (void)map.ScanLine(map.Height() - 1)[map.Width() - 1];
        project.FitToDisplay(true, 64, 48);
    }
    project.LoadHeader(path);
    return 0;
}
