// mirrorlake-tool make-qmp: builds a picture file from a picture, an area mask painted in the
// four area colours and a parameter file.

#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/ReportFindings.h"
#include "tools/authoring/PictureFileBuild.h"

#include <cstdio>

namespace ml::tool {
namespace {

int Run(const TArgs& args) {
    TOptions options(args, {"--image", "--areas", "--params", "--title", "--extra", "--thumbnail",
                            "--quality", "--max-size", "-o"});
    options.ExpectPositional(0, "only options");
    authoring::TPictureFileRecipe recipe;
    recipe.Image = options.Required("--image");
    recipe.Areas = options.Required("--areas");
    recipe.Params = options.Required("--params");
    const std::string outPath = options.Required("-o");
    recipe.Quality = options.Integer("--quality", 90);
    if (recipe.Quality < 1 || recipe.Quality > 100)
        throw TUsageError{"--quality wants a number from 1 to 100"};
    recipe.Title = options.Value("--title");
    recipe.ExtraText = options.Value("--extra").value_or("");
    recipe.Thumbnail = options.Value("--thumbnail").value_or("auto");
    if (const auto maxSize = options.Size("--max-size")) {
        recipe.MaxWidth = maxSize->Width;
        recipe.MaxHeight = maxSize->Height;
    }

    const authoring::TBuiltPictureFile built = authoring::BuildPictureFile(recipe);
    if (!ReportFindings(built.Findings, "make-qmp", outPath))
        return 1;
    WriteOutputFile(outPath, built.Bytes);
    std::printf("%s: %d x %d picture", outPath.c_str(), built.Width, built.Height);
    if (built.Width != built.SourceWidth || built.Height != built.SourceHeight)
        std::printf(" (brought down from %d x %d; Amplitude and JitterRange count pixels of the "
                    "stored picture)",
                    built.SourceWidth, built.SourceHeight);
    std::printf(", %zu area runs, %d sound(s)\n%s", built.AreaRuns, built.Sounds,
                authoring::MaskSummary(built.Mask).c_str());
    return 0;
}

const TCommandRegistration registration{TCommand{
    "make-qmp", "build a picture file (.qmp) from a picture, an area mask and parameters",
    "Usage: mirrorlake-tool make-qmp --image PIC --areas MASK --params PARAMS.ini\n"
    "                                [--title T] [--extra T] [--thumbnail auto|FILE]\n"
    "                                [--quality Q] [--max-size WxH] -o OUT.qmp\n\n"
    "  --image PIC       the picture (JPEG, PNG, BMP or GIF, told by content), stored as JPEG\n"
    "  --areas MASK      a picture of the same size marking the water areas: blue 0000FF is\n"
    "                    area 1, magenta FF00FF area 2, red FF0000 area 3, yellow FFFF00\n"
    "                    area 4; every other colour is dry land. Paint it with hard edges and\n"
    "                    save it as PNG or BMP: a JPEG mask loses its water (make-qmp warns)\n"
    "  --params FILE     the wave, weather and sound settings (see README.md):\n"
    "                    [Area1]..[Area4] Amplitude WaveCount PhaseStep Direction Horizontal\n"
    "                    Vertical Perspective Period JitterRange; [Weather] Kind Count\n"
    "                    SpeedIndex Angle Length; [Sound1]..[Sound8] Path Mode MinSeconds\n"
    "                    MaxSeconds. Unknown sections and keys and values out of range stop\n"
    "                    the build\n"
    "  --title T         the caption under the thumbnail (default: the picture's file name)\n"
    "  --extra T         the second text (default: empty)\n"
    "  --thumbnail X     'auto' (default) shrinks the picture to 80 x 60; a file name uses\n"
    "                    that picture, brought to 80 x 60\n"
    "  --quality Q       JPEG quality 1..100 (default 90)\n"
    "  --max-size WxH    store the picture (and its mask) within WxH, proportions kept; a\n"
    "                    12-megapixel photo need not be kept at 4032 pixels. Amplitude and\n"
    "                    JitterRange are pixels of the stored picture\n"
    "  -o OUT.qmp        the picture file to write; written only when the build succeeds\n\n"
    "It prints the pixels of each area and warns about masks that lose water.",
    Run}};

} // namespace
} // namespace ml::tool
