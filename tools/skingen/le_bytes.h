#pragma once

#include <cstdint>
#include <string>

namespace kavlo::skingen {

// Little-endian writers for the files the tools make (bitmaps, clips, the form stream).
inline void Put8(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
}
inline void Put16(std::string& out, uint32_t v) {
    Put8(out, v);
    Put8(out, v >> 8);
}
inline void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace kavlo::skingen
