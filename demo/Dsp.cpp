#include "demo/Dsp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ml::demo {

namespace {

constexpr double kPi = 3.14159265358979323846;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// Feedback comb with a one-pole damper in the loop: high frequencies die sooner, as in a room.
class TComb {
public:
    TComb(std::size_t delay, float feedback) : Buffer(delay, 0.0f), Feedback(feedback) {}
    float Process(float x) {
        const float out = Buffer[Index];
        Damped = out * 0.7f + Damped * 0.3f;
        Buffer[Index] = x + Damped * Feedback;
        Index = (Index + 1) % Buffer.size();
        return out;
    }

private:
    std::vector<float> Buffer;
    float Feedback;
    float Damped = 0;
    std::size_t Index = 0;
};

class TAllPass {
public:
    explicit TAllPass(std::size_t delay) : Buffer(delay, 0.0f) {}
    float Process(float x) {
        const float delayed = Buffer[Index];
        const float out = delayed - x * 0.5f;
        Buffer[Index] = x + delayed * 0.5f;
        Index = (Index + 1) % Buffer.size();
        return out;
    }

private:
    std::vector<float> Buffer;
    std::size_t Index = 0;
};

} // namespace

TBiquad TBiquad::LowPass(double frequency, double q) {
    TBiquad f;
    const double w = 2.0 * kPi * frequency / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    f.B0 = (1.0 - std::cos(w)) / 2.0 / a0;
    f.B1 = (1.0 - std::cos(w)) / a0;
    f.B2 = f.B0;
    f.A1 = -2.0 * std::cos(w) / a0;
    f.A2 = (1.0 - alpha) / a0;
    return f;
}

TBiquad TBiquad::HighPass(double frequency, double q) {
    TBiquad f;
    const double w = 2.0 * kPi * frequency / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    f.B0 = (1.0 + std::cos(w)) / 2.0 / a0;
    f.B1 = -(1.0 + std::cos(w)) / a0;
    f.B2 = f.B0;
    f.A1 = -2.0 * std::cos(w) / a0;
    f.A2 = (1.0 - alpha) / a0;
    return f;
}

TBiquad TBiquad::BandPass(double frequency, double q) {
    TBiquad f;
    const double w = 2.0 * kPi * frequency / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    f.B0 = alpha / a0;
    f.B1 = 0.0;
    f.B2 = -alpha / a0;
    f.A1 = -2.0 * std::cos(w) / a0;
    f.A2 = (1.0 - alpha) / a0;
    return f;
}

float TBiquad::Process(float x) {
    const double y = B0 * x + B1 * X1 + B2 * X2 - A1 * Y1 - A2 * Y2;
    X2 = X1;
    X1 = x;
    Y2 = Y1;
    Y1 = y;
    return static_cast<float>(y);
}

float TSweepFilter::Process(float x, double frequency, double damping) {
    // Chamberlin's form is stable while 2 sin(pi f / rate) stays well below 1.
    const double f = 2.0 * std::sin(kPi * std::min(frequency, kSampleRate / 6.0) / kSampleRate);
    Low += f * Band;
    const double high = x - Low - damping * Band;
    Band += f * high;
    return static_cast<float>(Band);
}

TSignal MakeSeamless(const TSignal& rendered, std::size_t length, std::size_t fade) {
    TSignal loop(rendered.begin(), rendered.begin() + static_cast<std::ptrdiff_t>(length));
    fade = std::min({fade, length, rendered.size() - length});
    for (std::size_t i = 0; i < fade; ++i) {
        const double k = (i + 0.5) / fade;
        const auto in = static_cast<float>(std::sin(k * kPi / 2.0));
        const auto out = static_cast<float>(std::cos(k * kPi / 2.0));
        loop[i] = rendered[i] * in + rendered[length + i] * out;
    }
    return loop;
}

void AddWrapped(TSignal& loop, std::size_t at, const TSignal& event, float gain) {
    if (loop.empty()) {
        return;
    }
    for (std::size_t i = 0; i < event.size(); ++i) {
        loop[(at + i) % loop.size()] += event[i] * gain;
    }
}

void Normalise(TSignal& signal, float peak) {
    float largest = 0.0f;
    for (float s : signal) {
        largest = std::max(largest, std::fabs(s));
    }
    if (largest > 0.0f) {
        for (float& s : signal) {
            s *= peak / largest;
        }
    }
}

void FadeEdges(TSignal& signal, std::size_t in, std::size_t out) {
    const std::size_t n = signal.size();
    for (std::size_t i = 0; i < std::min(in, n); ++i) {
        signal[i] *= static_cast<float>(i) / in;
    }
    for (std::size_t i = 0; i < std::min(out, n); ++i) {
        signal[n - 1 - i] *= static_cast<float>(i) / out;
    }
}

TSignal Reverb(const TSignal& dry, float wet, float decay, std::size_t tail) {
    // Delays in samples at 22050 Hz, mutually prime so that the echoes do not pile up.
    TComb combs[] = {{1117, decay}, {1277, decay}, {1423, decay}, {1559, decay}};
    TAllPass passes[] = {TAllPass(347), TAllPass(113)};
    TSignal out(dry.size() + tail, 0.0f);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float x = i < dry.size() ? dry[i] : 0.0f;
        float sum = 0.0f;
        for (TComb& c : combs) {
            sum += c.Process(x);
        }
        float y = sum * 0.25f;
        for (TAllPass& p : passes) {
            y = p.Process(y);
        }
        out[i] = x * (1.0f - wet) + y * wet;
    }
    return out;
}

std::string EncodeWav(const TSignal& signal) {
    const auto dataBytes = static_cast<std::uint32_t>(signal.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, 1, 2); // mono
    PutLe(out, kSampleRate, 4);
    PutLe(out, kSampleRate * 2, 4); // bytes per second
    PutLe(out, 2, 2);               // bytes per frame
    PutLe(out, 16, 2);              // bits per sample
    out += "data";
    PutLe(out, dataBytes, 4);
    for (float s : signal) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        PutLe(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(v)) & 0xFFFFu, 2);
    }
    return out;
}

} // namespace ml::demo
