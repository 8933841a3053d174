#pragma once

// Small TrueType files made in memory: an offset table with only a "name" table, which is all
// that registering a face reads.

#include <cstdint>
#include <string>
#include <vector>

namespace kavlo::test {

struct NameRecordSpec {
    uint16_t platform = 3;
    uint16_t encoding = 1;
    uint16_t language = 0x409;
    uint16_t name_id = 1;
    std::string bytes; // already encoded for the platform
};

std::string Utf16Be(const std::u16string& text);
// A face placed at `base` in its file (table offsets count from the start of the file).
std::string BuildFace(const std::vector<NameRecordSpec>& records, uint32_t base = 0);
std::string BuildCollection(const std::vector<std::vector<NameRecordSpec>>& faces);
// A face with one Windows US-English family name.
std::string BuildFont(const std::u16string& family);

} // namespace kavlo::test
