#pragma once
// The component notation read into a tree: an object block with its class, its property
// lines in text order and its child blocks. Nothing is created here; ComponentBuilder does
// that once the whole text has been read, so a syntax error never leaves half a window.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ml {

// A collection value (<item ... end>) is read for completeness; no class here takes one, so
// only its kind is kept.
struct TPropertyValue {
    enum class TKind { Integer, Float, Identifier, String, Set, Binary, List, Collection };

    TKind Kind = TKind::Integer;
    std::int64_t Int = 0;
    double Float = 0;
    std::string Text;                  // identifier, string (UTF-8) or binary bytes
    std::vector<std::string> Names;    // set members
    std::vector<TPropertyValue> Items; // list values
    int Line = 0;
};

struct TPropertyLine {
    std::string Name; // possibly dotted: Font.Color, Picture.Data
    TPropertyValue Value;
    int Line = 0;
};

struct TObjectNode {
    std::string Name; // may be empty
    std::string ClassName;
    std::vector<TPropertyLine> Properties;
    std::vector<std::unique_ptr<TObjectNode>> Children;
    int Line = 0;
};

// Reads one object block (and everything nested in it) from the text. Raises EParserError.
std::unique_ptr<TObjectNode> ParseComponentText(const std::string& text);

} // namespace ml
