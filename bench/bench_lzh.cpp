// LZH decoding of a skin-sized image list (131 pictures, five of them 638 x 482) in MB/s, with a plain
// copy of the same bytes as the floor, and the encoding the artwork build pays once.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/lzh.h"
#include "skin/stored_image.h"

namespace {

using namespace kavlo;

// A generated picture in the skin's manner: a brushed gradient, flat panels and a bevelled edge.
PixelBlock Picture(uint16_t width, uint16_t height, uint32_t seed) {
    PixelBlock block{width, height, {}};
    block.pixels.reserve(size_t{width} * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const bool panel = ((x + seed) / 40 + y / 30) % 4 == 0;
            const bool edge = x < 2 || y < 2 || x + 2 >= width || y + 2 >= height;
            const uint32_t grey = edge    ? 0x60
                                  : panel ? 0x2B
                                          : 0x30 + (x * 24) / width + ((x * 7 + y * 3) & 3);
            const uint32_t accent = panel ? 0x3A : grey;
            block.pixels.push_back(0xFF000000u | accent << 16 | (grey + (seed & 7)) << 8 | grey);
        }
    }
    return block;
}

struct ImageList {
    std::vector<std::string> payloads;
    std::vector<std::string> raws;
    size_t raw_bytes = 0;
};

const ImageList& FirstImageList() {
    static const ImageList list = [] {
        struct Size {
            uint16_t width;
            uint16_t height;
        };
        const Size small[] = {{50, 50}, {49, 38}, {12, 12},  {10, 18},  {135, 28}, {44, 72},
                              {18, 11}, {16, 28}, {115, 91}, {100, 58}, {110, 24}};
        ImageList built;
        for (uint32_t index = 0; index < 131; ++index) {
            const bool background = index == 52 || index == 53 || index == 78 || index == 96 || index == 97;
            const Size size = background ? Size{638, 482} : small[index % std::size(small)];
            built.raws.push_back(EncodePixelBlock(Picture(size.width, size.height, index)));
            built.payloads.push_back(LzhEncode(built.raws.back(), SIZE_MAX).bytes);
            built.raw_bytes += built.raws.back().size();
        }
        return built;
    }();
    return list;
}

void BM_LzhDecodeImageList(benchmark::State& state) {
    const ImageList& list = FirstImageList();
    for (auto _ : state) {
        for (const std::string& payload : list.payloads) {
            CodecResult raw = LzhDecode(payload);
            benchmark::DoNotOptimize(raw.bytes.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(list.raw_bytes));
}
BENCHMARK(BM_LzhDecodeImageList)->Unit(benchmark::kMillisecond);

void BM_MemcpyImageList(benchmark::State& state) {
    const ImageList& list = FirstImageList();
    std::vector<char> target(list.raw_bytes);
    for (auto _ : state) {
        char* at = target.data();
        for (const std::string& raw : list.raws) {
            std::memcpy(at, raw.data(), raw.size());
            at += raw.size();
        }
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(list.raw_bytes));
}
BENCHMARK(BM_MemcpyImageList)->Unit(benchmark::kMillisecond);

void BM_LzhEncodeImageList(benchmark::State& state) {
    const ImageList& list = FirstImageList();
    for (auto _ : state) {
        for (const std::string& raw : list.raws) {
            CodecResult packed = LzhEncode(raw);
            benchmark::DoNotOptimize(packed.bytes.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(list.raw_bytes));
}
BENCHMARK(BM_LzhEncodeImageList)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
