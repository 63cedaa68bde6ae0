#include "configui/ComponentParser.h"

#include "configui/ComponentLexer.h"
#include "platform/Strings.h"

namespace ml {

namespace {

// Nesting deeper than any real window is refused, so that a hostile text cannot exhaust
// the stack.
constexpr int kMaxDepth = 64;

class TParser {
public:
    explicit TParser(const std::string& text) : Lexer(text) { Advance(); }

    std::unique_ptr<TObjectNode> ParseObject(int depth);
    void ExpectEnd() {
        if (Token.Kind != TTokenKind::End)
            Lexer.Fail("End of text expected", Token.Line);
    }

private:
    void Advance() { Token = Lexer.Next(); }
    bool IsSymbol(char c) const {
        return Token.Kind == TTokenKind::Symbol && Token.Text.size() == 1 && Token.Text[0] == c;
    }
    bool IsWord(const char* word) const {
        return Token.Kind == TTokenKind::Identifier && SameText(Token.Text, word);
    }
    bool IsObjectStart() const {
        return IsWord("object") || IsWord("inherited") || IsWord("inline");
    }
    std::string ExpectIdentifier() {
        if (Token.Kind != TTokenKind::Identifier)
            Lexer.Fail("Identifier expected", Token.Line);
        std::string text = Token.Text;
        Advance();
        return text;
    }
    void ExpectSymbol(char c) {
        if (!IsSymbol(c))
            Lexer.Fail(std::string("'") + c + "' expected", Token.Line);
        Advance();
    }
    TPropertyValue ParseValue(int depth);
    std::string ParseStringSum();

    TComponentLexer Lexer;
    TToken Token;
};

std::unique_ptr<TObjectNode> TParser::ParseObject(int depth) {
    if (depth > kMaxDepth)
        Lexer.Fail("Nesting too deep", Token.Line);
    if (!IsObjectStart())
        Lexer.Fail("'object' expected", Token.Line);
    auto node = std::make_unique<TObjectNode>();
    node->Line = Token.Line;
    Advance();
    std::string first = ExpectIdentifier();
    if (IsSymbol(':')) {
        Advance();
        node->Name = first;
        node->ClassName = ExpectIdentifier();
    } else {
        node->ClassName = first; // an unnamed object
    }
    if (IsSymbol('[')) { // the designer's position index for inherited children
        Advance();
        if (Token.Kind != TTokenKind::Integer)
            Lexer.Fail("Integer expected", Token.Line);
        Advance();
        ExpectSymbol(']');
    }
    while (!IsWord("end") && !IsObjectStart()) {
        TPropertyLine line;
        line.Line = Token.Line;
        line.Name = ExpectIdentifier();
        ExpectSymbol('=');
        line.Value = ParseValue(depth + 1);
        node->Properties.push_back(std::move(line));
    }
    while (!IsWord("end"))
        node->Children.push_back(ParseObject(depth + 1));
    Advance();
    return node;
}

std::string TParser::ParseStringSum() {
    std::string text = Token.Text;
    Advance();
    while (IsSymbol('+')) {
        Advance();
        if (Token.Kind != TTokenKind::String)
            Lexer.Fail("String expected", Token.Line);
        text += Token.Text;
        Advance();
    }
    return text;
}

TPropertyValue TParser::ParseValue(int depth) {
    if (depth > kMaxDepth)
        Lexer.Fail("Nesting too deep", Token.Line);
    TPropertyValue value;
    value.Line = Token.Line;
    switch (Token.Kind) {
    case TTokenKind::Integer:
        value.Kind = TPropertyValue::TKind::Integer;
        value.Int = Token.Int;
        Advance();
        return value;
    case TTokenKind::Float:
        value.Kind = TPropertyValue::TKind::Float;
        value.Float = Token.Float;
        Advance();
        return value;
    case TTokenKind::Identifier:
        value.Kind = TPropertyValue::TKind::Identifier;
        value.Text = Token.Text;
        Advance();
        return value;
    case TTokenKind::String:
        value.Kind = TPropertyValue::TKind::String;
        value.Text = ParseStringSum();
        return value;
    case TTokenKind::Binary:
        value.Kind = TPropertyValue::TKind::Binary;
        value.Text = Token.Text;
        Advance();
        return value;
    case TTokenKind::End:
        Lexer.Fail("Property value expected", Token.Line);
    case TTokenKind::Symbol:
        break;
    }
    if (IsSymbol('[')) {
        value.Kind = TPropertyValue::TKind::Set;
        Advance();
        if (!IsSymbol(']')) {
            value.Names.push_back(ExpectIdentifier());
            while (IsSymbol(',')) {
                Advance();
                value.Names.push_back(ExpectIdentifier());
            }
        }
        ExpectSymbol(']');
        return value;
    }
    if (IsSymbol('(')) {
        value.Kind = TPropertyValue::TKind::List;
        Advance();
        while (!IsSymbol(')')) {
            if (Token.Kind == TTokenKind::End)
                Lexer.Fail("')' expected", Token.Line);
            value.Items.push_back(ParseValue(depth + 1));
        }
        Advance();
        return value;
    }
    if (IsSymbol('<')) {
        value.Kind = TPropertyValue::TKind::Collection;
        Advance();
        while (!IsSymbol('>')) {
            if (!IsWord("item"))
                Lexer.Fail("'item' expected", Token.Line);
            Advance();
            if (IsSymbol('[')) {
                Advance();
                ParseValue(depth + 1);
                ExpectSymbol(']');
            }
            while (!IsWord("end")) {
                ExpectIdentifier();
                ExpectSymbol('=');
                ParseValue(depth + 1);
            }
            Advance();
        }
        Advance();
        return value;
    }
    Lexer.Fail("Invalid property value syntax", Token.Line);
}

} // namespace

std::unique_ptr<TObjectNode> ParseComponentText(const std::string& text) {
    TParser parser(text);
    auto root = parser.ParseObject(0);
    parser.ExpectEnd();
    return root;
}

} // namespace ml
