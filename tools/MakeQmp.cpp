// mirrorlake-tool make-qmp: builds a picture file from a picture, an area mask painted in the
// four area colours and a parameter file.

#include "backend/Jpeg.h"
#include "backend/PictureLoader.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "project/PictureFileWriter.h"
#include "tools/Command.h"
#include "tools/Options.h"

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>

namespace ml::tool {
namespace {

constexpr int kThumbnailWidth = 80;
constexpr int kThumbnailHeight = 60;

// JPEG, BMP and GIF go through the player's own loader so that a picture looks the same here
// as in the show; anything else (PNG above all) through Qt.
TBitmap ReadPicture(const std::string& path) {
    if (!std::filesystem::is_regular_file(path))
        throw TUsageError{"cannot read " + path + ": no such file"};
    TBitmap bitmap;
    if (IsPlainPictureFile(path)) {
        bitmap = LoadPicture(path);
    } else {
        QImage image(QString::fromStdString(path));
        if (image.isNull())
            throw TUsageError{"cannot read " + path + " as a picture"};
        bitmap = TBitmap(image);
    }
    if (bitmap.Empty() || bitmap.Width() > kMaxPictureSide || bitmap.Height() > kMaxPictureSide)
        throw TUsageError{path + " is " + std::to_string(bitmap.Width()) + " x " +
                          std::to_string(bitmap.Height()) + "; pictures are 1 to " +
                          std::to_string(kMaxPictureSide) + " pixels a side"};
    return bitmap;
}

TBitmap ThumbnailOf(const TBitmap& picture) {
    if (picture.Width() == kThumbnailWidth && picture.Height() == kThumbnailHeight)
        return picture;
    return TBitmap(picture.ToImage().scaled(kThumbnailWidth, kThumbnailHeight,
                                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

// Reads the parameter file strictly: a typing error in a key or a value should stop the
// build, not silently give an area no waves.
class TParams {
public:
    explicit TParams(const std::string& path) : Ini(path) {
        if (!std::filesystem::is_regular_file(path))
            throw TUsageError{"cannot read " + path + ": no such file"};
    }

    bool Has(const std::string& section) const { return Ini.SectionExists(section); }

    void ExpectKeys(const std::string& section, std::initializer_list<const char*> known) const {
        for (const std::string& key : Ini.ReadSection(section))
            if (std::none_of(known.begin(), known.end(),
                             [&](const char* k) { return SameText(key, k); }))
                throw TUsageError{Where(section, key) + " is not a known key"};
    }

    int Integer(const std::string& section, const char* key, int defaultValue, int low,
                int high) const {
        if (!Ini.ValueExists(section, key))
            return defaultValue;
        std::string text = Ini.ReadString(section, key, "");
        auto value = ParseInteger(text);
        if (!value || *value < low || *value > high)
            throw TUsageError{Where(section, key) + " = '" + text + "': expected a number from " +
                              std::to_string(low) + " to " + std::to_string(high)};
        return *value;
    }

    std::uint8_t Flag(const std::string& section, const char* key) const {
        return static_cast<std::uint8_t>(Integer(section, key, 0, 0, 1));
    }

    std::string Text(const std::string& section, const char* key) const {
        return Ini.ReadString(section, key, "");
    }

private:
    std::string Where(const std::string& section, const std::string& key) const {
        return Ini.Path() + ": [" + section + "] " + key;
    }

    TIniFile Ini;
};

constexpr int kAnyInt = 2147483647;

TWaveParam ReadWave(const TParams& params, const std::string& section) {
    params.ExpectKeys(section, {"Amplitude", "WaveCount", "PhaseStep", "Direction", "Horizontal",
                                "Vertical", "Perspective", "Period", "JitterRange"});
    TWaveParam wave;
    wave.Amplitude = params.Integer(section, "Amplitude", 0, 0, kAnyInt);
    wave.WaveCount = params.Integer(section, "WaveCount", 0, -kAnyInt, kAnyInt);
    wave.PhaseStep = params.Integer(section, "PhaseStep", 0, -kAnyInt, kAnyInt);
    wave.Direction = params.Integer(section, "Direction", 0, 0, 1);
    wave.Horizontal = params.Flag(section, "Horizontal");
    wave.Vertical = params.Flag(section, "Vertical");
    wave.Perspective = params.Flag(section, "Perspective");
    // A zero period would stop the water, so an unset one gives the usual full circle.
    wave.Period = params.Integer(section, "Period", 360, 1, kAnyInt);
    wave.JitterRange = params.Integer(section, "JitterRange", 0, 0, kAnyInt);
    return wave;
}

TWeatherParam ReadWeather(const TParams& params) {
    const std::string section = "Weather";
    params.ExpectKeys(section, {"Kind", "Count", "SpeedIndex", "Angle", "Length"});
    TWeatherParam weather;
    weather.Kind = params.Integer(section, "Kind", 0, 0, 2);
    weather.Count = params.Integer(section, "Count", 0, 0, kAnyInt);
    weather.SpeedIndex = params.Integer(section, "SpeedIndex", 0, 0, kAnyInt);
    weather.Angle = params.Integer(section, "Angle", 0, -kAnyInt, kAnyInt);
    weather.Length = params.Integer(section, "Length", 0, 0, kAnyInt);
    return weather;
}

// The player plays the leading slots that are in use, so sounds must fill the slots from the
// first one on without a gap.
TSoundTable ReadSounds(const TParams& params) {
    TSoundTable sounds{};
    int used = 0;
    for (int i = 1; i <= kSoundSlotCount; ++i) {
        const std::string section = "Sound" + std::to_string(i);
        if (!params.Has(section))
            continue;
        if (used != i - 1)
            throw TUsageError{"[" + section + "] follows a missing [Sound" + std::to_string(i - 1) +
                              "]; sounds must fill the slots from [Sound1] on"};
        params.ExpectKeys(section, {"Path", "Mode", "MinSeconds", "MaxSeconds"});
        const std::string path = params.Text(section, "Path");
        if (path.empty())
            throw TUsageError{"[" + section + "] needs a Path"};
        sounds[static_cast<std::size_t>(used++)] =
            MakeSoundSlot(path, params.Integer(section, "Mode", 0, 0, 2),
                          params.Integer(section, "MinSeconds", 0, 0, kAnyInt),
                          params.Integer(section, "MaxSeconds", 0, 0, kAnyInt));
    }
    return sounds;
}

int Run(const TArgs& args) {
    TOptions options(args, {"--image", "--areas", "--params", "--title", "--extra", "--thumbnail",
                            "--quality", "-o"});
    options.ExpectPositional(0, "only options");
    const std::string imagePath = options.Required("--image");
    const std::string areasPath = options.Required("--areas");
    const std::string paramsPath = options.Required("--params");
    const std::string outPath = options.Required("-o");
    const int quality = options.Integer("--quality", 90);
    if (quality < 1 || quality > 100)
        throw TUsageError{"--quality wants a number from 1 to 100"};

    const TBitmap picture = ReadPicture(imagePath);
    const TBitmap mask = ReadPicture(areasPath);
    if (mask.Width() != picture.Width() || mask.Height() != picture.Height())
        throw TUsageError{"the area mask " + areasPath + " must be the picture's size (" +
                          std::to_string(picture.Width()) + " x " +
                          std::to_string(picture.Height()) + ")"};

    const TParams params(paramsPath);
    TPictureFileContent content;
    std::string fileName = ExtractFileName(imagePath);
    content.Title = options.Value("--title").value_or(
        fileName.substr(0, fileName.size() - ExtractFileExt(fileName).size()));
    content.ExtraText = options.Value("--extra").value_or("");
    const std::string thumbnail = options.Value("--thumbnail").value_or("auto");
    content.ThumbnailData =
        EncodeJpeg(ThumbnailOf(thumbnail == "auto" ? picture : ReadPicture(thumbnail)), quality);
    for (int i = 0; i < kAreaCount; ++i)
        content.WaveRecords[static_cast<std::size_t>(i)] =
            ReadWave(params, "Area" + std::to_string(i + 1));
    content.AreaValues = EncodeAreaMap(mask);
    content.PictureData = EncodeJpeg(picture, quality);
    content.Weather = ReadWeather(params);
    content.Sounds = ReadSounds(params);

    WriteOutputFile(outPath, WritePictureFile(content));
    std::printf("%s: %d x %d picture, %zu area runs, %d sound(s)\n", outPath.c_str(),
                picture.Width(), picture.Height(), content.AreaValues.size() - 2,
                UsedSoundSlots(content.Sounds));
    return 0;
}

const TCommandRegistration registration{TCommand{
    "make-qmp", "build a picture file (.qmp) from a picture, an area mask and parameters",
    "Usage: mirrorlake-tool make-qmp --image PIC --areas MASK --params PARAMS.ini\n"
    "                                [--title T] [--extra T] [--thumbnail auto|FILE]\n"
    "                                [--quality Q] -o OUT.qmp\n\n"
    "  --image PIC       the picture (JPG, BMP, GIF or PNG), stored as JPEG\n"
    "  --areas MASK      a picture of the same size marking the water areas: blue 0000FF is\n"
    "                    area 1, magenta FF00FF area 2, red FF0000 area 3, yellow FFFF00\n"
    "                    area 4; every other colour is outside all areas\n"
    "  --params FILE     the wave, weather and sound settings (see README.md):\n"
    "                    [Area1]..[Area4] Amplitude WaveCount PhaseStep Direction Horizontal\n"
    "                    Vertical Perspective Period JitterRange; [Weather] Kind Count\n"
    "                    SpeedIndex Angle Length; [Sound1]..[Sound8] Path Mode MinSeconds\n"
    "                    MaxSeconds\n"
    "  --title T         the caption under the thumbnail (default: the picture's file name)\n"
    "  --extra T         the second text (default: empty)\n"
    "  --thumbnail X     'auto' (default) shrinks the picture to 80 x 60; a file name uses\n"
    "                    that picture, brought to 80 x 60\n"
    "  --quality Q       JPEG quality 1..100 (default 90)\n"
    "  -o OUT.qmp        the picture file to write",
    Run}};

} // namespace
} // namespace ml::tool
