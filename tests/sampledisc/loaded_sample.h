#pragma once

#include <span>
#include <string>
#include <string_view>

#include "main_f/form1.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/sample_disc.h"
#include "skingen/resources.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"

namespace kavlo::test {

inline std::string_view FormStream() {
    const std::span<const uint8_t> stream = Resource("TFORM1");
    return {reinterpret_cast<const char*>(stream.data()), stream.size()};
}

// The sample disc written in `language` and opened by the menu's main window, as a user would see it.
struct LoadedSample {
    explicit LoadedSample(int language)
        : written(sample::WriteSampleDisc(dir / "disc", {language}, error)),
          posix(PosixPlatformOptions{
              .pc_root = (dir / "pc").string(), .disc_dir = (dir / "disc").string(), .scan_media = false}),
          fonts(posix.fonts()), form(posix.platform(), app, fonts, FormStream(), {}) {
        form.FormCreate();
        form.FormShow();
    }
    ~LoadedSample() { form.FormDestroy(); }

    TempDir dir;
    std::string error;
    bool written;
    PosixPlatform posix;
    HeadlessBackend backend;
    Application app{backend};
    QueuedMessageBoxes& boxes = backend.QueuedBoxes();
    FontResolver fonts;
    TForm1 form;
};

} // namespace kavlo::test
