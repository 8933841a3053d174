#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "dir/message_dialog.h"
#include "main_f/form1.h"
#include "ui/headless/headless_backend.h"
#include "ui/headless/script.h"

namespace kavlo {

// The menu driven by a script on the headless backend: components are found by name in the menu's
// windows, and the script's dumps and screenshots are the menu's own. Message boxes the script has not
// answered ahead open as dialogs it can see and answer while it lasts.
class HeadlessRun : public ScriptHost {
public:
    HeadlessRun(HeadlessBackend& backend, TForm1& form, FontResolver& fonts);
    ~HeadlessRun() override;
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

    // Reads the script and hands it to the backend; false (and Error) when a line is not understood.
    bool Load(std::string_view script);
    // Why the script stopped early; empty when it did not.
    std::string Error() const;

    std::optional<Target> FindTarget(std::string_view name) override;
    std::optional<std::string> DialogButtonFor(const BoxAnswer& answer) override;
    bool Dump(const std::string& file) override;
    bool Screenshot(const std::string& file) override;
    WindowId MainWindow() override { return form_.Window(); }

private:
    HeadlessBackend& backend_;
    TForm1& form_;
    DialogMessageBoxes box_windows_;
    std::string parse_error_;
    std::unique_ptr<ScriptRunner> runner_;
};

} // namespace kavlo
