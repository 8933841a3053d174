#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "ui/geometry.h"

namespace kavlo {

// A backend's window; 0 is no window.
using WindowId = uint32_t;
inline constexpr WindowId kNoWindow = 0;

// Windows virtual-key codes: the handlers compare with these numbers, as the menu's key handler does.
// Kept in a namespace rather than as VK_ names because <windows.h> defines those as macros.
namespace vk {
inline constexpr uint16_t Back = 0x08;
inline constexpr uint16_t Tab = 0x09;
inline constexpr uint16_t Return = 0x0D;
inline constexpr uint16_t Shift = 0x10;
inline constexpr uint16_t Control = 0x11;
inline constexpr uint16_t Menu = 0x12; // Alt
inline constexpr uint16_t Escape = 0x1B;
inline constexpr uint16_t Space = 0x20;
inline constexpr uint16_t Prior = 0x21; // Page Up
inline constexpr uint16_t Next = 0x22;  // Page Down
inline constexpr uint16_t End = 0x23;
inline constexpr uint16_t Home = 0x24;
inline constexpr uint16_t Left = 0x25;
inline constexpr uint16_t Up = 0x26;
inline constexpr uint16_t Right = 0x27;
inline constexpr uint16_t Down = 0x28;
inline constexpr uint16_t Insert = 0x2D;
inline constexpr uint16_t Delete = 0x2E;
inline constexpr uint16_t F1 = 0x70; // F1..F12 follow in order
// Letters and digits are their upper-case ASCII codes, as on Windows.
constexpr uint16_t Letter(char upper_case) {
    return static_cast<uint16_t>(upper_case);
}
constexpr uint16_t Digit(int digit) {
    return static_cast<uint16_t>('0' + digit);
}
} // namespace vk

// The code of a key name as scripts write it ("Down", "PageDown", "S", "0", "Escape", "F5");
// case does not matter. Nothing for an unknown name.
std::optional<uint16_t> VirtualKeyFromName(std::string_view name);
// The script name of a code ("Next" reads back as "PageDown"); "0x.." for codes without a name.
std::string VirtualKeyName(uint16_t key);

enum class MouseButton : uint8_t { Left, Right, Middle };

// Delphi's TShiftState: modifier keys and mouse buttons held during the event.
struct ShiftState {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
    bool left = false;
    bool right = false;
    bool middle = false;
    bool double_click = false;
    bool operator==(const ShiftState&) const = default;
};

// Pointer positions are client coordinates of the event's window.
struct MouseMoveEvent {
    int x = 0;
    int y = 0;
    ShiftState shift;
};
struct MouseDownEvent {
    MouseButton button = MouseButton::Left;
    int x = 0;
    int y = 0;
    ShiftState shift;
};
struct MouseUpEvent {
    MouseButton button = MouseButton::Left;
    int x = 0;
    int y = 0;
    ShiftState shift;
};
// Backends report presses and releases only; a click is what a router makes of a press and release
// over the same control, or what a caller injects on purpose.
struct ClickEvent {
    int x = 0;
    int y = 0;
};
// delta in Windows' units: 120 per notch, positive when the wheel turns away from the user.
struct WheelEvent {
    int delta = 0;
    int x = 0;
    int y = 0;
    ShiftState shift;
};
struct KeyDownEvent {
    uint16_t key = 0;
    ShiftState shift;
};
struct KeyUpEvent {
    uint16_t key = 0;
    ShiftState shift;
};
// A typed character (Windows-1250 byte), what WM_CHAR brings to edit boxes.
struct CharEvent {
    char ch = 0;
};
struct FocusGainedEvent {};
struct FocusLostEvent {};
// The window went down to the task bar, and came back from it.
struct MinimizedEvent {};
struct RestoredEvent {};
// The window's close box; the window's handler decides what closing means.
struct CloseEvent {};
// The end of the program (the last window closed, the session ends, the script ran out).
struct QuitEvent {
    int exit_code = 0;
};
// A part of the client area to draw again.
struct PaintEvent {
    ScreenRect rect;
};

using EventData = std::variant<MouseMoveEvent, MouseDownEvent, MouseUpEvent, ClickEvent, WheelEvent,
                               KeyDownEvent, KeyUpEvent, CharEvent, FocusGainedEvent, FocusLostEvent,
                               MinimizedEvent, RestoredEvent, CloseEvent, QuitEvent, PaintEvent>;

struct Event {
    WindowId window = kNoWindow;
    EventData data;
};

// Mouse, keyboard and close-box events: what a window disabled by a modal dialog does not get.
bool IsUserInput(const EventData& data);

} // namespace kavlo
