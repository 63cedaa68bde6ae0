#include "mixer/WaveConvert.h"

#include "mixer/MixerError.h"

namespace ml {

namespace {

void CheckSupported(const TWaveFormat& source) {
    // Other sample sizes, more than two channels or a rate of 0 cannot be reduced to the
    // output with the steps below (and a rate of 0 would divide by zero).
    if ((source.BitsPerSample != 8 && source.BitsPerSample != 16) ||
        (source.Channels != 1 && source.Channels != 2) || source.SamplesPerSec == 0)
        throw EMixerError("File format not supported");
}

int UpFactor(const TWaveFormat& source, const TWaveFormat& output) {
    return static_cast<int>(output.SamplesPerSec / source.SamplesPerSec);
}

// The rounded ratio of the rates.
int DownFactor(const TWaveFormat& source, const TWaveFormat& output) {
    return static_cast<int>((std::uint64_t{source.SamplesPerSec} + output.SamplesPerSec / 2) /
                            output.SamplesPerSec);
}

// 16-bit samples are signed and little-endian; their high byte shifted by 128 is the unsigned
// 8-bit sample.
std::vector<std::uint8_t> To8Bit(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> result(data.size() / 2);
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = static_cast<std::uint8_t>(data[2 * i + 1] + 128);
    return result;
}

std::vector<std::uint8_t> MonoToStereo(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> result(data.size() * 2);
    for (std::size_t i = 0; i < data.size(); ++i)
        result[2 * i] = result[2 * i + 1] = data[i];
    return result;
}

std::vector<std::uint8_t> StereoToMono(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> result(data.size() / 2);
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = static_cast<std::uint8_t>((data[2 * i] + data[2 * i + 1]) / 2);
    return result;
}

// Each source frame becomes `factor` frames that walk in equal whole steps towards the next
// frame; the last frame has no successor and is repeated.
std::vector<std::uint8_t> UpSample(const std::vector<std::uint8_t>& data, int channels,
                                   int factor) {
    const std::size_t frames = data.size() / channels;
    std::vector<std::uint8_t> result(data.size() * factor);
    std::uint8_t* out = result.data();
    for (std::size_t k = 0; k < frames; ++k) {
        const std::uint8_t* frame = &data[k * channels];
        const std::uint8_t* next = k + 1 < frames ? frame + channels : frame;
        for (int j = 0; j < factor; ++j)
            for (int c = 0; c < channels; ++c) {
                const int step = (next[c] - frame[c]) / factor;
                *out++ = static_cast<std::uint8_t>(frame[c] + j * step);
            }
    }
    return result;
}

// Every output frame but the last averages `factor` source frames around silence (128); the
// last one copies the source frame at its position.
std::vector<std::uint8_t> DownSample(const std::vector<std::uint8_t>& data, int channels,
                                     int factor) {
    const std::size_t frames = data.size() / channels / factor;
    std::vector<std::uint8_t> result(frames * channels);
    for (std::size_t i = 0; i < frames; ++i) {
        const std::uint8_t* first = &data[i * factor * channels];
        for (int c = 0; c < channels; ++c) {
            if (i + 1 == frames) {
                result[i * channels + c] = first[c];
                continue;
            }
            int sum = 0;
            for (int k = 0; k < factor; ++k)
                sum += first[k * channels + c] - 128;
            result[i * channels + c] = static_cast<std::uint8_t>(sum / factor + 128);
        }
    }
    return result;
}

} // namespace

std::vector<std::uint8_t> ConvertWave(const TWaveFormat& source, std::vector<std::uint8_t> data,
                                      const TWaveFormat& output) {
    CheckSupported(source);

    // A trailing partial frame would shift every later frame's channels; drop it.
    const std::size_t frameBytes = std::size_t{source.Channels} * (source.BitsPerSample / 8);
    data.resize(data.size() - data.size() % frameBytes);

    if (source.BitsPerSample == 16)
        data = To8Bit(data);
    if (source.Channels == 1 && output.Channels == 2)
        data = MonoToStereo(data);
    else if (source.Channels == 2 && output.Channels == 1)
        data = StereoToMono(data);

    const int channels = output.Channels;
    if (source.SamplesPerSec < output.SamplesPerSec)
        data = UpSample(data, channels, UpFactor(source, output));
    else if (source.SamplesPerSec > output.SamplesPerSec)
        data = DownSample(data, channels, DownFactor(source, output));

    if (data.empty())
        throw EMixerError("Failed to convert wave format");
    return data;
}

std::uint64_t ConvertedSize(const TWaveFormat& source, std::uint64_t dataBytes,
                            const TWaveFormat& output) {
    CheckSupported(source);
    // The same steps as ConvertWave, on the byte count alone.
    std::uint64_t frames =
        dataBytes / (std::uint64_t{source.Channels} * (source.BitsPerSample / 8));
    if (source.SamplesPerSec < output.SamplesPerSec)
        frames *= UpFactor(source, output);
    else if (source.SamplesPerSec > output.SamplesPerSec)
        frames /= DownFactor(source, output);
    return frames * output.Channels;
}

} // namespace ml
