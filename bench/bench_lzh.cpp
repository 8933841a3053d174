// LZH decoding of the menu's own first image list (DIBImageList1 of the built-in form: 131 pictures,
// five of them 638 x 482) in bytes of decoded pixel data per second, with a plain copy of the same
// bytes as the floor, and the encoding the artwork build pays once.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "skin/formats/form_stream.h"
#include "skin/formats/lzh.h"
#include "skin/formats/stored_image.h"
#include "skingen/resources.h"

namespace {

using namespace kavlo;

[[noreturn]] void Die(const std::string& why) {
    std::fprintf(stderr, "bench_lzh: %s\n", why.c_str());
    std::exit(1);
}

struct StoredList {
    std::vector<std::string> data;     // every image's DIB.Data as the form stores it
    std::vector<std::string> payloads; // the LZH payloads among them
    std::vector<std::string> raws;     // what those payloads unpack to
    size_t packed_raw_bytes = 0;       // unpacked bytes of the LZH-packed images
};

// The LZH payload of a "DIBCMP" container; empty for a block stored raw or packed otherwise.
std::string_view LzhPayload(std::string_view data) {
    if (data.size() < stored_data::kHeaderSize ||
        data.substr(0, stored_data::kSignature.size()) != stored_data::kSignature) {
        return {};
    }
    const Guid id = Guid::FromBytes(data.substr(stored_data::kSignature.size(), Guid::kByteSize));
    return id == LzhCompressor::kId ? data.substr(stored_data::kHeaderSize) : std::string_view{};
}

// DIB.Data of each item of DIBImageList1 in the program's own form stream, as the list reads them.
std::vector<std::string> FirstListData() {
    const auto stream = Resource("TFORM1");
    const FormReadResult form =
        ReadFormStream(std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size()));
    if (!form.ok()) {
        Die("the built-in form does not read: " + form.error);
    }
    const FormObject* list = FindFormObject(form.root, "DIBImageList1");
    const FormValue* images = list != nullptr ? FindFormProperty(list->properties, "DIBImages") : nullptr;
    const auto* collection = images != nullptr ? std::get_if<FormCollection>(&images->data) : nullptr;
    if (collection == nullptr) {
        Die("the built-in form has no DIBImageList1 images");
    }
    std::vector<std::string> data;
    for (const FormCollectionItem& item : collection->items) {
        const FormValue* value = FindFormProperty(item.properties, "DIB.Data");
        const auto* binary = value != nullptr ? std::get_if<FormBinary>(&value->data) : nullptr;
        data.push_back(binary != nullptr ? binary->bytes : std::string());
    }
    return data;
}

const CompressorRegistry& Compressors() {
    static const CompressorRegistry registry = CompressorRegistry::WithStandardCompressors();
    return registry;
}

const StoredList& FirstImageList() {
    static const StoredList list = [] {
        StoredList built;
        built.data = FirstListData();
        for (const std::string& data : built.data) {
            const CodecResult raw = UnpackStoredData(data, Compressors());
            if (!raw.ok()) {
                Die("an image of DIBImageList1 does not unpack: " + raw.error);
            }
            if (const std::string_view payload = LzhPayload(data); !payload.empty()) {
                built.payloads.emplace_back(payload);
                built.packed_raw_bytes += raw.bytes.size();
                built.raws.push_back(raw.bytes);
            }
        }
        if (built.payloads.empty()) {
            Die("DIBImageList1 holds no LZH-packed image");
        }
        return built;
    }();
    return list;
}

void ReportList(benchmark::State& state, size_t bytes_per_iteration) {
    const StoredList& list = FirstImageList();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes_per_iteration));
    state.counters["images"] = static_cast<double>(list.data.size());
    state.counters["lzh_images"] = static_cast<double>(list.payloads.size());
}

void BM_LzhDecodeImageList(benchmark::State& state) {
    const StoredList& list = FirstImageList();
    for (auto _ : state) {
        for (const std::string& payload : list.payloads) {
            CodecResult raw = LzhDecode(payload);
            benchmark::DoNotOptimize(raw.bytes.data());
        }
    }
    ReportList(state, list.packed_raw_bytes);
}
BENCHMARK(BM_LzhDecodeImageList)->Unit(benchmark::kMillisecond);

void BM_MemcpyImageList(benchmark::State& state) {
    const StoredList& list = FirstImageList();
    std::vector<char> target(list.packed_raw_bytes);
    for (auto _ : state) {
        char* at = target.data();
        for (const std::string& raw : list.raws) {
            std::memcpy(at, raw.data(), raw.size());
            at += raw.size();
        }
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    ReportList(state, list.packed_raw_bytes);
}
BENCHMARK(BM_MemcpyImageList)->Unit(benchmark::kMillisecond);

void BM_LzhEncodeImageList(benchmark::State& state) {
    const StoredList& list = FirstImageList();
    for (auto _ : state) {
        for (const std::string& raw : list.raws) {
            CodecResult packed = LzhEncode(raw);
            benchmark::DoNotOptimize(packed.bytes.data());
        }
    }
    ReportList(state, list.packed_raw_bytes);
}
BENCHMARK(BM_LzhEncodeImageList)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
