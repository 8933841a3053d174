#include "tool/tool_disc.h"

#include <iostream>

#include "platform/codepage.h"

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
    if (!platform_->ok()) {
        std::cerr << "PC root: " << platform_->error() << "\n";
    }
    form_ = std::make_unique<TForm1>(platform_->platform(), boxes_, std::vector<std::string>{});
    form_->FormCreate();
    form_->FormShow();
    for (const MessageBoxRecord& box : boxes_.Shown()) {
        std::cerr << "[message box] " << ToUtf8(box.text) << "\n";
    }
}

ToolSession::~ToolSession() {
    form_->FormDestroy();
}

} // namespace kavlo::tool
