#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo::rarwriter {

// The system that made an entry; it decides how readers take the attributes.
enum class HostOs : std::uint8_t { MsDos = 0, Win32 = 2, Unix = 3 };

enum class EntryKind { File, Directory, Symlink };

// One entry of a RAR 4 archive. Everything is stored as given, so tests can write names and headers
// no archiver would (".." parts, absolute names, a wrong CRC, a size the data does not have).
struct RarEntry {
    // The name's bytes as stored: RAR keeps Windows separators ("GAME\DATA\LEVEL1.DAT").
    std::string name = {};
    // A file's contents, or a link's target.
    std::string data = {};
    EntryKind kind = EntryKind::File;
    // Unix entries carry a mode (links and run bits survive); the others DOS attributes.
    HostOs host = HostOs::Win32;
    // Attributes as stored; nullopt: archive bit for files, directory bit for directories (DOS), or
    // 0644 / 0755 / 0777 by kind (Unix).
    std::optional<std::uint32_t> attributes = std::nullopt;
    // Modification time in DOS format (date in the high word, time in the low word, seconds halved).
    std::uint32_t dos_time = DosTime(2004, 6, 1, 12, 0, 0);
    // Set the Unicode flag and store the name as UTF-8.
    bool unicode_name = false;
    // XOR'd into the stored data CRC: any non-zero value makes the entry's check fail.
    std::uint32_t crc_damage = 0;
    // Unpacked size claimed in the header instead of the data's length.
    std::optional<std::uint64_t> declared_size = std::nullopt;

    static constexpr std::uint32_t DosTime(int year, int month, int day, int hour, int minute, int second) {
        return static_cast<std::uint32_t>(year - 1980) << 25 | static_cast<std::uint32_t>(month) << 21 |
               static_cast<std::uint32_t>(day) << 16 | static_cast<std::uint32_t>(hour) << 11 |
               static_cast<std::uint32_t>(minute) << 5 | static_cast<std::uint32_t>(second / 2);
    }
};

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

// Writes an archive to a stream entry by entry, so archives larger than memory can be made: the
// marker and main header at once, each entry's header and data on Add, the end block on Finish.
// Entries are stored (method 0x30), never compressed.
class RarWriter {
public:
    explicit RarWriter(std::ostream& out);
    void Add(const RarEntry& entry);
    // A file of `size` bytes that `chunk` produces piece by piece (called until it has given `size`
    // bytes in total); the CRC is taken in a first pass, so `chunk` is run twice over the same bytes.
    void AddGenerated(std::string name, std::uint64_t size, HostOs host,
                      const std::function<std::string(std::uint64_t offset)>& chunk);
    void Finish();
    bool Good() const { return out_.good(); }

private:
    void WriteHeader(const RarEntry& entry, std::uint64_t data_size, std::uint32_t data_crc);
    std::ostream& out_;
};

// A whole archive in memory. `truncate_to` cuts the result (a damaged download); `end_block` false
// leaves the end-of-archive block out, as an archiver interrupted before its end does.
struct ArchiveOptions {
    std::optional<std::size_t> truncate_to = std::nullopt;
    bool end_block = true;
};
std::string WriteRarArchive(const std::vector<RarEntry>& entries, const ArchiveOptions& options = {});

} // namespace kavlo::rarwriter
