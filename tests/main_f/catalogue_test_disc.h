#pragma once

// A temporary PC root and disc with a real catalogue on it, loaded the way the main window does.

#include <memory>
#include <string>
#include <vector>

#include "main_f/catalogue.h"
#include "platform/posix/posix_platform.h"
#include "platform/profile.h"
#include "support/temp_dir.h"
#include "ui/message_box.h"

namespace kavlo::test {

class CatalogueDisc {
public:
    CatalogueDisc()
        : platform_(PosixPlatformOptions{
              .pc_root = (dir_ / "pc").string(), .disc_dir = (dir_ / "disc").string(), .scan_media = false}) {
        state.DiscDrive = platform().system.ProgramPath().substr(0, 2);
        state.DiscDir = state.DiscDrive + "\\KAVLO\\";
        state.WindowsDir = "C:\\WINDOWS\\";
        WriteHostFile(dir_ / "disc" / "KAVLO" / "placeholder.txt", "");
    }

    Platform& platform() { return platform_.platform(); }
    std::filesystem::path HostPath(const std::string& rel) const { return dir_ / rel; }

    void WriteCatalogue(const std::string& text) {
        WriteHostFile(dir_ / "disc" / "KAVLO" / "kavloxp.ini", text);
    }
    void WriteCatalogue2(const std::string& text) {
        WriteHostFile(dir_ / "disc" / "KAVLO" / "kavloxp2.ini", text);
    }

    // Each load gets a fresh reader cache, so a catalogue rewritten within the same instant is
    // still seen as new; the tables persist between loads as they do in the window.
    CatalogueLoadResult Load() {
        caches_.push_back(std::make_unique<ProfileCache>());
        settings_ = std::make_unique<IniFile>(platform().fs, *caches_.back(), "C:\\WINDOWS\\kavlo.ini",
                                              "C:\\WINDOWS");
        CatalogueContext context{platform(),      *caches_.back(),
                                 boxes,           state,
                                 settings_.get(), [this](TDemos& item) { checked.push_back(item); }};
        return ReadCatalogue(*catalogue, context);
    }

    IniFile& settings() { return *settings_; }

    MenuState state;
    QueuedMessageBoxes boxes;
    std::unique_ptr<Catalogue> catalogue = std::make_unique<Catalogue>();
    std::vector<TDemos> checked; // the items as the install-state check saw them

private:
    TempDir dir_;
    PosixPlatform platform_;
    std::vector<std::unique_ptr<ProfileCache>> caches_;
    std::unique_ptr<IniFile> settings_;
};

} // namespace kavlo::test
