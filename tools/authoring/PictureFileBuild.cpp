#include "tools/authoring/PictureFileBuild.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "project/PictureFileWriter.h"
#include "tools/authoring/IniSchema.h"
#include "tools/authoring/PictureKind.h"

#include <QImage>
#include <cmath>

namespace ml::authoring {

namespace {

constexpr int kThumbnailWidth = 80;
constexpr int kThumbnailHeight = 60;

TBitmap ThumbnailOf(const TBitmap& picture) {
    if (picture.Width() == kThumbnailWidth && picture.Height() == kThumbnailHeight)
        return picture;
    return TBitmap(picture.ToImage().scaled(kThumbnailWidth, kThumbnailHeight,
                                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

// Reads the values of a parameter file that CheckIniFile has passed.
class TParams {
public:
    explicit TParams(const std::string& path) : Ini(path) {}

    int Value(const std::string& section, const std::string& key) const {
        return IntegerValue(Ini, PictureParamsSchema(), section, key);
    }
    std::uint8_t Flag(const std::string& section, const std::string& key) const {
        return static_cast<std::uint8_t>(Value(section, key));
    }
    bool Has(const std::string& section) const { return Ini.SectionExists(section); }
    std::string Text(const std::string& section, const std::string& key) const {
        return Ini.ReadString(section, key, "");
    }

private:
    TIniFile Ini;
};

TWaveParam ReadWave(const TParams& params, const std::string& section) {
    TWaveParam wave;
    wave.Amplitude = params.Value(section, "Amplitude");
    wave.WaveCount = params.Value(section, "WaveCount");
    wave.PhaseStep = params.Value(section, "PhaseStep");
    wave.Direction = params.Value(section, "Direction");
    wave.Horizontal = params.Flag(section, "Horizontal");
    wave.Vertical = params.Flag(section, "Vertical");
    wave.Perspective = params.Flag(section, "Perspective");
    wave.Period = params.Value(section, "Period");
    wave.JitterRange = params.Value(section, "JitterRange");
    return wave;
}

TWeatherParam ReadWeather(const TParams& params) {
    TWeatherParam weather;
    weather.Kind = params.Value("Weather", "Kind");
    weather.Count = params.Value("Weather", "Count");
    weather.SpeedIndex = params.Value("Weather", "SpeedIndex");
    weather.Angle = params.Value("Weather", "Angle");
    weather.Length = params.Value("Weather", "Length");
    return weather;
}

// The player plays the leading slots that are in use, so sounds must fill the slots from the
// first one on without a gap.
TSoundTable ReadSounds(const TParams& params, const std::string& file, TFindings& findings) {
    TSoundTable sounds{};
    int used = 0;
    for (int i = 1; i <= kSoundSlotCount; ++i) {
        const std::string section = "Sound" + std::to_string(i);
        if (!params.Has(section))
            continue;
        const std::string path = params.Text(section, "Path");
        if (used != i - 1)
            findings.push_back(Error(file, "[" + section + "]",
                                     "follows a missing [Sound" + std::to_string(i - 1) + "]",
                                     "Sounds fill the slots from [Sound1] on without a gap"));
        else if (path.empty())
            findings.push_back(
                Error(file, "[" + section + "]", "has no Path", "Name the WAVE file with Path="));
        else if (path.size() > sizeof(SoundSlot::Path))
            findings.push_back(Error(file, "[" + section + "] Path", "is longer than 255 bytes",
                                     "Use a shorter path"));
        else
            sounds[static_cast<std::size_t>(used++)] = MakeSoundSlot(
                path, params.Value(section, "Mode"), params.Value(section, "MinSeconds"),
                params.Value(section, "MaxSeconds"));
    }
    return sounds;
}

// A picture input, or an error finding naming it.
std::optional<TBitmap> ReadInput(const std::string& path, const std::string& role,
                                 TFindings& findings) {
    try {
        return ReadAuthorPicture(path);
    } catch (const Exception& e) {
        findings.push_back(Error(path, "", role + ": " + e.Message()));
        return std::nullopt;
    }
}

} // namespace

void FitWithin(TBitmap& picture, TBitmap& mask, int maxWidth, int maxHeight) {
    const int w = picture.Width(), h = picture.Height();
    if (w <= maxWidth && h <= maxHeight)
        return;
    const double scale =
        std::min(static_cast<double>(maxWidth) / w, static_cast<double>(maxHeight) / h);
    const int width = std::max(1, static_cast<int>(std::lround(w * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(h * scale)));
    picture = TBitmap(
        picture.ToImage().scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    mask = TBitmap(
        mask.ToImage().scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

TBuiltPictureFile BuildPictureFile(const TPictureFileRecipe& recipe) {
    TBuiltPictureFile built;
    TFindings& findings = built.Findings;
    if (recipe.Quality < 1 || recipe.Quality > 100)
        findings.push_back(
            Error("", "", "the JPEG quality is " + std::to_string(recipe.Quality), "Use 1 to 100"));
    Append(findings, CheckIniFile(recipe.Params, recipe.Params, PictureParamsSchema()));
    std::optional<TBitmap> picture = ReadInput(recipe.Image, "the picture", findings);
    std::optional<TBitmap> mask = ReadInput(recipe.Areas, "the area mask", findings);
    std::optional<TBitmap> thumbnail;
    if (recipe.Thumbnail != "auto")
        thumbnail = ReadInput(recipe.Thumbnail, "the thumbnail", findings);
    if (picture && mask &&
        (mask->Width() != picture->Width() || mask->Height() != picture->Height()))
        findings.push_back(Error(recipe.Areas, "",
                                 "the area mask is " + std::to_string(mask->Width()) + " x " +
                                     std::to_string(mask->Height()) +
                                     "; it must be the picture's size (" +
                                     std::to_string(picture->Width()) + " x " +
                                     std::to_string(picture->Height()) + ")"));
    if (HasErrors(findings))
        return built;

    const TParams params(recipe.Params);
    TPictureFileContent content;
    content.Sounds = ReadSounds(params, recipe.Params, findings);
    if (HasErrors(findings))
        return built;

    built.SourceWidth = picture->Width();
    built.SourceHeight = picture->Height();
    if (recipe.MaxWidth > 0 && recipe.MaxHeight > 0)
        FitWithin(*picture, *mask, recipe.MaxWidth, recipe.MaxHeight);
    built.Width = picture->Width();
    built.Height = picture->Height();

    const std::string fileName = ExtractFileName(recipe.Image);
    content.Title = recipe.Title.value_or(
        fileName.substr(0, fileName.size() - ExtractFileExt(fileName).size()));
    content.ExtraText = recipe.ExtraText;
    content.ThumbnailData =
        EncodeJpeg(ThumbnailOf(thumbnail ? *thumbnail : *picture), recipe.Quality);
    std::array<TWaveParam, kAreaCount> waves{};
    for (int i = 0; i < kAreaCount; ++i)
        content.WaveRecords[static_cast<std::size_t>(i)] = waves[static_cast<std::size_t>(i)] =
            ReadWave(params, "Area" + std::to_string(i + 1));
    content.AreaValues = EncodeAreaMap(*mask);
    content.PictureData = EncodeJpeg(*picture, recipe.Quality);
    content.Weather = ReadWeather(params);

    built.Mask = AnalyseMask(*mask);
    Append(findings, MaskFindings(built.Mask, recipe.Areas, waves));
    built.AreaRuns = content.AreaValues.size() - 2;
    built.Sounds = UsedSoundSlots(content.Sounds);
    built.Bytes = WritePictureFile(content);
    return built;
}

} // namespace ml::authoring
