#pragma once

#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "main_f/form1.h"
#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "skin/text/font_resolver.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"
#include "ui/message_box.h"

namespace kavlo::tool {

struct DiscOptions {
    std::string disc; // host folder of the disc
    std::string pc;   // host folder of the PC root; empty = the default one
};

// Texts of a Turkish disc are drawn with the Turkish character set, all others with Central European.
CodePage DiscCodePage(int language);

// Adds --disc (required) and --pc to a subcommand.
void AddDiscOptions(CLI::App* cmd, DiscOptions& options);

// The menu's own start-up on a disc, as far as the catalogue: the disc is found, the fonts
// registered, kavlo.ini opened and the catalogue loaded. Message boxes are answered with their
// first button and echoed on stderr. A disc that gets no drive letter ends the command with status 2.
class ToolSession {
public:
    explicit ToolSession(const DiscOptions& options);
    ~ToolSession();
    ToolSession(const ToolSession&) = delete;
    ToolSession& operator=(const ToolSession&) = delete;

    TForm1& form() { return *form_; }
    QueuedMessageBoxes& boxes() { return backend_.QueuedBoxes(); }
    Platform& platform() { return platform_->platform(); }

private:
    std::unique_ptr<PosixPlatform> platform_;
    HeadlessBackend backend_;
    Application app_{backend_};
    std::unique_ptr<FontResolver> fonts_;
    std::unique_ptr<TForm1> form_;
};

} // namespace kavlo::tool
