#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kavlo {

// One to `max_digits` hexadecimal digits, either case, as a number; nothing else is taken (no sign,
// prefix or blanks).
std::optional<uint32_t> ParseHexNumber(std::string_view text, size_t max_digits);

} // namespace kavlo
