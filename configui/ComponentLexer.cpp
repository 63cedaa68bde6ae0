#include "configui/ComponentLexer.h"

#include <cmath>
#include <limits>

namespace ml {

namespace {

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Descriptions come from a Windows designer: #n codes below 256 are Windows-1252 characters,
// whose 128..159 range differs from Unicode.
char32_t Cp1252(unsigned code) {
    static const char32_t high[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    return code >= 128 && code < 160 ? high[code - 128] : code;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

void TComponentLexer::Fail(const std::string& what, int line) const {
    throw EParserError(what + " on line " + std::to_string(line));
}

void TComponentLexer::SkipBlanks() {
    while (Pos < Text.size()) {
        char c = Text[Pos];
        if (c == '\n')
            ++Line;
        else if (c == '\r' && !(Pos + 1 < Text.size() && Text[Pos + 1] == '\n'))
            ++Line;
        if (static_cast<unsigned char>(c) > ' ')
            return;
        ++Pos;
    }
}

TToken TComponentLexer::Next() {
    SkipBlanks();
    TToken token;
    token.Line = Line;
    if (Pos >= Text.size())
        return token;
    char c = Text[Pos];
    if (IsIdentStart(c))
        return ReadIdentifier();
    if (IsDigit(c) || c == '$' ||
        ((c == '-' || c == '+') && Pos + 1 < Text.size() &&
         (IsDigit(Text[Pos + 1]) || Text[Pos + 1] == '$')))
        return ReadNumber();
    if (c == '\'' || c == '#')
        return ReadString();
    if (c == '{')
        return ReadBinary();
    token.Kind = TTokenKind::Symbol;
    token.Text = std::string(1, c);
    ++Pos;
    return token;
}

TToken TComponentLexer::ReadIdentifier() {
    TToken token;
    token.Kind = TTokenKind::Identifier;
    token.Line = Line;
    std::size_t start = Pos;
    // Dotted names address owned sub-objects (Font.Color) or components of other owners.
    while (Pos < Text.size() &&
           (IsIdentChar(Text[Pos]) ||
            (Text[Pos] == '.' && Pos + 1 < Text.size() && IsIdentStart(Text[Pos + 1]))))
        ++Pos;
    token.Text = Text.substr(start, Pos - start);
    return token;
}

TToken TComponentLexer::ReadNumber() {
    TToken token;
    token.Line = Line;
    bool negative = false;
    if (Text[Pos] == '-' || Text[Pos] == '+')
        negative = Text[Pos++] == '-';
    if (Text[Pos] == '$') {
        ++Pos;
        std::uint64_t value = 0;
        std::size_t digits = 0;
        while (Pos < Text.size() && HexValue(Text[Pos]) >= 0) {
            value = value * 16 + static_cast<unsigned>(HexValue(Text[Pos++]));
            if (++digits > 16)
                Fail("Invalid integer value", Line);
        }
        if (digits == 0)
            Fail("Invalid integer value", Line);
        token.Kind = TTokenKind::Integer;
        // Hexadecimal values are bit patterns: $FFFFFFFF stays 4294967295 and wraps like the
        // designer's own numbers when negated.
        token.Int = static_cast<std::int64_t>(negative ? 0 - value : value);
        return token;
    }
    std::size_t start = Pos;
    while (Pos < Text.size() && IsDigit(Text[Pos]))
        ++Pos;
    bool isFloat = false;
    if (Pos + 1 < Text.size() && Text[Pos] == '.' && IsDigit(Text[Pos + 1])) {
        isFloat = true;
        ++Pos;
        while (Pos < Text.size() && IsDigit(Text[Pos]))
            ++Pos;
    }
    if (Pos < Text.size() && (Text[Pos] == 'e' || Text[Pos] == 'E')) {
        std::size_t save = Pos++;
        if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-'))
            ++Pos;
        if (Pos < Text.size() && IsDigit(Text[Pos])) {
            isFloat = true;
            while (Pos < Text.size() && IsDigit(Text[Pos]))
                ++Pos;
        } else {
            Pos = save;
        }
    }
    std::string digits = Text.substr(start, Pos - start);
    if (isFloat) {
        // The designer marks single, currency and date values with a letter; the value is
        // the same number.
        if (Pos < Text.size() && std::string("scdfSCDF").find(Text[Pos]) != std::string::npos)
            ++Pos;
        token.Kind = TTokenKind::Float;
        token.Float = std::strtod(digits.c_str(), nullptr);
        if (negative)
            token.Float = -token.Float;
        if (!std::isfinite(token.Float))
            Fail("Invalid floating point value", Line);
        return token;
    }
    if (digits.size() > 19)
        Fail("Invalid integer value", Line);
    std::uint64_t value = std::stoull(digits);
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        Fail("Invalid integer value", Line);
    token.Kind = TTokenKind::Integer;
    token.Int = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    return token;
}

TToken TComponentLexer::ReadString() {
    TToken token;
    token.Kind = TTokenKind::String;
    token.Line = Line;
    // Quoted pieces and #n codes written next to each other form one string.
    while (Pos < Text.size() && (Text[Pos] == '\'' || Text[Pos] == '#')) {
        if (Text[Pos] == '#') {
            ++Pos;
            std::uint32_t code = 0;
            std::size_t digits = 0;
            if (Pos < Text.size() && Text[Pos] == '$') {
                ++Pos;
                while (Pos < Text.size() && HexValue(Text[Pos]) >= 0 && digits < 6) {
                    code = code * 16 + static_cast<unsigned>(HexValue(Text[Pos++]));
                    ++digits;
                }
            } else {
                while (Pos < Text.size() && IsDigit(Text[Pos]) && digits < 7) {
                    code = code * 10 + static_cast<unsigned>(Text[Pos++] - '0');
                    ++digits;
                }
            }
            if (digits == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                Fail("Invalid character code", Line);
            AppendUtf8(token.Text, code < 256 ? Cp1252(code) : static_cast<char32_t>(code));
            continue;
        }
        ++Pos;
        for (;;) {
            if (Pos >= Text.size() || Text[Pos] == '\r' || Text[Pos] == '\n')
                Fail("Unterminated string", Line);
            if (Text[Pos] == '\'') {
                if (Pos + 1 < Text.size() && Text[Pos + 1] == '\'') {
                    token.Text += '\'';
                    Pos += 2;
                    continue;
                }
                ++Pos;
                break;
            }
            token.Text += Text[Pos++];
        }
    }
    return token;
}

TToken TComponentLexer::ReadBinary() {
    TToken token;
    token.Kind = TTokenKind::Binary;
    token.Line = Line;
    ++Pos;
    int high = -1;
    for (;;) {
        SkipBlanks();
        if (Pos >= Text.size())
            Fail("Unterminated binary value", token.Line);
        char c = Text[Pos++];
        if (c == '}')
            break;
        int digit = HexValue(c);
        if (digit < 0)
            Fail("Invalid binary value", Line);
        if (high < 0) {
            high = digit;
        } else {
            token.Text += static_cast<char>(high * 16 + digit);
            high = -1;
        }
    }
    if (high >= 0)
        Fail("Invalid binary value", Line);
    return token;
}

} // namespace ml
