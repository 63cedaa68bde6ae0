#include "tools/authoring/MaskReport.h"

#include "platform/Bitmap.h"

#include <cstdio>
#include <cstdlib>
#include <numeric>

namespace ml::authoring {

namespace {

const char* const kAreaNames[kAreaCount + 1] = {"no area", "blue", "magenta", "red", "yellow"};

// The area whose colour the pixel is, or comes within kNearMissSteps of; -1 for neither.
int NearestArea(std::uint32_t pixel, bool& exact) {
    for (int area = 1; area <= kAreaCount; ++area) {
        const std::uint32_t colour = AreaColors[area];
        if (pixel == colour) {
            exact = true;
            return area;
        }
        bool near = true;
        for (int shift = 0; shift <= 16 && near; shift += 8)
            near = std::abs(static_cast<int>((pixel >> shift) & 0xFF) -
                            static_cast<int>((colour >> shift) & 0xFF)) <= kNearMissSteps;
        if (near) {
            exact = false;
            return area;
        }
    }
    return -1;
}

std::string ColourName(int area) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(AreaColors[area]));
    return std::string(kAreaNames[area]) + " " + hex;
}

std::string Percent(std::int64_t part, std::int64_t whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", whole ? 100.0 * part / whole : 0.0);
    return text;
}

bool HasWaves(const TWaveParam& wave) {
    return wave.Amplitude > 0 && (wave.Horizontal || wave.Vertical);
}

} // namespace

std::int64_t TMaskReport::WaterPixels() const {
    return std::accumulate(Pixels.begin() + 1, Pixels.end(), std::int64_t{0});
}

std::int64_t TMaskReport::NearMissPixels() const {
    return std::accumulate(NearMisses.begin(), NearMisses.end(), std::int64_t{0});
}

TMaskReport AnalyseMask(const TBitmap& mask) {
    TMaskReport report;
    report.Width = mask.Width();
    report.Height = mask.Height();
    for (int y = 0; y < mask.Height(); ++y) {
        const std::uint32_t* row = mask.ScanLine(y);
        for (int x = 0; x < mask.Width(); ++x) {
            bool exact = false;
            const int area = NearestArea(row[x] & 0x00FFFFFFu, exact);
            if (area < 0)
                ++report.Pixels[0];
            else if (exact)
                ++report.Pixels[static_cast<std::size_t>(area)];
            else {
                ++report.Pixels[0];
                ++report.NearMisses[static_cast<std::size_t>(area)];
            }
        }
    }
    return report;
}

TFindings MaskFindings(const TMaskReport& report, const std::string& maskFile,
                       const std::array<TWaveParam, kAreaCount>& waves) {
    const std::string howToSave =
        "Paint the areas in exactly #0000FF, #FF00FF, #FF0000 or #FFFF00 with hard edges (no "
        "anti-aliasing) and save the mask as PNG or BMP, never as JPEG";
    TFindings findings;
    if (report.NearMissPixels() >= kNearMissWarning)
        findings.push_back(
            Warning(maskFile, "",
                    std::to_string(report.NearMissPixels()) +
                        " pixels are within a few steps of an area colour without being it (a mask "
                        "saved as JPEG, or soft painted edges); the show takes them as dry land",
                    howToSave));
    if (report.WaterPixels() == 0) {
        findings.push_back(Warning(
            maskFile, "", "no pixel has an area colour, so the picture has no water", howToSave));
        return findings;
    }
    for (int area = 1; area <= kAreaCount; ++area)
        if (report.Pixels[static_cast<std::size_t>(area)] == 0 &&
            HasWaves(waves[static_cast<std::size_t>(area - 1)]))
            findings.push_back(Warning(maskFile, "",
                                       "[Area" + std::to_string(area) +
                                           "] has waves, but no pixel is " + ColourName(area),
                                       "Paint its water in " + ColourName(area) +
                                           " or move its settings to the area you painted"));
    return findings;
}

std::string MaskSummary(const TMaskReport& report) {
    const std::int64_t total = report.Width * report.Height;
    std::string text;
    for (int area = 1; area <= kAreaCount; ++area) {
        const auto i = static_cast<std::size_t>(area);
        if (report.Pixels[i] == 0 && report.NearMisses[i] == 0)
            continue;
        text += "  area " + std::to_string(area) + " (" + ColourName(area) +
                "): " + std::to_string(report.Pixels[i]) + " pixels (" +
                Percent(report.Pixels[i], total) + ")";
        if (report.NearMisses[i])
            text += ", " + std::to_string(report.NearMisses[i]) + " near misses";
        text += "\n";
    }
    text += "  dry land: " + std::to_string(report.Pixels[0]) + " pixels (" +
            Percent(report.Pixels[0], total) + ")\n";
    return text;
}

} // namespace ml::authoring
