#pragma once
// The "did you mean" of the authoring checks: the known name a misspelt one was most likely
// meant to be.

#include <optional>
#include <string>
#include <vector>

namespace ml::authoring {

// The known name closest to `word` when it is close enough to be a slip of the keyboard (a
// letter left out, added, changed or two swapped; more slips allowed in longer words), the
// first of equally close ones; nothing otherwise. Letter case does not count.
std::optional<std::string> CloseMatch(const std::string& word,
                                      const std::vector<std::string>& known);

// Number of single-letter slips (insert, delete, change, swap of neighbours) that turn one
// word into the other, ignoring case.
int SlipDistance(const std::string& a, const std::string& b);

} // namespace ml::authoring
