// A fading label redraws its caption on every 50 ms tick: the cost of one redraw once the glyphs
// are cached, against the first drawing that loads and renders them.

#include <benchmark/benchmark.h>

#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_fonts.h"
#include "skin/text/font_resolver.h"
#include "skin/text/text.h"

namespace {

using namespace kavlo;

const FontSpec kRowFont{.name = "DejaVu Sans", .height = -12};
const Rect kRowBox{76, 71, 76 + 129, 71 + 16};

void CaptionRedraw(benchmark::State& state) {
    PosixFileSystem fs("/nonexistent", {});
    PosixFonts fonts(fs);
    FontResolver resolver(fonts);
    Render(resolver, kRowFont, "Kavlo Racing Demo 2", kRowBox, kDtSingleLine | kDtVCenter);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            Render(resolver, kRowFont, "Kavlo Racing Demo 2", kRowBox, kDtSingleLine | kDtVCenter));
    }
}
BENCHMARK(CaptionRedraw);

void WrappedDescription(benchmark::State& state) {
    PosixFileSystem fs("/nonexistent", {});
    PosixFonts fonts(fs);
    FontResolver resolver(fonts);
    const std::string text =
        "A long description of a demo that wraps over several lines of the detail panel, "
        "with \x8E\x9A\xE8\xF8 letters and more words to fill the box.";
    for (auto _ : state) {
        benchmark::DoNotOptimize(Render(resolver, {.name = "DejaVu Sans", .height = -13}, text,
                                        {229, 276, 229 + 265, 276 + 145}, kDtWordBreak));
    }
}
BENCHMARK(WrappedDescription);

void FirstDrawing(benchmark::State& state) {
    PosixFileSystem fs("/nonexistent", {});
    PosixFonts fonts(fs);
    for (auto _ : state) {
        FontResolver resolver(fonts);
        benchmark::DoNotOptimize(
            Render(resolver, kRowFont, "Kavlo Racing Demo 2", kRowBox, kDtSingleLine | kDtVCenter));
    }
}
BENCHMARK(FirstDrawing);

} // namespace

BENCHMARK_MAIN();
