#include "platform/hex_text.h"

namespace kavlo {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::optional<uint32_t> ParseHexNumber(std::string_view text, size_t max_digits) {
    if (text.empty() || text.size() > max_digits) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = number * 16 + static_cast<uint32_t>(digit);
    }
    return number;
}

} // namespace kavlo
