#include "headless_run.h"

#include "skin/controls/dialog_form.h"
#include "state_dump.h"

namespace kavlo {

HeadlessRun::HeadlessRun(HeadlessBackend& backend, TForm1& form, FontResolver& fonts)
    : backend_(backend), form_(form), box_windows_(SkinServices{form.App(), fonts}) {
    backend_.SetBoxWindows(&box_windows_);
}

HeadlessRun::~HeadlessRun() {
    backend_.SetBoxWindows(nullptr);
}

bool HeadlessRun::Load(std::string_view script) {
    ScriptParseResult parsed = ParseScript(script);
    if (!parsed.error.empty()) {
        parse_error_ = parsed.error;
        return false;
    }
    runner_ = std::make_unique<ScriptRunner>(backend_, *this, std::move(parsed.commands));
    runner_->Attach();
    return true;
}

std::string HeadlessRun::Error() const {
    if (!parse_error_.empty()) {
        return parse_error_;
    }
    return runner_ != nullptr ? runner_->Error() : std::string();
}

std::optional<ScriptHost::Target> HeadlessRun::FindTarget(std::string_view name) {
    // The open dialogs first, the innermost before the ones below it: their controls are what the
    // reader can reach while they run.
    const std::vector<ModalForm*>& dialogs = form_.App().ModalForms();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        const auto* dialog = dynamic_cast<const DialogForm*>(*it);
        const auto* control = dialog != nullptr ? dialog->Skin().Find<TControl>(name) : nullptr;
        if (control != nullptr) {
            const Rect rect = control->BoundsRect();
            return Target{dialog->Window(), ScreenRect{rect.left, rect.top, rect.right, rect.bottom}};
        }
    }
    const auto* control = dynamic_cast<const TControl*>(form_.Skin().FindComponent(name));
    if (control == nullptr) {
        return std::nullopt;
    }
    Rect rect = control->BoundsRect();
    // DIB controls, and plain ones placed on the container, lie in its client area.
    const TDIBContainer* container = dynamic_cast<const TDIBContainer*>(control->Parent());
    if (const auto* dib = dynamic_cast<const TDIBControl*>(control)) {
        container = &dib->Container();
    }
    if (container != nullptr) {
        rect = Rect{rect.left + container->Left(), rect.top + container->Top(),
                    rect.right + container->Left(), rect.bottom + container->Top()};
    }
    return Target{form_.Window(), ScreenRect{rect.left, rect.top, rect.right, rect.bottom}};
}

std::optional<std::string> HeadlessRun::DialogButtonFor(const BoxAnswer& answer) {
    const std::vector<ModalForm*>& modal = form_.App().ModalForms();
    const auto* dialog = modal.empty() ? nullptr : dynamic_cast<const DialogForm*>(modal.back());
    if (dialog == nullptr) {
        return std::nullopt;
    }
    std::vector<const TButton*> shown;
    for (const TButton* button : dialog->Buttons()) {
        if (button->Visible()) {
            shown.push_back(button);
        }
    }
    if (const int* n = std::get_if<int>(&answer)) {
        if (*n >= 1 && *n <= static_cast<int>(shown.size())) {
            return shown[static_cast<size_t>(*n - 1)]->Name();
        }
        return std::nullopt;
    }
    const std::string wanted = std::get<MbResult>(answer) == MbResult::Ok       ? "OKButton"
                               : std::get<MbResult>(answer) == MbResult::Cancel ? "CancelButton"
                               : std::get<MbResult>(answer) == MbResult::Yes    ? "YesButton"
                                                                                : "NoButton";
    for (const TButton* button : shown) {
        if (button->Name() == wanted) {
            return wanted;
        }
    }
    return std::nullopt;
}

bool HeadlessRun::Dump(const std::string& file) {
    return WriteStateDump(form_, file, std::nullopt);
}

bool HeadlessRun::Screenshot(const std::string& file) {
    return WriteScreenshot(form_, file);
}

} // namespace kavlo
