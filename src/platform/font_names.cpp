#include "platform/font_names.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "platform/codepage.h"

namespace kavlo {

namespace {

constexpr uint16_t kPlatformUnicode = 0;
constexpr uint16_t kPlatformMacintosh = 1;
constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kNameFamily = 1;
constexpr uint16_t kLanguageUsEnglish = 0x409;
constexpr size_t kMaxCollectionFaces = 256;

// Bounds-checked big-endian reads: every offset in a font file comes from the file itself.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<uint16_t> U16(size_t pos) const {
        if (pos > bytes_.size() || bytes_.size() - pos < 2) {
            return std::nullopt;
        }
        return static_cast<uint16_t>((Byte(pos) << 8) | Byte(pos + 1));
    }
    std::optional<uint32_t> U32(size_t pos) const {
        auto high = U16(pos), low = U16(pos + 2);
        if (!high || !low) {
            return std::nullopt;
        }
        return (static_cast<uint32_t>(*high) << 16) | *low;
    }
    std::optional<std::string_view> Slice(size_t pos, size_t length) const {
        if (pos > bytes_.size() || bytes_.size() - pos < length) {
            return std::nullopt;
        }
        return bytes_.substr(pos, length);
    }

private:
    uint32_t Byte(size_t pos) const { return static_cast<uint8_t>(bytes_[pos]); }
    std::string_view bytes_;
};

// Bytes 0x80..0xFF of the Macintosh Roman encoding, used by the oldest name records.
constexpr std::array<char16_t, 128> kMacRoman = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

// UTF-16BE; an unpaired surrogate becomes U+FFFD.
std::string Utf16BeToUtf8(std::string_view bytes) {
    Reader reader(bytes);
    std::string out;
    for (size_t pos = 0; pos + 1 < bytes.size(); pos += 2) {
        char32_t c = *reader.U16(pos);
        if (c >= 0xD800 && c <= 0xDBFF) {
            auto low = reader.U16(pos + 2);
            if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (*low - 0xDC00);
                pos += 2;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string MacRomanToUtf8(std::string_view bytes) {
    std::string out;
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{kMacRoman[b - 0x80]});
    }
    return out;
}

struct NameRecord {
    int rank = 0; // lower is preferred
    std::string text;
};

// The preference of a family-name record, or nullopt for an encoding we cannot decode.
std::optional<int> RankOf(uint16_t platform, uint16_t encoding, uint16_t language) {
    switch (platform) {
        case kPlatformWindows:
            if (encoding != 0 && encoding != 1 && encoding != 10) {
                return std::nullopt; // symbol, BMP and full Unicode are UTF-16; the rest are legacy CJK
            }
            return language == kLanguageUsEnglish ? 0 : 1;
        case kPlatformUnicode:
            return 2;
        case kPlatformMacintosh:
            if (encoding != 0) {
                return std::nullopt;
            }
            return language == 0 ? 3 : 4;
        default:
            return std::nullopt;
    }
}

std::optional<NameRecord> ReadNameRecord(const Reader& font, size_t record, size_t strings) {
    auto platform = font.U16(record), encoding = font.U16(record + 2), language = font.U16(record + 4);
    auto name_id = font.U16(record + 6), length = font.U16(record + 8), offset = font.U16(record + 10);
    if (!platform || !encoding || !language || !name_id || !length || !offset || *name_id != kNameFamily) {
        return std::nullopt;
    }
    auto rank = RankOf(*platform, *encoding, *language);
    auto text = font.Slice(strings + *offset, *length);
    if (!rank || !text || text->empty()) {
        return std::nullopt;
    }
    const bool mac = *platform == kPlatformMacintosh;
    return NameRecord{*rank, mac ? MacRomanToUtf8(*text) : Utf16BeToUtf8(*text)};
}

std::optional<size_t> FindTable(const Reader& font, size_t face, uint32_t tag) {
    auto tables = font.U16(face + 4);
    if (!tables) {
        return std::nullopt;
    }
    for (size_t i = 0; i < *tables; ++i) {
        const size_t entry = face + 12 + i * 16;
        auto entry_tag = font.U32(entry);
        auto offset = font.U32(entry + 8);
        if (!entry_tag || !offset) {
            return std::nullopt;
        }
        if (*entry_tag == tag) {
            return *offset;
        }
    }
    return std::nullopt;
}

bool IsFaceVersion(uint32_t version) {
    return version == 0x00010000 || version == 0x4F54544F /* OTTO */ || version == 0x74727565 /* true */;
}

std::optional<FontFace> ReadFace(const Reader& font, size_t face) {
    auto version = font.U32(face);
    if (!version || !IsFaceVersion(*version)) {
        return std::nullopt;
    }
    auto table = FindTable(font, face, 0x6E616D65 /* name */);
    auto count = table ? font.U16(*table + 2) : std::nullopt;
    auto strings = table ? font.U16(*table + 4) : std::nullopt;
    if (!count || !strings) {
        return std::nullopt;
    }
    std::vector<NameRecord> records;
    for (size_t i = 0; i < *count; ++i) {
        if (auto record = ReadNameRecord(font, *table + 6 + i * 12, *table + *strings)) {
            records.push_back(std::move(*record));
        }
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const NameRecord& a, const NameRecord& b) { return a.rank < b.rank; });
    FontFace result;
    for (auto& record : records) {
        if (std::find(result.families.begin(), result.families.end(), record.text) == result.families.end()) {
            result.families.push_back(std::move(record.text));
        }
    }
    if (result.families.empty()) {
        return std::nullopt;
    }
    return result;
}

} // namespace

std::vector<FontFace> ReadFontFaces(std::string_view bytes) {
    const Reader font(bytes);
    std::vector<FontFace> faces;
    auto tag = font.U32(0);
    if (!tag) {
        return faces;
    }
    if (*tag != 0x74746366 /* ttcf */) {
        if (auto face = ReadFace(font, 0)) {
            faces.push_back(std::move(*face));
        }
        return faces;
    }
    auto count = font.U32(8);
    for (size_t i = 0; count && i < std::min<size_t>(*count, kMaxCollectionFaces); ++i) {
        auto offset = font.U32(12 + i * 4);
        if (!offset) {
            break;
        }
        if (auto face = ReadFace(font, *offset)) {
            faces.push_back(std::move(*face));
        }
    }
    return faces;
}

} // namespace kavlo
