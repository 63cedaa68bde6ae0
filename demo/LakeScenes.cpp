// The two lake pictures: a rainy lake at dusk and a mountain lake in snow.

#include "demo/Landscape.h"
#include "demo/Scenes.h"

#include <algorithm>
#include <cmath>

namespace ml::demo {

TSceneArt PaintDuskLake() {
    TRaster raster(kSceneWidth, kSceneHeight);
    TAreaLayer areas(kSceneWidth, kSceneHeight);
    const int waterline = 418;

    PaintGradient(raster, 0, waterline,
                  {{0.0f, Hex(0x1A1B36)},
                   {0.35f, Hex(0x3B3560)},
                   {0.62f, Hex(0x8A5A78)},
                   {0.82f, Hex(0xD9826A)},
                   {1.0f, Hex(0xF3B77E)}});
    PaintGlow(raster, 820, waterline - 20, 260, Hex(0xFF9A5A), 0.35f);
    // Heavy rain clouds, their bellies lit by the last light from the horizon.
    TCloudStyle heavy;
    heavy.Seed = 11;
    heavy.ScaleX = 0.0025;
    heavy.ScaleY = 0.009;
    heavy.Coverage = 0.75f;
    heavy.Softness = 0.22f;
    heavy.Opacity = 0.92f;
    heavy.Lit = Hex(0xE69A86);
    heavy.Shade = Hex(0x2A2642);
    heavy.Top = 0.0f;
    heavy.Bottom = 0.72f;
    heavy.LightRow = 0.9f;
    PaintClouds(raster, waterline, heavy);
    TCloudStyle streaks = heavy;
    streaks.Seed = 12;
    streaks.ScaleX = 0.0015;
    streaks.ScaleY = 0.03;
    streaks.Coverage = 0.45f;
    streaks.Opacity = 0.7f;
    streaks.Lit = Hex(0xFFC08A);
    streaks.Shade = Hex(0x6A4A6A);
    streaks.Top = 0.55f;
    streaks.Bottom = 0.95f;
    PaintClouds(raster, waterline, streaks);

    // Two ranges of hills fading into the evening haze, then the dark tree line on the shore.
    const TValueNoise hillNoise(21);
    const TProfile farHills = HillProfile(kSceneWidth, hillNoise, waterline - 6, 110, 0.004, 4);
    PaintSilhouette(raster, farHills, waterline, [](int, int, float depth) {
        return Mix(Hex(0x8E6A86), Hex(0x5E4B6E), SmoothStep(0, 60, depth));
    });
    const TValueNoise nearNoise(22);
    const TProfile nearHills = HillProfile(kSceneWidth, nearNoise, waterline, 70, 0.006, 4);
    PaintSilhouette(raster, nearHills, waterline, [](int, int, float depth) {
        return Mix(Hex(0x4F3F5E), Hex(0x2E2A44), SmoothStep(0, 40, depth));
    });
    TProfile shore(kSceneWidth);
    const TValueNoise shoreNoise(23);
    for (int x = 0; x < kSceneWidth; ++x) {
        shore[x] = waterline + 1 - 10 * shoreNoise.Fbm(x * 0.01, 2.0, 3);
    }
    // A hazier row of trees behind the shore row gives the forest depth.
    const TProfile backTrees = ConiferProfile(shore, 32, 18, 48, 9);
    PaintSilhouette(raster, backTrees, waterline, [](int, int, float depth) {
        return Mix(Hex(0x3A3150), Hex(0x282238), SmoothStep(0, 20, depth));
    });
    const TProfile trees = ConiferProfile(shore, 24, 14, 72, 16);
    const TValueNoise leaf(25);
    PaintSilhouette(raster, trees, waterline, [&](int x, int y, float depth) {
        const float n = static_cast<float>(leaf.Fbm(x * 0.08, y * 0.08, 3));
        return Mix(Hex(0x1A1826), Hex(0x2C2638), n * SmoothStep(12, 0, depth));
    });
    // Lit windows of two cabins among the trees.
    const double lights[][2] = {{318, waterline - 7}, {331, waterline - 6}, {905, waterline - 5}};
    for (const auto& l : lights) {
        raster.Spot(l[0], l[1], 2.2, Hex(0xFFD27A), 1.0f, false);
        raster.Spot(l[0], l[1], 14, Hex(0xFF9A40), 0.25f, true);
    }

    for (int y = waterline; y < kSceneHeight; ++y) {
        for (int x = 0; x < kSceneWidth; ++x) {
            areas.Set(x, y, 1);
        }
    }
    TWaterStyle water;
    water.Seed = 26;
    water.Body = Hex(0x141528);
    water.ReflectFar = 0.95f;
    water.ReflectNear = 0.55f;
    water.Darken = 0.82f;
    water.Ripples = 0.14f;
    PaintWater(raster, areas, waterline, water);
    for (const auto& l : lights) {
        PaintLightPath(raster, areas, l[0], waterline + 2, waterline + 150, 2, 5, Hex(0xFFB060),
                       0.8f, 27);
    }
    PaintLightPath(raster, areas, 820, waterline, kSceneHeight, 50, 160, Hex(0xFFA070), 0.1f, 28);
    PaintRainRings(raster, areas, waterline, 29, 170, 0.2f);

    // Reeds in the foreground stand in front of the water, so they leave the area.
    TProfile bank(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        const double left = std::max(0.0, 1.0 - x / 260.0);
        const double right = std::max(0.0, (x - 1080) / 200.0);
        bank[x] = kSceneHeight - 40 * std::max(left, right) * std::max(left, right) - 1;
    }
    const TRaster beforeForeground = raster;
    PaintSilhouette(raster, bank, kSceneHeight, [](int, int, float) { return Hex(0x0E0D16); });
    PaintReeds(raster, 30, 0, 240, bank, 70, 60, 210, Hex(0x0F0E18), true);
    PaintReeds(raster, 31, 1100, 1280, bank, 50, 40, 160, Hex(0x0F0E18), true);
    ReleaseCovered(areas, beforeForeground, raster);
    PaintVignette(raster, 0.35f);
    return {raster.ToImage(101, 0.018f), areas.ToImage()};
}

TSceneArt PaintMountainLake() {
    TRaster raster(kSceneWidth, kSceneHeight);
    TAreaLayer areas(kSceneWidth, kSceneHeight);
    const int waterline = 472;

    // A cold winter morning: pale sky, a soft veil of snow cloud drifting over the peaks.
    PaintGradient(raster, 0, waterline,
                  {{0.0f, Hex(0x5F7FA8)},
                   {0.45f, Hex(0x9DB4CE)},
                   {0.8f, Hex(0xD6DCE3)},
                   {1.0f, Hex(0xE9E2DA)}});
    TCloudStyle veil;
    veil.Seed = 41;
    veil.ScaleX = 0.003;
    veil.ScaleY = 0.01;
    veil.Coverage = 0.55f;
    veil.Softness = 0.3f;
    veil.Opacity = 0.75f;
    veil.Lit = Hex(0xF2EEEA);
    veil.Shade = Hex(0x8E9BB2);
    veil.Top = 0.0f;
    veil.Bottom = 0.5f;
    veil.LightRow = 0.0f;
    PaintClouds(raster, waterline, veil);

    // The peaks: a far range in the haze, then the main massif. Gullies run down the faces
    // (noise stretched vertically); snow fills them and lies high up, rock shows on the ribs.
    // The morning light comes from the left.
    const TValueNoise face(43);
    // Which way each column of a range faces: flanks rising to the right face the light.
    auto facing = [](const TProfile& top) {
        std::vector<float> f(top.size());
        const int n = static_cast<int>(top.size());
        for (int x = 0; x < n; ++x) {
            const double rise = top[std::max(0, x - 18)] - top[std::min(n - 1, x + 18)];
            f[x] = static_cast<float>(std::clamp(rise / 24.0, -1.0, 1.0));
        }
        return f;
    };
    auto mountainShader = [&](const std::vector<float>& faces, float haze, float snowBias) {
        return [&face, &faces, haze, snowBias, waterline](int x, int y, float depth) {
            const double fx = 0.018;
            const double fy = 0.005;
            const double here = face.Ridged(x * fx, y * fy, 5);
            const double left = face.Ridged((x - 3) * fx, y * fy, 5);
            const float light = Clamp01(0.5f + faces[x] * 0.3f * SmoothStep(200.0f, 0.0f, depth) +
                                        static_cast<float>(here - left) * 3.0f);
            const float cover = static_cast<float>(face.Fbm(x * 0.03, y * 0.03, 3));
            // Steep ribs (high ridge values) shed their snow; the gullies between them hold it.
            // Rock shows on the steep ribs that run down the faces, more on the shadow side.
            const float steep = faces[x] < 0.0f ? -faces[x] * 0.12f : 0.0f;
            const float rib =
                static_cast<float>(here) * 0.9f + (cover - 0.5f) * 0.2f + steep - snowBias;
            const float snow =
                1.0f - SmoothStep(0.52f, 0.56f, rib) * SmoothStep(6.0f, 24.0f, depth);
            const TColor rock = Mix(Hex(0x2E3340), Hex(0x6E6A68), light);
            const TColor snowColor = Mix(Hex(0x7088B4), Hex(0xFFF4EA), light);
            const float mist = haze + 0.4f * SmoothStep(waterline - 160.0f, waterline, y);
            return Mix(Mix(rock, snowColor, snow), Hex(0xCDD6E2), Clamp01(mist));
        };
    };
    const TValueNoise farNoise(51);
    const TProfile farRange = MountainProfile(kSceneWidth, farNoise, waterline - 120, 250, 0.004);
    const std::vector<float> farFaces = facing(farRange);
    PaintSilhouette(raster, farRange, waterline, mountainShader(farFaces, 0.45f, 0.1f));
    const TValueNoise peakNoise(42);
    const TProfile peaks = MountainProfile(kSceneWidth, peakNoise, waterline - 30, 400, 0.0024);
    const std::vector<float> peakFaces = facing(peaks);
    PaintSilhouette(raster, peaks, waterline, mountainShader(peakFaces, 0.05f, 0.0f));
    // Valley mist in front of the peaks.
    for (int y = waterline - 120; y < waterline; ++y) {
        const float k = SmoothStep(waterline - 120.0f, waterline - 10.0f, y) * 0.4f;
        for (int x = 0; x < kSceneWidth; ++x) {
            raster.Blend(x, y, Hex(0xDDE3EA), k);
        }
    }
    // Forested slopes down to the shore, snow on the branches.
    const TValueNoise slopeNoise(44);
    const TValueNoise needles(47);
    auto forestShader = [&](TColor dark, TColor light, float hazeAmount) {
        return [&needles, dark, light, hazeAmount](int x, int y, float depth) {
            const float n = static_cast<float>(needles.Fbm(x * 0.2, y * 0.07, 3));
            const TColor green = Mix(dark, light, n);
            // Snow lies on the upper side of the branches.
            const float snow = SmoothStep(0.6f, 0.72f, n) * SmoothStep(60.0f, 4.0f, depth);
            return Mix(Mix(green, Hex(0xDCE4EE), snow * 0.7f), Hex(0xB8C4D0), hazeAmount);
        };
    };
    TProfile slope(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        const double side = std::pow(std::fabs(x - 600.0) / 640.0, 1.8);
        slope[x] = waterline - 14 - 170 * side * (0.6 + 0.6 * slopeNoise.Fbm(x * 0.006, 0.3, 3));
    }
    PaintSilhouette(raster, ConiferProfile(slope, 45, 10, 26, 6), waterline,
                    forestShader(Hex(0x22343A), Hex(0x4A5E62), 0.3f));
    TProfile shore(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        shore[x] = waterline - 1.0 - 5 * slopeNoise.At(x * 0.02, 5.0);
    }
    PaintSilhouette(raster, ConiferProfile(shore, 46, 16, 60, 12), waterline,
                    forestShader(Hex(0x13221F), Hex(0x2E4641), 0.0f));

    for (int y = waterline; y < kSceneHeight; ++y) {
        for (int x = 0; x < kSceneWidth; ++x) {
            areas.Set(x, y, 1);
        }
    }
    TWaterStyle water;
    water.Seed = 48;
    water.Body = Hex(0x1D3A4A);
    water.ReflectFar = 0.95f;
    water.ReflectNear = 0.6f;
    water.Darken = 0.8f;
    water.Ripples = 0.08f;
    water.Smear = 1.5f;
    PaintWater(raster, areas, waterline, water);

    // A snowy bank with dark rocks in the foreground.
    const TRaster beforeForeground = raster;
    const TValueNoise bankNoise(49);
    TProfile bank(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        const double u = x / static_cast<double>(kSceneWidth);
        const double rise = 0.5 + 0.5 * std::cos(u * 3.14159265358979 * 1.4 + 0.3);
        bank[x] = kSceneHeight - 18 - 70 * rise * rise - 18 * bankNoise.Fbm(x * 0.01, 0.0, 4);
    }
    PaintSilhouette(raster, bank, kSceneHeight, [&](int x, int y, float depth) {
        const float n = static_cast<float>(bankNoise.Fbm(x * 0.02, y * 0.05, 4));
        const TColor snow = Mix(Hex(0xA9B9D2), Hex(0xF1F3F6), Clamp01(n * 1.3f - 0.1f));
        return Mix(snow, Hex(0x8C9CB6), SmoothStep(0, 6, depth) * 0.2f);
    });
    // Boulders half buried in the snow: lumpy outlines, shaded as rounded bodies lit from the
    // upper left, with snow caps on their tops.
    TDemoRandom rocks(50);
    for (int i = 0; i < 6; ++i) {
        const double cx = rocks.Uniform() < 0.5 ? rocks.Range(30, 380) : rocks.Range(950, 1250);
        const double cy = bank[std::clamp(static_cast<int>(cx), 0, kSceneWidth - 1)] + 14;
        const double r = rocks.Range(14, 34);
        const double lump = rocks.Range(0, 100);
        for (int y = static_cast<int>(cy - r); y < cy + r * 0.4; ++y) {
            for (int x = static_cast<int>(cx - r * 1.6); x < cx + r * 1.6; ++x) {
                const double dx = (x - cx) / (r * 1.4);
                const double dy = (y - cy) / r;
                const double angle = std::atan2(dy, dx);
                const double edge = 1.0 + (bankNoise.At(angle * 1.5 + lump, lump) - 0.5) * 0.5;
                const double d2 = (dx * dx + dy * dy) / (edge * edge);
                if (d2 >= 1.0) {
                    continue;
                }
                const double nz = std::sqrt(1.0 - d2);
                const float lit = Clamp01(static_cast<float>(-dx * 0.5 - dy * 0.6 + nz * 0.6));
                const float grain = static_cast<float>(bankNoise.Fbm(x * 0.3, y * 0.3, 3));
                const TColor stone =
                    Mix(Hex(0x20232B), Hex(0x7C7A78), lit * 0.85f + grain * 0.3f - 0.1f);
                const float cap = SmoothStep(-0.35f, -0.6f, static_cast<float>(dy / edge)) *
                                  SmoothStep(0.4f, 0.6f, grain + 0.15f);
                // Drifted snow hides the foot of the boulder.
                const float buried =
                    SmoothStep(-0.1f, 0.35f, static_cast<float>(dy) + (grain - 0.5f) * 0.3f);
                const TColor body = Mix(stone, Mix(Hex(0x9DB0CE), Hex(0xF4F6FA), lit), cap);
                raster.Blend(x, y, Mix(body, Hex(0xDCE3EE), buried), 1.0f - buried * 0.3f);
            }
        }
    }
    ReleaseCovered(areas, beforeForeground, raster);
    PaintVignette(raster, 0.25f);
    return {raster.ToImage(102, 0.014f), areas.ToImage()};
}

} // namespace ml::demo
