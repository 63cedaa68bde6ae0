// The water's owned and covered output pixels, filled row by row after the rest of the frame.
//
// Output pixel (x, r) of a jittered area has one writer: the area's pixel of column x in row
// r + jitter, which reads with that row's shift. Neighbouring rows mostly share their shift,
// so an output row has only a few sources, each taken by the columns whose jitter reaches
// its rows; eight columns at a time pick theirs by mask, without a branch to mispredict.

#include "effects/WaveGenerator.h"

#include <array>
#include <cstring>
#include <type_traits>

namespace ml {

namespace {

// Eight pixels at a time in the compiler's vector arithmetic, which becomes the machine's
// vector instructions. On x86-64 the loops are also built for AVX2, taken when the processor
// has it (it more than halves the time).
using TEightPixels = std::uint32_t __attribute__((vector_size(32)));
using TEightInts = std::int32_t __attribute__((vector_size(32)));
using TEightBytes = std::int8_t __attribute__((vector_size(8)));
#if defined(__x86_64__)
#define ML_WITH_AVX2_CLONE __attribute__((target_clones("avx2", "default")))
#else
#define ML_WITH_AVX2_CLONE
#endif

template <class T> inline __attribute__((always_inline)) void Load(T& value, const void* from) {
    std::memcpy(&value, from, sizeof value);
}

// The sources of one output row: the columns whose jitter lies in Reached[i] ..
// Reached[i + 1] - 1 read Source[i], checked (for owned pixels) against the areas of the
// output row and of the row read, both at the column read.
// Only the first Count entries are set: a call per stretch of a row is frequent enough for
// clearing the rest to show.
struct TRowSources {
    static constexpr std::size_t kMost = 4;
    std::size_t Count = 0;
    std::array<const std::uint32_t*, kMost> Source;
    std::array<const std::int8_t*, kMost> TargetAreas;
    std::array<const std::int8_t*, kMost> SourceAreas;
    std::array<int, kMost + 1> Reached;
};

// The source a column of the given jitter takes, among the first count.
inline std::size_t SourceOf(const TRowSources& sources, std::size_t count, int jitter) {
    std::size_t i = count - 1;
    while (jitter < sources.Reached[i])
        --i;
    return i;
}

// Calls fill with std::integral_constant<std::size_t, count>, so that the loops over the
// sources unroll.
template <class Fill>
inline __attribute__((always_inline)) void WithSourceCount(std::size_t count, Fill fill) {
    switch (count) {
    case 1:
        fill(std::integral_constant<std::size_t, 1>{});
        break;
    case 2:
        fill(std::integral_constant<std::size_t, 2>{});
        break;
    case 3:
        fill(std::integral_constant<std::size_t, 3>{});
        break;
    default:
        fill(std::integral_constant<std::size_t, 4>{});
        break;
    }
}

// Covered: the checks cannot fail. Count is a template argument so that the selections
// unroll.
template <std::size_t Count>
inline __attribute__((always_inline)) void FillCovered(std::uint32_t* target,
                                                       const TRowSources& sources,
                                                       const int* jitter, int from, int to) {
    int x = from;
    for (; x + 8 <= to; x += 8) {
        TEightPixels result, other;
        TEightInts columnJitter;
        Load(result, sources.Source[0] + x);
        Load(columnJitter, jitter + x);
        for (std::size_t i = 1; i < Count; ++i) {
            Load(other, sources.Source[i] + x);
            const auto take = reinterpret_cast<TEightPixels>(columnJitter >= sources.Reached[i]);
            result = (other & take) | (result & ~take);
        }
        std::memcpy(target + x, &result, sizeof result);
    }
    for (; x < to; ++x)
        target[x] = sources.Source[SourceOf(sources, Count, jitter[x])][x];
}

ML_WITH_AVX2_CLONE void FillCovered(std::uint32_t* target, const TRowSources& sources,
                                    const int* jitter, int from, int to) {
    if (sources.Count == 1)
        std::memcpy(target + from, sources.Source[0] + from,
                    static_cast<std::size_t>(to - from) * sizeof(std::uint32_t));
    else
        WithSourceCount(
            sources.Count, [&](auto count) __attribute__((always_inline)) {
                FillCovered<count>(target, sources, jitter, from, to);
            });
}

// Owned: a column takes its source where its writer exists and both area checks pass, and
// keeps what it held otherwise. Without sideways shifts every source checks the output row
// at the column itself, once for all of them.
template <bool SameTargetColumns, std::size_t Count>
inline __attribute__((always_inline)) void
FillOwned(std::uint32_t* target, const TRowSources& sources, const int* jitter,
          const std::uint8_t* writers, std::uint8_t writerBit, std::int8_t area, int from, int to) {
    const TEightBytes areas = TEightBytes{} + area;
    const TEightBytes bit = TEightBytes{} + static_cast<std::int8_t>(writerBit);
    int x = from;
    for (; x + 8 <= to; x += 8) {
        TEightPixels result, other;
        TEightInts columnJitter;
        TEightBytes writer, targetAreas, sourceAreas;
        Load(result, target + x);
        Load(columnJitter, jitter + x);
        Load(writer, writers + x);
        TEightBytes written = (writer & bit) != 0;
        if (SameTargetColumns) {
            Load(targetAreas, sources.TargetAreas[0] + x);
            written &= targetAreas == areas;
        }
        for (std::size_t i = 0; i < Count; ++i) {
            Load(other, sources.Source[i] + x);
            Load(sourceAreas, sources.SourceAreas[i] + x);
            TEightBytes checks = written & (sourceAreas == areas);
            if (!SameTargetColumns) {
                Load(targetAreas, sources.TargetAreas[i] + x);
                checks &= targetAreas == areas;
            }
            const auto take = reinterpret_cast<TEightPixels>(
                __builtin_convertvector(checks, TEightInts) & (columnJitter >= sources.Reached[i]) &
                (columnJitter < sources.Reached[i + 1]));
            result = (other & take) | (result & ~take);
        }
        std::memcpy(target + x, &result, sizeof result);
    }
    for (; x < to; ++x) {
        const std::size_t i = SourceOf(sources, Count, jitter[x]);
        if ((writers[x] & writerBit) && sources.TargetAreas[i][x] == area &&
            sources.SourceAreas[i][x] == area)
            target[x] = sources.Source[i][x];
    }
}

ML_WITH_AVX2_CLONE void FillOwned(std::uint32_t* target, const TRowSources& sources,
                                  const int* jitter, const std::uint8_t* writers,
                                  std::uint8_t writerBit, std::int8_t area, int from, int to) {
    bool sameTargetColumns = true;
    for (std::size_t i = 1; i < sources.Count; ++i)
        sameTargetColumns = sameTargetColumns && sources.TargetAreas[i] == sources.TargetAreas[0];
    WithSourceCount(
        sources.Count, [&](auto count) __attribute__((always_inline)) {
            if (sameTargetColumns)
                FillOwned<true, count>(target, sources, jitter, writers, writerBit, area, from, to);
            else
                FillOwned<false, count>(target, sources, jitter, writers, writerBit, area, from,
                                        to);
        });
}

} // namespace

// Many different shifts over the jitter's rows (a short, steep wave under a wide jitter) are
// taken pixel by pixel instead.
void TWaveGenerator::FillOutputRow(int r, const TRun& run) {
    const std::size_t area = static_cast<std::size_t>(run.Area);
    const int maxJitter = MaxJitter[area];
    const std::ptrdiff_t w = FrameWidth;
    const std::ptrdiff_t row = r * w;
    auto offset = [&](int k) {
        const TShift& s = Shifts[static_cast<std::size_t>(r + k)][area];
        return s.Dy * w + s.Dx;
    };
    const int* jitter = Jitter[area].data();
    std::uint32_t* target = OutputPixels + row;
    TRowSources sources;
    for (int k = 0; k <= maxJitter; ++k) {
        if (k > 0 && offset(k) == offset(k - 1))
            continue;
        if (sources.Count == TRowSources::kMost) {
            for (int x = run.X0; x < run.X1; ++x)
                if (Water.Writers()[row + x] & (1u << area))
                    CopyJitteredRun(r + jitter[x], {x, x + 1, run.Area},
                                    Shifts[static_cast<std::size_t>(r + jitter[x])][area]);
            return;
        }
        const TShift& s = Shifts[static_cast<std::size_t>(r + k)][area];
        sources.Source[sources.Count] = PicturePixels + row + offset(k);
        sources.TargetAreas[sources.Count] = Water.Areas() + row + s.Dx;
        sources.SourceAreas[sources.Count] = Water.Areas() + row + offset(k);
        sources.Reached[sources.Count] = k;
        ++sources.Count;
    }
    sources.Reached[sources.Count] = maxJitter + 1;
    if (run.Copy == TRunCopy::Covered)
        FillCovered(target, sources, jitter, run.X0, run.X1);
    else
        FillOwned(target, sources, jitter, Water.Writers() + row,
                  static_cast<std::uint8_t>(1u << area), static_cast<std::int8_t>(run.Area), run.X0,
                  run.X1);
}

} // namespace ml
