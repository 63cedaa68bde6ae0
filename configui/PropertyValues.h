#pragma once
// Conversions from the values of a description to what a property takes. A value of the
// wrong kind, or a name outside the property's enumeration, raises "Invalid property value".

#include "configui/ComponentParser.h"
#include "platform/Exceptions.h"

#include <QColor>
#include <QCursor>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace ml {

// "Property %s does not exist" and "Invalid property value".
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void InvalidPropertyValue();

int AsInteger(const TPropertyValue& value);
// Integers clamped to a size a window can have, so that a hostile description cannot ask
// for a gigantic surface.
int AsExtent(const TPropertyValue& value);
bool AsBoolean(const TPropertyValue& value);
std::string AsString(const TPropertyValue& value);
std::string AsIdentifier(const TPropertyValue& value);
const std::string& AsBinary(const TPropertyValue& value);
// A parenthesised list of strings (string lists such as Lines.Strings or Tabs.Strings).
std::vector<std::string> AsStrings(const TPropertyValue& value);
// The position of an identifier among the names (case ignored).
int AsEnum(const TPropertyValue& value, std::initializer_list<const char*> names);
// A set as bits: bit i for the i-th name.
unsigned AsSet(const TPropertyValue& value, std::initializer_list<const char*> names);

// A colour by name (clRed, clBtnFace, ...) or as a number: 0x00BBGGRR, or a system colour
// 0x800000nn. The system colours are the common desktop defaults, so that a window looks the
// same wherever it is built.
QColor AsColor(const TPropertyValue& value);
QColor SystemColor(const char* name); // "clBtnFace", "clHighlight", ...
Qt::CursorShape AsCursor(const TPropertyValue& value);

// The caption as drawn without underlining: "&File" -> "File", "&&" -> "&".
QString StripAccelerator(const std::string& caption);

} // namespace ml
