#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/controls/dialog_lists.h"
#include "skin/controls/dialog_widgets.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/skin_form.h"
#include "ui/application.h"

namespace kavlo {

// A modal dialog drawn with the dialog widgets on a window of its own: it opens the window when shown,
// paints the controls, hands the pointer to them and the keys to the focused one, moves the focus with
// Tab, presses the default button on Enter and the cancel button on Escape, and ends with mrCancel
// when its close box is pressed. Controls are made through Add, in tab order.
class DialogForm : public ModalForm {
public:
    explicit DialogForm(SkinServices services);
    ~DialogForm() override;
    DialogForm(const DialogForm&) = delete;
    DialogForm& operator=(const DialogForm&) = delete;

    // Makes a component of the dialog, named, placed at (left, top) with the size given (controls only).
    template <class T, class... Args> T& Add(std::string name, Args&&... args) {
        auto component = std::make_unique<T>(std::forward<Args>(args)...);
        component->SetName(std::move(name));
        T& added = *component;
        skin_.Adopt(std::move(component));
        Hook(added);
        return added;
    }

    SkinForm& Skin() { return skin_; }
    const SkinForm& Skin() const { return skin_; }
    SkinServices& Services() { return services_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    int ClientWidth() const { return skin_.ClientWidth(); }
    int ClientHeight() const { return skin_.ClientHeight(); }
    void SetClientSize(int width, int height);
    int Left() const { return left_; }
    int Top() const { return top_; }
    void SetPosition(int left, int top);
    // Centres the client area on the display.
    void CenterOnScreen();

    // Shows the dialog and runs it until a result is set; the window is gone again when this returns.
    int ShowModal();
    WindowId ModalWindow() const override { return window_; }
    WindowId Window() const { return window_; }

    DialogControl* FocusedControl() const { return focused_; }
    void FocusControl(DialogControl& control);
    // The button Enter presses: the focused button, else the default one.
    TButton* DefaultButton() const;
    // The dialog's push buttons in the order they were made (tab order).
    const std::vector<TButton*>& Buttons() const { return buttons_; }

protected:
    // The first activation of each showing (Delphi's OnActivate of a freshly shown form).
    virtual void Activated() {}
    // Sees every key before the focused control and the default and cancel buttons; true takes it.
    virtual bool KeyPreview(uint16_t /*key*/) { return false; }

private:
    void Hook(TComponent& component);
    void HandleEvent(const Event& event);
    void HandleKey(uint16_t key, ShiftState shift);
    void MoveFocus(bool forward);
    void UpdateDefaultFrame();
    bool PressAccelerator(char letter);

    SkinServices services_;
    SkinForm skin_;
    std::string caption_;
    int left_ = 0;
    int top_ = 0;
    std::vector<DialogControl*> tab_order_;
    std::vector<TButton*> buttons_;
    DialogControl* focused_ = nullptr;
    WindowId window_ = kNoWindow;
    std::unique_ptr<WindowSite> site_;
    bool activated_ = false;
};

} // namespace kavlo
