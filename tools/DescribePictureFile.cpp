#include "tools/DescribePictureFile.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/FileLoader.h"
#include "tools/Command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace ml::tool {
namespace {

// The file's texts are 8-bit; Latin-1 shows every byte as some character.
QString Text(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject DescribeJpeg(const std::string& data) {
    QJsonObject jpeg{{"bytes", static_cast<qint64>(data.size())}};
    try {
        TBitmap bitmap = DecodeJpeg(data);
        jpeg["width"] = bitmap.Width();
        jpeg["height"] = bitmap.Height();
    } catch (const std::exception& e) {
        jpeg["error"] = e.what();
    }
    return jpeg;
}

QJsonObject DescribeWave(const TWaveParam& w) {
    return {
        {"Amplitude", w.Amplitude},     {"WaveCount", w.WaveCount},   {"PhaseStep", w.PhaseStep},
        {"Direction", w.Direction},     {"Horizontal", w.Horizontal}, {"Vertical", w.Vertical},
        {"Perspective", w.Perspective}, {"Alignment", w.Alignment},   {"Period", w.Period},
        {"JitterRange", w.JitterRange}, {"Reserved", w.Reserved}};
}

// Counts what the runs would paint without painting them, so that a map of any stated size
// is described without allocating it.
QJsonObject DescribeAreaMap(const std::vector<std::int32_t>& values) {
    QJsonObject map{{"values", static_cast<qint64>(values.size())},
                    {"width", values[0]},
                    {"height", values[1]},
                    {"runs", static_cast<qint64>(values.size() - 2)}};
    std::array<qint64, 10> pixels{};
    qint64 negative = 0;
    for (std::size_t i = 2; i < values.size(); ++i) {
        if (values[i] < 0)
            ++negative;
        else
            pixels[static_cast<std::size_t>(values[i] % 10)] += values[i] / 10;
    }
    QJsonObject perArea;
    qint64 covered = 0;
    for (std::size_t area = 0; area < pixels.size(); ++area) {
        covered += pixels[area];
        if (pixels[area] > 0 || area <= static_cast<std::size_t>(kAreaCount))
            perArea[area == 0 ? QString("none") : QString::number(area)] = pixels[area];
    }
    map["pixels"] = perArea;
    map["covered"] = covered;
    map["size"] = qint64{values[0]} * values[1];
    if (negative)
        map["negativeRuns"] = negative;
    return map;
}

QJsonObject Describe(const std::string& path) {
    TFileLoader loader;
    loader.LoadFromFile(path);
    QJsonArray waves;
    for (int i = 0; i < std::min(loader.WaveRecordCount, kAreaCount); ++i)
        waves.append(DescribeWave(loader.WaveParams[static_cast<std::size_t>(i)]));
    QJsonArray sounds;
    for (int i = 0; i < loader.SoundSlotsRead; ++i) {
        const SoundSlot& s = loader.Sounds[static_cast<std::size_t>(i)];
        sounds.append(QJsonObject{{"Path", Text(std::string(s.Path, s.PathLength))},
                                  {"Mode", s.Mode},
                                  {"MinSeconds", s.MinSeconds},
                                  {"MaxSeconds", s.MaxSeconds}});
    }
    const TWeatherParam& w = loader.Weather;
    return {{"file", Text(path)},
            {"kind", "picture file"},
            {"title", Text(loader.Title)},
            {"extraText", Text(loader.ExtraText)},
            {"thumbnail", DescribeJpeg(loader.ThumbnailData)},
            {"waveRecordCount", loader.WaveRecordCount},
            {"waves", waves},
            {"areaMap", DescribeAreaMap(loader.AreaValues)},
            {"picture", DescribeJpeg(loader.PictureData)},
            {"legacySound", Text(loader.LegacySound)},
            {"weather", QJsonObject{{"Kind", w.Kind},
                                    {"Count", w.Count},
                                    {"SpeedIndex", w.SpeedIndex},
                                    {"Angle", w.Angle},
                                    {"Length", w.Length},
                                    {"Reserved", w.Reserved}}},
            {"soundSlotsRead", loader.SoundSlotsRead},
            {"soundsInUse", UsedSoundSlots(loader.Sounds)},
            {"sounds", sounds}};
}

std::string JpegLine(const QJsonObject& jpeg) {
    std::string line = std::to_string(jpeg["bytes"].toInteger()) + " bytes of JPEG, ";
    if (jpeg.contains("error"))
        return line + "unreadable: " + jpeg["error"].toString().toStdString();
    return line + std::to_string(jpeg["width"].toInt()) + " x " +
           std::to_string(jpeg["height"].toInt());
}

// "Key value, Key value" for the fields of a record, in the record's order.
std::string FieldsLine(const QJsonObject& record, std::initializer_list<const char*> keys) {
    std::string line;
    for (const char* key : keys)
        line += (line.empty() ? "" : ", ") + std::string(key) + " " +
                std::to_string(record[key].toInteger());
    return line;
}

std::string Quoted(const QJsonValue& value) {
    return "\"" + value.toString().toStdString() + "\"";
}

std::string AsText(const QJsonObject& d) {
    std::string out = "Picture file " + d["file"].toString().toStdString() + "\n";
    out += "  Title:        " + Quoted(d["title"]) + "\n";
    out += "  Extra text:   " + Quoted(d["extraText"]) + "\n";
    out += "  Thumbnail:    " + JpegLine(d["thumbnail"].toObject()) + "\n";
    out += "  Wave records: " + std::to_string(d["waveRecordCount"].toInt()) + " stored\n";
    const QJsonArray waves = d["waves"].toArray();
    for (qsizetype i = 0; i < waves.size(); ++i)
        out += "    Area " + std::to_string(i + 1) + ": " +
               FieldsLine(waves[i].toObject(), {"Amplitude", "WaveCount", "PhaseStep", "Direction",
                                                "Horizontal", "Vertical", "Perspective",
                                                "Alignment", "Period", "JitterRange", "Reserved"}) +
               "\n";
    const QJsonObject map = d["areaMap"].toObject();
    out += "  Area map:     " + std::to_string(map["width"].toInt()) + " x " +
           std::to_string(map["height"].toInt()) + ", " + std::to_string(map["runs"].toInteger()) +
           " runs covering " + std::to_string(map["covered"].toInteger()) + " of " +
           std::to_string(map["size"].toInteger()) + " pixels\n";
    const QJsonObject pixels = map["pixels"].toObject();
    out += "    no area: " + std::to_string(pixels["none"].toInteger()) + " pixels\n";
    for (const QString& area : pixels.keys())
        if (area != "none")
            out += "    area " + area.toStdString() + ": " +
                   std::to_string(pixels[area].toInteger()) + " pixels\n";
    if (map.contains("negativeRuns"))
        out += "    negative runs: " + std::to_string(map["negativeRuns"].toInteger()) + "\n";
    out += "  Picture:      " + JpegLine(d["picture"].toObject()) + "\n";
    out += "  Legacy sound: " + Quoted(d["legacySound"]) + "\n";
    out += "  Weather:      " +
           FieldsLine(d["weather"].toObject(),
                      {"Kind", "Count", "SpeedIndex", "Angle", "Length", "Reserved"}) +
           "\n";
    out += "  Sound table:  " + std::to_string(d["soundSlotsRead"].toInt()) + " slots stored, " +
           std::to_string(d["soundsInUse"].toInt()) + " in use\n";
    const QJsonArray sounds = d["sounds"].toArray();
    for (qsizetype i = 0; i < sounds.size(); ++i) {
        const QJsonObject s = sounds[i].toObject();
        out += "    Sound " + std::to_string(i + 1) + ": " + Quoted(s["Path"]) + ", " +
               FieldsLine(s, {"Mode", "MinSeconds", "MaxSeconds"}) + "\n";
    }
    return out;
}

} // namespace

bool IsPictureFile(const std::string& path) {
    char magic[8] = {};
    std::ifstream in(path, std::ios::binary);
    return in.read(magic, sizeof magic) && std::memcmp(magic, kPictureFileMagic, 8) == 0;
}

std::string DescribePictureFile(const std::string& path, bool json) {
    const QJsonObject description = Describe(path);
    if (json)
        return QJsonDocument(description).toJson(QJsonDocument::Indented).toStdString();
    return AsText(description);
}

} // namespace ml::tool
