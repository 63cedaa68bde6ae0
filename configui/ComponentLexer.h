#pragma once
// Tokens of the textual component notation: identifiers (dotted names included), integers,
// decimals, quoted strings with #n codes, hexadecimal data in braces and punctuation.

#include "platform/Exceptions.h"

#include <cstdint>
#include <string>

namespace ml {

// A description that does not follow the notation: "<what> on line <n>".
class EParserError : public Exception {
public:
    using Exception::Exception;
};

enum class TTokenKind { End, Identifier, Integer, Float, String, Binary, Symbol };

struct TToken {
    TTokenKind Kind = TTokenKind::End;
    std::string Text;     // identifier; string contents (UTF-8); binary bytes; the symbol
    std::int64_t Int = 0; // Integer
    double Float = 0;     // Float
    int Line = 1;
};

class TComponentLexer {
public:
    explicit TComponentLexer(const std::string& text) : Text(text) {}

    // Reads the next token; raises EParserError on a malformed one.
    TToken Next();
    [[noreturn]] void Fail(const std::string& what, int line) const;

private:
    void SkipBlanks();
    TToken ReadIdentifier();
    TToken ReadNumber();
    TToken ReadString();
    TToken ReadBinary();

    const std::string& Text;
    std::size_t Pos = 0;
    int Line = 1;
};

} // namespace ml
