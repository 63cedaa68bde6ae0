#include "tools/authoring/PlayScene.h"

#include "backend/Jpeg.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/FileLoader.h"
#include "tools/authoring/PackPlan.h"
#include "tools/authoring/PictureChecks.h"
#include "tools/authoring/PictureKind.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace ml::authoring {

namespace fs = std::filesystem;

namespace {

std::string Absolute(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? fs::path(path) : absolute).lexically_normal().string();
}

std::string FolderOf(const std::string& path) {
    return IncludeTrailingSeparator(fs::path(Absolute(path)).parent_path().string());
}

void Watch(TPlayScene& scene, const std::string& file) {
    const std::string path = Absolute(file);
    if (std::find(scene.Files.begin(), scene.Files.end(), path) == scene.Files.end())
        scene.Files.push_back(path);
    const std::string folder = FolderOf(path);
    if (std::find(scene.Folders.begin(), scene.Folders.end(), folder) == scene.Folders.end())
        scene.Folders.push_back(folder);
}

// One picture file, still on screen for as long as the window is open, with its sounds and
// without music.
void ShowPictureFile(TPlayScene& scene, const std::string& path) {
    TQMCSetting& s = scene.Project.Setting;
    s.Stretch = true;
    s.Proportional = true;
    s.Random = false; // no other picture to go to
    s.Transition = false;
    s.Music = false;
    s.Sound = true;
    s.DirectX = false;
    scene.Project.FileList.FileNames = {Absolute(path)};
    scene.Project.FileList.Included = {"TRUE"};
    try {
        TFileLoader loader;
        loader.LoadFromFile(path);
        const TBitmap picture = DecodeJpeg(loader.PictureData);
        scene.Width = picture.Width();
        scene.Height = picture.Height();
    } catch (const std::exception&) {
        // CheckShowPicture says why.
    }
}

void WatchPictureSounds(TPlayScene& scene, const std::string& picture, const std::string& shown) {
    TFindings missing;
    for (const auto& sound : FindPictureSounds(scene.WorkingFolder, picture, shown, missing))
        Watch(scene, sound.Source);
    for (auto& finding : missing)
        finding.Severity = TSeverity::Warning;
    Append(scene.Findings, missing);
}

void PreparePictureFile(TPlayScene& scene, const std::string& path) {
    scene.WorkingFolder = FolderOf(path);
    Watch(scene, path);
    Append(scene.Findings, CheckShowPicture(path, path, ""));
    ShowPictureFile(scene, path);
    WatchPictureSounds(scene, path, path);
}

void PrepareRecipe(TPlayScene& scene, const TPictureFileRecipe& recipe,
                   const std::string& scratchFile) {
    scene.WorkingFolder = FolderOf(recipe.Params);
    for (const std::string& input : {recipe.Image, recipe.Areas, recipe.Params})
        Watch(scene, input);
    if (recipe.Thumbnail != "auto")
        Watch(scene, recipe.Thumbnail);
    TBuiltPictureFile built = BuildPictureFile(recipe);
    Append(scene.Findings, built.Findings);
    if (HasErrors(built.Findings))
        return; // the window keeps showing what it showed before
    std::ofstream(scratchFile, std::ios::binary | std::ios::trunc) << built.Bytes;
    ShowPictureFile(scene, scratchFile);
    WatchPictureSounds(scene, scratchFile, recipe.Params);
}

void PrepareFolder(TPlayScene& scene, const std::string& dir) {
    const std::string folder = IncludeTrailingSeparator(Absolute(dir));
    const std::string ini = folder + "project.ini";
    scene.WorkingFolder = folder;
    Watch(scene, ini);
    TPackPlan plan = PlanPack(folder);
    scene.Findings = std::move(plan.Findings);
    for (const auto& file : plan.Files)
        Watch(scene, file.Source);

    TQMCProject& project = scene.Project;
    project.FileList.LoadFromFile(ini);
    project.Setting.LoadFromFile(ini);
    for (auto& name : project.FileList.FileNames)
        name = ResolveInFolder(folder, name);
    // The show looks for a music file without a folder in its scratch folder; here every one
    // is named by its full path.
    std::string music;
    for (const auto& name : SplitMusic(project.Setting.MusicFile))
        music += ResolveInFolder(folder, name) + ";";
    project.Setting.MusicFile = music;
    project.Setting.DirectX = false;
}

} // namespace

TPlaySource PlaySourceOf(const std::string& path) {
    TPlaySource source;
    // Full paths: the window changes the working folder to where the sounds are found.
    source.Path = Absolute(path);
    source.Kind =
        DirectoryExists(path) ? TPlaySource::TKind::ProjectFolder : TPlaySource::TKind::PictureFile;
    return source;
}

TPlaySource PlaySourceOf(const TPictureFileRecipe& recipe) {
    TPlaySource source;
    source.Kind = TPlaySource::TKind::Recipe;
    source.Recipe = recipe;
    for (std::string* path : {&source.Recipe.Image, &source.Recipe.Areas, &source.Recipe.Params})
        *path = Absolute(*path);
    if (source.Recipe.Thumbnail != "auto")
        source.Recipe.Thumbnail = Absolute(source.Recipe.Thumbnail);
    source.Path = source.Recipe.Params;
    return source;
}

TPlayScene PrepareScene(const TPlaySource& source, const std::string& scratchFile) {
    TPlayScene scene;
    switch (source.Kind) {
    case TPlaySource::TKind::PictureFile:
        PreparePictureFile(scene, source.Path);
        break;
    case TPlaySource::TKind::Recipe:
        PrepareRecipe(scene, source.Recipe, scratchFile);
        break;
    case TPlaySource::TKind::ProjectFolder:
        PrepareFolder(scene, source.Path);
        break;
    }
    return scene;
}

} // namespace ml::authoring
