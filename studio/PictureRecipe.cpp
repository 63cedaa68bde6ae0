#include "studio/PictureRecipe.h"

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Profile.h"
#include "tools/authoring/IniSchema.h"

namespace ml::studio {

namespace {

void WriteBmp(const TBitmap& bitmap, const std::string& path) {
    // BMP keeps every pixel exactly and is quick to write for a large photo.
    if (!bitmap.ToImage()
             .convertToFormat(QImage::Format_RGB888)
             .save(QString::fromStdString(path), "BMP"))
        throw EInOutError("Cannot write " + path);
}

} // namespace

void WriteParameterFile(const std::string& path, const TPictureSettings& settings) {
    TIniFile ini(path);
    bool written = true;
    const authoring::TIniSchema& schema = authoring::PictureParamsSchema();
    for (int area = 1; area <= kAreaCount; ++area) {
        const std::string section = "Area" + std::to_string(area);
        for (const authoring::TKeyRule& key : schema.Find(section)->Keys)
            written = ini.WriteInteger(section, key.Name,
                                       WaveValue(settings.Waves[static_cast<std::size_t>(area - 1)],
                                                 key.Name)) &&
                      written;
    }
    for (const authoring::TKeyRule& key : schema.Find("Weather")->Keys)
        written = ini.WriteInteger("Weather", key.Name, WeatherValue(settings.Weather, key.Name)) &&
                  written;
    for (int slot = 0; slot < UsedSoundSlots(settings.Sounds); ++slot) {
        const SoundSlot& sound = settings.Sounds[static_cast<std::size_t>(slot)];
        const std::string section = "Sound" + std::to_string(slot + 1);
        written = ini.WriteString(section, "Path", SlotPath(sound)) &&
                  ini.WriteInteger(section, "Mode", sound.Mode) &&
                  ini.WriteInteger(section, "MinSeconds", sound.MinSeconds) &&
                  ini.WriteInteger(section, "MaxSeconds", sound.MaxSeconds) && written;
    }
    if (!written)
        throw EInOutError("Cannot write " + path);
}

authoring::TPictureFileRecipe WriteRecipe(const std::string& folder, const TBitmap& picture,
                                          const TBitmap& mask,
                                          const std::optional<TBitmap>& thumbnail,
                                          const TPictureSettings& settings) {
    authoring::TPictureFileRecipe recipe;
    recipe.Image = folder + "picture.bmp";
    recipe.Areas = folder + "areas.bmp";
    recipe.Params = folder + "params.ini";
    WriteBmp(picture, recipe.Image);
    WriteBmp(mask, recipe.Areas);
    if (thumbnail) {
        recipe.Thumbnail = folder + "thumbnail.bmp";
        WriteBmp(*thumbnail, recipe.Thumbnail);
    }
    WriteParameterFile(recipe.Params, settings);
    recipe.Title = settings.Title;
    recipe.ExtraText = settings.ExtraText;
    recipe.Quality = settings.Quality;
    if (!settings.StoredLimit.isEmpty()) {
        recipe.MaxWidth = settings.StoredLimit.width();
        recipe.MaxHeight = settings.StoredLimit.height();
    }
    return recipe;
}

} // namespace ml::studio
