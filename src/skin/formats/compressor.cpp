#include "skin/formats/compressor.h"

#include <algorithm>
#include <cstdio>

#include "platform/hex_text.h"
#include "skin/formats/lzh.h"
#include "skin/formats/shuffle4_rle.h"

namespace kavlo {

namespace {

uint32_t ReadLe(std::string_view bytes, size_t offset, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
    }
    return value;
}

void AppendLe(std::string& out, uint32_t value, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

} // namespace

std::optional<Guid> Guid::Parse(std::string_view text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-') {
        return std::nullopt;
    }
    const auto d1 = ParseHexNumber(text.substr(1, 8), 8);
    const auto d2 = ParseHexNumber(text.substr(10, 4), 4);
    const auto d3 = ParseHexNumber(text.substr(15, 4), 4);
    if (!d1 || !d2 || !d3) {
        return std::nullopt;
    }
    Guid guid;
    guid.data1 = *d1;
    guid.data2 = static_cast<uint16_t>(*d2);
    guid.data3 = static_cast<uint16_t>(*d3);
    const size_t byte_offsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (size_t i = 0; i < 8; ++i) {
        const auto byte = ParseHexNumber(text.substr(byte_offsets[i], 2), 2);
        if (!byte) {
            return std::nullopt;
        }
        guid.data4[i] = static_cast<uint8_t>(*byte);
    }
    return guid;
}

Guid Guid::FromBytes(std::string_view bytes) {
    Guid guid;
    guid.data1 = ReadLe(bytes, 0, 4);
    guid.data2 = static_cast<uint16_t>(ReadLe(bytes, 4, 2));
    guid.data3 = static_cast<uint16_t>(ReadLe(bytes, 6, 2));
    for (size_t i = 0; i < 8; ++i) {
        guid.data4[i] = static_cast<uint8_t>(bytes[8 + i]);
    }
    return guid;
}

std::string Guid::ToString() const {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(data1), static_cast<unsigned>(data2), static_cast<unsigned>(data3),
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return text;
}

void Guid::AppendBytes(std::string& out) const {
    AppendLe(out, data1, 4);
    AppendLe(out, data2, 2);
    AppendLe(out, data3, 2);
    for (uint8_t byte : data4) {
        out += static_cast<char>(byte);
    }
}

bool CompressorRegistry::Register(std::unique_ptr<Compressor> compressor) {
    if (!compressor || Find(compressor->Id()) != nullptr) {
        return false;
    }
    compressors_.push_back(std::move(compressor));
    return true;
}

const Compressor* CompressorRegistry::Find(const Guid& id) const {
    return Share(id).get();
}

std::shared_ptr<const Compressor> CompressorRegistry::Share(const Guid& id) const {
    const auto it = std::find_if(compressors_.begin(), compressors_.end(),
                                 [&](const auto& compressor) { return compressor->Id() == id; });
    return it == compressors_.end() ? nullptr : *it;
}

const Compressor* CompressorRegistry::FindByName(std::string_view name) const {
    const auto it = std::find_if(compressors_.begin(), compressors_.end(),
                                 [&](const auto& compressor) { return compressor->Name() == name; });
    return it == compressors_.end() ? nullptr : it->get();
}

std::vector<const Compressor*> CompressorRegistry::All() const {
    std::vector<const Compressor*> all;
    for (const auto& compressor : compressors_) {
        all.push_back(compressor.get());
    }
    return all;
}

CompressorRegistry CompressorRegistry::WithStandardCompressors() {
    CompressorRegistry registry;
    registry.Register(std::make_unique<LzhCompressor>());
    registry.Register(std::make_unique<Shuffle4RleCompressor>());
    return registry;
}

} // namespace kavlo
