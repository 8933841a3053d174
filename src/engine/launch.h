#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "ui/application.h"
#include "ui/message_box.h"

namespace kavlo {

// What the launch operations need to know about the disc they run from.
struct LaunchSettings {
    std::string disc_root;      // "D:", no back-slash
    bool debug = false;         // the catalogue's debug mode: doubtful paths are reported
    std::string acrobat_reader; // MAIN/AcrobatReader: a PDF reader's installer, relative to the disc root
    std::string caption;        // title of the boxes the operations show
};

// Starts programs, documents and the DVD player as the menu always has: command lines are Windows
// command lines in Windows-1250, every start goes through the platform's processes.
class Launcher {
public:
    Launcher(Platform& platform, Application& app, MessageBoxes& boxes);

    void Configure(LaunchSettings settings) { settings_ = std::move(settings); }
    const LaunchSettings& Settings() const { return settings_; }

    // Starts the command and returns at once; documents the shell must open are handed to it as
    // well. True when a process was created.
    bool NormalExec(std::string_view command_line);
    // Starts the command and waits for its end while the menu's messages keep running (without
    // burning the processor). Shortcuts go to the shell instead and return false at once. True when
    // a process was created and has ended.
    bool WaitExec(std::string_view command_line);
    // Opens a document (optionally followed by parameters) through the shell's "OPEN" verb,
    // installing a PDF reader from the disc first when the PC has none.
    void ShellExec(std::string_view text);
    // Starts the registered DVD-video player on the disc root, or says that there is none.
    void PlayDVD();

private:
    // Debug mode reports a command line with a doubled back-slash, a sign of a broken catalogue path.
    void ReportDoubtfulPath(std::string_view command_line);

    Platform& platform_;
    Application& app_;
    MessageBoxes& boxes_;
    LaunchSettings settings_;
};

} // namespace kavlo
