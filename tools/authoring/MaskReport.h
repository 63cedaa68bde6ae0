#pragma once
// What an area mask marks as water. Only pixels in the exact area colours count, so a mask
// saved as JPEG or painted with soft edges loses water without a sign; the report counts the
// pixels that came close and the warnings say what happened and how to save the mask.

#include "project/ProjectRecords.h"
#include "tools/authoring/Findings.h"

#include <array>
#include <cstdint>
#include <string>

namespace ml {
class TBitmap;
}

namespace ml::authoring {

struct TMaskReport {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    // Pixels per area, index 0 outside all areas.
    std::array<std::int64_t, kAreaCount + 1> Pixels{};
    // Per area: pixels within a few steps of its colour without being it. They are dry land
    // to the show.
    std::array<std::int64_t, kAreaCount + 1> NearMisses{};

    std::int64_t WaterPixels() const;
    std::int64_t NearMissPixels() const;
};

// A pixel counts as a near miss of an area colour when no channel differs by more than this.
inline constexpr int kNearMissSteps = 48;
// Fewer near misses than this are left unmentioned: a stray pixel or two is no pattern.
inline constexpr std::int64_t kNearMissWarning = 16;

TMaskReport AnalyseMask(const TBitmap& mask);

// Warnings about a mask: no water at all, near misses (a JPEG or soft edges), and areas that
// have waves in `waves` but no pixel. `maskFile` names the mask in them.
TFindings MaskFindings(const TMaskReport& report, const std::string& maskFile,
                       const std::array<TWaveParam, kAreaCount>& waves);

// "area 1 (blue #0000FF): 1234 pixels (12.5 %)", one line per area that has pixels or near
// misses, and the dry land.
std::string MaskSummary(const TMaskReport& report);

} // namespace ml::authoring
