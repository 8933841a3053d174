// Composing the menu window from its own form: the whole 818 x 742 window with every control shown,
// against a plain copy of as many pixels (the least any composition costs), and one 50 ms fade tick of
// a list row, which recomposes only the row's rectangle, against a plain copy of that rectangle.

#include <benchmark/benchmark.h>

#include <string>

#include "form_window.h"
#include "skin/controls/dib_container.h"
#include "skin/controls/dib_fade_label.h"
#include "skin/controls/dib_image.h"
#include "skin/surface/win_dib.h"

namespace {

using namespace kavlo;
using bench::kWindowHeight;
using bench::kWindowWidth;

// The window as the menu shows it in its framed mode, every label with text; either every control shown
// (the picture viewer's full-window layers among them) or only those the form shows at first.
class Window : public bench::FormWindow {
public:
    explicit Window(bool show_everything) {
        int row = 0;
        for (TComponent* component : Form().Components()) {
            if (auto* control = dynamic_cast<TControl*>(component); control != nullptr && show_everything) {
                control->SetVisible(true);
            }
            if (auto* label = dynamic_cast<TDIBFadeLabel*>(component);
                label != nullptr && label->Caption().empty()) {
                label->SetCaption(label->WordWrap()
                                      ? "A description long enough to wrap over several lines of "
                                        "the detail panel, as the catalogue's texts do."
                                      : "Sample row " + std::to_string(++row));
            }
        }
        // The small picture shows the first gallery image, stretched, as after a page is opened.
        Form().Find<TDIBImage>("DIBImage4")->IndexMain().SetDIBIndex(0);
        Show();
    }
};

Window& TheWindow() {
    static Window window(true);
    return window;
}

Window& DesignedWindow() {
    static Window window(false);
    return window;
}

void FullFrame(benchmark::State& state) {
    SkinForm& form = TheWindow().Form();
    for (auto _ : state) {
        form.Compose(Rect{0, 0, kWindowWidth, kWindowHeight});
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWindowWidth * kWindowHeight);
}
BENCHMARK(FullFrame)->Unit(benchmark::kMicrosecond);

void DesignedFrame(benchmark::State& state) {
    SkinForm& form = DesignedWindow().Form();
    for (auto _ : state) {
        form.Compose(Rect{0, 0, kWindowWidth, kWindowHeight});
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWindowWidth * kWindowHeight);
}
BENCHMARK(DesignedFrame)->Unit(benchmark::kMicrosecond);

void PlainCopyFloor(benchmark::State& state) {
    TMemoryDIB source(kWindowWidth, kWindowHeight);
    source.Fill(0xFF405060);
    TWinDIB target(kWindowWidth, kWindowHeight);
    for (auto _ : state) {
        source.Draw(target, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWindowWidth * kWindowHeight);
}
BENCHMARK(PlainCopyFloor)->Unit(benchmark::kMicrosecond);

// One tick of a list row's fade through the message loop: the timer changes the colour, the row's
// rectangle is invalidated, and the window paints that rectangle and presents it. The rows fade while
// the picture viewer is closed, so the window is the designed one.
void FadeTick(benchmark::State& state) {
    Window& window = DesignedWindow();
    auto* row = window.Form().Find<TDIBFadeLabel>("DemosLabel1");
    window.TakePainted();
    int64_t ticks = 0;
    for (auto _ : state) {
        if (!row->Fading()) {
            row->MouseEnter();
            row->MouseLeave();
        }
        window.Offscreen().RunFor(row->FrameDelay());
        ++ticks;
    }
    state.counters["painted_px_per_tick"] =
        benchmark::Counter(static_cast<double>(window.TakePainted()) / static_cast<double>(ticks));
}
BENCHMARK(FadeTick)->Unit(benchmark::kMicrosecond);

// The floor of a fade tick: a plain copy of the row's rectangle (the pixels one tick repaints) from one
// window-sized surface to another, as PlainCopyFloor copies the whole window.
void FadeTickFloor(benchmark::State& state) {
    SkinForm& form = DesignedWindow().Form();
    const Rect& area = form.Find<TDIBContainer>("DIBContainer1")->BoundsRect();
    const Rect& label = form.Find<TDIBFadeLabel>("DemosLabel1")->BoundsRect();
    const Rect row{area.left + label.left, area.top + label.top, area.left + label.right,
                   area.top + label.bottom};
    TMemoryDIB source(kWindowWidth, kWindowHeight);
    source.Fill(0xFF405060);
    TWinDIB target(kWindowWidth, kWindowHeight);
    for (auto _ : state) {
        source.Draw(target, row.left, row.top, row);
        benchmark::ClobberMemory();
    }
    const int64_t pixels = int64_t{row.Width()} * row.Height();
    state.SetItemsProcessed(state.iterations() * pixels);
    state.counters["copied_px"] = benchmark::Counter(static_cast<double>(pixels));
}
BENCHMARK(FadeTickFloor)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
