#include "skin/text/font_resolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include FT_SFNT_NAMES_H
#include FT_SIZES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include "platform/codepage.h"

namespace kavlo {
namespace {

// Larger requests come only from damaged form data; they would need glyph bitmaps of many
// megabytes while the whole window is smaller than 1000 pixels.
constexpr int kMaxEmPixels = 512;
// What GDI gives a font of height 0, the same as Delphi's default font.
constexpr int kDefaultEmPixels = 11;

std::string Utf16BeToUtf8(const FT_Byte* bytes, FT_UInt length) {
    std::string utf8;
    for (FT_UInt i = 0; i + 1 < length; i += 2) {
        char32_t unit = static_cast<char32_t>((bytes[i] << 8) | bytes[i + 1]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < length) {
            const char32_t low = static_cast<char32_t>((bytes[i + 2] << 8) | bytes[i + 3]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(utf8, unit);
    }
    return utf8;
}

// The family names (name ID 1) of a face, as Windows-1250 bytes.
std::vector<std::string> FamilyNames(FT_Face face) {
    std::vector<std::string> names;
    if (face->family_name != nullptr) {
        names.push_back(FromUtf8(face->family_name));
    }
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != TT_NAME_ID_FONT_FAMILY) {
            continue;
        }
        if (name.platform_id == TT_PLATFORM_MICROSOFT || name.platform_id == TT_PLATFORM_APPLE_UNICODE) {
            names.push_back(FromUtf8(Utf16BeToUtf8(name.string, name.string_len)));
        } else if (name.platform_id == TT_PLATFORM_MACINTOSH && name.encoding_id == TT_MAC_ID_ROMAN) {
            names.emplace_back(reinterpret_cast<const char*>(name.string), name.string_len);
        }
    }
    return names;
}

bool HasFamily(FT_Face face, const std::string& family) {
    const std::vector<std::string> names = FamilyNames(face);
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return EqualsNoCase1250(name, family); });
}

int StyleScore(FT_Face face, const FontSpec& font) {
    const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    const bool italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    return (bold == font.bold ? 2 : 0) + (italic == font.italic ? 1 : 0);
}

} // namespace

FontResolver::FontResolver(const Fonts& fonts, FontResolverOptions options)
    : fonts_(fonts), options_(std::move(options)) {
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
    }
}

FontResolver::~FontResolver() {
    resolved_.clear();
    fallbacks_.clear();
    // Sizes belong to their faces: release them before the faces go.
    sizes_.clear();
    for (auto& [key, face] : faces_) {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }
    if (library_ != nullptr) {
        FT_Done_FreeType(library_);
    }
    if (fc_config_ != nullptr) {
        FcConfigDestroy(fc_config_);
    }
}

int FontResolver::EmPixels(FT_Face face, int height) {
    int em = kDefaultEmPixels;
    if (height < 0) {
        em = height == std::numeric_limits<int>::min() ? kMaxEmPixels : -height;
    } else if (height > 0) {
        // A positive height is the cell (ascent + descent as Windows reads them), not the em.
        int cell_units = face->ascender - face->descender;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            cell_units = os2->usWinAscent + os2->usWinDescent;
        }
        em = height;
        if (face->units_per_EM > 0 && cell_units > 0) {
            em = static_cast<int>(std::lround(static_cast<double>(height) * face->units_per_EM / cell_units));
        }
    }
    return std::clamp(em, 1, kMaxEmPixels);
}

FT_Face FontResolver::OpenFace(const std::string& path, int index) {
    const auto key = std::make_pair(path, index);
    auto found = faces_.find(key);
    if (found != faces_.end()) {
        return found->second;
    }
    FT_Face face = nullptr;
    if (library_ == nullptr || FT_New_Face(library_, path.c_str(), index, &face) != 0) {
        face = nullptr;
    } else if (!FT_IS_SCALABLE(face)) {
        // Bitmap-only faces come in fixed sizes; labels ask for any size.
        FT_Done_Face(face);
        face = nullptr;
    }
    faces_.emplace(key, face);
    return face;
}

std::optional<FaceSource> FontResolver::LocateRegistered(const FontSpec& font) {
    const std::optional<std::string> path = fonts_.FindFace(font.name);
    if (!path) {
        return std::nullopt;
    }
    FT_Face first = OpenFace(*path, 0);
    if (first == nullptr) {
        return std::nullopt;
    }
    // In a collection, the member with the family and the closest style; a single face whose
    // names FreeType reads differently still counts, since the platform matched the file.
    int best_index = 0;
    int best_score = -1;
    for (FT_Long index = 0; index < first->num_faces; ++index) {
        FT_Face face = OpenFace(*path, static_cast<int>(index));
        if (face == nullptr || !HasFamily(face, font.name)) {
            continue;
        }
        const int score = StyleScore(face, font);
        if (score > best_score) {
            best_score = score;
            best_index = static_cast<int>(index);
        }
    }
    return FaceSource{*path, best_index, FaceOrigin::Registered};
}

FcConfig* FontResolver::Fontconfig() {
    if (!fc_tried_) {
        fc_tried_ = true;
        fc_config_ = FcInitLoadConfigAndFonts();
    }
    return fc_config_;
}

std::optional<FaceSource> FontResolver::LocateWithFontconfig(const FontSpec& font,
                                                             const std::string& family_utf8) {
    FcConfig* config = Fontconfig();
    if (config == nullptr) {
        return std::nullopt;
    }
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return std::nullopt;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family_utf8.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return std::nullopt;
    }
    std::optional<FaceSource> source;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) {
            index = 0;
        }
        source = FaceSource{reinterpret_cast<const char*>(file), index, FaceOrigin::Fontconfig};
    }
    FcPatternDestroy(match);
    if (source && OpenFace(source->path, source->index) == nullptr) {
        return std::nullopt;
    }
    return source;
}

std::optional<FaceSource> FontResolver::LocateFallback(const FontSpec& font) {
    if (options_.use_fontconfig) {
        if (auto source = LocateWithFontconfig(font, options_.fallback_family)) {
            FT_Face face = OpenFace(source->path, source->index);
            if (HasFamily(face, FromUtf8(options_.fallback_family))) {
                source->origin = FaceOrigin::Fallback;
                return source;
            }
        }
    }
    for (const std::string& path : options_.fallback_files) {
        if (OpenFace(path, 0) != nullptr) {
            return FaceSource{path, 0, FaceOrigin::Fallback};
        }
    }
    return std::nullopt;
}

std::optional<FaceSource> FontResolver::Locate(const FontSpec& font) {
    if (!ok()) {
        return std::nullopt;
    }
    if (auto registered = LocateRegistered(font)) {
        return registered;
    }
    if (options_.use_fontconfig) {
        if (auto matched = LocateWithFontconfig(font, ToUtf8(font.name))) {
            return matched;
        }
    }
    return LocateFallback(font);
}

SizedFace* FontResolver::SizeFace(const FaceSource& source, const FontSpec& font) {
    FT_Face face = OpenFace(source.path, source.index);
    if (face == nullptr) {
        return nullptr;
    }
    const int em = EmPixels(face, font.height);
    // A face without the asked style is slanted or emboldened, as GDI simulates it.
    const bool synthetic_bold = font.bold && (face->style_flags & FT_STYLE_FLAG_BOLD) == 0;
    const bool synthetic_italic = font.italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
    const SizeKey key{source.path, source.index, em, synthetic_bold, synthetic_italic};
    auto found = sizes_.find(key);
    if (found != sizes_.end()) {
        return found->second.get();
    }
    FT_Size size = nullptr;
    if (FT_New_Size(face, &size) != 0) {
        return nullptr;
    }
    if (FT_Activate_Size(size) != 0 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
        FT_Done_Size(size);
        return nullptr;
    }
    auto sized = std::make_unique<SizedFace>(face, size, synthetic_bold, synthetic_italic);
    SizedFace* result = sized.get();
    sizes_.emplace(key, std::move(sized));
    return result;
}

SizedFace* FontResolver::ResolveUncached(const FontSpec& font) {
    if (auto source = Locate(font)) {
        if (SizedFace* sized = SizeFace(*source, font)) {
            return sized;
        }
    }
    return ResolveFallback(font);
}

SizedFace* FontResolver::Resolve(const FontSpec& font) {
    const SpecKey key{UpperCase1250(font.name), font.height, font.bold, font.italic};
    auto found = resolved_.find(key);
    if (found != resolved_.end()) {
        return found->second;
    }
    // Failures are kept too: asking fontconfig again on every redraw would not change the answer.
    SizedFace* sized = ok() ? ResolveUncached(font) : nullptr;
    resolved_.emplace(key, sized);
    return sized;
}

SizedFace* FontResolver::ResolveFallback(const FontSpec& font) {
    const SpecKey key{std::string(), font.height, font.bold, font.italic};
    auto found = fallbacks_.find(key);
    if (found != fallbacks_.end()) {
        return found->second;
    }
    SizedFace* sized = nullptr;
    if (ok()) {
        if (auto source = LocateFallback(font)) {
            sized = SizeFace(*source, font);
        }
    }
    fallbacks_.emplace(key, sized);
    return sized;
}

} // namespace kavlo
