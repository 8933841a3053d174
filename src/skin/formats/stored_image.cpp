#include "skin/formats/stored_image.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/codepage.h"
#include "skin/formats/picture.h"

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

std::string Name(std::string_view prefix, const char* field) {
    return std::string(prefix) + field;
}

// An integer property that must fit [low, high]; missing keeps `value`.
bool ReadRanged(const FormProperties& properties, const std::string& name, int64_t low, int64_t high,
                int64_t& value, std::string& error) {
    const int64_t read = FormInt(properties, name, value);
    if (read < low || read > high) {
        error = name + " = " + std::to_string(read) + " is out of range";
        return false;
    }
    value = read;
    return true;
}

struct RecordNumbers {
    int64_t angle = 0;
    int64_t opacity = 255;
    int64_t width = 0;
    int64_t height = 0;
};

bool ReadNumbers(const FormProperties& properties, std::string_view prefix, RecordNumbers& numbers,
                 std::string& error) {
    return ReadRanged(properties, Name(prefix, "Angle"), INT16_MIN, INT16_MAX, numbers.angle, error) &&
           ReadRanged(properties, Name(prefix, "Opacity"), 0, 255, numbers.opacity, error) &&
           ReadRanged(properties, Name(prefix, "Width"), 0, UINT16_MAX, numbers.width, error) &&
           ReadRanged(properties, Name(prefix, "Height"), 0, UINT16_MAX, numbers.height, error);
}

} // namespace

std::string EncodePixelBlock(const PixelBlock& block) {
    const size_t count = size_t{block.width} * block.height;
    std::string raw;
    raw.reserve(4 + count * 4);
    AppendLe(raw, block.width, 2);
    AppendLe(raw, block.height, 2);
    for (size_t i = 0; i < count; ++i) {
        AppendLe(raw, i < block.pixels.size() ? block.pixels[i] : 0, 4);
    }
    return raw;
}

PixelBlockResult DecodePixelBlock(std::string_view raw) {
    PixelBlockResult result;
    if (raw.size() < 4) {
        result.error = "the pixel block ends inside its header";
        return result;
    }
    PixelBlock& block = result.block;
    block.width = static_cast<uint16_t>(ReadLe(raw, 0, 2));
    block.height = static_cast<uint16_t>(ReadLe(raw, 2, 2));
    const size_t count = size_t{block.width} * block.height;
    if ((raw.size() - 4) / 4 < count) {
        result.error = "the pixel block is shorter than " + std::to_string(block.width) + " x " +
                       std::to_string(block.height) + " pixels";
        result.block = {};
        return result;
    }
    block.pixels.resize(count);
    // The stored bytes are the little-endian words themselves.
    static_assert(std::endian::native == std::endian::little);
    if (count != 0) {
        std::memcpy(block.pixels.data(), raw.data() + 4, count * 4);
    }
    return result;
}

namespace {

bool IsContainer(std::string_view data) {
    return data.size() >= stored_data::kHeaderSize &&
           data.substr(0, stored_data::kSignature.size()) == stored_data::kSignature;
}

// A container's compressor and the size it declares, checked before anything is unpacked.
struct ContainerHeader {
    std::shared_ptr<const Compressor> compressor;
    uint32_t raw_size = 0;
    std::string error;
};

ContainerHeader ReadContainerHeader(std::string_view data, const CompressorRegistry& compressors) {
    ContainerHeader header;
    header.compressor = compressors.Share(Guid::FromBytes(data.substr(6, Guid::kByteSize)));
    if (header.compressor == nullptr) {
        header.error = stored_data::kNoDecompressor;
        return header;
    }
    header.raw_size = ReadLe(data, 22, 4);
    if (header.raw_size > kMaxUnpackedSize) {
        header.error = "the stored image unpacks to " + std::to_string(header.raw_size) +
                       " bytes, more than an image may have";
    }
    return header;
}

CodecResult UnpackContainer(std::string_view data, const Compressor& compressor) {
    const uint32_t raw_size = ReadLe(data, 22, 4);
    CodecResult raw = compressor.Decompress(data.substr(stored_data::kHeaderSize), raw_size);
    if (raw.ok() && raw.bytes.size() != raw_size) {
        return CodecResult::Failure("the stored image unpacks to a size other than its container says");
    }
    return raw;
}

} // namespace

CodecResult UnpackStoredData(std::string_view data, const CompressorRegistry& compressors) {
    if (!IsContainer(data)) {
        return {std::string(data), {}};
    }
    const ContainerHeader header = ReadContainerHeader(data, compressors);
    if (!header.error.empty()) {
        return CodecResult::Failure(header.error);
    }
    return UnpackContainer(data, *header.compressor);
}

PackedData PackStoredData(std::string_view raw_block, const Compressor* compressor) {
    PackedData packed;
    if (compressor == nullptr) {
        packed.bytes = raw_block;
        return packed;
    }
    CodecResult payload = compressor->Compress(raw_block);
    if (!payload.ok()) {
        packed.bytes = raw_block;
        packed.note = payload.error;
        return packed;
    }
    if (stored_data::kHeaderSize + payload.bytes.size() > raw_block.size()) {
        packed.bytes = raw_block;
        packed.note = kCompressedLarger;
        return packed;
    }
    packed.bytes.reserve(stored_data::kHeaderSize + payload.bytes.size());
    packed.bytes = stored_data::kSignature;
    compressor->Id().AppendBytes(packed.bytes);
    AppendLe(packed.bytes, static_cast<uint32_t>(raw_block.size()), 4);
    packed.bytes += payload.bytes;
    return packed;
}

PixelBlockResult DecodeStoredData(std::string_view data, const CompressorRegistry& compressors) {
    CodecResult raw = UnpackStoredData(data, compressors);
    if (!raw.ok()) {
        PixelBlockResult failed;
        failed.error = raw.error;
        return failed;
    }
    return DecodePixelBlock(raw.bytes);
}

namespace {

// What the data's header tells of the pixels: the container's compressor and raw size, or the raw
// block's size fields. `declared` is the record's own Width x Height, when it gives both.
std::string ReadDataHeader(std::string_view data, const CompressorRegistry& compressors,
                           std::optional<std::pair<int64_t, int64_t>> declared, StoredRecord& record) {
    PixelBlock& size = record.image.image;
    if (IsContainer(data)) {
        ContainerHeader header = ReadContainerHeader(data, compressors);
        if (!header.error.empty()) {
            return header.error;
        }
        record.compressor = std::move(header.compressor);
        record.pixel_count = header.raw_size < 4 ? 0 : (header.raw_size - 4) / 4;
        // The record's own size is the block's when they agree on the bytes; unpacking checks it.
        record.size_known = declared && 4 + declared->first * declared->second * 4 == header.raw_size;
        return {};
    }
    if (data.size() < 4) {
        return "the pixel block ends inside its header";
    }
    size.width = static_cast<uint16_t>(ReadLe(data, 0, 2));
    size.height = static_cast<uint16_t>(ReadLe(data, 2, 2));
    record.pixel_count = int64_t{size.width} * size.height;
    record.size_known = true;
    if (static_cast<int64_t>((data.size() - 4) / 4) < record.pixel_count) {
        return "the pixel block is shorter than " + std::to_string(size.width) + " x " +
               std::to_string(size.height) + " pixels";
    }
    return {};
}

} // namespace

StoredRecordResult ReadStoredRecord(const FormProperties& properties, const CompressorRegistry& compressors,
                                    std::string_view prefix) {
    StoredRecordResult result;
    StoredRecord& record = result.record;
    StoredImage& image = record.image;
    RecordNumbers numbers;
    if (!ReadNumbers(properties, prefix, numbers, result.error)) {
        return result;
    }
    image.angle = static_cast<int16_t>(numbers.angle);
    image.opacity = static_cast<uint8_t>(numbers.opacity);
    image.auto_size = FormBool(properties, Name(prefix, "AutoSize"), false);
    image.masked = FormBool(properties, Name(prefix, "Masked"), false);
    image.transparent = FormBool(properties, Name(prefix, "Transparent"), false);
    image.transparent_color = FormColor(properties, Name(prefix, "TransparentColor")).value_or(0);
    image.transparent_fixed =
        EqualsNoCase1250(FormIdentName(properties, Name(prefix, "TransparentMode"), "tmAuto"), "tmFixed");
    image.scale = FormReal(properties, Name(prefix, "Scale"), 100);
    if (!std::isfinite(image.scale)) {
        result.error = Name(prefix, "Scale") + " is not a number";
        return result;
    }
    image.image.width = static_cast<uint16_t>(numbers.width);
    image.image.height = static_cast<uint16_t>(numbers.height);
    const FormValue* data = FindFormProperty(properties, Name(prefix, "Data"));
    if (data == nullptr) {
        // Without data the surface keeps the size the record gives it, every pixel 0: a size no
        // picture may have is a corrupt record, not a reason to allocate gigabytes.
        if (numbers.width > kMaxPictureSide || numbers.height > kMaxPictureSide ||
            numbers.width * numbers.height > kMaxPicturePixels) {
            result.error = Name(prefix, "Width") + " x " + Name(prefix, "Height") + " is too large without " +
                           Name(prefix, "Data");
            return result;
        }
        record.pixel_count = numbers.width * numbers.height;
        record.size_known = true;
        return result;
    }
    const FormBinary* binary = std::get_if<FormBinary>(&data->data);
    if (binary == nullptr) {
        result.error = Name(prefix, "Data") + " is not binary data";
        return result;
    }
    std::optional<std::pair<int64_t, int64_t>> declared;
    if (FindFormProperty(properties, Name(prefix, "Width")) != nullptr &&
        FindFormProperty(properties, Name(prefix, "Height")) != nullptr) {
        declared.emplace(numbers.width, numbers.height);
    }
    if (std::string error = ReadDataHeader(binary->bytes, compressors, declared, record); !error.empty()) {
        result.error = Name(prefix, "Data") + ": " + error;
        return result;
    }
    record.has_data = true;
    record.data = binary->bytes;
    return result;
}

PixelBlockResult DecodeStoredRecord(const StoredRecord& record) {
    if (!record.has_data) {
        PixelBlockResult result;
        result.block.width = record.image.image.width;
        result.block.height = record.image.image.height;
        result.block.pixels.assign(static_cast<size_t>(record.pixel_count), 0);
        return result;
    }
    if (record.compressor == nullptr) {
        return DecodePixelBlock(record.data);
    }
    CodecResult raw = UnpackContainer(record.data, *record.compressor);
    if (!raw.ok()) {
        PixelBlockResult failed;
        failed.error = std::move(raw.error);
        return failed;
    }
    return DecodePixelBlock(raw.bytes);
}

StoredImageResult ReadStoredImage(const FormProperties& properties, const CompressorRegistry& compressors,
                                  std::string_view prefix) {
    StoredImageResult result;
    StoredRecordResult read = ReadStoredRecord(properties, compressors, prefix);
    if (!read.ok()) {
        result.error = std::move(read.error);
        return result;
    }
    PixelBlockResult pixels = DecodeStoredRecord(read.record);
    if (!pixels.ok()) {
        result.error = Name(prefix, "Data") + ": " + pixels.error;
        return result;
    }
    result.image = std::move(read.record.image);
    result.image.image = std::move(pixels.block);
    return result;
}

std::string AppendStoredImage(FormProperties& properties, const StoredImage& image,
                              const Compressor* compressor, std::string_view prefix) {
    properties.push_back({Name(prefix, "Angle"), FormValue::Int(image.angle)});
    properties.push_back({Name(prefix, "AutoSize"), FormValue::Bool(image.auto_size)});
    properties.push_back({Name(prefix, "Height"), FormValue::Int(image.image.height)});
    properties.push_back({Name(prefix, "Masked"), FormValue::Bool(image.masked)});
    properties.push_back({Name(prefix, "Opacity"), FormValue::Int(image.opacity)});
    properties.push_back({Name(prefix, "Scale"), FormValue::Extended(image.scale)});
    properties.push_back({Name(prefix, "Transparent"), FormValue::Bool(image.transparent)});
    properties.push_back({Name(prefix, "TransparentColor"), FormValue::Int(image.transparent_color)});
    properties.push_back(
        {Name(prefix, "TransparentMode"), FormValue::Ident(image.transparent_fixed ? "tmFixed" : "tmAuto")});
    properties.push_back({Name(prefix, "Width"), FormValue::Int(image.image.width)});
    PackedData packed = PackStoredData(EncodePixelBlock(image.image), compressor);
    properties.push_back({Name(prefix, "Data"), FormValue::Binary(std::move(packed.bytes))});
    return packed.note;
}

} // namespace kavlo
