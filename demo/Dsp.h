#pragma once
// Small sound-making tools for the demo's ambience and music: filters, a room reverb,
// seamless loops and the WAVE file the show plays. Signals are mono floats in -1..1.

#include <cstddef>
#include <string>
#include <vector>

namespace ml::demo {

using TSignal = std::vector<float>;

inline constexpr int kSampleRate = 22050;

inline std::size_t Samples(double seconds) {
    return static_cast<std::size_t>(seconds * kSampleRate + 0.5);
}

// Second-order filter section (the usual audio-cookbook designs), direct form I.
class TBiquad {
public:
    static TBiquad LowPass(double frequency, double q);
    static TBiquad HighPass(double frequency, double q);
    static TBiquad BandPass(double frequency, double q);

    float Process(float x);

private:
    double B0 = 1, B1 = 0, B2 = 0, A1 = 0, A2 = 0;
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

// State-variable band-pass whose centre may change every sample (wind, surf).
class TSweepFilter {
public:
    float Process(float x, double frequency, double damping);

private:
    double Low = 0;
    double Band = 0;
};

// A looping sound must end where it begins. The rendering is made `fade` samples longer than
// the loop; that tail is blended into the start with equal power, so the last sample of the
// loop flows into the first as it did while rendering.
TSignal MakeSeamless(const TSignal& rendered, std::size_t length, std::size_t fade);

// Adds a short event into a loop, wrapping past the end to the start.
void AddWrapped(TSignal& loop, std::size_t at, const TSignal& event, float gain);

// Scales the signal so that its largest sample has the given magnitude.
void Normalise(TSignal& signal, float peak);

// Linear fade-in and fade-out at the edges (for one-shot sounds and music).
void FadeEdges(TSignal& signal, std::size_t in, std::size_t out);

// A small room: four parallel combs and two all-passes. Returns the signal with `tail`
// samples of reverberation appended; `wet` is the share of the reverberated sound.
TSignal Reverb(const TSignal& dry, float wet, float decay, std::size_t tail);

// 16-bit PCM mono RIFF WAVE at kSampleRate.
std::string EncodeWav(const TSignal& signal);

} // namespace ml::demo
