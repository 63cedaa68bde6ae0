// Feeds arbitrary bytes to the picture file reader through TProject::Load, which reads every
// field, decodes the area map and both JPEG streams. Failures must end in the error message,
// never in a crash, a read out of bounds or a runaway allocation.

#include "fuzz/InputFile.h"
#include "platform/Messages.h"
#include "project/Project.h"

#include <cstdint>
#include <string>

namespace {

class TSilentSink : public ml::TMessageSink {
public:
    ml::TMsgResult Show(const ml::TMessage&) override { return ml::TMsgResult::OK; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TSilentSink sink;
    ml::SetMessageSink(&sink);
    static const ml::fuzz::TInputFile file("picturefile");
    const std::string path = file.Hold(data, size);
    if (path.empty())
        return 0;

    ml::TProject project;
    if (project.Load(path)) {
        // Every area map pixel must lie inside the bitmap the decoder sized.
        const ml::TBitmap& map = project.AreaMap;
        (void)map.ScanLine(map.Height() - 1)[map.Width() - 1];
        project.FitToDisplay(true, 64, 48);
    }
    // A small fit decodes the picture reduced, by another path through the decoder.
    project.Load(path, [](QSize) { return std::optional(ml::TDisplayFit{true, 8, 6}); });
    project.LoadHeader(path);
    return 0;
}
