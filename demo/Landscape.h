#pragma once
// The painter's toolbox the demo scenes are built from: skies, clouds, stars, glows, layered
// silhouettes (hills, mountains, tree lines), reeds, and the water surface that mirrors
// whatever was painted above its shore line.

#include "demo/Noise.h"
#include "demo/Raster.h"

#include <functional>
#include <vector>

namespace ml::demo {

struct TGradientStop {
    float At; // 0 at the top of the gradient, 1 at its bottom
    TColor Color;
};
TColor GradientAt(const std::vector<TGradientStop>& stops, float t);

// Vertical gradient over the rows top..bottom-1.
void PaintGradient(TRaster& raster, int top, int bottom, const std::vector<TGradientStop>& stops);

struct TCloudStyle {
    std::uint32_t Seed = 1;
    double ScaleX = 0.004; // noise frequency across; smaller is wider clouds
    double ScaleY = 0.012; // and down; larger than ScaleX gives stretched, layered clouds
    float Coverage = 0.5;  // 0 clear .. 1 overcast
    float Softness = 0.15; // width of the cloud edge in noise units
    float Opacity = 0.9;
    TColor Lit;    // colour where the cloud faces the light
    TColor Shade;  // colour of the cloud's body
    float Top = 0; // rows covered, as fractions of the sky height
    float Bottom = 1;
    float LightRow = 1; // fraction of the sky height the light comes from
};
void PaintClouds(TRaster& raster, int skyBottom, const TCloudStyle& style);

// Stars fading out towards the bottom row; a few bright ones with a soft halo.
void PaintStars(TRaster& raster, int bottom, std::uint64_t seed, int count, float brightness);

// Additive light with an exponential fall-off, e.g. the glow of a low sun or a lamp.
void PaintGlow(TRaster& raster, double cx, double cy, double radius, TColor color, float strength);

// A silhouette's upper edge, one row value per column.
using TProfile = std::vector<double>;
TProfile HillProfile(int width, const TValueNoise& noise, double baseRow, double height,
                     double scale, int octaves);
TProfile MountainProfile(int width, const TValueNoise& noise, double baseRow, double height,
                         double scale);
// Conifers standing on a base profile; each tree a serrated spike.
TProfile ConiferProfile(const TProfile& base, std::uint64_t seed, double minHeight,
                        double maxHeight, double spacing);
// Broad-leaved crowns: a union of round shapes on a base profile.
TProfile CrownProfile(const TProfile& base, std::uint64_t seed, double minRadius, double maxRadius,
                      double spacing);
// Broad-leaved trees seen closer: each crown a cluster of leafy lobes lit from the upper
// left, on a short dark trunk standing on the base profile.
struct TCrownStyle {
    double MinRadius = 14;
    double MaxRadius = 30;
    double Spacing = 40;
    TColor Dark;
    TColor Light;
};
void PaintCrowns(TRaster& raster, const TProfile& base, std::uint64_t seed,
                 const TCrownStyle& style);

// Fills every column from its profile row down to bottom-1 with the shader's colour; depth is
// the distance in rows below the profile. The edge row is anti-aliased.
using TShader = std::function<TColor(int x, int y, float depth)>;
void PaintSilhouette(TRaster& raster, const TProfile& top, int bottom, const TShader& shader);

// Reeds and grass blades rising from baseRow between x0 and x1, leaning a little.
void PaintReeds(TRaster& raster, std::uint64_t seed, int x0, int x1, const TProfile& base,
                int count, double minHeight, double maxHeight, TColor color, bool cattails);

struct TWaterStyle {
    std::uint32_t Seed = 7;
    TColor Body;             // colour of the water itself (seen where it reflects little)
    float ReflectFar = 0.9;  // share of reflection at the shore line (grazing view)
    float ReflectNear = 0.5; // and at the bottom of the picture (looking down)
    float Darken = 0.85;     // the reflection is always a little darker than the original
    float Ripples = 0.12;    // strength of the long horizontal ripple streaks
    float Smear = 2.0;       // rows of vertical smear in the reflection near the viewer
    float Sway = 6.0;        // pixels the reflection wanders sideways near the viewer
    float Roughness = 0.0;   // rows by which wave facets scatter the reflection near the viewer
};
// Paints every pixel of the given area with the mirror image of the scene about the row
// waterline, tinted and rippled. Must run after everything above the shore is painted.
void PaintWater(TRaster& raster, const TAreaLayer& areas, int waterline, const TWaterStyle& style);

// The broken vertical streak that a light or a low sun draws on rippled water.
void PaintLightPath(TRaster& raster, const TAreaLayer& areas, double x, int fromRow, int toRow,
                    double width0, double width1, TColor color, float strength, std::uint32_t seed);

// Spreading rings left by raindrops, flattened by perspective.
void PaintRainRings(TRaster& raster, const TAreaLayer& areas, int waterline, std::uint64_t seed,
                    int count, float strength);

// Pixels that something was painted over since the snapshot (reeds, rocks, a bank in front
// of the water) are no longer water: the waves must not carry them away.
void ReleaseCovered(TAreaLayer& areas, const TRaster& before, const TRaster& after);

// Darkens the corners a little, as a lens does.
void PaintVignette(TRaster& raster, float strength);

} // namespace ml::demo
