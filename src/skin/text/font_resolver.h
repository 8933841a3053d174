#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/fonts.h"
#include "skin/text/glyph_cache.h"
#include "skin/text/text.h"

namespace kavlo {

enum class FaceOrigin { Registered, Fontconfig, Fallback };

// One face of a font file on the host.
struct FaceSource {
    std::string path;
    int index = 0;
    FaceOrigin origin = FaceOrigin::Fallback;

    bool operator==(const FaceSource&) const = default;
};

struct FontResolverOptions {
    // Ask fontconfig for the families the program did not register itself.
    bool use_fontconfig = true;
    // The face of last resort: a family (UTF-8) fontconfig is asked for first, then fixed files.
    std::string fallback_family = "DejaVu Sans";
    std::vector<std::string> fallback_files = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
};

// Finds the FreeType face for a font as GDI would: the faces the program registered first, then
// the best installed match, then the fallback face. Faces and sizes are opened once and kept.
class FontResolver {
public:
    explicit FontResolver(const Fonts& fonts, FontResolverOptions options = {});
    ~FontResolver();
    FontResolver(const FontResolver&) = delete;
    FontResolver& operator=(const FontResolver&) = delete;

    // False when FreeType could not be started; every font then resolves to nothing.
    bool ok() const { return library_ != nullptr; }

    // Where the face of a font comes from; nullopt when not even the fallback can be opened.
    std::optional<FaceSource> Locate(const FontSpec& font);
    // The face at the font's size; null when no face can be opened.
    SizedFace* Resolve(const FontSpec& font);
    // The fallback face at the font's size and style, for characters the font's own face lacks.
    SizedFace* ResolveFallback(const FontSpec& font);

    // Fonts were registered or removed (the font-change broadcast): names are looked up again.
    void FontsChanged() {
        resolved_.clear();
        fallbacks_.clear();
    }

    // The em height in pixels a font height asks for in this face (Delphi TFont.Height).
    static int EmPixels(FT_Face face, int height);

private:
    // Name (upper-cased), height, bold, italic: what picks a face and its size.
    using SpecKey = std::tuple<std::string, int, bool, bool>;
    using SizeKey = std::tuple<std::string, int, int, bool, bool>;

    std::optional<FaceSource> LocateRegistered(const FontSpec& font);
    std::optional<FaceSource> LocateWithFontconfig(const FontSpec& font, const std::string& family_utf8);
    std::optional<FaceSource> LocateFallback(const FontSpec& font);
    FT_Face OpenFace(const std::string& path, int index);
    SizedFace* SizeFace(const FaceSource& source, const FontSpec& font);
    SizedFace* ResolveUncached(const FontSpec& font);
    FcConfig* Fontconfig();

    const Fonts& fonts_;
    FontResolverOptions options_;
    FT_Library library_ = nullptr;
    FcConfig* fc_config_ = nullptr;
    bool fc_tried_ = false;
    std::map<std::pair<std::string, int>, FT_Face> faces_; // null: the file could not be opened
    std::map<SizeKey, std::unique_ptr<SizedFace>> sizes_;
    std::map<SpecKey, SizedFace*> resolved_;
    std::map<SpecKey, SizedFace*> fallbacks_;
};

} // namespace kavlo
