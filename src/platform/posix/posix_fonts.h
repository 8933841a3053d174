#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/fonts.h"

namespace kavlo {

// Font files registered for the program's life. The families come from the files themselves, so
// a face is found by the name a form asks for whatever the file is called.
class PosixFonts : public Fonts {
public:
    explicit PosixFonts(FileSystem& fs) : fs_(fs) {}

    int AddFontResource(std::string_view path) override;
    bool RemoveFontResource(std::string_view path) override;
    void BroadcastFontChange() override { ++broadcasts_; }
    std::optional<std::string> FindFace(std::string_view family) const override;
    // Windows-1250 family names of the registered faces, each once, in registration order.
    std::vector<std::string> Families() const override;

    int BroadcastCount() const { return broadcasts_; }

private:
    struct Registration {
        std::string full_path; // Windows path, for removal
        std::string host_path;
        std::vector<std::string> families; // Windows-1250
    };

    FileSystem& fs_;
    std::vector<Registration> registrations_;
    int broadcasts_ = 0;
};

} // namespace kavlo
