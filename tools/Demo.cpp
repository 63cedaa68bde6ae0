// mirrorlake-tool demo: writes the demo project folder, every picture, sound and setting of
// it made by our own code. `pack` then turns the folder into a saver.

#include "backend/Jpeg.h"
#include "demo/DefaultInterface.h"
#include "demo/DemoProject.h"
#include "platform/Bitmap.h"
#include "tools/Command.h"
#include "tools/Options.h"

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace ml::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPlainPicture = "night-hills.jpg";
constexpr const char* kPreviewPicture = "preview.jpg";
constexpr const char* kInterfaceFile = "ui.wui"; // the configuration window's description

// The project settings: every picture in the show, random order, 20 seconds each.
std::string ProjectIni(const std::vector<TDemoScene>& scenes,
                       const std::vector<TDemoSound>& music) {
    std::string ini = "[FileList]\r\n";
    for (const auto& scene : scenes)
        ini += scene.Name + ".qmp=1\r\n";
    ini += std::string(kPlainPicture) + "=1\r\n";
    ini += "\r\n[General]\r\nProductName=Mirrorlake Demo\r\nPublisher=Mirrorlake\r\n"
           "Website=https://mirrorlake.example/\r\n";
    ini += "\r\n[Default]\r\nStretch=1\r\nProportional=1\r\nSound=1\r\nMusic=1\r\nRandom=1\r\n"
           "Duration=20\r\nTransition=1\r\nSpeed=100\r\nShowImageMode=0\r\nDirectX=0\r\n"
           "DirectXQuality=1\r\n";
    ini += "\r\n[Advance]\r\nPreviewFile=" + std::string(kPreviewPicture) + "\r\nMusicFile=";
    for (const auto& track : music)
        ini += track.FileName + ";";
    ini += "\r\nMusicMode=0\r\n\r\n[Build]\r\nBuildMethod=1\r\n";
    ini += "\r\n[UI]\r\nUIFile=" + std::string(kInterfaceFile) + "\r\n";
    return ini;
}

void SaveImage(const QImage& image, const fs::path& path) {
    if (!image.save(QString::fromStdString(path.string()), "PNG"))
        throw std::runtime_error("cannot write " + path.string());
}

// Each scene goes through make-qmp, exactly as an author's pictures would.
void MakePictureFile(const TDemoScene& scene, const fs::path& work, const fs::path& out) {
    const fs::path picture = work / (scene.Name + ".png");
    const fs::path mask = work / (scene.Name + "-areas.png");
    const fs::path params = work / (scene.Name + ".ini");
    SaveImage(scene.Picture, picture);
    SaveImage(scene.AreaMask, mask);
    WriteOutputFile(params.string(), scene.ParamsIni);
    const auto& commands = Commands();
    auto makeQmp = std::find_if(commands.begin(), commands.end(),
                                [](const TCommand& c) { return c.Name == "make-qmp"; });
    if (makeQmp == commands.end() ||
        makeQmp->Run({"--image", picture.string(), "--areas", mask.string(), "--params",
                      params.string(), "--title", scene.Title, "--quality", "92", "-o",
                      (out / (scene.Name + ".qmp")).string()}) != 0)
        throw std::runtime_error("cannot make " + scene.Name + ".qmp");
}

int Run(const TArgs& args) {
    TOptions options(args, {"-o"});
    options.ExpectPositional(0, "only -o DIR");
    const fs::path out = options.Required("-o");
    std::error_code error;
    fs::create_directories(out, error);
    if (!fs::is_directory(out))
        throw TUsageError{"cannot create the folder " + out.string()};

    // Scratch files of make-qmp's inputs live beside the output and go away in any case.
    const fs::path work = out / ".demo-work";
    fs::create_directories(work);
    struct TCleanup {
        fs::path Folder;
        ~TCleanup() {
            std::error_code ignored;
            fs::remove_all(Folder, ignored);
        }
    } cleanup{work};

    std::printf("painting the demo pictures...\n");
    const std::vector<TDemoScene> scenes = DemoScenes();
    for (const auto& scene : scenes)
        MakePictureFile(scene, work, out);
    WriteOutputFile((out / kPlainPicture).string(), EncodeJpeg(TBitmap(DemoPlainPicture()), 92));
    WriteOutputFile((out / kPreviewPicture).string(), EncodeJpeg(TBitmap(DemoPreview()), 90));

    std::printf("making the sounds and the music...\n");
    for (const auto& sound : DemoSounds())
        WriteOutputFile((out / sound.FileName).string(), sound.WavBytes);
    const std::vector<TDemoSound> music = DemoMusic();
    for (const auto& track : music)
        WriteOutputFile((out / track.FileName).string(), track.WavBytes);

    WriteOutputFile((out / kInterfaceFile).string(), DefaultInterfaceDescription());
    WriteOutputFile((out / "project.ini").string(), ProjectIni(scenes, music));
    std::printf("demo project written to %s\n", out.string().c_str());
    return 0;
}

const TCommandRegistration registration{TCommand{
    "demo", "write the demo project folder (pictures, sounds, music, settings)",
    "Usage: mirrorlake-tool demo -o DIR\n\n"
    "Writes the demo project into DIR: four water pictures (.qmp) with rain, snow, sea and\n"
    "river, a plain JPEG picture, a preview picture, sound effects, two music tracks,\n"
    "the configuration window's description (ui.wui) and project.ini. Everything in it is made\n"
    "by Mirrorlake's own code. Turn it into a saver with:\n"
    "  mirrorlake-tool pack DIR -o waves.scr",
    Run}};

} // namespace
} // namespace ml::tool
