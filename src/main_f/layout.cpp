// The window built from its form: the controls the menu addresses, its place on the screen, and the
// window system's events handed to the skin and the handlers.

#include <cmath>
#include <stdexcept>

#include "main_f/form1.h"
#include "main_f/skin_images.h"
#include "platform/codepage.h"
#include "player/el_player_form.h"
#include "skin/controls/component_factory.h"
#include "skin/formats/compressor.h"

namespace kavlo {

namespace {

template <class T> T* Need(const SkinForm& form, std::string_view name, std::vector<std::string>& missing) {
    T* found = form.Find<T>(name);
    if (found == nullptr) {
        missing.emplace_back(name);
    }
    return found;
}

template <class T, size_t N>
void NeedFamily(const SkinForm& form, std::string_view prefix, std::array<T*, N>& out,
                std::vector<std::string>& missing) {
    for (size_t i = 0; i < N; ++i) {
        out[i] = Need<T>(form, std::string(prefix) + std::to_string(i + 1), missing);
    }
}

} // namespace

TForm1::TForm1(Platform& platform, Application& app, FontResolver& fonts, std::string_view form_stream,
               std::vector<std::string> args)
    : platform_(platform), app_(app), fonts_(fonts), boxes_(app.Boxes(), platform.events),
      launcher_(platform, app, boxes_), args_(std::move(args)) {
    state.InstallTest = !args_.empty() && args_[0] == "T";
    LoadLayout(form_stream);
    bounds_ = ScreenRect{0, 0, skin_->ClientWidth(), skin_->ClientHeight()};
}

TForm1::~TForm1() {
    FormDestroy();
    skin_->SetSite(nullptr);
    if (window_ != kNoWindow) {
        app_.RemoveWindowHandler(window_);
        app_.GetBackend().DestroyWindow(window_);
    }
}

void TForm1::LoadLayout(std::string_view form_stream) {
    ComponentFactory factory = ComponentFactory::Standard();
    RegisterPlayerClasses(factory, platform_, app_.GetBackend());
    FormLoadResult loaded = LoadSkinForm(form_stream, factory, SkinServices{app_, fonts_},
                                         CompressorRegistry::WithStandardCompressors());
    if (loaded.form == nullptr) {
        throw std::runtime_error("The window's form cannot be read: " +
                                 (loaded.errors.empty() ? std::string("no form") : loaded.errors.front()));
    }
    skin_ = std::move(loaded.form);
    layout_notes_ = std::move(loaded.errors);
    layout_notes_.insert(layout_notes_.end(), loaded.warnings.begin(), loaded.warnings.end());
    FindControls();
    WireEvents();
}

void TForm1::FindControls() {
    const SkinForm& f = *skin_;
    std::vector<std::string> missing;
    TForm1Controls& c = controls;
    c.Image4 = Need<TImage>(f, "Image4", missing);
    c.Image1 = Need<TImage>(f, "Image1", missing);
    c.CDNumberLabel = Need<TLabel>(f, "CDNumberLabel", missing);
    c.DebugLabel1 = Need<TLabel>(f, "DebugLabel1", missing);
    c.DebugLabel2 = Need<TLabel>(f, "DebugLabel2", missing);
    c.DIBContainer1 = Need<TDIBContainer>(f, "DIBContainer1", missing);
    NeedFamily(f, "Animate", c.Animate, missing);
    for (auto [field, name] : {std::pair{&c.DIBBackImage, "DIBBackImage"},
                               {&c.CoverUp, "CoverUp"},
                               {&c.CoverDown, "CoverDown"},
                               {&c.DIBImage1, "DIBImage1"},
                               {&c.DIBImage2, "DIBImage2"},
                               {&c.DIBImage3, "DIBImage3"},
                               {&c.DIBImage4, "DIBImage4"},
                               {&c.DIBImage5, "DIBImage5"},
                               {&c.LeftArrow, "LeftArrow"},
                               {&c.RightArrow, "RightArrow"},
                               {&c.HighlightDIB, "HighlightDIB"},
                               {&c.Up1, "Up1"},
                               {&c.Down1, "Down1"},
                               {&c.UpperArrow, "UpperArrow"},
                               {&c.LowerArrow, "LowerArrow"},
                               {&c.Up2, "Up2"},
                               {&c.Down2, "Down2"},
                               {&c.Flag_Playable, "Flag_Playable"},
                               {&c.Flag_Unplayable, "Flag_Unplayable"},
                               {&c.Flag_CZ, "Flag_CZ"},
                               {&c.Flag_Net, "Flag_Net"},
                               {&c.Flag_3D, "Flag_3D"},
                               {&c.ExitSpot, "ExitSpot"},
                               {&c.SetupSpot, "SetupSpot"},
                               {&c.IndigoSpot, "IndigoSpot"},
                               {&c.ExitDIB, "ExitDIB"},
                               {&c.SetupDIB, "SetupDIB"},
                               {&c.IndigoDIB, "IndigoDIB"}}) {
        *field = Need<TDIBImage>(f, name, missing);
    }
    NeedFamily(f, "DemosLabel", c.DemosLabel, missing);
    NeedFamily(f, "Play", c.Play, missing);
    NeedFamily(f, "IconLabel", c.IconLabel, missing);
    for (size_t i = 0; i < c.DIBSection.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        // The 7th and 9th icons are spelled with "Dib".
        c.DIBSection[i] = Need<TDIBImage>(
            f, (slot == 7 || slot == 9 ? "DibSection" : "DIBSection") + std::to_string(slot), missing);
    }
    for (auto [field, name] : {std::pair{&c.NameLabel, "NameLabel"},
                               {&c.FirmLabel, "FirmLabel"},
                               {&c.DateLabel, "DateLabel"},
                               {&c.TextLabel, "TextLabel"},
                               {&c.TechLabel, "TechLabel"},
                               {&c.HelpLabel, "HelpLabel"},
                               {&c.HelpLabel2, "HelpLabel2"},
                               {&c.PositionLabel, "PositionLabel"}}) {
        *field = Need<TDIBFadeLabel>(f, name, missing);
    }
    for (auto [field, name] : {std::pair{&c.ReadmeImage, "ReadmeImage"},
                               {&c.WebImage, "WebImage"},
                               {&c.PlayImage, "PlayImage"},
                               {&c.StopImage, "StopImage"}}) {
        *field = Need<TImage>(f, name, missing);
    }
    c.DIBImageList1 = Need<TDIBImageList>(f, "DIBImageList1", missing);
    c.DIBImageList2 = Need<TDIBImageList>(f, "DIBImageList2", missing);
    c.ControlsImageList = Need<TImageList>(f, "ControlsImageList", missing);
    c.ElPlayerMan1 = Need<TElPlayerMan>(f, "ElPlayerMan1", missing);
    c.DIBFormShaper1 = Need<TDIBFormShaper>(f, "DIBFormShaper1", missing);
    for (auto [field, name] : {std::pair{&c.StartTimer, "StartTimer"},
                               {&c.MusicTimer, "MusicTimer"},
                               {&c.ScrollDownTimer, "ScrollDownTimer"},
                               {&c.ScrollUpTimer, "ScrollUpTimer"},
                               {&c.AnimationTimer, "AnimationTimer"},
                               {&c.DIBTimer1, "DIBTimer1"},
                               {&c.DIBTimer2, "DIBTimer2"},
                               {&c.DIBTimer3, "DIBTimer3"},
                               {&c.DIBTimer4, "DIBTimer4"},
                               {&c.Timer1, "Timer1"}}) {
        *field = Need<TimerComponent>(f, name, missing);
    }
    if (!missing.empty()) {
        std::string names;
        for (const std::string& name : missing) {
            names += (names.empty() ? "" : ", ") + name;
        }
        throw std::runtime_error("The window's form lacks " + names);
    }
}

// The window appears with the size and place the show step gave it: a window system may not move a
// hidden window it has already resized.
void TForm1::OpenWindow() {
    WindowSpec wanted;
    wanted.title = skin_->Caption();
    wanted.left = bounds_.left;
    wanted.top = bounds_.top;
    wanted.client_width = bounds_.Width();
    wanted.client_height = bounds_.Height();
    const std::optional<WindowId> window = app_.GetBackend().OpenWindow(wanted);
    if (!window) {
        throw std::runtime_error("The window system gives no window");
    }
    window_ = *window;
    app_.SetWindowHandler(window_, [this](const Event& event) { HandleEvent(event); });
    site_ = std::make_unique<WindowSite>(app_, window_);
    skin_->SetSite(site_.get());
}

void TForm1::Show() {
    FormShow();
    if (window_ == kNoWindow) {
        OpenWindow();
    }
    app_.GetBackend().SetWindowVisible(window_, true);
}

void TForm1::Close() {
    app_.Terminate(0);
}

void TForm1::ApplyCaption() {
    skin_->SetCaption(Caption);
    if (window_ != kNoWindow) {
        app_.GetBackend().SetWindowTitle(window_, Caption);
    }
}

// Gives the window its client size and centres it on the screen.
void TForm1::PlaceWindow(int width, int height) {
    skin_->SetClientSize(width, height);
    const ScreenSize screen = platform_.system.Screen();
    const int left = RoundHalfEven((screen.width - width) / 2.0);
    const int top = RoundHalfEven((screen.height - height) / 2.0);
    bounds_ = ScreenRect{left, top, left + width, top + height};
    if (window_ != kNoWindow) {
        app_.GetBackend().SetWindowBounds(window_, left, top, width, height);
    }
}

void TForm1::HandleEvent(const Event& event) {
    const EventData& data = event.data;
    if (const auto* paint = std::get_if<PaintEvent>(&data)) {
        skin_->Paint(Rect{paint->rect.left, paint->rect.top, paint->rect.right, paint->rect.bottom});
    } else if (const auto* move = std::get_if<MouseMoveEvent>(&data)) {
        skin_->PointerMove(move->shift, move->x, move->y);
    } else if (const auto* down = std::get_if<MouseDownEvent>(&data)) {
        skin_->PointerDown(down->button, down->shift, down->x, down->y);
    } else if (const auto* up = std::get_if<MouseUpEvent>(&data)) {
        skin_->PointerUp(up->button, up->shift, up->x, up->y);
    } else if (const auto* wheel = std::get_if<WheelEvent>(&data)) {
        // The form wires a turn towards the user to FormMouseWheelUp and away to FormMouseWheelDown.
        const std::string handler =
            skin_->HandlerName(wheel->delta < 0 ? "OnMouseWheelDown" : "OnMouseWheelUp");
        if (EqualsNoCase1250(handler, "FormMouseWheelUp")) {
            FormMouseWheelUp(wheel->shift, wheel->x, wheel->y);
        } else if (EqualsNoCase1250(handler, "FormMouseWheelDown")) {
            FormMouseWheelDown(wheel->shift, wheel->x, wheel->y);
        }
    } else if (const auto* key = std::get_if<KeyDownEvent>(&data)) {
        if (EqualsNoCase1250(skin_->HandlerName("OnKeyDown"), "FormKeyDown")) {
            FormKeyDown(key->key, key->shift);
        }
    } else if (std::holds_alternative<FocusGainedEvent>(data)) {
        ApplicationActivate();
    } else if (std::holds_alternative<FocusLostEvent>(data)) {
        ApplicationDeActivate();
    } else if (std::holds_alternative<MinimizedEvent>(data)) {
        ApplicationMinimize();
    } else if (std::holds_alternative<RestoredEvent>(data)) {
        ApplicationRestore();
    } else if (std::holds_alternative<CloseEvent>(data)) {
        Close();
    }
}

} // namespace kavlo
