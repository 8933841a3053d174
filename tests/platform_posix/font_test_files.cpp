#include "font_test_files.h"

namespace kavlo::test {

namespace {

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFF);
}

std::string NameTable(const std::vector<NameRecordSpec>& records) {
    std::string table, strings;
    Put16(table, 0);
    Put16(table, static_cast<uint32_t>(records.size()));
    Put16(table, static_cast<uint32_t>(6 + 12 * records.size()));
    for (const auto& record : records) {
        Put16(table, record.platform);
        Put16(table, record.encoding);
        Put16(table, record.language);
        Put16(table, record.name_id);
        Put16(table, static_cast<uint32_t>(record.bytes.size()));
        Put16(table, static_cast<uint32_t>(strings.size()));
        strings += record.bytes;
    }
    return table + strings;
}

} // namespace

std::string Utf16Be(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        Put16(out, c);
    }
    return out;
}

std::string BuildFace(const std::vector<NameRecordSpec>& records, uint32_t base) {
    const std::string name = NameTable(records);
    std::string face;
    Put32(face, 0x00010000);
    Put16(face, 1); // one table
    Put16(face, 16);
    Put16(face, 0);
    Put16(face, 0);
    face += "name";
    Put32(face, 0);
    Put32(face, base + 28);
    Put32(face, static_cast<uint32_t>(name.size()));
    return face + name;
}

std::string BuildCollection(const std::vector<std::vector<NameRecordSpec>>& faces) {
    std::string header = "ttcf";
    Put32(header, 0x00010000);
    Put32(header, static_cast<uint32_t>(faces.size()));
    std::string body;
    const auto first = static_cast<uint32_t>(12 + 4 * faces.size());
    for (const auto& records : faces) {
        const auto base = static_cast<uint32_t>(first + body.size());
        Put32(header, base);
        body += BuildFace(records, base);
    }
    return header + body;
}

std::string BuildFont(const std::u16string& family) {
    return BuildFace({NameRecordSpec{.bytes = Utf16Be(family)}});
}

} // namespace kavlo::test
