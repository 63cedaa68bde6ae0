// The sea at the end of the afternoon and a river flowing past its bank.

#include "demo/Landscape.h"
#include "demo/Scenes.h"

#include <algorithm>
#include <cmath>

namespace ml::demo {

TSceneArt PaintSeaHorizon() {
    TRaster raster(kSceneWidth, kSceneHeight);
    TAreaLayer areas(kSceneWidth, kSceneHeight);
    const int horizon = 330;
    const double sunX = 905;
    const double sunY = 238;

    PaintGradient(raster, 0, horizon,
                  {{0.0f, Hex(0x24507F)},
                   {0.4f, Hex(0x5D8DB8)},
                   {0.78f, Hex(0xC9C6B8)},
                   {1.0f, Hex(0xF4D29C)}});
    PaintGlow(raster, sunX, sunY, 190, Hex(0xFFC880), 0.45f);
    TCloudStyle cumulus;
    cumulus.Seed = 61;
    cumulus.ScaleX = 0.005;
    cumulus.ScaleY = 0.011;
    cumulus.Coverage = 0.42f;
    cumulus.Softness = 0.12f;
    cumulus.Opacity = 0.95f;
    cumulus.Lit = Hex(0xFFEBD0);
    cumulus.Shade = Hex(0x7C8CA6);
    cumulus.Top = 0.05f;
    cumulus.Bottom = 0.8f;
    cumulus.LightRow = 0.75f;
    PaintClouds(raster, horizon, cumulus);
    raster.Spot(sunX, sunY, 17, Hex(0xFFF6DC), 1.0f, false);
    PaintGlow(raster, sunX, sunY, 40, Hex(0xFFE2A8), 0.5f);

    // A headland on the left with its lighthouse, and a sail far out.
    const TValueNoise landNoise(62);
    TProfile headland(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        const double fall = std::max(0.0, 1.0 - x / 420.0);
        headland[x] =
            horizon + 1 - 95 * std::pow(fall, 0.7) * (0.75 + 0.5 * landNoise.Fbm(x * 0.01, 0, 4));
    }
    PaintSilhouette(raster, headland, horizon, [&](int x, int y, float depth) {
        const float n = static_cast<float>(landNoise.Fbm(x * 0.05, y * 0.05, 3));
        const TColor grass = Mix(Hex(0x2F4234), Hex(0x6E7A52), n);
        return Mix(grass, Hex(0x9AA8B4), 0.3f - 0.15f * SmoothStep(0, 60, depth));
    });
    const double towerX = 150;
    const double towerBase = headland[150] + 3;
    for (int y = static_cast<int>(towerBase - 46); y < towerBase; ++y) {
        const double t = (towerBase - y) / 46.0;
        const double half = 6.5 - 2.5 * t;
        for (int x = static_cast<int>(towerX - half); x <= towerX + half; ++x) {
            const bool band = static_cast<int>(t * 5) % 2 == 1;
            const float lit = x < towerX ? 1.0f : 0.78f;
            raster.Blend(x, y, (band ? Hex(0xB24A3E) : Hex(0xEDE6DA)) * lit, 1.0f);
        }
    }
    raster.Spot(towerX, towerBase - 50, 4.5, Hex(0x3A3A40), 1.0f, false);
    raster.Spot(towerX, towerBase - 51, 2.5, Hex(0xFFF2C0), 1.0f, false);
    PaintGlow(raster, towerX, towerBase - 51, 14, Hex(0xFFE0A0), 0.35f);
    for (int y = horizon - 26; y < horizon - 3; ++y) {
        const double t = (horizon - 3.0 - y) / 23.0;
        for (int x = static_cast<int>(598 - 9 * (1 - t)); x <= 598 + 2 * (1 - t); ++x) {
            raster.Blend(x, y, Hex(0xE9E3D6), 0.9f);
        }
    }
    for (int x = 588; x < 606; ++x) {
        for (int y = horizon - 4; y < horizon; ++y) {
            raster.Blend(x, y, Hex(0x30343C), 1.0f);
        }
    }

    // Sea everywhere below the horizon; the sun's glitter path is a second area so that it
    // can sparkle on its own terms while the open sea rolls in long swells.
    for (int y = horizon; y < kSceneHeight; ++y) {
        const double t = static_cast<double>(y - horizon) / (kSceneHeight - horizon);
        const double half = 14 + 150 * t;
        for (int x = 0; x < kSceneWidth; ++x) {
            areas.Set(x, y, std::fabs(x - sunX) < half ? 2 : 1);
        }
    }
    TWaterStyle sea;
    sea.Seed = 63;
    sea.Body = Hex(0x0C3A55);
    sea.ReflectFar = 0.85f;
    sea.ReflectNear = 0.25f;
    sea.Darken = 0.8f;
    sea.Ripples = 0.32f;
    sea.Smear = 9.0f;
    sea.Sway = 40.0f;
    sea.Roughness = 90.0f;
    PaintWater(raster, areas, horizon, sea);
    PaintLightPath(raster, areas, sunX, horizon, kSceneHeight, 8, 120, Hex(0xFFD890), 1.1f, 64);

    // Dark rocks in the right foreground, wet on their sea side.
    const TRaster beforeForeground = raster;
    const TValueNoise rockNoise(65);
    TProfile rocks(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        const double rise = std::max(0.0, (x - 1060.0) / 220.0);
        rocks[x] =
            kSceneHeight + 2 - 150 * std::sqrt(rise) * (0.7 + 0.6 * rockNoise.Fbm(x * 0.02, 0, 4));
    }
    PaintSilhouette(raster, rocks, kSceneHeight, [&](int x, int y, float depth) {
        const float n = static_cast<float>(rockNoise.Fbm(x * 0.04, y * 0.04, 4));
        const float rim = SmoothStep(6.0f, 0.0f, depth);
        return Mix(Mix(Hex(0x1B1D22), Hex(0x4A4640), n), Hex(0xB89870), rim * 0.45f);
    });
    ReleaseCovered(areas, beforeForeground, raster);
    PaintVignette(raster, 0.2f);
    return {raster.ToImage(103, 0.014f), areas.ToImage()};
}

TSceneArt PaintRiver() {
    TRaster raster(kSceneWidth, kSceneHeight);
    TAreaLayer areas(kSceneWidth, kSceneHeight);
    const int waterline = 388;

    // A summer morning with fair-weather clouds.
    PaintGradient(raster, 0, waterline,
                  {{0.0f, Hex(0x3E78B8)}, {0.55f, Hex(0x8DB8DC)}, {1.0f, Hex(0xDCE7E6)}});
    TCloudStyle fair;
    fair.Seed = 71;
    fair.ScaleX = 0.006;
    fair.ScaleY = 0.014;
    fair.Coverage = 0.38f;
    fair.Softness = 0.1f;
    fair.Opacity = 0.95f;
    fair.Lit = Hex(0xFFFFFA);
    fair.Shade = Hex(0x9AAAC0);
    fair.Top = 0.0f;
    fair.Bottom = 0.75f;
    fair.LightRow = 0.0f;
    PaintClouds(raster, waterline, fair);

    // Blue hills far off, then the far bank: a strip of meadow under a line of broad trees.
    const TValueNoise hillNoise(72);
    PaintSilhouette(raster, HillProfile(kSceneWidth, hillNoise, waterline - 40, 80, 0.003, 4),
                    waterline, [](int, int, float) { return Hex(0x8FA6B8); });
    TProfile meadow(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        meadow[x] = waterline - 8 - 6 * hillNoise.At(x * 0.01, 9.0);
    }
    const TValueNoise leaf(73);
    auto foliage = [&](TColor dark, TColor light, float haze) {
        return [&leaf, dark, light, haze](int x, int y, float depth) {
            const float n = static_cast<float>(leaf.Fbm(x * 0.16, y * 0.16, 4));
            // Crowns are lit from above: lighter near their tops, dark underneath.
            const float top = SmoothStep(40.0f, 0.0f, depth);
            const TColor c = Mix(dark, light, Clamp01(n * 0.9f + top * 0.35f - 0.1f));
            return Mix(c, Hex(0xAFC0C4), haze);
        };
    };
    PaintSilhouette(raster, CrownProfile(meadow, 74, 14, 30, 26), waterline,
                    foliage(Hex(0x3C5A48), Hex(0x7F9C6A), 0.35f));
    TCrownStyle crowns;
    crowns.MinRadius = 16;
    crowns.MaxRadius = 58;
    crowns.Spacing = 48;
    crowns.Dark = Hex(0x17291A);
    crowns.Light = Hex(0x8DB05A);
    PaintCrowns(raster, meadow, 75, crowns);
    PaintSilhouette(raster, meadow, waterline, [&](int x, int y, float) {
        const float n = static_cast<float>(leaf.Fbm(x * 0.05, y * 0.4, 3));
        return Mix(Hex(0x4F7A32), Hex(0x9AB85A), n);
    });

    // The near bank swings across the bottom of the picture; the river lies between.
    const TValueNoise bankNoise(76);
    TProfile nearBank(kSceneWidth);
    for (int x = 0; x < kSceneWidth; ++x) {
        const double u = x / static_cast<double>(kSceneWidth);
        nearBank[x] = 640 - 60 * std::sin(u * 3.0 + 0.6) - 30 * bankNoise.Fbm(x * 0.006, 0, 4);
    }
    for (int x = 0; x < kSceneWidth; ++x) {
        for (int y = waterline; y < std::min<double>(nearBank[x] + 4, kSceneHeight); ++y) {
            areas.Set(x, y, 1);
        }
    }
    TWaterStyle river;
    river.Seed = 77;
    river.Body = Hex(0x2E4A44);
    river.ReflectFar = 0.9f;
    river.ReflectNear = 0.6f;
    river.Darken = 0.78f;
    river.Ripples = 0.22f;
    PaintWater(raster, areas, waterline, river);

    const TRaster beforeForeground = raster;
    PaintSilhouette(raster, nearBank, kSceneHeight, [&](int x, int y, float depth) {
        const float n = static_cast<float>(bankNoise.Fbm(x * 0.25, y * 0.025, 4));
        const float patches = static_cast<float>(bankNoise.Fbm(x * 0.01, y * 0.02, 3));
        const TColor grass =
            Mix(Hex(0x2D4A1E), Hex(0x8FB050), Clamp01(n * 0.8f + patches * 0.5f - 0.2f));
        // A strip of wet earth where the bank meets the water.
        return Mix(Hex(0x3A2E22), grass, SmoothStep(2.0f, 9.0f, depth));
    });
    TProfile meadowRows(kSceneWidth);
    for (int row = 0; row < 6; ++row) {
        // Rows of short grass further down the bank, each lower and a little longer.
        for (int x = 0; x < kSceneWidth; ++x) {
            meadowRows[x] = nearBank[x] + 12 + row * (kSceneHeight - nearBank[x]) / 6.0;
        }
        PaintReeds(raster, 90 + row, 0, kSceneWidth, meadowRows, 260, 6 + row * 3, 14 + row * 5,
                   Mix(Hex(0x3E5E22), Hex(0x8AAE4C), row / 8.0f), false);
    }
    PaintReeds(raster, 78, 0, 1280, nearBank, 160, 20, 90, Hex(0x4F6E2A), false);
    PaintReeds(raster, 79, 900, 1280, nearBank, 50, 60, 150, Hex(0x3A5422), true);
    ReleaseCovered(areas, beforeForeground, raster);
    PaintVignette(raster, 0.2f);
    return {raster.ToImage(104, 0.012f), areas.ToImage()};
}

QImage PaintNightHills() {
    TRaster raster(kSceneWidth, kSceneHeight);
    PaintGradient(raster, 0, kSceneHeight,
                  {{0.0f, Hex(0x04060F)}, {0.6f, Hex(0x0E1730)}, {1.0f, Hex(0x223052)}});
    // The Milky Way: a tilted band of glow and dense faint stars.
    const TValueNoise dust(81);
    for (int y = 0; y < kSceneHeight; ++y) {
        for (int x = 0; x < kSceneWidth; ++x) {
            const double across = (y - 80 - x * 0.32) / 110.0;
            const float band = static_cast<float>(std::exp(-across * across));
            const float cloud = static_cast<float>(dust.Fbm(x * 0.006, y * 0.006, 6));
            const float lanes =
                SmoothStep(0.55f, 0.7f, static_cast<float>(dust.Fbm(x * 0.012, y * 0.02, 4)));
            const float glow = band * SmoothStep(0.35f, 0.75f, cloud) * (1.0f - 0.6f * lanes);
            raster.Add(x, y, Mix(Hex(0x6A6890), Hex(0xD8C8B8), cloud) * (glow * 0.32f));
        }
    }
    PaintStars(raster, kSceneHeight - 150, 82, 2600, 0.9f);
    TDemoRandom bandStars(83);
    for (int i = 0; i < 3000; ++i) {
        const double x = bandStars.Range(0, kSceneWidth);
        const double y = 80 + x * 0.32 + bandStars.Gaussian() * 55;
        raster.Add(static_cast<int>(x), static_cast<int>(y),
                   Hex(0xE8E4F0) * static_cast<float>(0.12 + 0.3 * bandStars.Uniform()));
    }
    PaintGlow(raster, 300, kSceneHeight - 120, 380, Hex(0x3A3A58), 0.3f);

    const TValueNoise hills(84);
    const TProfile far = HillProfile(kSceneWidth, hills, 600, 140, 0.003, 5);
    PaintSilhouette(raster, far, kSceneHeight, [](int, int, float depth) {
        return Mix(Hex(0x1C2440), Hex(0x111729), SmoothStep(0, 80, depth));
    });
    const TValueNoise nearHills(85);
    TProfile near = HillProfile(kSceneWidth, nearHills, 700, 150, 0.0022, 5);
    const TProfile trees = ConiferProfile(near, 86, 10, 34, 30);
    PaintSilhouette(raster, trees, kSceneHeight, [](int, int, float) { return Hex(0x07090F); });
    // A farmhouse with one lit window.
    const int houseX = 860;
    const double ground = near[houseX];
    for (int y = static_cast<int>(ground - 40); y < ground + 2; ++y) {
        for (int x = houseX - 34; x < houseX + 34; ++x) {
            const double roof = ground - 40 + std::fabs(x - houseX) * 0.55;
            if (y >= roof) {
                raster.Blend(x, y, Hex(0x07090F), 1.0f);
            }
        }
    }
    for (int y = static_cast<int>(ground - 16); y < ground - 6; ++y) {
        for (int x = houseX - 14; x < houseX - 4; ++x) {
            raster.Blend(x, y, Hex(0xFFC86A), 1.0f);
        }
    }
    PaintGlow(raster, houseX - 9, ground - 11, 22, Hex(0xFF9A40), 0.4f);
    PaintVignette(raster, 0.3f);
    return raster.ToImage(105, 0.02f);
}

} // namespace ml::demo
