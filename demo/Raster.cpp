#include "demo/Raster.h"

#include "demo/Noise.h"
#include "project/ProjectRecords.h"

#include <algorithm>
#include <cmath>

namespace ml::demo {

TColor Hex(std::uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f};
}

float Luma(TColor c) {
    return 0.2126f * c.R + 0.7152f * c.G + 0.0722f * c.B;
}

float Clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

TRaster::TRaster(int width, int height)
    : W(width), H(height), Pixels(static_cast<std::size_t>(width) * height) {}

void TRaster::Blend(int x, int y, TColor color, float alpha) {
    if (Contains(x, y)) {
        TColor& p = At(x, y);
        p = Mix(p, color, alpha);
    }
}

void TRaster::Add(int x, int y, TColor light) {
    if (Contains(x, y)) {
        At(x, y) = At(x, y) + light;
    }
}

void TRaster::Spot(double cx, double cy, double radius, TColor color, float alpha, bool additive) {
    const int x0 = static_cast<int>(std::floor(cx - radius));
    const int x1 = static_cast<int>(std::ceil(cx + radius));
    const int y0 = static_cast<int>(std::floor(cy - radius));
    const int y1 = static_cast<int>(std::ceil(cy + radius));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d >= 1.0) {
                continue;
            }
            const float a = alpha * (1.0f - SmoothStep(0.0f, 1.0f, static_cast<float>(d)));
            if (additive) {
                Add(x, y, color * a);
            } else {
                Blend(x, y, color, a);
            }
        }
    }
}

QImage TRaster::ToImage(std::uint64_t grainSeed, float grain) const {
    QImage image(W, H, QImage::Format_RGB32);
    TDemoRandom random(grainSeed);
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const TColor& c = At(x, y);
            // Grain is stronger in the mid-tones, as on film, and doubles as dithering.
            const float n = static_cast<float>(random.Uniform() + random.Uniform() - 1.0);
            const float weight = grain * (0.35f + 2.6f * Luma(c) * (1.0f - Luma(c)));
            auto channel = [&](float v) {
                return std::clamp(static_cast<int>(std::lround((v + n * weight) * 255.0f)), 0, 255);
            };
            row[x] = qRgb(channel(c.R), channel(c.G), channel(c.B));
        }
    }
    return image;
}

TAreaLayer::TAreaLayer(int width, int height)
    : W(width), H(height), Areas(static_cast<std::size_t>(width) * height, 0) {}

void TAreaLayer::Set(int x, int y, std::uint8_t area) {
    if (x >= 0 && y >= 0 && x < W && y < H && area < 5) {
        Areas[static_cast<std::size_t>(y) * W + x] = area;
    }
}

QImage TAreaLayer::ToImage() const {
    QImage image(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < W; ++x) {
            row[x] = 0xFF000000u | AreaColors[Get(x, y)];
        }
    }
    return image;
}

} // namespace ml::demo
