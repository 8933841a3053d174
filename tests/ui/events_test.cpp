#include <gtest/gtest.h>

#include "ui/events.h"

namespace kavlo {
namespace {

TEST(VirtualKeys, NamesReadAsScriptsWriteThem) {
    struct Case {
        const char* name;
        std::optional<uint16_t> key;
    };
    const Case cases[] = {
        {"Down", 0x28},
        {"down", 0x28},
        {"PageDown", 0x22},
        {"Next", 0x22},
        {"PageUp", 0x21},
        {"Home", 0x24},
        {"End", 0x23},
        {"Escape", 0x1B},
        {"esc", 0x1B},
        {"Return", 0x0D},
        {"Enter", 0x0D},
        {"S", 0x53},
        {"s", 0x53},
        {"0", 0x30},
        {"9", 0x39},
        {"F1", 0x70},
        {"f12", 0x7B},
        {"F13", std::nullopt},
        {"F0", std::nullopt},
        {"F01", std::nullopt},
        {"", std::nullopt},
        {"?", std::nullopt},
        {"DownArrow", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyFromName(c.name), c.key) << c.name;
    }
}

TEST(VirtualKeys, CodesReadBackAsTheirFirstName) {
    struct Case {
        uint16_t key;
        const char* name;
    };
    const Case cases[] = {{vk::Next, "PageDown"}, {vk::Prior, "PageUp"}, {vk::Return, "Return"},
                          {vk::Letter('Q'), "Q"}, {vk::Digit(7), "7"},   {vk::F1 + 4, "F5"},
                          {0xBA, "0xBA"}};
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyName(c.key), c.name);
        if (c.key != 0xBA) {
            EXPECT_EQ(VirtualKeyFromName(c.name), c.key);
        }
    }
}

} // namespace
} // namespace kavlo
