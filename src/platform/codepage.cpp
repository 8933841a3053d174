#include "platform/codepage.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kavlo {

namespace {

constexpr char16_t kUndefined = 0xFFFD;
constexpr char16_t U = kUndefined;

using HighHalf = std::array<char16_t, 128>;

// Bytes 0x80..0xFF of Windows-1250 (Central European).
constexpr HighHalf kHigh1250 = {
    0x20AC, U,      0x201A, U,      0x201E, 0x2026, 0x2020, 0x2021, // 80
    U,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    U,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    U,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

// Bytes 0x80..0xFF of Windows-1254 (Turkish): Windows-1252 with six Turkish letters.
constexpr HighHalf kHigh1254 = {
    0x20AC, U,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, U,      U,      U,      // 88
    U,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, U,      U,      0x0178, // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, // B8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, // C0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, // C8
    0x011E, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, // D0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF, // D8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, // E8
    0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, // F0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF, // F8
};

const HighHalf& TableOf(CodePage cp) {
    return cp == CodePage::Windows1254 ? kHigh1254 : kHigh1250;
}

// Decodes one UTF-8 sequence at `pos`; a malformed, overlong or surrogate sequence consumes one byte
// and gives nothing, so the caller can put a single "?" in its place.
std::optional<char32_t> DecodeUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    int extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, min = 0x10000;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return std::nullopt;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += extra + 1;
    return c;
}

std::optional<char> EncodeByte(char32_t c, const HighHalf& table) {
    if (c < 0x80) {
        return static_cast<char>(c);
    }
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i] == c && c != kUndefined) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Capitals of the Windows-1250 small letters above 0x7F; 0 where a byte has no capital in the code
// page (ß, µ, signs), so the byte stays as it is.
constexpr std::array<uint8_t, 128> kUpper1250High = [] {
    std::array<uint8_t, 128> upper{};
    auto set = [&upper](int small, int capital) { upper[small - 0x80] = static_cast<uint8_t>(capital); };
    set(0x9A, 0x8A); // š Š
    set(0x9C, 0x8C); // ś Ś
    set(0x9D, 0x8D); // ť Ť
    set(0x9E, 0x8E); // ž Ž
    set(0x9F, 0x8F); // ź Ź
    set(0xB3, 0xA3); // ł Ł
    set(0xB9, 0xA5); // ą Ą
    set(0xBA, 0xAA); // ş Ş
    set(0xBE, 0xBC); // ľ Ľ
    set(0xBF, 0xAF); // ż Ż
    for (int small = 0xE0; small <= 0xFE; ++small) {
        if (small != 0xF7) { // ÷ is not a letter
            set(small, small - 0x20);
        }
    }
    return upper;
}();

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string ToUtf8(std::string_view bytes, CodePage cp) {
    const HighHalf& table = TableOf(cp);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{table[b - 0x80]});
    }
    return out;
}

std::string FromUtf8(std::string_view utf8, CodePage cp) {
    const HighHalf& table = TableOf(cp);
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        auto c = DecodeUtf8(utf8, pos);
        auto byte = c ? EncodeByte(*c, table) : std::nullopt;
        out += byte ? *byte : '?';
    }
    return out;
}

char UpperCase1250(char c) {
    const auto b = static_cast<uint8_t>(c);
    if (b >= 'a' && b <= 'z') {
        return static_cast<char>(b - 0x20);
    }
    if (b >= 0x80 && kUpper1250High[b - 0x80] != 0) {
        return static_cast<char>(kUpper1250High[b - 0x80]);
    }
    return c;
}

std::string UpperCase1250(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out) {
        c = UpperCase1250(c);
    }
    return out;
}

bool EqualsNoCase1250(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperCase1250(a[i]) != UpperCase1250(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace kavlo
