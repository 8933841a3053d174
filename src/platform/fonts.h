#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// Font resources registered for the program's life (AddFontResource and friends).
class Fonts {
public:
    virtual ~Fonts() = default;

    // Registers a font file (Windows path); returns the number of faces added (0 = failure).
    virtual int AddFontResource(std::string_view path) = 0;
    virtual bool RemoveFontResource(std::string_view path) = 0;
    virtual void BroadcastFontChange() = 0;
    // Host file of a registered face with this family name (case-insensitive).
    virtual std::optional<std::string> FindFace(std::string_view family) const = 0;
    virtual std::vector<std::string> Families() const = 0;
};

} // namespace kavlo
