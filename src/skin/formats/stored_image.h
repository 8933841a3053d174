#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/formats/compressor.h"
#include "skin/formats/form_stream.h"
#include "skin/surface/skin_types.h"

namespace kavlo {

// The raw pixel block of a stored image: width u16 LE, height u16 LE, then width x height pixels of
// blue, green, red, alpha bytes, bottom row first. Here the pixels are 32-bit words 0xAARRGGBB in
// the same stored order.
struct PixelBlock {
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint32_t> pixels; // width * height, bottom row first

    bool operator==(const PixelBlock&) const = default;
};

struct PixelBlockResult {
    PixelBlock block;
    std::string error;
    bool ok() const { return error.empty(); }
};

// The block's bytes; `block.pixels` must hold width x height pixels (missing ones are written as 0).
std::string EncodePixelBlock(const PixelBlock& block);
// Fails when the bytes are fewer than the header promises; bytes after the last pixel are ignored.
PixelBlockResult DecodePixelBlock(std::string_view raw);

// The "DIBCMP" container around a compressed block: signature, the compressor's GUID, the raw size
// (u32 LE), then the compressor's payload.
namespace stored_data {
inline constexpr std::string_view kSignature = "DIBCMP";
inline constexpr size_t kHeaderSize = 26;
inline constexpr char kNoDecompressor[] = "Could not find a suitable decompressor.";
} // namespace stored_data

// DIB.Data to the raw block's bytes: shorter than the header or without the signature it already is
// one; otherwise the registered compressor of that GUID unpacks it.
CodecResult UnpackStoredData(std::string_view data, const CompressorRegistry& compressors);

struct PackedData {
    std::string bytes;
    std::string note; // why the block was stored raw although a compressor was asked for
};
// The raw block in a container by `compressor`, or the raw block itself when `compressor` is null,
// fails, or would make it larger (note: "Compressed file is larger than the original.").
PackedData PackStoredData(std::string_view raw_block, const Compressor* compressor);

// UnpackStoredData and DecodePixelBlock in one step.
PixelBlockResult DecodeStoredData(std::string_view data, const CompressorRegistry& compressors);

// One stored image record: the DIB.* properties of an image list item.
struct StoredImage {
    int16_t angle = 0;
    bool auto_size = false;
    bool masked = false;
    uint8_t opacity = 255;
    double scale = 100; // percent, both axes
    bool transparent = false;
    TColor transparent_color = 0;
    bool transparent_fixed = false; // DIB.TransparentMode: tmFixed, else tmAuto
    PixelBlock image;

    bool operator==(const StoredImage&) const = default;
};

struct StoredImageResult {
    StoredImage image;
    std::string error;
    bool ok() const { return error.empty(); }
};

// A stored record read up to its pixels: the drawing properties, the data as stored, and what the
// data's header says about the pixels, so that their memory can be asked for (and refused) before
// any is taken, and the size known before unpacking.
struct StoredRecord {
    // Every property. image.image holds no pixels; its width and height are those unpacking will give
    // when `size_known`: the raw block's own, the record's Width and Height when they agree with the
    // container's raw size, or Width and Height without data.
    StoredImage image;
    bool size_known = false;
    bool has_data = false;
    std::string data; // DIB.Data as stored
    // The compressor of a container, kept for unpacking later; null for a raw block.
    std::shared_ptr<const Compressor> compressor;
    // The pixels unpacking will give, from the data's header (or Width x Height without data).
    int64_t pixel_count = 0;
};

struct StoredRecordResult {
    StoredRecord record;
    std::string error;
    bool ok() const { return error.empty(); }
};

// Reads `prefix` + "Angle" ... "Width" and "Data" from a property list, leaving the pixels packed.
// Missing properties keep their defaults. Values out of their range, data that is not binary, a
// container of an unknown compressor or of a size beyond any image, and a raw block shorter than its
// header says are errors here; a payload that does not unpack is found by DecodeStoredRecord.
StoredRecordResult ReadStoredRecord(const FormProperties& properties, const CompressorRegistry& compressors,
                                    std::string_view prefix = "DIB.");
// The record's pixels: the data decides the size; without data the image is Width x Height pixels
// of 0.
PixelBlockResult DecodeStoredRecord(const StoredRecord& record);
// Both steps at once; an error names the property at fault.
StoredImageResult ReadStoredImage(const FormProperties& properties, const CompressorRegistry& compressors,
                                  std::string_view prefix = "DIB.");
// Appends the record's properties in the order the reader's list names them, DIB.Data last, packed
// by `compressor` (null: raw). Returns PackStoredData's note.
std::string AppendStoredImage(FormProperties& properties, const StoredImage& image,
                              const Compressor* compressor, std::string_view prefix = "DIB.");

} // namespace kavlo
