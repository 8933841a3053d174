#include "skin/controls/dialog_form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/codepage.h"
#include "ui/backend.h"

namespace kavlo {

DialogForm::DialogForm(SkinServices services) : services_(services), skin_(services) {
    skin_.SetColor(clBtnFace);
}

DialogForm::~DialogForm() {
    skin_.SetSite(nullptr);
    if (window_ != kNoWindow) {
        services_.app.RemoveWindowHandler(window_);
        services_.app.GetBackend().DestroyWindow(window_);
    }
}

void DialogForm::Hook(TComponent& component) {
    if (auto* control = dynamic_cast<DialogControl*>(&component)) {
        control->request_focus = [this](DialogControl& c) { FocusControl(c); };
        tab_order_.push_back(control);
    }
    if (auto* button = dynamic_cast<TButton*>(&component)) {
        button->end_modal = [this](int result) { SetModalResult(result); };
        buttons_.push_back(button);
    }
}

void DialogForm::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    skin_.SetCaption(caption_);
    if (window_ != kNoWindow) {
        services_.app.GetBackend().SetWindowTitle(window_, caption_);
    }
}

void DialogForm::SetClientSize(int width, int height) {
    skin_.SetClientSize(width, height);
    for (DialogControl* control : tab_order_) {
        if (auto* combo = dynamic_cast<TDriveComboBox*>(control)) {
            combo->SetDropLimit(height);
        }
    }
}

void DialogForm::SetPosition(int left, int top) {
    left_ = left;
    top_ = top;
}

void DialogForm::CenterOnScreen() {
    const ScreenSize screen = services_.app.GetBackend().DisplaySize();
    SetPosition((screen.width - ClientWidth()) / 2, (screen.height - ClientHeight()) / 2);
}

int DialogForm::ShowModal() {
    Application& app = services_.app;
    Backend& backend = app.GetBackend();
    for (DialogControl* control : tab_order_) {
        if (auto* combo = dynamic_cast<TDriveComboBox*>(control)) {
            combo->SetDropLimit(ClientHeight());
        }
    }
    WindowSpec wanted;
    wanted.title = caption_;
    wanted.left = left_;
    wanted.top = top_;
    wanted.client_width = ClientWidth();
    wanted.client_height = ClientHeight();
    wanted.framed = true;
    const std::optional<WindowId> window = backend.OpenWindow(wanted);
    if (!window) {
        return mrCancel;
    }
    window_ = *window;
    app.SetWindowHandler(window_, [this](const Event& event) { HandleEvent(event); });
    site_ = std::make_unique<WindowSite>(app, window_);
    skin_.SetSite(site_.get());
    if (focused_ == nullptr || !focused_->CanFocus()) {
        const auto first = std::find_if(tab_order_.begin(), tab_order_.end(),
                                        [](const DialogControl* c) { return c->CanFocus(); });
        if (first != tab_order_.end()) {
            FocusControl(**first);
        }
    }
    UpdateDefaultFrame();
    activated_ = false;
    backend.SetWindowVisible(window_, true);
    const int result = app.RunModal(*this);
    skin_.SetSite(nullptr);
    app.RemoveWindowHandler(window_);
    backend.DestroyWindow(window_);
    window_ = kNoWindow;
    site_.reset();
    return result;
}

void DialogForm::FocusControl(DialogControl& control) {
    if (focused_ == &control || !control.CanFocus()) {
        return;
    }
    if (focused_ != nullptr) {
        focused_->SetFocused(false);
    }
    focused_ = &control;
    control.SetFocused(true);
    UpdateDefaultFrame();
}

TButton* DialogForm::DefaultButton() const {
    if (auto* button = dynamic_cast<TButton*>(focused_)) {
        return button;
    }
    for (TButton* button : buttons_) {
        if (button->Default() && button->Visible()) {
            return button;
        }
    }
    return nullptr;
}

// Windows frames the button Enter would press: the focused button, or the default one while the focus
// is on a control that is not a button.
void DialogForm::UpdateDefaultFrame() {
    const TButton* framed = DefaultButton();
    for (TButton* button : buttons_) {
        button->SetFramed(button == framed);
    }
}

void DialogForm::MoveFocus(bool forward) {
    if (tab_order_.empty()) {
        return;
    }
    const auto count = static_cast<int>(tab_order_.size());
    const auto at = std::find(tab_order_.begin(), tab_order_.end(), focused_);
    int index = at == tab_order_.end() ? (forward ? -1 : count) : static_cast<int>(at - tab_order_.begin());
    for (int step = 0; step < count; ++step) {
        index = (index + (forward ? 1 : -1) + count) % count;
        if (tab_order_[static_cast<size_t>(index)]->CanFocus()) {
            FocusControl(*tab_order_[static_cast<size_t>(index)]);
            return;
        }
    }
}

bool DialogForm::PressAccelerator(char letter) {
    for (TButton* button : buttons_) {
        if (button->Accelerator() == letter && button->Visible() && button->Enabled()) {
            FocusControl(*button);
            button->Click();
            return true;
        }
    }
    return false;
}

void DialogForm::HandleKey(uint16_t key, ShiftState shift) {
    if (KeyPreview(key)) {
        return;
    }
    if (key == vk::Tab) {
        MoveFocus(!shift.shift);
        return;
    }
    if (focused_ != nullptr && focused_->KeyDown(key, shift)) {
        return;
    }
    if (key == vk::Return) {
        if (TButton* button = DefaultButton(); button != nullptr && button->Enabled()) {
            button->Click();
        }
        return;
    }
    if (key == vk::Escape) {
        for (TButton* button : buttons_) {
            if (button->Cancel() && button->Visible() && button->Enabled()) {
                button->Click();
                return;
            }
        }
        return;
    }
    // Alt and a letter press the button it underlines; a plain letter does so while a button has the focus.
    const bool letter = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (letter && (shift.alt || dynamic_cast<TButton*>(focused_) != nullptr)) {
        PressAccelerator(static_cast<char>(key));
    }
}

void DialogForm::HandleEvent(const Event& event) {
    const EventData& data = event.data;
    if (const auto* paint = std::get_if<PaintEvent>(&data)) {
        skin_.Paint(paint->rect);
    } else if (const auto* move = std::get_if<MouseMoveEvent>(&data)) {
        skin_.PointerMove(move->shift, move->x, move->y);
    } else if (const auto* down = std::get_if<MouseDownEvent>(&data)) {
        // A press outside a dropped drive list closes it, as a combo's list closes on any other click.
        for (DialogControl* control : tab_order_) {
            auto* combo = dynamic_cast<TDriveComboBox*>(control);
            if (combo != nullptr && combo->DroppedDown() && skin_.ControlAt(down->x, down->y) != combo) {
                combo->SetDroppedDown(false);
            }
        }
        skin_.PointerDown(down->button, down->shift, down->x, down->y);
    } else if (const auto* up = std::get_if<MouseUpEvent>(&data)) {
        skin_.PointerUp(up->button, up->shift, up->x, up->y);
    } else if (const auto* key = std::get_if<KeyDownEvent>(&data)) {
        HandleKey(key->key, key->shift);
    } else if (const auto* typed = std::get_if<CharEvent>(&data)) {
        if (focused_ != nullptr) {
            focused_->CharTyped(typed->ch);
        }
    } else if (std::holds_alternative<FocusGainedEvent>(data)) {
        if (!activated_) {
            activated_ = true;
            Activated();
        }
    } else if (std::holds_alternative<CloseEvent>(data)) {
        SetModalResult(mrCancel);
    }
}

} // namespace kavlo
