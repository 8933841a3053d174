#include "menu_options.h"

#include <cstdio>

#include <CLI/CLI.hpp>

namespace kavlo {

namespace {

std::optional<ScreenSize> ParseScreen(const std::string& text) {
    int width = 0;
    int height = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &end) != 2 || width < 1 || height < 1 ||
        width > 16384 || height > 16384) {
        return std::nullopt;
    }
    return ScreenSize{width, height};
}

std::optional<LocalTime> ParseNow(const std::string& text) {
    LocalTime t;
    char end = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                    &end) != 5 ||
        t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59) {
        return std::nullopt;
    }
    return t;
}

} // namespace

ParsedOptions ParseMenuOptions(int argc, char** argv) {
    CLI::App cli{"kavlo: the cover disc's menu"};
    MenuOptions options;
    std::string screen;
    std::string now;
    uint32_t seed = 0;
    cli.add_option("args", options.args, "T: show the install paths before each install");
    cli.add_option("--disc", options.disc, "Folder that holds the disc")->check(CLI::ExistingDirectory);
    cli.add_option("--pc", options.pc, "PC root (default: the user's PC root)");
    cli.add_flag("--headless", options.headless, "Run without a window, on a virtual clock");
    cli.add_option("--script", options.script, "Headless input, one command a line")
        ->check(CLI::ExistingFile);
    cli.add_option("--dump-state", options.dump_state, "Write the state as JSON when the program ends");
    cli.add_option("--screenshot", options.screenshot, "Write the window as PNG when the program ends");
    cli.add_option("--screen", screen, "Display size WxH (headless default 1024x768)");
    cli.add_option("--now", now, "Local time YYYY-MM-DDTHH:MM");
    auto* seed_option = cli.add_option("--seed", seed, "Seed of the random numbers");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = cli.exit(error);
        return ParsedOptions{std::nullopt, code == 0 ? 0 : 2};
    }
    if (!screen.empty() && !(options.screen = ParseScreen(screen))) {
        std::fprintf(stderr, "kavlo: --screen wants WIDTHxHEIGHT, not \"%s\"\n", screen.c_str());
        return ParsedOptions{std::nullopt, 2};
    }
    if (!now.empty() && !(options.now = ParseNow(now))) {
        std::fprintf(stderr, "kavlo: --now wants YYYY-MM-DDTHH:MM, not \"%s\"\n", now.c_str());
        return ParsedOptions{std::nullopt, 2};
    }
    if (seed_option->count() > 0) {
        options.seed = seed;
    }
    return ParsedOptions{std::move(options), 0};
}

} // namespace kavlo
