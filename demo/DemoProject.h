#pragma once
// The demo project's content, made entirely by our own code: four water pictures with their
// area masks and effect settings, a plain picture, a preview, sound effects and two pieces
// of music. The output is the same on every run.

#include <QImage>
#include <string>
#include <vector>

namespace ml {

struct TDemoScene {
    std::string Name;  // file-name base, e.g. "dusk-lake"
    std::string Title; // caption shown under the thumbnail
    QImage Picture;
    QImage AreaMask; // area colours on black, same size as Picture
    // Effect settings as INI text (CR LF): [Area1]..[Area4] with the wave record's field
    // names, [Weather] with the weather record's, [Sound1].. with Path, Mode, MinSeconds and
    // MaxSeconds (Path is a bare file name from DemoSounds()).
    std::string ParamsIni;
};

struct TDemoSound {
    std::string FileName;
    std::string WavBytes; // a complete 16-bit PCM mono WAVE file at 22050 Hz
};

std::vector<TDemoScene> DemoScenes();
// A still night landscape without water, meant to be stored as a JPEG.
QImage DemoPlainPicture();
// A small 4:3 picture (400 x 300) for the screen-saver preview.
QImage DemoPreview();
// The sound effects the scenes refer to, and the music tracks.
std::vector<TDemoSound> DemoSounds();
std::vector<TDemoSound> DemoMusic();

} // namespace ml
