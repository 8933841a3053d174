#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// A GUID as Windows lays it out in memory: Data1 u32, Data2 u16, Data3 u16 (little-endian), then
// Data4 as 8 plain bytes.
struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    static constexpr size_t kByteSize = 16;

    // "{CABA9056-7349-43A4-B010-3764FBFAC230}", braces required, hex digits of either case.
    static std::optional<Guid> Parse(std::string_view text);
    // The 16 bytes in the Windows layout; `bytes` must hold at least kByteSize.
    static Guid FromBytes(std::string_view bytes);

    std::string ToString() const; // upper-case hex with braces, as Windows prints it
    void AppendBytes(std::string& out) const;

    bool operator==(const Guid&) const = default;
};

// The outcome of a compressor step: the bytes, or the message that says why there are none.
struct CodecResult {
    std::string bytes;
    std::string error; // empty on success

    bool ok() const { return error.empty(); }
    static CodecResult Failure(std::string message) { return {{}, std::move(message)}; }
};

// A compressor's refusal when packing would not make the data smaller; the block is then stored raw.
inline constexpr char kCompressedLarger[] = "Compressed file is larger than the original.";

// Nothing this large is a picture the menu shows; a declared size beyond it is refused before any
// memory is taken for it (a 65535 x 65535 header would otherwise ask for 16 GB).
constexpr uint32_t kMaxUnpackedSize = 64u * 1024u * 1024u;

// One way of packing a raw pixel block into the payload of a "DIBCMP" container.
class Compressor {
public:
    virtual ~Compressor() = default;

    virtual std::string_view Name() const = 0;
    virtual const Guid& Id() const = 0;
    virtual CodecResult Compress(std::string_view raw) const = 0;
    // `raw_size` is the size the container declares; the result has exactly that many bytes.
    virtual CodecResult Decompress(std::string_view payload, uint32_t raw_size) const = 0;
};

// The compressors the program knows, found by identifier (reading) or by name (writing). The program
// makes one at start-up and hands it to whoever reads or writes stored images.
class CompressorRegistry {
public:
    // False (and the compressor dropped) when one with the same identifier is already registered.
    bool Register(std::unique_ptr<Compressor> compressor);
    const Compressor* Find(const Guid& id) const;
    // The same, kept alive for whoever holds it after the registry is gone (data unpacked later).
    std::shared_ptr<const Compressor> Share(const Guid& id) const;
    const Compressor* FindByName(std::string_view name) const;
    std::vector<const Compressor*> All() const;

    // "DIB LZH" and "Shuffle4 RLE".
    static CompressorRegistry WithStandardCompressors();

private:
    std::vector<std::shared_ptr<const Compressor>> compressors_;
};

} // namespace kavlo
