#include "platform/posix/posix_fonts.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/font_names.h"

namespace kavlo {

int PosixFonts::AddFontResource(std::string_view path) {
    auto bytes = fs_.ReadFile(path);
    auto host = fs_.HostPath(path);
    if (!bytes || !host) {
        return 0;
    }
    const std::vector<FontFace> faces = ReadFontFaces(*bytes);
    if (faces.empty()) {
        return 0;
    }
    Registration registration{fs_.FullPath(path), *host, {}};
    for (const FontFace& face : faces) {
        for (const std::string& family : face.families) {
            registration.families.push_back(FromUtf8(family));
        }
    }
    // Windows counts each registration; the same file added twice needs two removals.
    registrations_.push_back(std::move(registration));
    return static_cast<int>(faces.size());
}

bool PosixFonts::RemoveFontResource(std::string_view path) {
    const std::string full_path = fs_.FullPath(path);
    auto last = std::find_if(registrations_.rbegin(), registrations_.rend(),
                             [&](const Registration& r) { return EqualsNoCase1250(r.full_path, full_path); });
    if (last == registrations_.rend()) {
        return false;
    }
    registrations_.erase(std::next(last).base());
    return true;
}

std::optional<std::string> PosixFonts::FindFace(std::string_view family) const {
    for (const Registration& registration : registrations_) {
        for (const std::string& name : registration.families) {
            if (EqualsNoCase1250(name, family)) {
                return registration.host_path;
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> PosixFonts::Families() const {
    std::vector<std::string> families;
    for (const Registration& registration : registrations_) {
        for (const std::string& name : registration.families) {
            const bool known = std::any_of(families.begin(), families.end(),
                                           [&](const std::string& f) { return EqualsNoCase1250(f, name); });
            if (!known) {
                families.push_back(name);
            }
        }
    }
    return families;
}

} // namespace kavlo
