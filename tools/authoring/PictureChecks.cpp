#include "tools/authoring/PictureChecks.h"

#include "backend/Jpeg.h"
#include "backend/PictureLoader.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/FileLoader.h"
#include "tools/authoring/PictureKind.h"

#include <algorithm>
#include <numeric>

namespace ml::authoring {

namespace {

bool IsPlain(TPictureKind kind) {
    return kind == TPictureKind::Jpeg || kind == TPictureKind::Bmp || kind == TPictureKind::Gif;
}

std::string Renamed(const std::string& path, TPictureKind kind) {
    return ChangeFileExt(ExtractFileName(path), PlayerExtension(kind));
}

std::string Article(TPictureKind kind) {
    if (kind == TPictureKind::Unknown)
        return "not a picture";
    const std::string name = PictureKindName(kind);
    return std::string(std::string("AEIOH").find(name[0]) != std::string::npos ? "an " : "a ") +
           name;
}

// The problem and fix when a file's content is not what its name makes the player expect.
TFinding KindMismatch(const std::string& path, const std::string& shownName,
                      const std::string& where, TPictureKind expected, TPictureKind actual,
                      bool previewOnly) {
    const std::string name = ExtractFileName(path);
    const bool renaming = !PlayerExtension(actual).empty() && (IsPlain(actual) || !previewOnly);
    const std::string fix =
        renaming      ? "Rename it to " + Renamed(path, actual) + " and name it so in project.ini"
        : previewOnly ? "Save it as JPEG (.jpg)"
                      : "Save it as JPEG (.jpg), or make a picture file (.qmp) of it with "
                        "mirrorlake-tool make-qmp; mirrorlake-tool new converts PNG pictures";
    std::string problem = "it is " + Article(actual);
    if (IsPlain(expected))
        problem += ", but its name ends in " + ExtractFileExt(name) +
                   ", so the player decodes it as " + PictureKindName(expected);
    else if (previewOnly)
        problem += "; the preview must be a JPEG, BMP or GIF picture named .jpg, .bmp or .gif";
    else if (IsPlain(actual))
        problem += ", but the player reads pictures only when they are named .jpg, .bmp or "
                   ".gif and takes " +
                   name + " for a picture file (.qmp)";
    else
        problem += "; the player shows JPEG, BMP and GIF pictures (named .jpg, .bmp, .gif) and "
                   "picture files (.qmp)";
    return Error(shownName, where, problem, fix);
}

// What the show's loader would complain about in a picture file: the reader's failure, a
// JPEG the decoder rejects, or an area map that does not fit the picture.
std::string PictureFileProblem(const std::string& path) {
    try {
        TFileLoader loader;
        loader.LoadFromFile(path);
        const TBitmap picture = DecodeJpeg(loader.PictureData);
        DecodeJpeg(loader.ThumbnailData);
        const auto& map = loader.AreaValues;
        if (map.size() < 2 || map[0] != picture.Width() || map[1] != picture.Height())
            return "its area map is not the picture's size";
        std::int64_t covered = 0;
        for (std::size_t i = 2; i < map.size(); ++i) {
            if (map[i] < 0)
                return "its area map holds a negative run";
            covered += map[i] / 10;
        }
        if (covered > std::int64_t{map[0]} * map[1])
            return "its area map runs past the picture (Scan line index out of range)";
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

std::string PlainPictureProblem(const std::string& path) {
    try {
        LoadPicture(path);
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

TFindings CheckPicture(const std::string& path, const std::string& shownName,
                       const std::string& where, bool previewOnly) {
    if (!FileExists(path))
        return {Error(shownName, where, "the file does not exist",
                      "Put it in the project folder or correct the name")};
    const TPictureKind expected = KindTheShowExpects(path);
    const TPictureKind actual = PictureKindOfFile(path);
    if (actual != expected || (previewOnly && !IsPlain(expected)))
        return {KindMismatch(path, shownName, where, expected, actual, previewOnly)};
    const std::string problem =
        IsPlain(expected) ? PlainPictureProblem(path) : PictureFileProblem(path);
    if (!problem.empty())
        return {
            Error(shownName, where, "the player cannot read it: " + problem,
                  IsPlain(expected) ? "Save the picture again" : "Build it again with make-qmp")};
    return {};
}

} // namespace

TFindings CheckShowPicture(const std::string& path, const std::string& shownName,
                           const std::string& where) {
    return CheckPicture(path, shownName, where, false);
}

TFindings CheckPreviewPicture(const std::string& path, const std::string& shownName,
                              const std::string& where) {
    return CheckPicture(path, shownName, where, true);
}

std::vector<TPictureSoundFile> FindPictureSounds(const std::string& dir, const std::string& picture,
                                                 const std::string& shownName,
                                                 TFindings& findings) {
    TFileLoader loader;
    try {
        loader.LoadFromFile(picture);
    } catch (const std::exception&) {
        return {};
    }
    std::vector<TPictureSoundFile> found;
    for (std::string sound : loader.SoundNames()) {
        std::replace(sound.begin(), sound.end(), '\\', '/');
        const std::string name = ExtractFileName(sound);
        const bool absolute = !sound.empty() && sound[0] == '/';
        if (absolute && FileExists(sound))
            found.push_back({sound, sound});
        else if (!absolute && FileExists(dir + sound))
            found.push_back({dir + sound, sound});
        else if (!name.empty() && FileExists(dir + name))
            found.push_back({dir + name, name});
        else
            findings.push_back(Error(shownName, "sound " + sound,
                                     "the picture plays it, but it is not in " + dir,
                                     "Copy " + name +
                                         " into the project folder, or correct its Path in the "
                                         "parameter file and run make-qmp again"));
    }
    return found;
}

} // namespace ml::authoring
