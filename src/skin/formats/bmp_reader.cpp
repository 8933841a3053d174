#include "skin/formats/bmp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace kavlo {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kOpaque = 0xFF000000u;

const char* const kTruncated = "The bitmap data is truncated";

// Little-endian reads that say whether the bytes are there.
class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}

    size_t Size() const { return data_.size(); }
    bool Has(size_t offset, size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    uint8_t U8(size_t offset) const { return static_cast<uint8_t>(data_[offset]); }
    uint16_t U16(size_t offset) const { return static_cast<uint16_t>(U8(offset) | (U8(offset + 1) << 8)); }
    uint32_t U32(size_t offset) const { return U16(offset) | (static_cast<uint32_t>(U16(offset + 2)) << 16); }
    int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }

private:
    std::string_view data_;
};

struct BmpHeader {
    int64_t width = 0;
    int64_t height = 0;
    bool top_down = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    // Red, green, blue and alpha masks of 16- and 32-bit pixels; alpha 0 means the picture has none.
    std::array<uint32_t, 4> masks{};
    std::vector<uint32_t> palette;
    size_t pixel_offset = 0;
};

void DefaultMasks(BmpHeader& header) {
    if (header.bits == 16) {
        header.masks = {0x7C00u, 0x03E0u, 0x001Fu, 0}; // 5-5-5, the only 16-bit layout of BI_RGB
    } else if (header.bits == 32) {
        header.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    }
}

std::string ReadMasks(const Bytes& bytes, size_t header_size, BmpHeader& header) {
    DefaultMasks(header);
    if (header.compression != kBiBitfields) {
        return {};
    }
    // A plain info header keeps its three masks right after itself; later versions inside.
    const size_t at = kFileHeaderSize + kInfoHeaderSize;
    const bool alpha_mask = header_size >= 56;
    if (!bytes.Has(at, alpha_mask ? 16 : 12)) {
        return kTruncated;
    }
    header.masks = {bytes.U32(at), bytes.U32(at + 4), bytes.U32(at + 8), 0};
    if (alpha_mask) {
        header.masks[3] = bytes.U32(at + 12);
    }
    return {};
}

std::string ReadPalette(const Bytes& bytes, size_t at, size_t entry_size, size_t count, BmpHeader& header) {
    if (!bytes.Has(at, count * entry_size)) {
        return kTruncated;
    }
    // Every index a pixel can hold has a place: one past the stored colours is black, as a zeroed colour
    // table would give.
    header.palette.assign(256, kOpaque);
    for (size_t i = 0; i < count; ++i) {
        const size_t e = at + i * entry_size;
        header.palette[i] =
            kOpaque | (uint32_t{bytes.U8(e + 2)} << 16) | (uint32_t{bytes.U8(e + 1)} << 8) | bytes.U8(e);
    }
    return {};
}

std::string ParseCoreHeader(const Bytes& bytes, BmpHeader& header) {
    constexpr size_t at = kFileHeaderSize;
    header.width = bytes.U16(at + 4);
    header.height = bytes.U16(at + 6);
    header.bits = bytes.U16(at + 10);
    DefaultMasks(header);
    if (header.bits > 8) {
        return {};
    }
    return ReadPalette(bytes, at + kCoreHeaderSize, 3, size_t{1} << header.bits, header);
}

std::string ParseInfoHeader(const Bytes& bytes, size_t header_size, BmpHeader& header) {
    constexpr size_t at = kFileHeaderSize;
    if (!bytes.Has(at, kInfoHeaderSize)) {
        return kTruncated;
    }
    header.width = bytes.I32(at + 4);
    const int64_t height = bytes.I32(at + 8);
    header.top_down = height < 0;
    header.height = height < 0 ? -height : height;
    header.bits = bytes.U16(at + 14);
    header.compression = bytes.U32(at + 16);
    if (std::string error = ReadMasks(bytes, header_size, header); !error.empty()) {
        return error;
    }
    if (header.bits > 8) {
        return {};
    }
    const size_t full = size_t{1} << header.bits;
    const uint32_t used = bytes.U32(at + 32);
    const size_t count = used == 0 ? full : std::min<size_t>(used, full);
    const size_t masks = header.compression == kBiBitfields && header_size == kInfoHeaderSize ? 12 : 0;
    return ReadPalette(bytes, at + header_size + masks, 4, count, header);
}

std::string CheckFormat(const BmpHeader& header) {
    switch (header.compression) {
        case kBiRgb:
            if (header.bits == 1 || header.bits == 4 || header.bits == 8 || header.bits == 16 ||
                header.bits == 24 || header.bits == 32) {
                return {};
            }
            break;
        case kBiRle8:
        case kBiRle4:
            if (header.bits != (header.compression == kBiRle8 ? 8 : 4)) {
                break;
            }
            // Windows refuses run-length data in top-down bitmaps too.
            return header.top_down ? "A top-down bitmap cannot be run-length coded" : "";
        case kBiBitfields:
            if (header.bits == 16 || header.bits == 32) {
                return {};
            }
            break;
        default:
            break;
    }
    return "Unsupported bitmap format (" + std::to_string(header.bits) + " bits, compression " +
           std::to_string(header.compression) + ")";
}

std::string ParseHeader(const Bytes& bytes, BmpHeader& header) {
    if (!bytes.Has(0, kFileHeaderSize + 4)) {
        return kTruncated;
    }
    const uint32_t header_size = bytes.U32(kFileHeaderSize);
    std::string error;
    if (header_size == kCoreHeaderSize) {
        error = bytes.Has(kFileHeaderSize, kCoreHeaderSize) ? ParseCoreHeader(bytes, header) : kTruncated;
    } else if (header_size >= kInfoHeaderSize && header_size <= 1024) {
        error = ParseInfoHeader(bytes, header_size, header);
    } else {
        return "Unsupported bitmap header";
    }
    if (!error.empty()) {
        return error;
    }
    if (error = CheckPictureSize(header.width, header.height); !error.empty()) {
        return error;
    }
    header.pixel_offset = bytes.U32(10);
    if (header.pixel_offset < kFileHeaderSize + header_size || header.pixel_offset > bytes.Size()) {
        return "The bitmap's pixel data lies outside the file";
    }
    return CheckFormat(header);
}

uint32_t PaletteColour(const BmpHeader& header, uint8_t index) {
    return header.palette[index];
}

uint32_t MaskedChannel(uint32_t value, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const uint32_t field = (value & mask) >> std::countr_zero(mask);
    const int width = std::popcount(mask);
    if (width >= 8) {
        return field >> (width - 8);
    }
    return field * 255 / ((1u << width) - 1);
}

uint32_t FieldPixel(const BmpHeader& header, uint32_t value) {
    const auto& m = header.masks;
    const uint32_t alpha = m[3] != 0 ? MaskedChannel(value, m[3]) : 0xFFu;
    return (alpha << 24) | (MaskedChannel(value, m[0]) << 16) | (MaskedChannel(value, m[1]) << 8) |
           MaskedChannel(value, m[2]);
}

// Indexed pixels, a byte at a time: the leftmost pixel in the highest bits.
void DecodeIndexedRow(const Bytes& bytes, size_t at, const BmpHeader& header, uint32_t* out) {
    const int width = static_cast<int>(header.width);
    const int bits = header.bits;
    const int per_byte = 8 / bits;
    const uint32_t mask = (1u << bits) - 1;
    for (int x = 0; x < width; x += per_byte) {
        const uint32_t byte = bytes.U8(at + static_cast<size_t>(x / per_byte));
        const int count = std::min(per_byte, width - x);
        for (int i = 0; i < count; ++i) {
            out[x + i] = PaletteColour(header, static_cast<uint8_t>((byte >> (8 - bits * (i + 1))) & mask));
        }
    }
}

void DecodeRow(const Bytes& bytes, size_t at, const BmpHeader& header, uint32_t* out) {
    const int width = static_cast<int>(header.width);
    switch (header.bits) {
        case 1:
        case 4:
        case 8:
            DecodeIndexedRow(bytes, at, header, out);
            return;
        case 16:
            for (int x = 0; x < width; ++x) {
                out[x] = FieldPixel(header, bytes.U16(at + x * size_t{2}));
            }
            return;
        case 24:
            for (int x = 0; x < width; ++x) {
                const size_t p = at + x * size_t{3};
                out[x] = kOpaque | (uint32_t{bytes.U8(p + 2)} << 16) | (uint32_t{bytes.U8(p + 1)} << 8) |
                         bytes.U8(p);
            }
            return;
        default:
            for (int x = 0; x < width; ++x) {
                out[x] = header.compression == kBiRgb ? bytes.U32(at + x * size_t{4})
                                                      : FieldPixel(header, bytes.U32(at + x * size_t{4}));
            }
            return;
    }
}

PictureResult DecodeUncompressed(const Bytes& bytes, const BmpHeader& header, Picture picture) {
    const size_t row_bytes = static_cast<size_t>((header.width * header.bits + 7) / 8);
    const size_t stride = (row_bytes + 3) & ~size_t{3};
    const size_t rows = static_cast<size_t>(header.height);
    // The last row's padding may be missing; its pixels may not.
    if (!bytes.Has(header.pixel_offset, stride * (rows - 1) + row_bytes)) {
        return PictureResult::Fail(kTruncated);
    }
    picture.pixels.resize(static_cast<size_t>(header.width) * rows);
    for (size_t r = 0; r < rows; ++r) {
        const size_t file_row = header.top_down ? rows - 1 - r : r;
        DecodeRow(bytes, header.pixel_offset + file_row * stride, header, &picture.pixels[r * header.width]);
    }
    return {std::move(picture), {}};
}

// Run-length data as Windows reads it: (count, index) runs, escapes 0 = end of line, 1 = end of
// bitmap, 2 = move by (dx, dy), 3...255 = that many literal indexes padded to a 16-bit boundary.
// Pixels never reached keep index 0; pixels past the right edge are dropped.
class RleDecoder {
public:
    RleDecoder(const Bytes& bytes, const BmpHeader& header)
        : bytes_(bytes), width_(static_cast<int>(header.width)), height_(static_cast<int>(header.height)),
          four_bits_(header.compression == kBiRle4), pos_(header.pixel_offset),
          indexes_(static_cast<size_t>(width_) * height_, 0) {}

    // False when the data ends before the bitmap does.
    bool Run() {
        while (y_ < height_) {
            if (!bytes_.Has(pos_, 2)) {
                return false;
            }
            const uint8_t count = bytes_.U8(pos_);
            const uint8_t value = bytes_.U8(pos_ + 1);
            pos_ += 2;
            if (count != 0) {
                Repeat(count, value);
            } else if (value == 0) {
                x_ = 0;
                ++y_;
            } else if (value == 1) {
                return true;
            } else if (value == 2) {
                if (!Move()) {
                    return false;
                }
            } else if (!Literal(value)) {
                return false;
            }
        }
        return true;
    }

    const std::vector<uint8_t>& Indexes() const { return indexes_; }

private:
    void Put(uint8_t index) {
        if (x_ < width_) {
            indexes_[static_cast<size_t>(y_) * width_ + x_] = index;
            ++x_;
        }
    }

    void Repeat(int count, uint8_t value) {
        for (int i = 0; i < count; ++i) {
            Put(four_bits_ ? static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
        }
    }

    bool Move() {
        if (!bytes_.Has(pos_, 2)) {
            return false;
        }
        x_ = std::min(x_ + bytes_.U8(pos_), width_);
        y_ += bytes_.U8(pos_ + 1);
        pos_ += 2;
        return true;
    }

    bool Literal(int count) {
        const size_t data_bytes =
            four_bits_ ? (static_cast<size_t>(count) + 1) / 2 : static_cast<size_t>(count);
        if (!bytes_.Has(pos_, data_bytes)) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            const uint8_t byte = bytes_.U8(pos_ + (four_bits_ ? i / 2 : i));
            Put(four_bits_ ? static_cast<uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
        }
        pos_ += (data_bytes + 1) & ~size_t{1};
        return true;
    }

    const Bytes& bytes_;
    int width_;
    int height_;
    bool four_bits_;
    size_t pos_;
    int x_ = 0;
    int y_ = 0;
    std::vector<uint8_t> indexes_;
};

PictureResult DecodeRunLength(const Bytes& bytes, const BmpHeader& header, Picture picture) {
    RleDecoder decoder(bytes, header);
    if (!decoder.Run()) {
        return PictureResult::Fail(kTruncated);
    }
    const std::vector<uint8_t>& indexes = decoder.Indexes();
    picture.pixels.resize(indexes.size());
    std::transform(indexes.begin(), indexes.end(), picture.pixels.begin(),
                   [&header](uint8_t index) { return PaletteColour(header, index); });
    return {std::move(picture), {}};
}

} // namespace

PictureResult ReadBmp(std::string_view data, PixelBudget* budget) {
    const Bytes bytes(data);
    if (!bytes.Has(0, 2) || data.substr(0, 2) != "BM") {
        return PictureResult::Fail("Not a bitmap");
    }
    BmpHeader header;
    if (std::string error = ParseHeader(bytes, header); !error.empty()) {
        return PictureResult::Fail(std::move(error));
    }
    if (budget != nullptr && !budget->Take(header.width * header.height)) {
        return PictureResult::Fail(budget->Refusal());
    }
    Picture picture;
    picture.width = static_cast<uint16_t>(header.width);
    picture.height = static_cast<uint16_t>(header.height);
    picture.has_alpha = header.bits == 32 && header.masks[3] != 0;
    if (header.compression == kBiRle8 || header.compression == kBiRle4) {
        return DecodeRunLength(bytes, header, std::move(picture));
    }
    return DecodeUncompressed(bytes, header, std::move(picture));
}

} // namespace kavlo
