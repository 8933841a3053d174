// One frame of the border's largest clip (AVI8, 314 x 173, in Animate10): decoding it alone, and the
// whole tick the menu runs for it (the timer decodes the next frame, the clip's rectangle is
// invalidated, the window recomposes and presents that rectangle), against a plain copy of the clip's
// rectangle between two window-sized surfaces, the least a frame could cost.

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

#include "form_window.h"
#include "skin/controls/animate.h"
#include "skin/formats/avi.h"
#include "skin/surface/win_dib.h"

namespace {

using namespace kavlo;
using bench::Fail;
using bench::kWindowHeight;
using bench::kWindowWidth;

const AviClip& Clip() {
    static const AviClip clip = [] {
        const auto bytes = Resource("AVI8");
        AviResult read = ReadAvi({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        if (!read) {
            Fail("AVI8 does not read: " + read.error);
        }
        return std::move(*read.clip);
    }();
    return clip;
}

// The framed window from the program's own form with Animate10 playing AVI8 endlessly, opaque as the
// menu makes it.
class Window : public bench::FormWindow {
public:
    Window() {
        animate_ = Form().Find<TAnimate>("Animate10");
        animate_->SetClipSource(Resource);
        animate_->SetTransparent(false);
        animate_->SetVisible(true);
        animate_->SetRepetitions(0);
        if (!animate_->SetClipName("AVI8").empty() || !animate_->SetActive(true).empty()) {
            Fail("Animate10 does not play AVI8: " + animate_->OpenError());
        }
        Show();
    }

    const TAnimate& Animate() const { return *animate_; }

private:
    TAnimate* animate_ = nullptr;
};

// Decoding the next frame into palette indices and pixels; every 15th step starts the clip again.
void ClipFrameDecode(benchmark::State& state) {
    const AviClip& clip = Clip();
    AviFrameDecoder decoder(clip);
    std::vector<uint32_t> pixels;
    for (auto _ : state) {
        if (decoder.NextFrame() == clip.frame_count) {
            decoder.Rewind();
        }
        if (!decoder.DecodeNext().empty()) {
            Fail("AVI8 does not decode");
        }
        decoder.ToPixels(pixels);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * clip.width * clip.height);
}
BENCHMARK(ClipFrameDecode)->Unit(benchmark::kMicrosecond);

// One frame time of the playing clip through the message loop, as the menu runs it.
void ClipFrameTick(benchmark::State& state) {
    static Window window;
    window.TakePainted();
    int64_t ticks = 0;
    for (auto _ : state) {
        window.Offscreen().RunFor(67);
        ++ticks;
    }
    if (!window.Animate().Active()) {
        Fail("the clip stopped");
    }
    state.counters["painted_px_per_tick"] =
        benchmark::Counter(static_cast<double>(window.TakePainted()) / static_cast<double>(ticks));
}
BENCHMARK(ClipFrameTick)->Unit(benchmark::kMicrosecond);

// The floor: a plain copy of the clip's rectangle from one window-sized surface to another.
void ClipRectFloor(benchmark::State& state) {
    const Rect rect{0, 0, Clip().width, Clip().height};
    TMemoryDIB source(kWindowWidth, kWindowHeight);
    source.Fill(0xFF405060);
    TWinDIB target(kWindowWidth, kWindowHeight);
    for (auto _ : state) {
        source.Draw(target, rect.left, rect.top, rect);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * rect.Width() * rect.Height());
}
BENCHMARK(ClipRectFloor)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
