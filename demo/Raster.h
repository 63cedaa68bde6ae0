#pragma once
// A floating-point canvas for painting the demo scenes. Light is added, mixed and mirrored
// in floats so that gradients and reflections stay smooth; only the final picture is
// quantised to 8 bits (with a little grain so that the sky shows no banding after JPEG).

#include <QImage>
#include <cstdint>
#include <vector>

namespace ml::demo {

struct TColor {
    float R = 0;
    float G = 0;
    float B = 0;
};

inline TColor operator+(TColor a, TColor b) {
    return {a.R + b.R, a.G + b.G, a.B + b.B};
}
inline TColor operator-(TColor a, TColor b) {
    return {a.R - b.R, a.G - b.G, a.B - b.B};
}
inline TColor operator*(TColor a, float k) {
    return {a.R * k, a.G * k, a.B * k};
}
inline TColor operator*(TColor a, TColor b) {
    return {a.R * b.R, a.G * b.G, a.B * b.B};
}
inline TColor Mix(TColor a, TColor b, float t) {
    return a + (b - a) * t;
}
// 0xRRGGBB to a colour in 0..1.
TColor Hex(std::uint32_t rgb);
float Luma(TColor c);

float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);

class TRaster {
public:
    TRaster(int width, int height);

    int Width() const { return W; }
    int Height() const { return H; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }

    TColor& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * W + x]; }
    const TColor& At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * W + x]; }
    // Mixes a colour over the pixel with the given opacity; outside the canvas does nothing.
    void Blend(int x, int y, TColor color, float alpha);
    void Add(int x, int y, TColor light);
    // A soft round spot of light or paint; alpha falls off smoothly to the radius.
    void Spot(double cx, double cy, double radius, TColor color, float alpha, bool additive);

    // Final picture: gamma-free 8-bit conversion with deterministic film grain.
    QImage ToImage(std::uint64_t grainSeed, float grain) const;

private:
    int W;
    int H;
    std::vector<TColor> Pixels;
};

// Which water area (1..4) each pixel belongs to; 0 outside the water.
class TAreaLayer {
public:
    TAreaLayer(int width, int height);

    int Width() const { return W; }
    int Height() const { return H; }
    std::uint8_t Get(int x, int y) const { return Areas[static_cast<std::size_t>(y) * W + x]; }
    void Set(int x, int y, std::uint8_t area);

    // The mask picture in the area colours the picture files expect.
    QImage ToImage() const;

private:
    int W;
    int H;
    std::vector<std::uint8_t> Areas;
};

} // namespace ml::demo
