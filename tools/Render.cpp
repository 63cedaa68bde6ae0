// mirrorlake-tool render: runs the water on a picture file exactly as the show does and writes
// the frames as PNG pictures, for checking a picture file's look and for making animations.

#include "effects/WaveGenerator.h"
#include "project/FileLoader.h"
#include "project/Project.h"
#include "tools/Command.h"
#include "tools/Options.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <stdexcept>

namespace ml::tool {
namespace {

constexpr int kMaxFrames = 100000;
constexpr int kMaxSpeed = 100000;

// OUT is one PNG file, or a pattern with exactly one integer field such as frame-%03d.png
// for every frame. Any other '%' would reach the formatter unchecked, so it is refused.
bool IsPattern(const std::string& out) {
    static const std::regex field(R"(%0?[0-9]{0,2}d)");
    const auto fields =
        std::distance(std::sregex_iterator(out.begin(), out.end(), field), std::sregex_iterator());
    const auto percents = std::count(out.begin(), out.end(), '%');
    if (percents == 0)
        return false;
    if (fields == 1 && percents == 1)
        return true;
    throw TUsageError{"-o takes a file name or a pattern with one %d (like frame-%03d.png), not '" +
                      out + "'"};
}

std::string FrameName(const std::string& pattern, int frame) {
    const int length = std::snprintf(nullptr, 0, pattern.c_str(), frame);
    std::string name(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(name.data(), name.size(), pattern.c_str(), frame);
    name.resize(static_cast<std::size_t>(length));
    return name;
}

void WritePng(const TBitmap& frame, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!frame.ToImage().save(&buffer, "PNG"))
        throw std::runtime_error("cannot encode the frame for " + path);
    WriteOutputFile(path, bytes.toStdString());
}

int Run(const TArgs& args) {
    TOptions options(args, {"-o", "--frames", "--size", "--speed", "--seed"}, {"--keep-aspect"});
    options.ExpectPositional(1, "one picture file (FILE.qmp)");
    const std::string input = options.Positional()[0];
    const std::string out = options.Required("-o");
    const int frames = options.Integer("--frames", 1);
    if (frames < 1 || frames > kMaxFrames)
        throw TUsageError{"--frames wants a number from 1 to " + std::to_string(kMaxFrames)};
    const int speed = options.Integer("--speed", 100);
    if (speed < 0 || speed > kMaxSpeed)
        throw TUsageError{"--speed wants a percentage from 0 to " + std::to_string(kMaxSpeed)};
    // Without --seed the seed is 0, so that a render repeats exactly like any other.
    const auto seed = static_cast<std::uint32_t>(options.Integer("--seed", 0));
    const std::optional<TSize> size = options.Size("--size");
    if (options.Flag("--keep-aspect") && !size)
        throw TUsageError{"--keep-aspect needs --size"};
    const bool pattern = IsPattern(out);
    if (!std::filesystem::is_regular_file(input))
        throw TUsageError{"cannot read " + input + ": no such file"};

    TProject project;
    if (!project.Load(input)) // the loader has already said why
        throw std::runtime_error("cannot load " + input);
    project.SetSpeed(speed);
    if (size)
        project.FitToDisplay(options.Flag("--keep-aspect"), size->Width, size->Height);

    TWaveGenerator generator;
    generator.SetFixedSeed(seed);
    generator.SetProject(project);
    generator.SetWeather(false);
    generator.Initialize();
    generator.SetWeather(project.Weather.Kind > 0);
    for (int i = 1; i <= frames; ++i) {
        generator.NextFrame();
        if (pattern)
            WritePng(generator.CurrentFrame(), FrameName(out, i));
    }
    if (!pattern)
        WritePng(generator.CurrentFrame(), out);

    const TBitmap& frame = generator.CurrentFrame();
    std::printf("%s: %d frame%s of %d x %d\n", out.c_str(), frames, frames == 1 ? "" : "s",
                frame.Width(), frame.Height());
    return 0;
}

const TCommandRegistration registration{TCommand{
    "render", "run the water on a picture file and write the frames as PNG",
    "Usage: mirrorlake-tool render FILE.qmp -o OUT [--frames N] [--size WxH] [--keep-aspect]\n"
    "                              [--speed PCT] [--seed N]\n\n"
    "Runs the water, rain and snow of a picture file as the show does and writes frame i\n"
    "(1..N) as it stands after i frames of motion.\n\n"
    "  -o OUT          a PNG file for the last frame, or a pattern with one %d for every\n"
    "                  frame, e.g. frame-%03d.png\n"
    "  --frames N      number of frames to compute (default 1)\n"
    "  --size WxH      bring the picture to this size first, as the show does for the screen\n"
    "  --keep-aspect   with --size: keep the picture's aspect ratio inside WxH\n"
    "  --speed PCT     wave and weather speed in percent (default 100)\n"
    "  --seed N        seed of the random jitter and particles (default 0); the same file,\n"
    "                  options and seed give the same frames",
    Run}};

} // namespace
} // namespace ml::tool
