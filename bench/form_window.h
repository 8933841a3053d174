#pragma once

// The program's own window form loaded into a headless 818 x 742 window, painting through the message
// loop as the menu does and counting the pixels it paints.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_fonts.h"
#include "skin/controls/component_factory.h"
#include "skin/controls/dib_site.h"
#include "skin/text/font_resolver.h"
#include "skingen/resources.h"
#include "ui/headless/offscreen_window.h"

namespace kavlo::bench {

constexpr int kWindowWidth = 818;
constexpr int kWindowHeight = 742;

[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

class FormWindow {
public:
    FormWindow()
        : fs_("/nonexistent", {}), fonts_(fs_), resolver_(fonts_), window_(kWindowWidth, kWindowHeight),
          site_(window_.App(), window_.Window()) {
        const auto stream = Resource("TFORM1");
        FormLoadResult loaded =
            LoadSkinForm(std::string(reinterpret_cast<const char*>(stream.data()), stream.size()),
                         ComponentFactory::Standard(), SkinServices{window_.App(), resolver_},
                         CompressorRegistry::WithStandardCompressors());
        if (loaded.form == nullptr) {
            Fail("the built-in form does not load");
        }
        form_ = std::move(loaded.form);
        form_->SetClientSize(kWindowWidth, kWindowHeight);
    }
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Puts the form on the window once its controls are set up; the first frame is painted at once.
    void Show() {
        form_->SetSite(&site_);
        window_.SetPaintHandler([this](const Rect& rect) {
            painted_pixels_ += rect.Width() * rect.Height();
            form_->Paint(rect);
        });
        window_.RunFor(0);
    }

    SkinForm& Form() { return *form_; }
    OffscreenWindow& Offscreen() { return window_; }
    int64_t TakePainted() { return std::exchange(painted_pixels_, 0); }

private:
    PosixFileSystem fs_;
    PosixFonts fonts_;
    FontResolver resolver_;
    OffscreenWindow window_;
    WindowSite site_;
    std::unique_ptr<SkinForm> form_;
    int64_t painted_pixels_ = 0;
};

} // namespace kavlo::bench
