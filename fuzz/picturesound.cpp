// Reads arbitrary bytes as a picture's sound the way pack checks it, and checks that a
// converted sound is a 16-bit WAVE the checker itself then passes as playable.

#include "tools/authoring/PictureSound.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ml::authoring::TPictureSoundCheck check = ml::authoring::CheckPictureSound(bytes);
    if (check.Verdict == ml::authoring::TSoundVerdict::Converted &&
        ml::authoring::CheckPictureSound(check.Bytes).Verdict !=
            ml::authoring::TSoundVerdict::Playable)
        __builtin_trap();
    if (check.Verdict != ml::authoring::TSoundVerdict::Converted && !check.Bytes.empty())
        __builtin_trap();
    return 0;
}
