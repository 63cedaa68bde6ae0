#pragma once
// The sounds a picture file plays, checked before they travel with a project: the show's
// mixer plays PCM WAVE of 8 or 16 bits in one or two channels and stays silent for anything
// else. Deeper WAVE (24 or 32 bits, integer or float) is turned into 16 bits here, so that it
// plays; other files are refused with the formats that work.

#include <string>

namespace ml::authoring {

enum class TSoundVerdict { Playable, Converted, Refused };

struct TPictureSoundCheck {
    TSoundVerdict Verdict = TSoundVerdict::Refused;
    // Refused: why, in words an author understands; Converted: what the sound was.
    std::string Description;
    // Converted: the sound as a 16-bit PCM WAVE file.
    std::string Bytes;
};

// Checks the bytes of a sound file and converts it when it needs to be.
TPictureSoundCheck CheckPictureSound(const std::string& bytes);

// What the mixer plays, for messages.
inline constexpr const char* kPlayableSounds =
    "WAVE files of 8- or 16-bit PCM in mono or stereo (24- and 32-bit integer or float WAVE "
    "are converted to 16 bits by pack)";

} // namespace ml::authoring
