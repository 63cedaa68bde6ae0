#include "demo/Ambience.h"

#include "demo/Noise.h"

#include <cmath>

namespace ml::demo {

namespace {

constexpr double kPi = 3.14159265358979323846;

float WhiteNoise(TDemoRandom& random) {
    return static_cast<float>(random.Uniform() * 2.0 - 1.0);
}

// A slow modulation that repeats exactly once per loop: a sum of a few whole-cycle sines.
double LoopLfo(std::size_t i, std::size_t length, const double (&phases)[3]) {
    const double t = 2.0 * kPi * static_cast<double>(i) / static_cast<double>(length);
    return (std::sin(t + phases[0]) + 0.6 * std::sin(2.0 * t + phases[1]) +
            0.35 * std::sin(5.0 * t + phases[2])) /
           1.95;
}

// One water drop hitting a surface: a tiny resonating bubble whose pitch rises as it closes.
TSignal Plink(TDemoRandom& random, double baseFrequency) {
    const std::size_t n = Samples(random.Range(0.015, 0.045));
    TSignal s(n);
    double phase = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        phase += 2.0 * kPi * baseFrequency * (1.0 + 0.8 * t) / kSampleRate;
        s[i] = static_cast<float>(std::sin(phase) * std::exp(-t * 5.0) * std::min(1.0, i / 20.0));
    }
    return s;
}

} // namespace

TSignal RainLoop() {
    const std::size_t length = Samples(6.0);
    const std::size_t fade = Samples(0.5);
    TDemoRandom random(201);
    TBiquad hissHigh = TBiquad::HighPass(1800, 0.7);
    TBiquad hissLow = TBiquad::LowPass(7500, 0.7);
    TBiquad body = TBiquad::LowPass(700, 0.7);
    const double phases[3] = {0.3, 2.1, 4.0};
    TSignal rendered(length + fade);
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        const float n = WhiteNoise(random);
        const double swell = 1.0 + 0.12 * LoopLfo(i % length, length, phases);
        rendered[i] = static_cast<float>(
            (hissLow.Process(hissHigh.Process(n)) * 0.5 + body.Process(n) * 0.35) * swell);
    }
    TSignal loop = MakeSeamless(rendered, length, fade);
    // Many small drops close by on the water, a few bigger ones.
    for (int i = 0; i < 420; ++i) {
        const double size = std::pow(random.Uniform(), 3.0);
        const TSignal drop = Plink(random, random.Range(1400, 3800) * (1.0 - 0.4 * size));
        AddWrapped(loop, static_cast<std::size_t>(random.Below(static_cast<int>(length))), drop,
                   static_cast<float>(0.04 + 0.35 * size));
    }
    Normalise(loop, 0.5f);
    return loop;
}

TSignal WindLoop() {
    const std::size_t length = Samples(8.0);
    const std::size_t fade = Samples(0.8);
    TDemoRandom random(202);
    TSweepFilter gust;
    TSweepFilter whistle;
    TBiquad rumble = TBiquad::LowPass(160, 0.7);
    const double gustPhases[3] = {1.1, 0.2, 3.3};
    const double pitchPhases[3] = {2.5, 4.4, 0.9};
    TSignal rendered(length + fade);
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        const std::size_t at = i % length;
        const double strength = 0.55 + 0.45 * LoopLfo(at, length, gustPhases);
        const double pitch = LoopLfo(at, length, pitchPhases);
        const float n = WhiteNoise(random);
        // The howl rises in pitch as a gust strengthens; a thin whistle rides on top.
        const double sweep = gust.Process(n, 320 + 420 * strength + 90 * pitch, 0.5);
        const double thin = whistle.Process(n, 900 + 500 * strength, 0.08);
        rendered[i] = static_cast<float>(sweep * strength * strength * 0.6 +
                                         thin * strength * strength * strength * 0.05 +
                                         rumble.Process(n) * (0.4 + 0.6 * strength) * 0.8);
    }
    TSignal loop = MakeSeamless(rendered, length, fade);
    Normalise(loop, 0.45f);
    return loop;
}

TSignal LappingLoop() {
    const std::size_t length = Samples(6.0);
    const std::size_t fade = Samples(0.5);
    TDemoRandom random(203);
    TBiquad bedFilter = TBiquad::LowPass(380, 0.7);
    TSignal rendered(length + fade);
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        rendered[i] = bedFilter.Process(WhiteNoise(random)) * 0.5f;
    }
    TSignal loop = MakeSeamless(rendered, length, fade);
    // Wavelets slapping the shore: a swell of filtered noise, then a smaller slosh back.
    double at = 0.2;
    while (at < 6.0) {
        for (int part = 0; part < 2; ++part) {
            const double seconds = part == 0 ? random.Range(0.45, 0.7) : random.Range(0.3, 0.45);
            const std::size_t n = Samples(seconds);
            TBiquad tone = TBiquad::BandPass(random.Range(260, 520), 0.9);
            TBiquad soften = TBiquad::LowPass(1600, 0.7);
            TSignal lap(n);
            for (std::size_t i = 0; i < n; ++i) {
                const double t = static_cast<double>(i) / n;
                const double envelope = std::min(1.0, t / 0.15) * std::exp(-t * 4.0);
                lap[i] =
                    static_cast<float>(soften.Process(tone.Process(WhiteNoise(random))) * envelope);
            }
            const double start = at + (part == 0 ? 0.0 : random.Range(0.25, 0.4));
            AddWrapped(loop, Samples(start), lap, part == 0 ? 2.2f : 1.2f);
        }
        // A few bubbles gurgle as the water draws back.
        for (int b = 0; b < 3; ++b) {
            AddWrapped(loop, Samples(at + random.Range(0.3, 0.9)),
                       Plink(random, random.Range(350, 900)), 0.12f);
        }
        at += random.Range(1.2, 1.9);
    }
    Normalise(loop, 0.5f);
    return loop;
}

TSignal BirdCall() {
    TDemoRandom random(204);
    TSignal song(Samples(1.7), 0.0f);
    // A clear two-note whistle, then a short rising trill.
    struct TNote {
        double Start, Seconds, From, To;
    };
    std::vector<TNote> notes = {{0.05, 0.26, 3300, 3050}, {0.40, 0.32, 2650, 2450}};
    for (int i = 0; i < 6; ++i) {
        notes.push_back({0.85 + i * 0.085, 0.06, 3400 + i * 60.0, 4100 + i * 60.0});
    }
    for (const TNote& note : notes) {
        const std::size_t n = Samples(note.Seconds);
        const std::size_t start = Samples(note.Start);
        double phase = 0.0;
        const double vibrato = random.Range(28, 36);
        for (std::size_t i = 0; i < n && start + i < song.size(); ++i) {
            const double t = static_cast<double>(i) / n;
            const double f = note.From + (note.To - note.From) * t +
                             40.0 * std::sin(2.0 * kPi * vibrato * i / kSampleRate);
            phase += 2.0 * kPi * f / kSampleRate;
            const double envelope = std::sin(kPi * t) * std::sin(kPi * t);
            song[start + i] +=
                static_cast<float>((std::sin(phase) + 0.12 * std::sin(2.0 * phase)) * envelope);
        }
    }
    // Distance dulls the highs and adds the woods' echo.
    TBiquad distance = TBiquad::LowPass(4200, 0.7);
    for (float& s : song) {
        s = distance.Process(s);
    }
    TSignal call = Reverb(song, 0.35f, 0.72f, Samples(0.6));
    FadeEdges(call, 20, Samples(0.3));
    Normalise(call, 0.3f);
    return call;
}

} // namespace ml::demo
