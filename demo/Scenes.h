#pragma once
// The demo's pictures, each painted from nothing by code: the picture and, for the water
// scenes, the area mask that marks the water the show animates.

#include <QImage>

namespace ml::demo {

inline constexpr int kSceneWidth = 1280;
inline constexpr int kSceneHeight = 720;

struct TSceneArt {
    QImage Picture;
    QImage AreaMask;
};

TSceneArt PaintDuskLake();
TSceneArt PaintMountainLake();
TSceneArt PaintSeaHorizon();
TSceneArt PaintRiver();
// A still night landscape without water.
QImage PaintNightHills();

} // namespace ml::demo
