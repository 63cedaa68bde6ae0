#pragma once
// The error kinds the rest of the program raises and catches. Each carries the text a user
// sees; the class tells callers which kind of failure it was.

#include <stdexcept>
#include <string>

namespace ml {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that is not a number of the wanted kind: "'%s' is not a valid integer value".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list: "List index out of bounds (%d)".
class EListError : public Exception {
public:
    using Exception::Exception;
};

// A stream or file that ended early or could not be read.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// File system failures: a file that cannot be opened, created or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A picture whose data or extension the picture loader does not accept.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// A component description naming a class that is not registered: "Class %s not found".
class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

// "Scan line index out of range" and other bitmap access faults.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// Standard texts, kept in one place so every raiser uses the same words.
std::string NotValidIntegerText(const std::string& value); // "'%s' is not a valid integer value"
std::string ListIndexText(int index);                      // "List index out of bounds (%d)"
inline constexpr const char* kScanLineOutOfRange = "Scan line index out of range";

// Converts a decimal (or "$"/"0x" hexadecimal) text to a signed 32-bit integer, raising
// EConvertError with the standard text when it is not one.
int StrToInt(const std::string& text);

} // namespace ml
