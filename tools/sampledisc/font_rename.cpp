#include "sampledisc/font_rename.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kavlo::sample {

namespace {

constexpr uint32_t kTagHead = 0x68656164;
constexpr uint32_t kTagName = 0x6E616D65;
// The whole file's checksum plus head.checkSumAdjustment gives this.
constexpr uint32_t kFileChecksum = 0xB1B0AFBA;
constexpr size_t kHeadAdjustment = 8;
constexpr uint16_t kPlatformUnicode = 0;
constexpr uint16_t kPlatformMacintosh = 1;
constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kMacRoman = 0;

uint32_t Get16(std::string_view bytes, size_t pos) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(bytes[pos])) << 8) |
           static_cast<uint8_t>(bytes[pos + 1]);
}

uint32_t Get32(std::string_view bytes, size_t pos) {
    return (Get16(bytes, pos) << 16) | Get16(bytes, pos + 2);
}

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFF);
}

void Set32(std::string& out, size_t pos, uint32_t value) {
    std::string bytes;
    Put32(bytes, value);
    out.replace(pos, 4, bytes);
}

// The sum of the big-endian words, the last one padded with zeros.
uint32_t Checksum(std::string_view data) {
    uint32_t sum = 0;
    for (size_t pos = 0; pos < data.size(); pos += 4) {
        uint32_t word = 0;
        for (size_t i = 0; i < 4; ++i) {
            word = (word << 8) | (pos + i < data.size() ? static_cast<uint8_t>(data[pos + i]) : 0u);
        }
        sum += word;
    }
    return sum;
}

size_t Padded(size_t length) {
    return (length + 3) & ~size_t{3};
}

bool IsPlainAscii(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::string Utf16Be(std::string_view ascii) {
    std::string out;
    for (char c : ascii) {
        Put16(out, static_cast<uint8_t>(c));
    }
    return out;
}

// The new text of a name ID, or null for the IDs that keep theirs.
const std::string* NewName(uint32_t name_id, const FontNaming& naming) {
    switch (name_id) {
        case 1:
        case 16:
            return &naming.family;
        case 3:
        case 4:
            return &naming.full_name;
        case 6:
            return &naming.postscript_name;
        default:
            return nullptr;
    }
}

struct NameRecord {
    uint32_t platform = 0, encoding = 0, language = 0, name_id = 0;
    std::string text;
};

std::optional<std::vector<NameRecord>> ReadRenamedRecords(std::string_view table, const FontNaming& naming) {
    if (table.size() < 6 || Get16(table, 0) != 0) {
        return std::nullopt; // format 1 adds language-tag records we do not carry over
    }
    const size_t count = Get16(table, 2);
    const size_t storage = Get16(table, 4);
    if (table.size() < 6 + count * 12 || storage > table.size()) {
        return std::nullopt;
    }
    std::vector<NameRecord> records;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 6 + i * 12;
        NameRecord record{
            Get16(table, at), Get16(table, at + 2), Get16(table, at + 4), Get16(table, at + 6), {}};
        const size_t length = Get16(table, at + 8);
        const size_t offset = storage + Get16(table, at + 10);
        const std::string* name = NewName(record.name_id, naming);
        if (name == nullptr) {
            if (offset + length > table.size()) {
                return std::nullopt;
            }
            record.text = table.substr(offset, length);
        } else if (record.platform == kPlatformUnicode || record.platform == kPlatformWindows) {
            record.text = Utf16Be(*name);
        } else if (record.platform == kPlatformMacintosh && record.encoding == kMacRoman) {
            record.text = *name;
        } else {
            continue; // an encoding we do not write would keep the old name
        }
        records.push_back(std::move(record));
    }
    return records;
}

// Records keep their order, which the format wants sorted by platform, encoding, language and ID.
std::optional<std::string> RenameTable(std::string_view table, const FontNaming& naming) {
    const auto records = ReadRenamedRecords(table, naming);
    if (!records) {
        return std::nullopt;
    }
    std::string out;
    std::string storage;
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(records->size()));
    Put16(out, static_cast<uint32_t>(6 + records->size() * 12));
    for (const NameRecord& record : *records) {
        if (storage.size() + record.text.size() > 0xFFFF) {
            return std::nullopt; // string offsets are 16 bits
        }
        for (uint32_t field : {record.platform, record.encoding, record.language, record.name_id}) {
            Put16(out, field);
        }
        Put16(out, static_cast<uint32_t>(record.text.size()));
        Put16(out, static_cast<uint32_t>(storage.size()));
        storage += record.text;
    }
    return out + storage;
}

struct Table {
    uint32_t tag = 0;
    std::string data;
};

std::optional<std::vector<Table>> ReadTables(std::string_view font, const FontNaming& naming) {
    const size_t count = Get16(font, 4);
    if (font.size() < 12 + count * 16) {
        return std::nullopt;
    }
    std::vector<Table> tables;
    bool renamed = false;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 12 + i * 16;
        const size_t offset = Get32(font, entry + 8);
        const size_t length = Get32(font, entry + 12);
        if (offset > font.size() || font.size() - offset < length) {
            return std::nullopt;
        }
        Table table{Get32(font, entry), std::string(font.substr(offset, length))};
        if (table.tag == kTagName) {
            auto name = RenameTable(table.data, naming);
            if (!name) {
                return std::nullopt;
            }
            table.data = std::move(*name);
            renamed = true;
        } else if (table.tag == kTagHead) {
            if (table.data.size() < kHeadAdjustment + 4) {
                return std::nullopt;
            }
            // Table checksums count head with a zero adjustment; the file's sum sets it last.
            Set32(table.data, kHeadAdjustment, 0);
        }
        tables.push_back(std::move(table));
    }
    const bool has_head =
        std::any_of(tables.begin(), tables.end(), [](const Table& t) { return t.tag == kTagHead; });
    if (!renamed || !has_head) {
        return std::nullopt;
    }
    // Readers look tables up by binary search over the tags.
    std::sort(tables.begin(), tables.end(), [](const Table& a, const Table& b) { return a.tag < b.tag; });
    return tables;
}

} // namespace

std::optional<std::string> RenameFont(std::string_view font, const FontNaming& naming) {
    if (!IsPlainAscii(naming.family) || !IsPlainAscii(naming.full_name) ||
        !IsPlainAscii(naming.postscript_name) || naming.postscript_name.find(' ') != std::string::npos) {
        return std::nullopt;
    }
    if (font.size() < 12) {
        return std::nullopt;
    }
    const uint32_t version = Get32(font, 0);
    if (version != 0x00010000 && version != 0x4F54544F /* OTTO */ && version != 0x74727565 /* true */) {
        return std::nullopt;
    }
    const auto tables = ReadTables(font, naming);
    if (!tables) {
        return std::nullopt;
    }
    // The table count is unchanged, so the header's search fields stay right.
    std::string out(font.substr(0, 12));
    size_t offset = 12 + tables->size() * 16;
    size_t head_at = 0;
    for (const Table& table : *tables) {
        Put32(out, table.tag);
        Put32(out, Checksum(table.data));
        Put32(out, static_cast<uint32_t>(offset));
        Put32(out, static_cast<uint32_t>(table.data.size()));
        if (table.tag == kTagHead) {
            head_at = offset;
        }
        offset += Padded(table.data.size());
    }
    for (const Table& table : *tables) {
        out += table.data;
        out.append(Padded(table.data.size()) - table.data.size(), '\0');
    }
    Set32(out, head_at + kHeadAdjustment, kFileChecksum - Checksum(out));
    return out;
}

} // namespace kavlo::sample
