// The menu: the program a reader's PC starts from the disc.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "dir/message_dialog.h"
#include "headless_run.h"
#include "main_f/form1.h"
#include "menu_options.h"
#include "platform/posix/posix_platform.h"
#include "skin/text/font_resolver.h"
#include "skingen/resources.h"
#include "state_dump.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"
#include "ui/sdl/sdl_backend.h"

namespace kavlo {

namespace {

constexpr uint64_t kUnscriptedRunMs = 1000;

PosixPlatformOptions PlatformOptions(const MenuOptions& options) {
    PosixPlatformOptions platform;
    if (!options.pc.empty()) {
        platform.pc_root = options.pc;
    }
    if (!options.disc.empty()) {
        platform.disc_dir = options.disc;
    }
    platform.fixed_time = options.now;
    return platform;
}

std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Where the program's output files go once it has ended.
bool WriteOutputs(TForm1& form, const MenuOptions& options, int exit_code) {
    bool ok = true;
    if (!options.dump_state.empty() && !WriteStateDump(form, options.dump_state, exit_code)) {
        std::fprintf(stderr, "kavlo: cannot write %s\n", options.dump_state.c_str());
        ok = false;
    }
    if (!options.screenshot.empty() && !WriteScreenshot(form, options.screenshot)) {
        std::fprintf(stderr, "kavlo: cannot write %s\n", options.screenshot.c_str());
        ok = false;
    }
    return ok;
}

// Runs the menu in whatever backend it was given, from creation to closing.
// `window` is the SDL backend when the menu runs in a window: its boxes are then the menu's own
// dialogs, which keep the window painting and its timers running while they wait.
int RunMenu(const MenuOptions& options, PosixPlatform& posix, Backend& backend, HeadlessBackend* headless,
            SdlBackend* window) {
    Application app(backend);
    app.SetExceptionHandler([](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kavlo: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "kavlo: an unknown error\n");
        }
    });
    posix.system().SetScreenProvider(
        [&backend, &options] { return options.screen.value_or(backend.DisplaySize()); });
    FontResolver fonts(posix.fonts());
    std::optional<DialogMessageBoxes> window_boxes;
    if (window != nullptr) {
        window->SetBoxes(&window_boxes.emplace(SkinServices{app, fonts}));
    }
    const std::span<const uint8_t> stream = Resource("TFORM1");
    TForm1 form(posix.platform(), app, fonts,
                std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size()), options.args);
    if (options.seed) {
        form.random.seed(*options.seed);
    }

    std::unique_ptr<HeadlessRun> run;
    if (headless != nullptr) {
        std::string script = "wait " + std::to_string(kUnscriptedRunMs) + "\n";
        if (!options.script.empty()) {
            const std::optional<std::string> text = ReadText(options.script);
            if (!text) {
                std::fprintf(stderr, "kavlo: cannot read %s\n", options.script.c_str());
                return 2;
            }
            script = *text;
        }
        run = std::make_unique<HeadlessRun>(*headless, form, fonts);
        if (!run->Load(script)) {
            std::fprintf(stderr, "kavlo: %s\n", run->Error().c_str());
            return 2;
        }
    }

    form.FormCreate();
    form.Show();
    const int exit_code = app.Run();
    form.FormDestroy();
    const bool written = WriteOutputs(form, options, exit_code);
    if (run != nullptr && !run->Error().empty()) {
        std::fprintf(stderr, "kavlo: %s\n", run->Error().c_str());
        return 2;
    }
    return written ? exit_code : 2;
}

int Main(int argc, char** argv) {
    ParsedOptions parsed = ParseMenuOptions(argc, argv);
    if (!parsed.options) {
        return parsed.exit_code;
    }
    const MenuOptions& options = *parsed.options;
    PosixPlatform posix(PlatformOptions(options));
    if (!posix.ok()) {
        std::fprintf(stderr, "kavlo: %s\n", posix.error().c_str());
        // Without its drive the menu would search the PC for a disc it was told where to find.
        if (!options.disc.empty() && !posix.disc_letter()) {
            return 2;
        }
    }
    if (options.headless) {
        HeadlessBackend backend(options.screen.value_or(ScreenSize{1024, 768}));
        return RunMenu(options, posix, backend, &backend, nullptr);
    }
    SdlBackendStart sdl = SdlBackend::Start();
    if (sdl.backend == nullptr) {
        std::fprintf(stderr, "kavlo: no display to open the menu on (%s); --headless runs it without one\n",
                     sdl.error.c_str());
        return 2;
    }
    return RunMenu(options, posix, *sdl.backend, nullptr, sdl.backend.get());
}

} // namespace

} // namespace kavlo

int main(int argc, char** argv) {
    try {
        return kavlo::Main(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavlo: %s\n", e.what());
        return 1;
    }
}
