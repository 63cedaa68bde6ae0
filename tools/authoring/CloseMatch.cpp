#include "tools/authoring/CloseMatch.h"

#include "platform/Strings.h"

#include <algorithm>
#include <limits>

namespace ml::authoring {

int SlipDistance(const std::string& first, const std::string& second) {
    const std::string a = UpperCase(first), b = UpperCase(second);
    const std::size_t n = a.size(), m = b.size();
    // Three rows of the usual table suffice: a swap looks two rows back.
    std::vector<int> before(m + 1), previous(m + 1), current(m + 1);
    for (std::size_t j = 0; j <= m; ++j)
        previous[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= m; ++j) {
            const int change = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[m];
}

std::optional<std::string> CloseMatch(const std::string& word,
                                      const std::vector<std::string>& known) {
    // One slip in short names, two from eight letters on: beyond that a "match" is more
    // likely a different word than a misspelt one.
    const int allowed = word.size() < 3 ? 0 : word.size() < 8 ? 1 : 2;
    int best = std::numeric_limits<int>::max();
    std::optional<std::string> match;
    for (const auto& name : known) {
        const int distance = SlipDistance(word, name);
        if (distance > 0 && distance <= allowed && distance < best) {
            best = distance;
            match = name;
        }
    }
    return match;
}

} // namespace ml::authoring
