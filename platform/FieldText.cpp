#include "platform/FieldText.h"

#include <algorithm>

std::string RemoveLineBreaksAndNul(std::string text) {
    // No multi-byte character set uses these bytes inside a character, so bytes are compared.
    std::erase_if(text, [](char c) { return IsLineBreakOrNul(static_cast<unsigned char>(c)); });
    return text;
}
