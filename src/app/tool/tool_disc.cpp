#include "tool/tool_disc.h"

#include <iostream>

#include "platform/codepage.h"
#include "skingen/resources.h"

namespace kavlo::tool {

CodePage DiscCodePage(int language) {
    return language == 2 ? CodePage::Windows1254 : CodePage::Windows1250;
}

void AddDiscOptions(CLI::App* cmd, DiscOptions& options) {
    cmd->add_option("--disc", options.disc, "Folder that holds the disc")
        ->required()
        ->check(CLI::ExistingDirectory);
    cmd->add_option("--pc", options.pc, "PC root (default: the user's PC root)");
}

ToolSession::ToolSession(const DiscOptions& options) {
    PosixPlatformOptions platform_options;
    if (!options.pc.empty()) {
        platform_options.pc_root = options.pc;
    }
    platform_options.disc_dir = options.disc;
    platform_options.scan_media = false;
    platform_ = std::make_unique<PosixPlatform>(platform_options);
    if (!platform_->disc_letter()) {
        std::cerr << "disc: " << platform_->error() << "\n";
        throw CLI::RuntimeError(2);
    }
    if (!platform_->ok()) {
        std::cerr << "PC root: " << platform_->error() << "\n";
    }
    fonts_ = std::make_unique<FontResolver>(platform_->fonts());
    const std::span<const uint8_t> stream = Resource("TFORM1");
    form_ = std::make_unique<TForm1>(
        platform_->platform(), app_, *fonts_,
        std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size()),
        std::vector<std::string>{});
    form_->FormCreate();
    form_->FormShow();
    for (const MessageBoxRecord& box : boxes().Shown()) {
        std::cerr << "[message box] " << ToUtf8(box.text) << "\n";
    }
}

ToolSession::~ToolSession() {
    form_->FormDestroy();
}

} // namespace kavlo::tool
