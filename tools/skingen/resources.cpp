#include "skingen/resources.h"

#include <array>
#include <cctype>

// Bounds of the embedded files, placed by the assembler (see the generated resources_data.cpp).
extern "C" {
extern const uint8_t kavlo_res_TFORM1_begin[], kavlo_res_TFORM1_end[];
extern const uint8_t kavlo_res_BMP1_begin[], kavlo_res_BMP1_end[];
extern const uint8_t kavlo_res_BMP2_begin[], kavlo_res_BMP2_end[];
extern const uint8_t kavlo_res_BMP3_begin[], kavlo_res_BMP3_end[];
extern const uint8_t kavlo_res_BMP4_begin[], kavlo_res_BMP4_end[];
extern const uint8_t kavlo_res_AVI1_begin[], kavlo_res_AVI1_end[];
extern const uint8_t kavlo_res_AVI2_begin[], kavlo_res_AVI2_end[];
extern const uint8_t kavlo_res_AVI3_begin[], kavlo_res_AVI3_end[];
extern const uint8_t kavlo_res_AVI4_begin[], kavlo_res_AVI4_end[];
extern const uint8_t kavlo_res_AVI5_begin[], kavlo_res_AVI5_end[];
extern const uint8_t kavlo_res_AVI6_begin[], kavlo_res_AVI6_end[];
extern const uint8_t kavlo_res_AVI7_begin[], kavlo_res_AVI7_end[];
extern const uint8_t kavlo_res_AVI8_begin[], kavlo_res_AVI8_end[];
extern const uint8_t kavlo_res_AVI9_begin[], kavlo_res_AVI9_end[];
extern const uint8_t kavlo_res_AVI10_begin[], kavlo_res_AVI10_end[];
extern const uint8_t kavlo_res_FILECOPY0_begin[], kavlo_res_FILECOPY0_end[];
extern const uint8_t kavlo_res_FILECOPY1_begin[], kavlo_res_FILECOPY1_end[];
}

namespace kavlo {

namespace {

struct Embedded {
    std::string_view name;
    const uint8_t* begin;
    const uint8_t* end;
};

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

std::span<const uint8_t> Resource(std::string_view name) {
    static const std::array<Embedded, 17> kFiles{
        {{"TFORM1", kavlo_res_TFORM1_begin, kavlo_res_TFORM1_end},
         {"BMP1", kavlo_res_BMP1_begin, kavlo_res_BMP1_end},
         {"BMP2", kavlo_res_BMP2_begin, kavlo_res_BMP2_end},
         {"BMP3", kavlo_res_BMP3_begin, kavlo_res_BMP3_end},
         {"BMP4", kavlo_res_BMP4_begin, kavlo_res_BMP4_end},
         {"AVI1", kavlo_res_AVI1_begin, kavlo_res_AVI1_end},
         {"AVI2", kavlo_res_AVI2_begin, kavlo_res_AVI2_end},
         {"AVI3", kavlo_res_AVI3_begin, kavlo_res_AVI3_end},
         {"AVI4", kavlo_res_AVI4_begin, kavlo_res_AVI4_end},
         {"AVI5", kavlo_res_AVI5_begin, kavlo_res_AVI5_end},
         {"AVI6", kavlo_res_AVI6_begin, kavlo_res_AVI6_end},
         {"AVI7", kavlo_res_AVI7_begin, kavlo_res_AVI7_end},
         {"AVI8", kavlo_res_AVI8_begin, kavlo_res_AVI8_end},
         {"AVI9", kavlo_res_AVI9_begin, kavlo_res_AVI9_end},
         {"AVI10", kavlo_res_AVI10_begin, kavlo_res_AVI10_end},
         {"FILECOPY0", kavlo_res_FILECOPY0_begin, kavlo_res_FILECOPY0_end},
         {"FILECOPY1", kavlo_res_FILECOPY1_begin, kavlo_res_FILECOPY1_end}}};
    for (const Embedded& file : kFiles) {
        if (SameName(file.name, name)) {
            return {file.begin, static_cast<size_t>(file.end - file.begin)};
        }
    }
    return {};
}

} // namespace kavlo
