#pragma once
// Conversion of PCM sound data to the mixer's output: 8-bit unsigned samples at the output's
// channel count and rate. Integer arithmetic throughout, so a sound converts to the same bytes
// on every machine.

#include "platform/WaveOut.h"

#include <cstdint>
#include <vector>

namespace ml {

// Converts data in the source format to the output format (only its channels and rate are
// used; the output is always 8-bit). Steps run in a fixed order: sample size, channel count,
// rate; a step whose property already matches changes nothing, but a trailing partial frame
// is always dropped. Raises EMixerError "File format not supported" for a source that is not 8- or
// 16-bit mono or stereo PCM with a rate, and "Failed to convert wave format" when no whole output
// frame results.
std::vector<std::uint8_t> ConvertWave(const TWaveFormat& source, std::vector<std::uint8_t> data,
                                      const TWaveFormat& output);
// The bytes ConvertWave makes of `dataBytes` bytes of source data, known before any of them is
// read. Raises "File format not supported" as ConvertWave does.
std::uint64_t ConvertedSize(const TWaveFormat& source, std::uint64_t dataBytes,
                            const TWaveFormat& output);

} // namespace ml
