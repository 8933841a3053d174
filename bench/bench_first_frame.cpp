// From start to the first frame on screen, as far as the skin goes: the program's own form stream read
// into a window in a headless application, the window set to its framed layout (818 x 742), and the
// whole window composed and presented once. Each run starts from nothing but the stream's bytes and
// the fonts, as a starting program does.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_fonts.h"
#include "skin/controls/component_factory.h"
#include "skin/controls/dib_image_list.h"
#include "skin/controls/dib_site.h"
#include "skin/text/font_resolver.h"
#include "skingen/resources.h"
#include "ui/headless/offscreen_window.h"

namespace {

using namespace kavlo;

constexpr int kWindowWidth = 818;
constexpr int kWindowHeight = 742;

std::string_view FormStream() {
    const auto stream = Resource("TFORM1");
    return {reinterpret_cast<const char*>(stream.data()), stream.size()};
}

// What the program brings before it reads its form: the file system and the registered fonts.
struct Machine {
    PosixFileSystem fs{"/nonexistent", {}};
    PosixFonts fonts{fs};
};

// One start, from the fonts on: what it made is kept until the measurement has stopped, so that
// tearing it down is not counted.
struct Start {
    explicit Start(Machine& machine)
        : resolver(machine.fonts), window(kWindowWidth, kWindowHeight), site(window.App(), window.Window()) {}

    // `unpack_all`: every image list unpacked right after loading, as a load without packed items would.
    void Run(bool unpack_all) {
        FormLoadResult loaded =
            LoadSkinForm(FormStream(), ComponentFactory::Standard(), SkinServices{window.App(), resolver},
                         CompressorRegistry::WithStandardCompressors());
        if (!loaded.ok()) {
            std::fprintf(stderr, "the built-in form does not load\n");
            std::exit(1);
        }
        form = std::move(loaded.form);
        for (TComponent* component : form->Components()) {
            if (auto* list = dynamic_cast<TDIBImageList*>(component); list != nullptr && unpack_all) {
                list->UnpackAll();
            }
        }
        form->SetClientSize(kWindowWidth, kWindowHeight);
        form->SetSite(&site);
        window.SetPaintHandler([this](const Rect& rect) {
            form->Paint(rect);
            presented += int64_t{rect.Width()} * rect.Height();
        });
        // The shown window asks for its first paint.
        window.RunFor(0);
    }

    FontResolver resolver;
    OffscreenWindow window;
    WindowSite site;
    std::unique_ptr<SkinForm> form;
    int64_t presented = 0;
};

void LoadFormAndFirstFrame(benchmark::State& state, bool unpack_all) {
    Machine machine;
    int64_t presented = 0;
    for (auto _ : state) {
        auto start = std::make_unique<Start>(machine);
        start->Run(unpack_all);
        presented = start->presented;
        state.PauseTiming();
        start.reset();
        state.ResumeTiming();
    }
    state.counters["presented_px"] = benchmark::Counter(static_cast<double>(presented));
}

void BM_LoadFormAndFirstFrame(benchmark::State& state) {
    LoadFormAndFirstFrame(state, false);
}
BENCHMARK(BM_LoadFormAndFirstFrame)->Unit(benchmark::kMillisecond);

// The same with every image unpacked at load: what keeping the images packed saves.
void BM_LoadFormUnpackAllAndFirstFrame(benchmark::State& state) {
    LoadFormAndFirstFrame(state, true);
}
BENCHMARK(BM_LoadFormUnpackAllAndFirstFrame)->Unit(benchmark::kMillisecond);

// The floor under the load: reading the stream into its tree of values, nothing made from it.
void BM_ReadFormStream(benchmark::State& state) {
    for (auto _ : state) {
        FormReadResult read = ReadFormStream(FormStream());
        benchmark::DoNotOptimize(read.root.children.size());
    }
}
BENCHMARK(BM_ReadFormStream)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
