#include "demo/Landscape.h"

#include <algorithm>
#include <cmath>

namespace ml::demo {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Distance of a row below the shore line as 0 (far) .. 1 (bottom of the picture).
float WaterDepth(int y, int waterline, int height) {
    return static_cast<float>(y - waterline) / static_cast<float>(std::max(1, height - waterline));
}

} // namespace

TColor GradientAt(const std::vector<TGradientStop>& stops, float t) {
    if (stops.empty()) {
        return {};
    }
    if (t <= stops.front().At) {
        return stops.front().Color;
    }
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].At) {
            const float span = stops[i].At - stops[i - 1].At;
            const float k = span > 0 ? (t - stops[i - 1].At) / span : 1.0f;
            // Smooth the joins so that no stop shows as a crease in the sky.
            return Mix(stops[i - 1].Color, stops[i].Color, SmoothStep(0.0f, 1.0f, k));
        }
    }
    return stops.back().Color;
}

void PaintGradient(TRaster& raster, int top, int bottom, const std::vector<TGradientStop>& stops) {
    for (int y = std::max(0, top); y < std::min(bottom, raster.Height()); ++y) {
        const TColor c = GradientAt(stops, static_cast<float>(y - top) / std::max(1, bottom - top));
        for (int x = 0; x < raster.Width(); ++x) {
            raster.At(x, y) = c;
        }
    }
}

void PaintClouds(TRaster& raster, int skyBottom, const TCloudStyle& style) {
    const TValueNoise noise(style.Seed);
    const TValueNoise detail(style.Seed * 31 + 5);
    const int y0 = static_cast<int>(style.Top * skyBottom);
    const int y1 = std::min(skyBottom, static_cast<int>(style.Bottom * skyBottom));
    for (int y = y0; y < y1; ++y) {
        const float band = static_cast<float>(y - y0) / std::max(1, y1 - y0);
        // Thin out towards both edges of the band so that clouds never end in a straight line.
        const float fade = SmoothStep(0.0f, 0.15f, band) * SmoothStep(1.0f, 0.75f, band);
        for (int x = 0; x < raster.Width(); ++x) {
            const double n = noise.Fbm(x * style.ScaleX, y * style.ScaleY, 6);
            const double warp = detail.Fbm(x * style.ScaleX * 3.0, y * style.ScaleY * 3.0, 3);
            const float density = static_cast<float>(n + (warp - 0.5) * 0.25);
            const float threshold = 1.0f - style.Coverage * 0.7f - 0.15f;
            const float a = SmoothStep(threshold, threshold + style.Softness, density) * fade;
            if (a <= 0.0f) {
                continue;
            }
            // Thicker parts are darker; the side towards the light row catches colour.
            const float thick = SmoothStep(threshold, threshold + 0.35f, density);
            const float towardsLight =
                Clamp01(1.0f - std::fabs(static_cast<float>(y) / skyBottom - style.LightRow));
            const float lit = Clamp01((1.0f - thick) * 0.8f + towardsLight * 0.45f);
            raster.Blend(x, y, Mix(style.Shade, style.Lit, lit), a * style.Opacity);
        }
    }
}

void PaintStars(TRaster& raster, int bottom, std::uint64_t seed, int count, float brightness) {
    TDemoRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const double x = random.Range(0, raster.Width());
        const double y = random.Range(0, bottom);
        // Most stars are faint; the few bright ones make the sky look deep.
        const double magnitude = std::pow(random.Uniform(), 6.0);
        const float fade = 1.0f - SmoothStep(0.35f, 1.0f, static_cast<float>(y / bottom));
        const float tint = static_cast<float>(random.Uniform());
        const TColor color = Mix(Hex(0xFFD8B0), Hex(0xC8D8FF), tint);
        const float level = brightness * fade * static_cast<float>(0.25 + magnitude * 1.6);
        raster.Add(static_cast<int>(x), static_cast<int>(y), color * level);
        if (magnitude > 0.35) {
            raster.Spot(x, y, 2.5 + magnitude * 2.0, color, level * 0.35f, true);
        }
    }
}

void PaintGlow(TRaster& raster, double cx, double cy, double radius, TColor color, float strength) {
    for (int y = 0; y < raster.Height(); ++y) {
        for (int x = 0; x < raster.Width(); ++x) {
            const double d = std::hypot(x - cx, (y - cy) * 1.15) / radius;
            const float k = strength * static_cast<float>(std::exp(-d * d) + 0.25 * std::exp(-d));
            raster.At(x, y) = raster.At(x, y) + color * k;
        }
    }
}

TProfile HillProfile(int width, const TValueNoise& noise, double baseRow, double height,
                     double scale, int octaves) {
    TProfile top(width);
    for (int x = 0; x < width; ++x) {
        top[x] = baseRow - height * noise.Fbm(x * scale, 0.5, octaves);
    }
    return top;
}

TProfile MountainProfile(int width, const TValueNoise& noise, double baseRow, double height,
                         double scale) {
    TProfile top(width);
    for (int x = 0; x < width; ++x) {
        const double ridge = noise.Ridged(x * scale, 3.7, 6);
        const double broad = noise.Fbm(x * scale * 0.35, 11.0, 3);
        top[x] = baseRow - height * (0.55 * ridge + 0.75 * broad - 0.3);
    }
    return top;
}

TProfile ConiferProfile(const TProfile& base, std::uint64_t seed, double minHeight,
                        double maxHeight, double spacing) {
    const int width = static_cast<int>(base.size());
    TProfile top = base;
    TDemoRandom random(seed);
    const TValueNoise jag(static_cast<std::uint32_t>(seed) + 3);
    for (double cx = -spacing; cx < width + spacing; cx += spacing * random.Range(0.35, 1.1)) {
        const double h = random.Range(minHeight, maxHeight);
        const double halfWidth = h * random.Range(0.18, 0.28);
        const int x0 = std::max(0, static_cast<int>(cx - halfWidth));
        const int x1 = std::min(width - 1, static_cast<int>(cx + halfWidth));
        const double ground = base[std::clamp(static_cast<int>(cx), 0, width - 1)];
        for (int x = x0; x <= x1; ++x) {
            const double u = std::fabs(x - cx) / halfWidth;
            // Branch tiers: a sawtooth down the flank, roughened by noise.
            const double tiers = 0.06 * std::fabs(std::sin(u * kPi * 3.5 + cx));
            const double rough = (jag.At(x * 0.9, cx) - 0.5) * 0.08;
            const double row = ground - h * std::max(0.0, 1.0 - u - tiers + rough);
            top[x] = std::min(top[x], row);
        }
    }
    return top;
}

TProfile CrownProfile(const TProfile& base, std::uint64_t seed, double minRadius, double maxRadius,
                      double spacing) {
    const int width = static_cast<int>(base.size());
    TProfile top = base;
    TDemoRandom random(seed);
    const TValueNoise leaves(static_cast<std::uint32_t>(seed) + 9);
    for (double cx = -maxRadius; cx < width + maxRadius; cx += spacing * random.Range(0.4, 1.2)) {
        const double r = random.Range(minRadius, maxRadius);
        const double ground = base[std::clamp(static_cast<int>(cx), 0, width - 1)];
        // Some crowns stand higher on their trunks; two smaller lobes roughen each crown.
        const double cy = ground - r * random.Range(0.6, 1.5);
        for (int lobe = 0; lobe < 3; ++lobe) {
            const double lr = lobe == 0 ? r : r * random.Range(0.45, 0.7);
            const double lx = lobe == 0 ? cx : cx + random.Range(-r, r) * 0.8;
            const double ly = lobe == 0 ? cy : cy + random.Range(-0.6, 0.2) * r;
            for (int x = std::max(0, static_cast<int>(lx - lr));
                 x <= std::min(width - 1, static_cast<int>(lx + lr)); ++x) {
                const double dx = x - lx;
                // Leaves break the outline into small clumps.
                const double clumps = (leaves.Fbm(x * 0.15, ly * 0.1, 3) - 0.5) * lr * 0.35;
                top[x] =
                    std::min(top[x], ly - std::sqrt(std::max(0.0, lr * lr - dx * dx)) + clumps);
            }
        }
    }
    return top;
}

void PaintCrowns(TRaster& raster, const TProfile& base, std::uint64_t seed,
                 const TCrownStyle& style) {
    const int width = static_cast<int>(base.size());
    TDemoRandom random(seed);
    const TValueNoise leaves(static_cast<std::uint32_t>(seed) + 17);
    // Light from the upper left and a little from the front.
    const double lx = -0.5;
    const double ly = -0.6;
    const double lz = 0.62;
    for (double cx = -style.MaxRadius; cx < width + style.MaxRadius;
         cx += style.Spacing * random.Range(0.5, 1.2)) {
        const double r = random.Range(style.MinRadius, style.MaxRadius);
        const double ground = base[std::clamp(static_cast<int>(cx), 0, width - 1)] + 2;
        const double cy = ground - r * random.Range(1.1, 2.0);
        for (int y = static_cast<int>(cy); y < ground; ++y) {
            for (int x = static_cast<int>(cx - r * 0.09); x <= cx + r * 0.09; ++x) {
                raster.Blend(x, y, style.Dark * 0.6f, 1.0f);
            }
        }
        const int lobes = 7 + random.Below(5);
        for (int l = 0; l < lobes; ++l) {
            // Upper lobes first so that the lower ones, nearer the eye, overlap them.
            const double angle = kPi * (1.0 + static_cast<double>(l) / lobes);
            const double spread = l == 0 ? 0.0 : random.Range(0.3, 0.75) * r;
            const double bx = cx + std::cos(angle) * spread * 1.2;
            const double by = cy + std::sin(angle) * spread * 0.8 + (l > lobes / 2 ? r * 0.3 : 0.0);
            const double br = l == 0 ? r * 0.8 : random.Range(0.4, 0.65) * r;
            for (int y = static_cast<int>(by - br - 2); y <= by + br + 2; ++y) {
                for (int x = static_cast<int>(bx - br - 2); x <= bx + br + 2; ++x) {
                    const double dx = (x - bx) / br;
                    const double dy = (y - by) / br;
                    const double d2 = dx * dx + dy * dy;
                    const double leaf = leaves.Fbm(x * 0.22, y * 0.22, 3);
                    // Leafy edge: the outline is eaten away where the leaf noise is low.
                    if (d2 > 1.0 - (0.5 - leaf) * 0.6 || !raster.Contains(x, y)) {
                        continue;
                    }
                    const double nz = std::sqrt(std::max(0.0, 1.0 - d2));
                    const double lit = std::max(0.0, dx * lx + dy * ly + nz * lz);
                    const float k = Clamp01(static_cast<float>(lit * 0.85 + (leaf - 0.5) * 0.9));
                    raster.Blend(x, y, Mix(style.Dark, style.Light, k), 1.0f);
                }
            }
        }
    }
}

void PaintSilhouette(TRaster& raster, const TProfile& top, int bottom, const TShader& shader) {
    const int width = std::min(raster.Width(), static_cast<int>(top.size()));
    bottom = std::min(bottom, raster.Height());
    for (int x = 0; x < width; ++x) {
        const double edge = top[x];
        const int first = std::max(0, static_cast<int>(std::floor(edge)));
        for (int y = first; y < bottom; ++y) {
            const float depth = static_cast<float>(y - edge);
            const float coverage = Clamp01(static_cast<float>(y + 1 - edge));
            raster.Blend(x, y, shader(x, y, std::max(0.0f, depth)), coverage);
        }
    }
}

void PaintReeds(TRaster& raster, std::uint64_t seed, int x0, int x1, const TProfile& base,
                int count, double minHeight, double maxHeight, TColor color, bool cattails) {
    TDemoRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const double bx = random.Range(x0, x1);
        const double by =
            base[std::clamp(static_cast<int>(bx), 0, static_cast<int>(base.size()) - 1)] + 2;
        const double h = random.Range(minHeight, maxHeight);
        const double lean = random.Range(-0.35, 0.35) * h;
        const double width = random.Range(1.2, 2.4);
        const TColor shade = color * static_cast<float>(random.Range(0.8, 1.2));
        const int steps = static_cast<int>(h * 1.5);
        for (int s = 0; s <= steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            // A blade bends more towards its tip.
            const double x = bx + lean * t * t;
            const double y = by - h * t;
            raster.Spot(x, y, width * (1.0 - 0.8 * t) + 0.4, shade, 0.9f, false);
        }
        if (cattails && random.Uniform() < 0.3) {
            const double t = 0.8;
            for (int s = 0; s < 14; ++s) {
                const double tt = t + s * 0.006;
                raster.Spot(bx + lean * tt * tt, by - h * tt, width + 1.6, shade * 0.8f, 0.95f,
                            false);
            }
        }
    }
}

void PaintWater(TRaster& raster, const TAreaLayer& areas, int waterline, const TWaterStyle& style) {
    const TValueNoise streaks(style.Seed);
    const TValueNoise wobble(style.Seed + 101);
    const TValueNoise facets(style.Seed + 202);
    const int height = raster.Height();
    for (int y = std::max(0, waterline); y < height; ++y) {
        const float t = WaterDepth(y, waterline, height);
        // Perspective: a row near the shore spans far more water than one near the viewer, so
        // the ripple pattern is squeezed vertically there and stretched near the bottom.
        const double distance = 1.0 / (t + 0.04);
        const float reflect = Mix(TColor{style.ReflectFar, 0, 0}, {style.ReflectNear, 0, 0}, t).R;
        const int smear = static_cast<int>(std::lround(style.Smear * t));
        for (int x = 0; x < raster.Width(); ++x) {
            if (areas.Get(x, y) == 0) {
                continue;
            }
            const double sway = (wobble.Fbm(x * 0.02, distance * 2.0, 3) - 0.5) * style.Sway * t;
            const int sx = std::clamp(static_cast<int>(x + sway), 0, raster.Width() - 1);
            // Each wave facet is tilted a little and so mirrors a slightly different row.
            const double facet =
                (facets.Fbm((x - raster.Width() / 2.0) * 0.03 / (0.15 + t), distance * 4.0, 3) -
                 0.5) *
                2.0 * style.Roughness * (0.15 + t);
            const int mirrorRow = 2 * waterline - 1 - y + static_cast<int>(std::lround(facet));
            TColor mirrored{};
            int taken = 0;
            for (int k = -smear; k <= smear; ++k) {
                const int sy = std::clamp(mirrorRow + k, 0, waterline - 1);
                mirrored = mirrored + raster.At(sx, sy);
                ++taken;
            }
            mirrored = mirrored * (style.Darken / taken);
            TColor c = Mix(style.Body, mirrored, reflect);
            // Measured from the middle so that the changing scale does not shear the streaks.
            const double u = (x - raster.Width() / 2.0) * 0.0035 * (1.0 + 2.0 * (1.0 - t));
            const double n = streaks.Fbm(u, distance * 1.6, 4);
            const float ripple = static_cast<float>(n - 0.5) * 2.0f * style.Ripples;
            c = c * (1.0f + ripple);
            raster.At(x, y) = c;
        }
    }
}

void PaintLightPath(TRaster& raster, const TAreaLayer& areas, double x, int fromRow, int toRow,
                    double width0, double width1, TColor color, float strength,
                    std::uint32_t seed) {
    const TValueNoise glints(seed);
    for (int y = std::max(0, fromRow); y < std::min(toRow, raster.Height()); ++y) {
        const double t = static_cast<double>(y - fromRow) / std::max(1, toRow - fromRow);
        const double halfWidth = width0 + (width1 - width0) * t;
        const double distance = 1.0 / (t + 0.05);
        for (int px = static_cast<int>(x - halfWidth * 1.6); px <= x + halfWidth * 1.6; ++px) {
            if (px < 0 || px >= raster.Width() || areas.Get(px, y) == 0) {
                continue;
            }
            const double u = (px - x) / halfWidth;
            const float core = static_cast<float>(std::exp(-u * u * 1.5));
            // Glints are short horizontal dashes: wave crests facing the light.
            const double g = glints.Fbm((px - x) * 0.06 / (0.2 + t), distance * 3.0 + y * 0.12, 3);
            const float glint = SmoothStep(0.5f, 0.72f, static_cast<float>(g));
            raster.Add(px, y, color * (strength * core * (0.15f + glint)));
        }
    }
}

void PaintRainRings(TRaster& raster, const TAreaLayer& areas, int waterline, std::uint64_t seed,
                    int count, float strength) {
    TDemoRandom random(seed);
    const int height = raster.Height();
    for (int i = 0; i < count; ++i) {
        const double cx = random.Range(0, raster.Width());
        // More rings near the viewer, where each covers more pixels.
        const double t = std::sqrt(random.Uniform());
        const double cy = waterline + t * (height - waterline);
        const double r = (2.0 + random.Uniform() * 10.0) * (0.2 + t);
        const double flatten = 0.18 + 0.2 * t;
        const int steps = static_cast<int>(r * 7) + 8;
        for (int s = 0; s < steps; ++s) {
            const double a = 2.0 * kPi * s / steps;
            const int x = static_cast<int>(std::lround(cx + r * std::cos(a)));
            const int y = static_cast<int>(std::lround(cy + r * flatten * std::sin(a)));
            if (raster.Contains(x, y) && areas.Get(x, y) != 0) {
                // The far side of a ring catches the sky, the near side is in shadow.
                const float k = std::sin(a) < 0 ? strength : -strength * 0.5f;
                raster.At(x, y) = raster.At(x, y) * (1.0f + k);
            }
        }
    }
}

void ReleaseCovered(TAreaLayer& areas, const TRaster& before, const TRaster& after) {
    for (int y = 0; y < areas.Height(); ++y) {
        for (int x = 0; x < areas.Width(); ++x) {
            const TColor d = after.At(x, y) - before.At(x, y);
            if (std::fabs(d.R) + std::fabs(d.G) + std::fabs(d.B) > 0.01f) {
                areas.Set(x, y, 0);
            }
        }
    }
}

void PaintVignette(TRaster& raster, float strength) {
    const double cx = raster.Width() / 2.0;
    const double cy = raster.Height() / 2.0;
    const double reach = std::hypot(cx, cy);
    for (int y = 0; y < raster.Height(); ++y) {
        for (int x = 0; x < raster.Width(); ++x) {
            const double d = std::hypot(x - cx, y - cy) / reach;
            raster.At(x, y) = raster.At(x, y) * (1.0f - strength * static_cast<float>(d * d));
        }
    }
}

} // namespace ml::demo
