// The window's event handlers by the names the form stores, and the wiring of each stored event to
// its handler.

#include <functional>
#include <map>

#include "main_f/form1.h"
#include "platform/codepage.h"
#include "skin/controls/component_factory.h"

namespace kavlo {

namespace {

using NotifyHandler = std::function<void(TControl&)>;
using MoveHandler = std::function<void(TControl&, ShiftState, int, int)>;
using ButtonHandler = std::function<void(TControl&, MouseButton, ShiftState, int, int)>;
using TimerHandler = std::function<void()>;

// Handler names compare as Delphi compares method names: without regard to ASCII case.
struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return UpperCase1250(a) < UpperCase1250(b);
    }
};

struct HandlerTable {
    std::map<std::string, NotifyHandler, NoCase> notify; // OnClick, OnMouseEnter, OnMouseLeave
    std::map<std::string, MoveHandler, NoCase> move;
    std::map<std::string, ButtonHandler, NoCase> button; // OnMouseDown, OnMouseUp
    std::map<std::string, TimerHandler, NoCase> timer;
};

std::string N(std::string_view prefix, int n, std::string_view suffix) {
    return std::string(prefix) + std::to_string(n) + std::string(suffix);
}

// The section icons' names: the 7th and 9th are spelled with "Dib".
std::string SectionName(int slot) {
    return N(slot == 7 || slot == 9 ? "DibSection" : "DIBSection", slot, "");
}

void AddListHandlers(TForm1& f, HandlerTable& t) {
    for (int row = 1; row <= 10; ++row) {
        t.notify[row == 1 ? "DemosLabel1_Click" : N("DemosLabel", row, "Click")] = [&f, row](TControl&) {
            f.DemosLabelClick(row);
        };
        t.notify[N("Play", row, "Click")] = [&f, row](TControl&) { f.PlayClick(row); };
        t.notify[N("Play", row, "MouseEnter")] = [&f, row](TControl&) { f.PlayMouseEnter(row); };
        t.notify[N("Play", row, "MouseLeave")] = [&f, row](TControl&) { f.PlayMouseLeave(row); };
    }
    t.notify["Up1Click"] = [&f](TControl& s) { f.Up1Click(s); };
    t.notify["Down1Click"] = [&f](TControl& s) { f.Down1Click(s); };
    t.move["Up1MouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.Up1MouseMove(s, shift, x, y);
    };
    t.move["Down1MouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.Down1MouseMove(s, shift, x, y);
    };
    t.move["Up2MouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.Up2MouseMove(s, shift, x, y);
    };
    t.move["Down2MouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.Down2MouseMove(s, shift, x, y);
    };
}

void AddSectionHandlers(TForm1& f, HandlerTable& t) {
    for (int slot = 1; slot <= 14; ++slot) {
        t.notify[SectionName(slot) + "Click"] = [&f, slot](TControl&) { f.DIBSectionClick(slot); };
        const std::string icon_move =
            slot <= 6 ? N("IconImage", slot, "MouseMove") : SectionName(slot) + "MouseMove";
        t.move[icon_move] = [&f, slot](TControl& s, ShiftState shift, int x, int y) {
            f.SectionMouseMove(slot, s, shift, x, y);
        };
        if (slot != 11) {
            t.move[N("IconLabel", slot, "MouseMove")] = [&f, slot](TControl& s, ShiftState shift, int x,
                                                                   int y) {
                f.IconLabelMouseMove(slot, s, shift, x, y);
            };
        }
    }
    // The eleventh caption shares its icon's handler.
    t.move["DIBSection11MouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.SectionMouseMove(11, s, shift, x, y);
    };
}

void AddPanelHandlers(TForm1& f, HandlerTable& t) {
    t.notify["ReadmeDIBImageClick"] = [&f](TControl& s) { f.ReadmeDIBImageClick(s); };
    t.notify["WebDIBImageClick"] = [&f](TControl& s) { f.WebDIBImageClick(s); };
    t.notify["PlayDIBImageClick"] = [&f](TControl& s) { f.PlayDIBImageClick(s); };
    t.notify["StopDIBImageClick"] = [&f](TControl& s) { f.StopDIBImageClick(s); };
    for (const char* name :
         {"ReadmeCoverMouseMove", "WebCoverMouseMove", "PlayCoverMouseMove", "StopCoverMouseMove"}) {
        t.move[name] = [&f](TControl& s, ShiftState shift, int x, int y) {
            f.ActionCoverMouseMove(s, shift, x, y);
        };
    }
    for (const char* name : {"FlagPlayableMouseMove", "Flag_UnplayableMouseMove", "Flag_CZMouseMove",
                             "Flag_NetMouseMove", "Flag_3DMouseMove"}) {
        t.move[name] = [&f](TControl& s, ShiftState shift, int x, int y) { f.FlagMouseMove(s, shift, x, y); };
    }
    t.move["DateLabelMouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.DateLabelMouseMove(s, shift, x, y);
    };
    t.notify["TechLabelMouseEnter"] = [&f](TControl& s) { f.TechLabelMouseEnter(s); };
    t.move["ScreenImageMouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.ScreenImageMouseMove(s, shift, x, y);
    };
    t.notify["DIBImage4Click"] = [&f](TControl& s) { f.DIBImage4Click(s); };
    t.notify["DIBImage4MouseEnter"] = [&f](TControl& s) { f.DIBImage4MouseEnter(s); };
    t.notify["DIBImage4MouseLeave"] = [&f](TControl& s) { f.DIBImage4MouseLeave(s); };
    t.move["DIBImage4MouseMove"] = [&f](TControl& s, ShiftState shift, int x, int y) {
        f.DIBImage4MouseMove(s, shift, x, y);
    };
}

void AddWindowHandlers(TForm1& f, HandlerTable& t) {
    t.notify["ExitSpotClick"] = [&f](TControl& s) { f.ExitSpotClick(s); };
    t.notify["SetupSpotClick"] = [&f](TControl& s) { f.SetupSpotClick(s); };
    t.notify["IndigoSpotClick"] = [&f](TControl& s) { f.IndigoSpotClick(s); };
    for (const char* name : {"ExitSpotMouseMove", "SetupSpotMouseMove", "IndigoSpotMouseMove"}) {
        t.move[name] = [&f](TControl& s, ShiftState shift, int x, int y) { f.SpotMouseMove(s, shift, x, y); };
    }
    t.button["Image4MouseDown"] = [&f](TControl& s, MouseButton b, ShiftState shift, int x, int y) {
        f.Image4MouseDown(s, b, shift, x, y);
    };
    t.button["DIBImage1MouseDown"] = [&f](TControl& s, MouseButton b, ShiftState shift, int x, int y) {
        f.DIBImage1MouseDown(s, b, shift, x, y);
    };
    t.notify["LeftArrowClick"] = [&f](TControl& s) { f.LeftArrowClick(s); };
    t.notify["RightArrowClick"] = [&f](TControl& s) { f.RightArrowClick(s); };
    t.notify["DIBImage3Click"] = [&f](TControl& s) { f.SponsorClick(s); };
    t.notify["DIBImage5Click"] = [&f](TControl& s) { f.SponsorClick(s); };
    t.notify["Image1Click"] = [&f](TControl& s) { f.Image1Click(s); };
    t.notify["DebugLabel1Click"] = [&f](TControl& s) { f.DebugLabel1Click(s); };
    t.notify["DebugLabel2Click"] = [&f](TControl& s) { f.DebugLabel2Click(s); };
}

void AddClipHandlers(TForm1& f, HandlerTable& t) {
    for (int n = 1; n <= 10; ++n) {
        t.notify[N("Animate", n, "Start")] = [&f, n](TControl&) { f.AnimateStart(n); };
    }
    t.notify["Animate8Open"] = [&f](TControl&) { f.AnimateStart(8); };
    // The ninth clip's window keeps the visibility the mode switch gave it.
    t.notify["Animate9Start"] = [](TControl&) {};
}

void AddTimerHandlers(TForm1& f, HandlerTable& t) {
    t.timer["AnimationTimerTimer"] = [&f] { f.AnimationTimerTimer(); };
    t.timer["StartTimerTimer"] = [&f] { f.StartTimerTimer(); };
    t.timer["ScrollUpTimerTimer"] = [&f] { f.ScrollUpTimerTimer(); };
    t.timer["ScrollDownTimerTimer"] = [&f] { f.ScrollDownTimerTimer(); };
    t.timer["Timer1Timer"] = [&f] { f.Timer1Timer(); };
    t.timer["MusicTimerTimer"] = [&f] { f.MusicTimerTimer(); };
    t.timer["DIBTimer1Timer"] = [&f] { f.DIBTimer1Timer(); };
    t.timer["DIBTimer2Timer"] = [&f] { f.DIBTimer2Timer(); };
    t.timer["DIBTimer3Timer"] = [&f] { f.DIBTimer3Timer(); };
    t.timer["DIBTimer4Timer"] = [&f] { f.DIBTimer4Timer(); };
}

HandlerTable BuildTable(TForm1& form) {
    HandlerTable table;
    AddListHandlers(form, table);
    AddSectionHandlers(form, table);
    AddPanelHandlers(form, table);
    AddWindowHandlers(form, table);
    AddClipHandlers(form, table);
    AddTimerHandlers(form, table);
    return table;
}

// Finds the handler a component's event names; a name the window has no handler for is noted.
template <class Map>
const typename Map::mapped_type* Lookup(const Map& map, const TComponent& component, std::string_view event,
                                        std::vector<std::string>& notes) {
    const std::string name = component.HandlerName(event);
    if (name.empty()) {
        return nullptr;
    }
    const auto it = map.find(name);
    if (it == map.end()) {
        notes.push_back(component.Name() + "." + std::string(event) + ": no handler " + name);
        return nullptr;
    }
    return &it->second;
}

void WireControl(TControl& control, const HandlerTable& table, std::vector<std::string>& notes) {
    MouseHandlers& h = control.handlers;
    if (const auto* handler = Lookup(table.notify, control, "OnClick", notes)) {
        h.OnClick = *handler;
    }
    if (const auto* handler = Lookup(table.notify, control, "OnMouseEnter", notes)) {
        h.OnMouseEnter = *handler;
    }
    if (const auto* handler = Lookup(table.notify, control, "OnMouseLeave", notes)) {
        h.OnMouseLeave = *handler;
    }
    if (const auto* handler = Lookup(table.move, control, "OnMouseMove", notes)) {
        h.OnMouseMove = *handler;
    }
    if (const auto* handler = Lookup(table.button, control, "OnMouseDown", notes)) {
        h.OnMouseDown = *handler;
    }
    if (const auto* handler = Lookup(table.button, control, "OnMouseUp", notes)) {
        h.OnMouseUp = *handler;
    }
    if (auto* animate = dynamic_cast<TAnimate*>(&control)) {
        for (auto [event, slot] :
             {std::pair{"OnOpen", &TAnimate::OnOpen}, std::pair{"OnStart", &TAnimate::OnStart},
              std::pair{"OnStop", &TAnimate::OnStop}, std::pair{"OnClose", &TAnimate::OnClose}}) {
            if (const auto* handler = Lookup(table.notify, control, event, notes)) {
                animate->*slot = *handler;
            }
        }
    }
}

} // namespace

void TForm1::WireEvents() {
    const HandlerTable table = BuildTable(*this);
    for (TComponent* component : skin_->Components()) {
        if (auto* control = dynamic_cast<TControl*>(component)) {
            WireControl(*control, table, layout_notes_);
        } else if (auto* timer = dynamic_cast<TimerComponent*>(component)) {
            if (const auto* handler = Lookup(table.timer, *timer, "OnTimer", layout_notes_)) {
                timer->Timer().SetOnTimer(*handler);
            }
        }
    }
}

} // namespace kavlo
