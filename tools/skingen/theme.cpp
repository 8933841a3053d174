#include "theme.h"

namespace kavlo::skingen {

Theme SchemeTheme(int scheme) {
    if (scheme == 0) {
        return {0,
                Hex(0x7FD14A),
                Hex(0x2B3A1F),
                Hex(0x26292C),
                Hex(0x17191B),
                Hex(0x3A4E2A),
                Hex(0x1F2A16),
                Hex(0x2A2D30)};
    }
    return {1,
            Hex(0x7A6BFF),
            Hex(0x221D4A),
            Hex(0xB9B6D6),
            Hex(0x8E8AB4),
            Hex(0xD6D1FF),
            Hex(0xA99FF5),
            Hex(0xC4C1DE)};
}

} // namespace kavlo::skingen
