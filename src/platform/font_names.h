#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// One face of a TrueType or OpenType file.
struct FontFace {
    // The family names of the "name" table (name ID 1) in UTF-8, each once: the Windows US-English
    // name first (the one GDI matches by default), then the other Windows languages, then the
    // Unicode and Macintosh records.
    std::vector<std::string> families;
};

// The faces of a font file: one for a plain .ttf/.otf, every member of a .ttc collection. A face
// without a readable family name is left out; bytes that are no font give an empty list. The
// file's name and extension play no part (fonts are shipped under other extensions).
std::vector<FontFace> ReadFontFaces(std::string_view bytes);

} // namespace kavlo
