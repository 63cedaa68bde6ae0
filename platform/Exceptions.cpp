#include "platform/Exceptions.h"

#include "platform/Profile.h"

namespace ml {

std::string NotValidIntegerText(const std::string& value) {
    return "'" + value + "' is not a valid integer value";
}

std::string ListIndexText(int index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}

int StrToInt(const std::string& text) {
    if (auto value = ParseInteger(text))
        return *value;
    throw EConvertError(NotValidIntegerText(text));
}

} // namespace ml
