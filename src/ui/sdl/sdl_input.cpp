#include "ui/sdl/sdl_input.h"

#include <SDL_mouse.h>
#include <SDL_video.h>

#include <array>
#include <utility>

#include "platform/codepage.h"

namespace kavlo {

namespace {

constexpr std::array<std::pair<SDL_Keycode, uint16_t>, 45> kNamedKeys{{
    {SDLK_BACKSPACE, vk::Back},  {SDLK_TAB, vk::Tab},       {SDLK_RETURN, vk::Return},
    {SDLK_KP_ENTER, vk::Return}, {SDLK_ESCAPE, vk::Escape}, {SDLK_SPACE, vk::Space},
    {SDLK_PAGEUP, vk::Prior},    {SDLK_PAGEDOWN, vk::Next}, {SDLK_END, vk::End},
    {SDLK_HOME, vk::Home},       {SDLK_LEFT, vk::Left},     {SDLK_UP, vk::Up},
    {SDLK_RIGHT, vk::Right},     {SDLK_DOWN, vk::Down},     {SDLK_INSERT, vk::Insert},
    {SDLK_DELETE, vk::Delete},   {SDLK_LSHIFT, vk::Shift},  {SDLK_RSHIFT, vk::Shift},
    {SDLK_LCTRL, vk::Control},   {SDLK_RCTRL, vk::Control}, {SDLK_LALT, vk::Menu},
    {SDLK_RALT, vk::Menu},       {SDLK_PAUSE, 0x13},        {SDLK_CAPSLOCK, 0x14},
    {SDLK_PRINTSCREEN, 0x2C},    {SDLK_LGUI, 0x5B},         {SDLK_RGUI, 0x5C},
    {SDLK_APPLICATION, 0x5D},    {SDLK_KP_MULTIPLY, 0x6A},  {SDLK_KP_PLUS, 0x6B},
    {SDLK_KP_MINUS, 0x6D},       {SDLK_KP_DIVIDE, 0x6F},    {SDLK_NUMLOCKCLEAR, 0x90},
    {SDLK_SCROLLLOCK, 0x91},     {SDLK_SEMICOLON, 0xBA},    {SDLK_EQUALS, 0xBB},
    {SDLK_COMMA, 0xBC},          {SDLK_MINUS, 0xBD},        {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},          {SDLK_BACKQUOTE, 0xC0},    {SDLK_LEFTBRACKET, 0xDB},
    {SDLK_BACKSLASH, 0xDC},      {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
}};

constexpr uint16_t kNumpad0 = 0x60;
constexpr uint16_t kDecimal = 0x6E;
constexpr uint16_t kClear = 0x0C;
constexpr uint16_t kF13 = 0x7C;

// The keypad's keys when Num Lock is off, as Windows codes them: 0..9, then the decimal point.
constexpr std::array<uint16_t, 11> kKeypadNavigation{vk::Insert, vk::End,   vk::Next,  vk::Down,
                                                     vk::Left,   kClear,    vk::Right, vk::Home,
                                                     vk::Up,     vk::Prior, vk::Delete};

std::optional<uint16_t> KeypadKey(SDL_Keycode key, bool num_lock) {
    int digit = -1;
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        digit = 1 + static_cast<int>(key - SDLK_KP_1);
    } else if (key == SDLK_KP_0) {
        digit = 0;
    } else if (key == SDLK_KP_PERIOD) {
        return num_lock ? kDecimal : kKeypadNavigation[10];
    } else {
        return std::nullopt;
    }
    return num_lock ? static_cast<uint16_t>(kNumpad0 + digit) : kKeypadNavigation[digit];
}

// Windows codes letters and digits by the key's place on the layout: a key that types a letter the
// code table has no number for (a Czech "ě" on the digit row) still has the code of its place.
std::optional<uint16_t> KeyByPlace(SDL_Scancode place) {
    if (place >= SDL_SCANCODE_A && place <= SDL_SCANCODE_Z) {
        return vk::Letter(static_cast<char>('A' + (place - SDL_SCANCODE_A)));
    }
    if (place >= SDL_SCANCODE_1 && place <= SDL_SCANCODE_9) {
        return vk::Digit(1 + (place - SDL_SCANCODE_1));
    }
    if (place == SDL_SCANCODE_0) {
        return vk::Digit(0);
    }
    return std::nullopt;
}

} // namespace

std::optional<uint16_t> VirtualKeyFromSdl(const SDL_Keysym& key) {
    const SDL_Keycode code = key.sym;
    if (code >= SDLK_a && code <= SDLK_z) {
        return vk::Letter(static_cast<char>('A' + (code - SDLK_a)));
    }
    if (code >= SDLK_0 && code <= SDLK_9) {
        return vk::Digit(code - SDLK_0);
    }
    if (code >= SDLK_F1 && code <= SDLK_F12) {
        return static_cast<uint16_t>(vk::F1 + (code - SDLK_F1));
    }
    if (code >= SDLK_F13 && code <= SDLK_F24) {
        return static_cast<uint16_t>(kF13 + (code - SDLK_F13));
    }
    if (auto keypad = KeypadKey(code, (key.mod & KMOD_NUM) != 0)) {
        return keypad;
    }
    for (const auto& [sdl_key, virtual_key] : kNamedKeys) {
        if (sdl_key == code) {
            return virtual_key;
        }
    }
    return KeyByPlace(key.scancode);
}

std::optional<char> ControlCharOfKey(uint16_t virtual_key) {
    switch (virtual_key) {
        case vk::Back:
        case vk::Tab:
        case vk::Return:
        case vk::Escape:
            return static_cast<char>(virtual_key);
        default:
            return std::nullopt;
    }
}

std::string TypedChars1250(std::string_view utf8) {
    std::string typed;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::string_view one = utf8.substr(pos, length);
        pos += one.size();
        // The conversion marks what it cannot convert with "?": only a typed "?" is one.
        std::string byte = FromUtf8(one);
        if (byte.size() == 1 && (byte != "?" || one == "?")) {
            typed += byte;
        }
    }
    return typed;
}

ShiftState ShiftFromSdl(uint16_t modifiers, uint32_t buttons) {
    ShiftState shift;
    shift.shift = (modifiers & KMOD_SHIFT) != 0;
    shift.ctrl = (modifiers & KMOD_CTRL) != 0;
    shift.alt = (modifiers & KMOD_ALT) != 0;
    shift.left = (buttons & SDL_BUTTON_LMASK) != 0;
    shift.right = (buttons & SDL_BUTTON_RMASK) != 0;
    shift.middle = (buttons & SDL_BUTTON_MMASK) != 0;
    return shift;
}

std::optional<EventData> WindowStateFromSdl(uint8_t window_event) {
    switch (window_event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            return MinimizedEvent{};
        case SDL_WINDOWEVENT_RESTORED:
            return RestoredEvent{};
        default:
            return std::nullopt;
    }
}

} // namespace kavlo
