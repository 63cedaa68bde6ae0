// Feeds arbitrary bytes to the picture loader as a JPEG, BMP or GIF file. The first byte picks
// the extension, so one corpus reaches all three decoders.

#include "backend/PictureLoader.h"
#include "platform/Exceptions.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& ScratchStem() {
    static const std::string stem = "/tmp/mirrorlake-fuzz-picture-" + std::to_string(getpid());
    return stem;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const char* const extensions[] = {".jpg", ".bmp", ".gif"};
    const std::string path = ScratchStem() + extensions[data[0] % 3];
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data + 1, 1, size - 1, file);
        std::fclose(file);
    }
    try {
        const ml::TBitmap bitmap = ml::LoadPicture(path);
        // Touch the last row so that a bitmap smaller than it claims shows up under ASan.
        if (!bitmap.Empty())
            (void)bitmap.ScanLine(bitmap.Height() - 1)[bitmap.Width() - 1];
    } catch (const ml::Exception&) {
    }
    std::remove(path.c_str());
    return 0;
}
