#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "platform/hex_text.h"
#include "skin/surface/dib.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

// `kavlo-tool blend`: one draw of a 1 x 1 surface onto a 1 x 1 surface with the menu's routines, so
// an editor can see what a pixel turns into.
struct BlendOptions {
    std::string src;
    std::string dst;
    int opacity = 255;
    bool masked = false;
    std::string transparent; // RRGGBB; empty: no colour key
};

[[noreturn]] void Fail(const std::string& message, int code = 2) {
    std::cerr << "blend: " << message << '\n';
    throw CLI::RuntimeError(code);
}

// Exactly `digits` hexadecimal digits.
std::optional<uint32_t> ParseHex(const std::string& text, size_t digits) {
    return text.size() == digits ? ParseHexNumber(text, digits) : std::nullopt;
}

uint32_t Pixel(const std::string& text, const char* name) {
    const auto value = ParseHex(text, 8);
    if (!value) {
        Fail(std::string(name) + " must be eight hex digits AARRGGBB");
    }
    return *value;
}

void Run(const BlendOptions& options) {
    TMemoryDIB src(1, 1);
    TMemoryDIB dst(1, 1);
    src.SetPixel(0, 0, Pixel(options.src, "--src"));
    dst.SetPixel(0, 0, Pixel(options.dst, "--dst"));
    src.SetOpacity(static_cast<uint8_t>(options.opacity));
    src.SetMasked(options.masked);
    if (!options.transparent.empty()) {
        const auto key = ParseHex(options.transparent, 6);
        if (!key) {
            Fail("--transparent must be six hex digits RRGGBB");
        }
        src.SetTransparent(true);
        src.SetTransparentMode(TTransparentMode::tmFixed);
        src.SetTransparentColor(ColorFromPixel(*key));
    }
    src.Draw(dst, 0, 0);
    char text[16];
    std::snprintf(text, sizeof text, "%08X", dst.Pixel(0, 0));
    std::cout << text << '\n';
}

} // namespace

void AddBlendCommand(CLI::App& app) {
    auto options = std::make_shared<BlendOptions>();
    CLI::App* cmd =
        app.add_subcommand("blend", "one draw of a 1x1 source pixel onto a 1x1 destination pixel");
    cmd->add_option("--src", options->src, "source pixel AARRGGBB")->required();
    cmd->add_option("--dst", options->dst, "destination pixel AARRGGBB")->required();
    cmd->add_option("--opacity", options->opacity, "source opacity 0-255")
        ->required()
        ->check(CLI::Range(0, 255));
    cmd->add_flag("--masked", options->masked, "use the source alpha as coverage");
    cmd->add_option("--transparent", options->transparent, "colour key RRGGBB (fixed)");
    cmd->callback([options] { Run(*options); });
}

} // namespace kavlo::tool
