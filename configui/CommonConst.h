#pragma once
// The property vocabulary of interface descriptions: per kind of control, the properties the
// designer offers, as "Name=type" pairs joined by ",". They document the format for authors
// and tools; the component builder accepts any property a class publishes.

#include <array>

namespace ml {

inline constexpr std::size_t kPropertyListCount = 15;

// In stored order: bitmap button, label, image, bevel, shape, panel, page control, the window
// itself, picture button, caption-only control, button with a button editor, thumbnail grid,
// preview pane, memo, edit box.
extern const std::array<const char*, kPropertyListCount> kPropertyLists;

} // namespace ml
