#include "demo/Music.h"

#include "demo/Noise.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ml::demo {

namespace {

constexpr double kPi = 3.14159265358979323846;

double NoteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// One cycle of a soft saw (ten partials, falling off faster than a true saw) for the pads.
const std::vector<float>& PadWave() {
    static const std::vector<float> table = [] {
        std::vector<float> t(2048);
        for (std::size_t i = 0; i < t.size(); ++i) {
            double v = 0.0;
            for (int k = 1; k <= 10; ++k) {
                v += std::sin(2.0 * kPi * k * i / t.size()) / std::pow(k, 1.4);
            }
            t[i] = static_cast<float>(v * 0.5);
        }
        return t;
    }();
    return table;
}

// A pad note: three slightly detuned oscillators through a low-pass, slow attack and release.
void AddPad(TSignal& out, double start, double seconds, int note, float gain) {
    const std::vector<float>& wave = PadWave();
    const double attack = 1.4;
    const double release = 1.6;
    const std::size_t first = Samples(start);
    const std::size_t n = Samples(seconds + release);
    TBiquad warm = TBiquad::LowPass(1300, 0.6);
    const double detune[3] = {0.997, 1.0, 1.0032};
    double phases[3] = {0.0, 0.33, 0.71};
    const double step = NoteFrequency(note) / kSampleRate;
    for (std::size_t i = 0; i < n && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double envelope = std::min(1.0, t / attack);
        if (t > seconds) {
            envelope *= std::max(0.0, 1.0 - (t - seconds) / release);
        }
        double v = 0.0;
        for (int k = 0; k < 3; ++k) {
            phases[k] += step * detune[k];
            phases[k] -= std::floor(phases[k]);
            v += wave[static_cast<std::size_t>(phases[k] * wave.size()) % wave.size()];
        }
        out[first + i] +=
            warm.Process(static_cast<float>(v / 3.0)) * gain * static_cast<float>(envelope);
    }
}

// A small bell: frequency modulation whose brightness fades faster than its tone.
void AddBell(TSignal& out, double start, int note, float gain) {
    const std::size_t first = Samples(start);
    const std::size_t n = Samples(1.6);
    const double f = NoteFrequency(note);
    for (std::size_t i = 0; i < n && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double index = 1.4 * std::exp(-t * 6.0);
        const double v = std::sin(2.0 * kPi * f * t + index * std::sin(2.0 * kPi * f * 3.5 * t));
        out[first + i] +=
            static_cast<float>(v * std::exp(-t * 2.6) * std::min(1.0, t * 400.0)) * gain;
    }
}

// A plucked string (Karplus-Strong): a burst of noise circulating in a delay line whose
// averaging slowly takes the brightness out, as a real string loses its overtones.
void AddPluck(TSignal& out, double start, int note, float gain, TDemoRandom& random) {
    const std::size_t first = Samples(start);
    const std::size_t n = Samples(2.0);
    const auto period = static_cast<std::size_t>(std::max(2.0, kSampleRate / NoteFrequency(note)));
    std::vector<float> line(period);
    float previous = 0.0f;
    for (float& s : line) {
        // Pre-smoothed noise: a soft finger rather than a pick.
        const auto x = static_cast<float>(random.Uniform() * 2.0 - 1.0);
        s = (x + previous) * 0.5f;
        previous = x;
    }
    std::size_t index = 0;
    for (std::size_t i = 0; i < n && first + i < out.size(); ++i) {
        const std::size_t next = (index + 1) % period;
        const float v = line[index];
        line[index] = (line[index] + line[next]) * 0.5f * 0.996f;
        index = next;
        out[first + i] += v * gain;
    }
}

TSignal Finish(const TSignal& mix) {
    // Take the edge off the string attacks and bell overtones: background music should sit
    // behind the water sounds, not in front of them.
    TBiquad soften = TBiquad::LowPass(5500, 0.7);
    TSignal softened(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        softened[i] = soften.Process(mix[i]);
    }
    TSignal music = Reverb(softened, 0.3f, 0.8f, 0);
    FadeEdges(music, Samples(0.4), Samples(2.5));
    Normalise(music, 0.6f);
    return music;
}

} // namespace

TSignal EveningMusic() {
    const double chordSeconds = 5.0;
    // Fmaj7, Em7, Dm9, Cmaj7 over their roots: a slow descent that settles at home.
    const std::array<std::array<int, 5>, 4> chords = {
        {{41, 53, 57, 60, 64}, {40, 52, 55, 59, 62}, {38, 50, 53, 57, 64}, {36, 48, 55, 59, 64}}};
    const int pattern[8] = {1, 2, 3, 4, 3, 2, 4, 3};
    TSignal mix(Samples(chordSeconds * chords.size()), 0.0f);
    for (std::size_t c = 0; c < chords.size(); ++c) {
        const double start = c * chordSeconds;
        const bool last = c + 1 == chords.size();
        const double hold = last ? chordSeconds - 1.6 : chordSeconds;
        AddPad(mix, start, hold, chords[c][0], 0.35f);
        for (int v = 1; v < 5; ++v) {
            AddPad(mix, start, hold, chords[c][v], 0.16f);
        }
        for (int step = 0; step < 8; ++step) {
            if (last && step >= 6) {
                break; // leave room for the ending to ring out
            }
            AddBell(mix, start + step * chordSeconds / 8, chords[c][pattern[step]] + 12,
                    step == 0 ? 0.22f : 0.15f);
        }
    }
    return Finish(mix);
}

TSignal MorningMusic() {
    const double chordSeconds = 2.5;
    // Gmaj7, Em7, Cmaj7, D6, twice round.
    const std::array<std::array<int, 5>, 4> chords = {
        {{43, 55, 59, 62, 66}, {40, 52, 55, 59, 62}, {36, 48, 52, 55, 59}, {38, 50, 54, 57, 59}}};
    TDemoRandom random(301);
    TSignal mix(Samples(chordSeconds * chords.size() * 2), 0.0f);
    int melody = 2; // position in the chord, walked up and down
    for (std::size_t bar = 0; bar < chords.size() * 2; ++bar) {
        const auto& chord = chords[bar % chords.size()];
        const double start = bar * chordSeconds;
        const bool last = bar + 1 == chords.size() * 2;
        AddPluck(mix, start, chord[0], 0.5f, random);
        for (int v = 1; v < 5; ++v) {
            AddPad(mix, start, chordSeconds, chord[v], 0.05f);
        }
        const int steps = last ? 2 : 6;
        for (int step = 0; step < steps; ++step) {
            // A gentle walk over the chord tones an octave up, turning at the ends.
            melody = std::clamp(melody + (random.Below(3) - 1), 1, 4);
            const double at = start + step * chordSeconds / 6 + random.Range(0.0, 0.012);
            AddPluck(mix, at, chord[melody] + 12, step % 3 == 0 ? 0.42f : 0.3f, random);
        }
    }
    return Finish(mix);
}

} // namespace ml::demo
