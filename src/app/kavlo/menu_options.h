#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/system_info.h"

namespace kavlo {

// The command line of the menu: `kavlo [T] [--disc DIR] [--pc DIR] [--headless] [--script FILE]
// [--dump-state FILE] [--screenshot FILE] [--screen WxH] [--now YYYY-MM-DDTHH:MM] [--seed N]`.
struct MenuOptions {
    std::vector<std::string> args; // the menu's own arguments ("T")
    std::string disc;
    std::string pc;
    bool headless = false;
    std::string script;
    std::string dump_state;
    std::string screenshot;
    std::optional<ScreenSize> screen;
    std::optional<LocalTime> now;
    std::optional<uint32_t> seed;
};

struct ParsedOptions {
    std::optional<MenuOptions> options; // nothing: the program ends with exit_code
    int exit_code = 0;
};

// Help and errors go to stdout and stderr; a command line that cannot be read gives exit code 2.
ParsedOptions ParseMenuOptions(int argc, char** argv);

} // namespace kavlo
