#include <iostream>
#include <map>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/reg_file_registry.h"
#include "skin/formats/compressor.h"
#include "skin/formats/stored_image.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

using Json = nlohmann::ordered_json;

// `kavlo-tool dib-decode IN OUT` and `kavlo-tool dib-encode [--compressor lzh|rle|raw] IN OUT`:
// a stored DIB.Data value to the raw pixel block and back.
struct DibOptions {
    std::string in;  // host path, UTF-8
    std::string out; // host path, UTF-8
    std::string compressor = "lzh";
};

[[noreturn]] void Fail(const std::string& command, const std::string& message, int code = 1) {
    std::cerr << command << ": " << message << '\n';
    throw CLI::RuntimeError(code);
}

std::string ReadInput(const std::string& command, const std::string& path) {
    const auto bytes = ReadHostBytes(path);
    if (!bytes) {
        Fail(command, "cannot read " + path);
    }
    return *bytes;
}

void WriteOutput(const std::string& command, const std::string& path, const std::string& bytes) {
    if (!ReplaceHostFile(path, bytes)) {
        Fail(command, "cannot write " + path);
    }
}

// The name of the compressor whose container holds `stored`, or null for a raw block.
Json StoredCompressor(std::string_view stored, const CompressorRegistry& registry) {
    if (stored.size() < stored_data::kHeaderSize || stored.substr(0, 6) != stored_data::kSignature) {
        return nullptr;
    }
    const Compressor* compressor = registry.Find(Guid::FromBytes(stored.substr(6, Guid::kByteSize)));
    return compressor != nullptr ? Json(std::string(compressor->Name())) : Json(nullptr);
}

void PrintSummary(const PixelBlock& block, const Json& compressor, size_t stored, size_t raw) {
    Json summary;
    summary["width"] = block.width;
    summary["height"] = block.height;
    summary["compressor"] = compressor;
    summary["stored_bytes"] = stored;
    summary["raw_bytes"] = raw;
    std::cout << summary.dump(2) << '\n';
}

void RunDecode(const DibOptions& options) {
    const CompressorRegistry registry = CompressorRegistry::WithStandardCompressors();
    const std::string stored = ReadInput("dib-decode", options.in);
    const PixelBlockResult block = DecodeStoredData(stored, registry);
    if (!block.ok()) {
        Fail("dib-decode", block.error);
    }
    const std::string raw = EncodePixelBlock(block.block);
    WriteOutput("dib-decode", options.out, raw);
    PrintSummary(block.block, StoredCompressor(stored, registry), stored.size(), raw.size());
}

void RunEncode(const DibOptions& options) {
    const CompressorRegistry registry = CompressorRegistry::WithStandardCompressors();
    static const std::map<std::string, std::string> kNames = {{"lzh", "DIB LZH"}, {"rle", "Shuffle4 RLE"}};
    const Compressor* compressor = nullptr;
    if (options.compressor != "raw") {
        const auto name = kNames.find(options.compressor);
        compressor = name != kNames.end() ? registry.FindByName(name->second) : nullptr;
        if (compressor == nullptr) {
            Fail("dib-encode", "unknown compressor " + options.compressor + " (lzh, rle, raw)", 2);
        }
    }
    const PixelBlockResult block = DecodePixelBlock(ReadInput("dib-encode", options.in));
    if (!block.ok()) {
        Fail("dib-encode", options.in + ": " + block.error);
    }
    const std::string raw = EncodePixelBlock(block.block);
    const PackedData packed = PackStoredData(raw, compressor);
    if (!packed.note.empty()) {
        std::cerr << "dib-encode: " << packed.note << " Stored raw.\n";
    }
    WriteOutput("dib-encode", options.out, packed.bytes);
    PrintSummary(block.block, StoredCompressor(packed.bytes, registry), packed.bytes.size(), raw.size());
}

} // namespace

void AddDibCommands(CLI::App& app) {
    auto decode_options = std::make_shared<DibOptions>();
    CLI::App* decode =
        app.add_subcommand("dib-decode", "A stored DIB.Data value (raw or packed) to the raw pixel block");
    decode->add_option("in", decode_options->in, "The stored data (host path)")->required();
    decode->add_option("out", decode_options->out, "The raw pixel block to write (host path)")->required();
    decode->callback([decode_options] { RunDecode(*decode_options); });

    auto encode_options = std::make_shared<DibOptions>();
    CLI::App* encode = app.add_subcommand("dib-encode", "A raw pixel block to a stored DIB.Data value");
    encode->add_option("--compressor", encode_options->compressor, "lzh (default), rle or raw");
    encode->add_option("in", encode_options->in, "The raw pixel block (host path)")->required();
    encode->add_option("out", encode_options->out, "The stored data to write (host path)")->required();
    encode->callback([encode_options] { RunEncode(*encode_options); });
}

} // namespace kavlo::tool
