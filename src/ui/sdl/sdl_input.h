#pragma once

#include <SDL_keyboard.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/events.h"

namespace kavlo {

// The Windows virtual-key code of a key; nothing for keys Windows programs would not see by a code of
// their own.
std::optional<uint16_t> VirtualKeyFromSdl(const SDL_Keysym& key);
// The character that Windows' TranslateMessage adds to a key SDL types no text for (Backspace, Tab,
// Return, Escape).
std::optional<char> ControlCharOfKey(uint16_t virtual_key);
// Typed UTF-8 text as Windows-1250 bytes; characters the code page lacks are left out, as a Windows-1250
// program never receives them.
std::string TypedChars1250(std::string_view utf8);
// Modifier keys (SDL_Keymod) and held buttons (SDL_BUTTON masks) as Delphi's shift state.
ShiftState ShiftFromSdl(uint16_t modifiers, uint32_t buttons);
// The window's minimise and restore (SDL_WINDOWEVENT_*); nothing for the other window events.
std::optional<EventData> WindowStateFromSdl(uint8_t window_event);

} // namespace kavlo
