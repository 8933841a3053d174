#include "rarwriter/rar_writer.h"

#include <array>
#include <sstream>

namespace kavlo::rarwriter {

namespace {

constexpr std::uint8_t kMainHead = 0x73;
constexpr std::uint8_t kFileHead = 0x74;
constexpr std::uint8_t kEndHead = 0x7B;
constexpr std::uint16_t kLongBlock = 0x8000; // ADD_SIZE (the packed data) follows the header
constexpr std::uint16_t kDirectory = 0x00E0; // dictionary bits all set
constexpr std::uint16_t kLarge = 0x0100;     // 64-bit sizes
constexpr std::uint16_t kUnicode = 0x0200;
constexpr std::uint16_t kEndNoNext = 0x4000; // the end block's "no further volume"
constexpr std::uint8_t kStored = 0x30;
constexpr std::uint8_t kUnpackVersion = 20;

std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

void Put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A block: HEAD_CRC, then `body` (HEAD_TYPE onwards) with HEAD_SIZE patched in at body offset 3.
std::string Block(std::string body) {
    const auto size = static_cast<std::uint32_t>(body.size() + 2);
    body[3] = static_cast<char>(size & 0xFF);
    body[4] = static_cast<char>(size >> 8);
    std::string block;
    Put16(block, Crc32(body) & 0xFFFF);
    return block + body;
}

std::uint32_t DefaultAttributes(const RarEntry& entry) {
    if (entry.host == HostOs::Unix) {
        switch (entry.kind) {
            case EntryKind::Directory:
                return 0040755;
            case EntryKind::Symlink:
                return 0120777;
            case EntryKind::File:
                return 0100644;
        }
    }
    return entry.kind == EntryKind::Directory ? 0x10 : 0x20;
}

} // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
    static const auto table = MakeCrcTable();
    crc = ~crc;
    for (const char ch : bytes) {
        crc = table[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

RarWriter::RarWriter(std::ostream& out) : out_(out) {
    out_.write("Rar!\x1A\x07\x00", 7);
    std::string main;
    main.push_back(static_cast<char>(kMainHead));
    Put16(main, 0); // flags
    Put16(main, 0); // size, patched
    Put16(main, 0); // reserved
    Put32(main, 0); // reserved
    const std::string block = Block(main);
    out_.write(block.data(), static_cast<std::streamsize>(block.size()));
}

void RarWriter::WriteHeader(const RarEntry& entry, std::uint64_t data_size, std::uint32_t data_crc) {
    const std::uint64_t unpacked = entry.declared_size.value_or(data_size);
    std::uint16_t flags = kLongBlock;
    if (entry.kind == EntryKind::Directory) {
        flags |= kDirectory;
    }
    const bool large = data_size > 0xFFFFFFFFu || unpacked > 0xFFFFFFFFu;
    if (large) {
        flags |= kLarge;
    }
    if (entry.unicode_name) {
        flags |= kUnicode;
    }
    std::string head;
    head.push_back(static_cast<char>(kFileHead));
    Put16(head, flags);
    Put16(head, 0); // size, patched
    Put32(head, static_cast<std::uint32_t>(data_size));
    Put32(head, static_cast<std::uint32_t>(unpacked));
    head.push_back(static_cast<char>(entry.host));
    Put32(head, data_crc ^ entry.crc_damage);
    Put32(head, entry.dos_time);
    head.push_back(static_cast<char>(kUnpackVersion));
    head.push_back(static_cast<char>(kStored));
    Put16(head, static_cast<std::uint32_t>(entry.name.size()));
    Put32(head, entry.attributes.value_or(DefaultAttributes(entry)));
    if (large) {
        Put32(head, static_cast<std::uint32_t>(data_size >> 32));
        Put32(head, static_cast<std::uint32_t>(unpacked >> 32));
    }
    head += entry.name;
    const std::string block = Block(head);
    out_.write(block.data(), static_cast<std::streamsize>(block.size()));
}

void RarWriter::Add(const RarEntry& entry) {
    const std::string_view data = entry.kind == EntryKind::Directory ? std::string_view{} : entry.data;
    WriteHeader(entry, data.size(), Crc32(data));
    out_.write(data.data(), static_cast<std::streamsize>(data.size()));
}

void RarWriter::AddGenerated(std::string name, std::uint64_t size, HostOs host,
                             const std::function<std::string(std::uint64_t offset)>& chunk) {
    // Two passes over the generator: a header holds the CRC of data that follows it.
    const auto walk = [&](const std::function<void(std::string_view)>& use) {
        for (std::uint64_t done = 0; done < size;) {
            std::string piece = chunk(done);
            if (piece.empty()) {
                out_.setstate(std::ios::failbit);
                return;
            }
            if (piece.size() > size - done) {
                piece.resize(static_cast<std::size_t>(size - done));
            }
            use(piece);
            done += piece.size();
        }
    };
    std::uint32_t crc = 0;
    walk([&](std::string_view piece) { crc = Crc32(piece, crc); });
    RarEntry entry;
    entry.name = std::move(name);
    entry.host = host;
    WriteHeader(entry, size, crc);
    walk([&](std::string_view piece) {
        out_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
}

void RarWriter::Finish() {
    std::string end;
    end.push_back(static_cast<char>(kEndHead));
    Put16(end, kEndNoNext);
    Put16(end, 0);
    const std::string block = Block(end);
    out_.write(block.data(), static_cast<std::streamsize>(block.size()));
    out_.flush();
}

std::string WriteRarArchive(const std::vector<RarEntry>& entries, const ArchiveOptions& options) {
    std::ostringstream out;
    RarWriter writer(out);
    for (const RarEntry& entry : entries) {
        writer.Add(entry);
    }
    if (options.end_block) {
        writer.Finish();
    }
    std::string bytes = std::move(out).str();
    if (options.truncate_to && *options.truncate_to < bytes.size()) {
        bytes.resize(*options.truncate_to);
    }
    return bytes;
}

} // namespace kavlo::rarwriter
