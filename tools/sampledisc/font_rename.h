#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavlo::sample {

// The names a renamed font goes by, in plain ASCII so the Macintosh Roman records hold them too.
struct FontNaming {
    std::string family;          // name IDs 1 and 16: what a form's Font.Name asks for
    std::string full_name;       // 4, and the unique identifier (3)
    std::string postscript_name; // 6: no spaces
};

// A single-face TrueType or OpenType file whose "name" table carries new names in its Unicode,
// Windows and Macintosh Roman records; records of these IDs in other encodings are dropped, every
// other record and table is kept byte for byte, and offsets, padding and checksums are made anew.
// nullopt when the bytes are no such font (a collection, no "head", a "name" table not of format 0)
// or a name is not plain ASCII.
std::optional<std::string> RenameFont(std::string_view font, const FontNaming& naming);

} // namespace kavlo::sample
