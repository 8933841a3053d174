#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace kavlo {
namespace {

TEST(ParseProfileInteger, Table) {
    const std::vector<std::pair<std::string, std::optional<int32_t>>> cases = {
        {"0", 0},
        {"42", 42},
        {"007", 7},
        {"-5", -5},
        {"+3", 3},
        {" 7", 7},
        {"\t 7", 7},
        {"$1F", 31},
        {"$1f", 31},
        {"0x1f", 31},
        {"0X1F", 31},
        {"-$10", -16},
        {"+0x10", 16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1},
        {"0x80000000", INT32_MIN},
        // Text that is not a number, or a number with anything after it, gives the default.
        {"", std::nullopt},
        {" ", std::nullopt},
        {"7x", std::nullopt},
        {"7 ", std::nullopt},
        {"1.5", std::nullopt},
        {"x", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"--5", std::nullopt},
        {"- 5", std::nullopt},
        {"$G", std::nullopt},
        {"0x1g", std::nullopt},
        {"$-1", std::nullopt},
        {"12a", std::nullopt},
        // Beyond 32 bits.
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$100000000", std::nullopt},
        {"0x00000000FFFFFFFF", -1},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseProfileInteger(text), expected) << '"' << text << '"';
    }
}

} // namespace
} // namespace kavlo
