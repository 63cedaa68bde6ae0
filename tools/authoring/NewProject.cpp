#include "tools/authoring/NewProject.h"

#include "backend/Jpeg.h"
#include "demo/DefaultInterface.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"
#include "project/FileLoader.h"
#include "tools/authoring/PictureChecks.h"
#include "tools/authoring/PictureKind.h"

#include <QImage>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace ml::authoring {

namespace fs = std::filesystem;

namespace {

constexpr int kJpegQuality = 92;
constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 300;
const char* const kPreviewName = "preview.jpg";
const char* const kInterfaceName = "ui.wui";

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw Exception("cannot write " + path.string());
}

// A file name that is safe as a [FileList] key: the settings reader would split a name at
// "=" and take one starting with "[" or ";" for a section or a comment.
std::string KeySafe(std::string name) {
    for (char& c : name)
        if (c == '=')
            c = '-';
    if (!name.empty() && (name[0] == '[' || name[0] == ';'))
        name[0] = '_';
    return name;
}

// The picture shrunk to the preview's 4:3 from its middle, as a host shows it stretched.
TBitmap PreviewOf(const TBitmap& picture) {
    const QImage& image = picture.ToImage();
    const int w = image.width(), h = image.height();
    QRect crop(0, 0, w, h);
    if (w * kPreviewHeight > h * kPreviewWidth)
        crop = QRect((w - h * kPreviewWidth / kPreviewHeight) / 2, 0,
                     h * kPreviewWidth / kPreviewHeight, h);
    else
        crop = QRect(0, (h - w * kPreviewHeight / kPreviewWidth) / 2, w,
                     w * kPreviewHeight / kPreviewWidth);
    return TBitmap(image.copy(crop).scaled(kPreviewWidth, kPreviewHeight, Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation));
}

class TProjectWriter {
public:
    explicit TProjectWriter(fs::path folder) : Folder(std::move(folder)) {
        Taken.insert(UpperCase(kPreviewName));
        Taken.insert(UpperCase(kInterfaceName));
        Taken.insert("PROJECT.INI");
    }

    void AddPicture(const std::string& source) {
        if (!fs::is_regular_file(source))
            throw Exception("cannot read " + source + ": no such file");
        const TPictureKind kind = PictureKindOfFile(source);
        const std::string stem = fs::path(source).stem().string();
        switch (kind) {
        case TPictureKind::Jpeg:
        case TPictureKind::Bmp:
        case TPictureKind::Gif: {
            const TBitmap picture = ReadAuthorPicture(source);
            const std::string name = FreeName(stem, PlayerExtension(kind));
            fs::copy_file(source, Folder / name);
            Listed(name, picture);
            break;
        }
        case TPictureKind::PictureFile:
            AddPictureFile(source, stem);
            break;
        default: {
            // PNG and whatever else Qt reads are stored as JPEG, which the player reads.
            const TBitmap picture = ReadAuthorPicture(source);
            const std::string name = FreeName(stem, ".jpg");
            WriteBytes(Folder / name, EncodeJpeg(picture, kJpegQuality));
            Result.Findings.push_back(Note(source, "", "stored as JPEG in " + name));
            Listed(name, picture);
        }
        }
    }

    TNewProject Finish(const TNewProjectTexts& texts) {
        WriteBytes(Folder / kPreviewName, EncodeJpeg(PreviewOf(FirstPicture), 90));
        WriteBytes(Folder / kInterfaceName, DefaultInterfaceDescription());
        WriteBytes(Folder / "project.ini", ProjectIni(texts));
        return std::move(Result);
    }

private:
    void AddPictureFile(const std::string& source, const std::string& stem) {
        TFileLoader loader;
        TBitmap picture;
        try {
            loader.LoadFromFile(source);
            picture = DecodeJpeg(loader.PictureData);
        } catch (const std::exception& e) {
            throw Exception("cannot read picture file " + source + ": " + e.what());
        }
        const std::string name = FreeName(stem, ".qmp");
        fs::copy_file(source, Folder / name);
        // Its sounds come along from beside it, under the names the picture file uses.
        const std::string beside = IncludeTrailingSeparator(ExtractFilePath(source));
        TFindings missing;
        for (const auto& sound :
             FindPictureSounds(beside.empty() ? "./" : beside, source, source, missing)) {
            const fs::path target = sound.Entry[0] == '/' ? Folder / ExtractFileName(sound.Entry)
                                                          : Folder / sound.Entry;
            if (!fs::exists(target)) {
                fs::create_directories(target.parent_path());
                fs::copy_file(sound.Source, target);
            }
        }
        for (auto& finding : missing) {
            finding.Severity = TSeverity::Warning;
            finding.Fix = "Copy it into the new project folder before you pack";
            Result.Findings.push_back(finding);
        }
        Listed(name, picture);
    }

    std::string FreeName(const std::string& stem, const std::string& extension) {
        const std::string base = KeySafe(stem.empty() ? "picture" : stem);
        std::string name = base + extension;
        for (int n = 2; Taken.count(UpperCase(name)); ++n)
            name = base + "-" + std::to_string(n) + extension;
        Taken.insert(UpperCase(name));
        return name;
    }

    void Listed(const std::string& name, const TBitmap& picture) {
        if (Result.Pictures.empty())
            FirstPicture = picture;
        Result.Pictures.push_back(name);
    }

    std::string ProjectIni(const TNewProjectTexts& texts) const {
        std::ostringstream ini;
        const char* eol = "\r\n";
        ini << "; The pictures of the show, in order: one line each, NAME=1." << eol << "[FileList]"
            << eol;
        for (const auto& name : Result.Pictures)
            ini << name << "=1" << eol;
        ini << eol << "[General]" << eol << "ProductName=" << texts.ProductName << eol
            << "Publisher=" << texts.Publisher << eol << "Website=" << texts.Website << eol << eol
            << "[Default]" << eol << "; Fill the screen, keeping each picture's shape." << eol
            << "Stretch=1" << eol << "Proportional=1" << eol << "Sound=1" << eol << "Music=1" << eol
            << "Random=1" << eol << "; Seconds per picture." << eol << "Duration=20" << eol
            << "; Crossfade from one picture to the next." << eol << "Transition=1" << eol
            << "Speed=100" << eol
            << "; 0 random order, 1 in the order above, 2 favourites at random, 3 one picture."
            << eol << "ShowImageMode=1" << eol
            << "; 0: the plain window path. The user's own setting decides in the end." << eol
            << "DirectX=0" << eol << "DirectXQuality=1" << eol << eol << "[Advance]" << eol
            << "PreviewFile=" << kPreviewName << eol << "MusicFile=" << eol << "MusicMode=0" << eol
            << eol << "[UI]" << eol << "UIFile=" << kInterfaceName << eol;
        return ini.str();
    }

    fs::path Folder;
    std::set<std::string> Taken; // upper-cased: names differing in case only would collide
    TBitmap FirstPicture;
    TNewProject Result;
};

// Removes a half-made folder unless it was handed over.
struct TScratchFolder {
    fs::path Path;
    bool Keep = false;
    ~TScratchFolder() {
        std::error_code ignored;
        if (!Keep)
            fs::remove_all(Path, ignored);
    }
};

} // namespace

std::string ProductNameFromFolder(const std::string& dir) {
    std::string name = fs::path(dir).lexically_normal().filename().string();
    if (name.empty() || name == "." || name == "..")
        name = fs::path(dir).lexically_normal().parent_path().filename().string();
    bool wordStart = true;
    for (char& c : name) {
        if (c == '-' || c == '_' || c == '.')
            c = ' ';
        if (wordStart && std::isalpha(static_cast<unsigned char>(c)))
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        wordStart = c == ' ';
    }
    return Trim(name);
}

TNewProject MakeNewProject(const std::string& dir, const std::vector<std::string>& pictures,
                           const TNewProjectTexts& texts) {
    if (pictures.empty())
        throw Exception("name at least one picture");
    const fs::path target = fs::path(dir).lexically_normal();
    std::error_code error;
    if (fs::exists(target, error) && (!fs::is_directory(target) || !fs::is_empty(target, error)))
        throw Exception(dir + " exists and is not an empty folder; new makes a new project folder");
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, error))
        throw Exception("no folder " + parent.string() + " to make " + dir + " in");

    std::string pattern = (parent / (target.filename().string() + ".part-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw Exception("cannot write in " + parent.string());
    TScratchFolder scratch{pattern};
    TProjectWriter writer(scratch.Path);
    for (const auto& picture : pictures)
        writer.AddPicture(picture);
    TNewProjectTexts filled = texts;
    if (filled.ProductName.empty())
        filled.ProductName = ProductNameFromFolder(dir);
    TNewProject result = writer.Finish(filled);

    fs::remove(target, error); // the empty folder, if there was one
    fs::permissions(scratch.Path, fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    fs::rename(scratch.Path, target, error);
    if (error)
        throw Exception("cannot create " + dir + ": " + error.message());
    scratch.Keep = true;
    return result;
}

} // namespace ml::authoring
