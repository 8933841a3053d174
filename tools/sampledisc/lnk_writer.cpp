#include "sampledisc/lnk_writer.h"

#include <cstdint>
#include <string_view>

#include "platform/codepage.h"
#include "skingen/le_bytes.h"

namespace kavlo::sample {

namespace {

// Link flags of the header: which structures and strings follow it.
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasRelativePath = 0x08;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kIsUnicode = 0x80;

constexpr uint32_t kHeaderSize = 76;
// The shell link class, 00021401-0000-0000-C000-000000000046, in its stored byte order.
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr uint32_t kArchiveAttribute = 0x20;
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kLinkInfoHeaderSize = 0x1C; // the form without Unicode path offsets
constexpr uint32_t kVolumeIdHeaderSize = 0x10;
constexpr uint32_t kMaxStringUnits = 0xFFFF; // a string's length is a 16-bit count

using skingen::Put16;
using skingen::Put32;

void PutZeros(std::string& out, size_t count) {
    out.append(count, '\0');
}

// Windows-1250 text as UTF-16LE code units. Every character of the code page lies in the Basic
// Multilingual Plane, so each UTF-8 sequence of it (one to three bytes) is one unit.
std::u16string Utf16Of(std::string_view text) {
    const std::string utf8 = ToUtf8(text);
    std::u16string units;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
        for (size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        units.push_back(static_cast<char16_t>(code));
        i += length;
    }
    return units;
}

// A counted string of the string data: its length in units, then the units, with no terminator.
bool PutCountedString(std::string& out, std::string_view text) {
    const std::u16string units = Utf16Of(text);
    if (units.size() > kMaxStringUnits) {
        return false;
    }
    Put16(out, static_cast<uint32_t>(units.size()));
    for (char16_t unit : units) {
        Put16(out, unit);
    }
    return true;
}

bool IsAbsoluteDrivePath(std::string_view path) {
    const auto letter = static_cast<unsigned char>(path.size() >= 3 ? path[0] | 0x20 : 0);
    return letter >= 'a' && letter <= 'z' && path[1] == ':' && path[2] == '\\';
}

void PutHeader(std::string& out, uint32_t flags) {
    Put32(out, kHeaderSize);
    out.append(reinterpret_cast<const char*>(kLinkClsid), sizeof kLinkClsid);
    Put32(out, flags);
    Put32(out, kArchiveAttribute);
    PutZeros(out, 3 * 8); // creation, access and write times: unknown
    Put32(out, 0);        // target size
    Put32(out, 0);        // icon index
    Put32(out, kShowNormal);
    Put16(out, 0); // hot key
    PutZeros(out, 2 + 4 + 4);
}

// The link info with a volume ID (no label) and the target as local base path; the common path
// suffix stays empty, so the base path alone is the target.
void PutLinkInfo(std::string& out, std::string_view target) {
    const uint32_t volume_id_size = kVolumeIdHeaderSize + 1;
    const uint32_t base_path_offset = kLinkInfoHeaderSize + volume_id_size;
    const uint32_t suffix_offset = base_path_offset + static_cast<uint32_t>(target.size()) + 1;
    const uint32_t size = suffix_offset + 1;

    Put32(out, size);
    Put32(out, kLinkInfoHeaderSize);
    Put32(out, kVolumeIdAndLocalBasePath);
    Put32(out, kLinkInfoHeaderSize); // volume ID offset
    Put32(out, base_path_offset);
    Put32(out, 0); // no network location
    Put32(out, suffix_offset);

    Put32(out, volume_id_size);
    Put32(out, kDriveFixed);
    Put32(out, 0);                   // drive serial number
    Put32(out, kVolumeIdHeaderSize); // label offset: the empty label right after
    out.push_back('\0');

    out.append(target);
    out.push_back('\0');
    out.push_back('\0'); // empty common path suffix
}

} // namespace

std::optional<std::string> WriteShellLink(const LinkContents& contents) {
    const bool has_target = !contents.target.empty();
    if ((!has_target && contents.relative_path.empty()) ||
        (has_target &&
         (!IsAbsoluteDrivePath(contents.target) || contents.target.find('\0') != std::string::npos))) {
        return std::nullopt;
    }
    uint32_t flags = kIsUnicode;
    flags |= has_target ? kHasLinkInfo : 0;
    flags |= contents.relative_path.empty() ? 0 : kHasRelativePath;
    flags |= contents.working_dir.empty() ? 0 : kHasWorkingDir;
    flags |= contents.arguments.empty() ? 0 : kHasArguments;

    std::string out;
    PutHeader(out, flags);
    if (has_target) {
        PutLinkInfo(out, contents.target);
    }
    // The string data keeps this order: name, relative path, working directory, arguments.
    for (const std::string* text : {&contents.relative_path, &contents.working_dir, &contents.arguments}) {
        if (!text->empty() && !PutCountedString(out, *text)) {
            return std::nullopt;
        }
    }
    Put32(out, 0); // terminal block: no extra data
    return out;
}

} // namespace kavlo::sample
