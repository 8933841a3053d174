// The input becomes an archive file: either its bytes as they are, or an archive made by our own writer
// from entries taken from the input, then with some of its bytes overwritten. The archive is listed and
// extracted through the unrar calls. Nothing may crash or hang, nothing may appear outside the
// destination, no link written may lead out of it, and an untouched archive lists and extracts exactly
// what was written.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include "platform/codepage.h"
#include "platform/posix/posix_unrar.h"
#include "rarwriter/rar_writer.h"

namespace {

using namespace kavlo;
namespace fs = std::filesystem;
using rarwriter::EntryKind;
using rarwriter::HostOs;
using rarwriter::RarEntry;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// A private folder in memory when there is a tmpfs: the archive and the tree are rewritten every run.
// `box` holds only the destination, so anything written beside it has escaped.
struct Scratch {
    Scratch() {
        std::error_code ec;
        const fs::path temp =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (temp / "kavlo-fuzz-unrar-XXXXXX").string();
        root = mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : temp / "kavlo-fuzz-unrar";
        archive = root / "input.rar";
        box = root / "box";
        dest = box / "dest";
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path root, archive, box, dest;
};

Scratch& Dirs() {
    static Scratch scratch;
    return scratch;
}

// Archives of the kinds the disc carries and the kinds the reader must refuse, for the corpus.
std::vector<std::string> SeedArchives() {
    const std::string big(70000, 'x');
    std::vector<std::string> seeds = {
        rarwriter::WriteRarArchive({{.name = "GAME", .kind = EntryKind::Directory},
                                    {.name = "GAME\\README.TXT", .data = "Read me first.\r\n"},
                                    {.name = "GAME\\DATA\\LEVEL1.DAT", .data = big},
                                    {.name = "GAME\\EMPTY.DAT"}}),
        rarwriter::WriteRarArchive(
            {{.name = "bin", .kind = EntryKind::Directory, .host = HostOs::Unix},
             {.name = "bin\\run.sh", .data = "#!/bin/sh\n", .host = HostOs::Unix},
             {.name = "bin\\latest", .data = "run.sh", .kind = EntryKind::Symlink, .host = HostOs::Unix},
             {.name = "up", .data = "../..", .kind = EntryKind::Symlink, .host = HostOs::Unix},
             // Each link alone stays inside; the second climbs out through the first.
             {.name = "here", .data = ".", .kind = EntryKind::Symlink, .host = HostOs::Unix},
             {.name = "out", .data = "here/..", .kind = EntryKind::Symlink, .host = HostOs::Unix}}),
        rarwriter::WriteRarArchive({{.name = "..\\OUT.TXT", .data = "x"},
                                    {.name = "C:\\WINDOWS\\OUT.TXT", .data = "x"},
                                    {.name = "\\\\server\\share\\x", .data = "x"},
                                    {.name = "\xC8"
                                             "ESKY.TXT",
                                     .data = "y",
                                     .unicode_name = true}}),
        rarwriter::WriteRarArchive(
            {{.name = "BAD.CRC", .data = "damaged", .crc_damage = 1},
             {.name = "HUGE.DAT", .data = "short", .declared_size = uint64_t{1} << 40}}),
        rarwriter::WriteRarArchive({{.name = "CUT.DAT", .data = big}},
                                   {.truncate_to = 3000, .end_block = false}),
    };
    return seeds;
}

// A name from the input made of parts the reader keeps as they are, so the round trip can be checked.
std::string SafeName(FuzzedDataProvider& input) {
    std::string name;
    const int parts = input.ConsumeIntegralInRange(1, 3);
    for (int p = 0; p < parts; ++p) {
        std::string part;
        for (char c : input.ConsumeRandomLengthString(12)) {
            const auto u = static_cast<unsigned char>(c);
            part += static_cast<char>('A' + u % 26);
        }
        name += (p > 0 ? "\\" : "") + (part.empty() ? std::string("P") : part) + std::to_string(p);
    }
    return name;
}

struct Written {
    std::vector<std::string> names;
    std::map<std::string, std::string> files; // path below the destination, contents
};

std::string ArchiveFromInput(FuzzedDataProvider& input, Written& written) {
    std::vector<RarEntry> entries;
    const int count = input.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < count; ++i) {
        RarEntry entry;
        entry.name = SafeName(input) + "_" + std::to_string(i);
        entry.data = input.ConsumeRandomLengthString(4096);
        entry.host = input.ConsumeBool() ? HostOs::Unix : HostOs::Win32;
        written.names.push_back(entry.name);
        std::string path = entry.name;
        for (char& c : path) {
            c = c == '\\' ? '/' : c;
        }
        written.files[path] = entry.data;
        entries.push_back(std::move(entry));
    }
    return rarwriter::WriteRarArchive(entries);
}

bool Inside(const fs::path& path, const fs::path& dir) {
    const std::string p = path.string();
    const std::string d = dir.string();
    return p == d || (p.size() > d.size() && p.compare(0, d.size(), d) == 0 && p[d.size()] == '/');
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The first folder named is the corpus libFuzzer writes to; the writer's archives start it.
    for (int i = 1; i < *argc; ++i) {
        const std::string_view arg = (*argv)[i];
        std::error_code ec;
        if (arg.empty() || arg[0] == '-' || !fs::is_directory(arg, ec)) {
            continue;
        }
        const std::vector<std::string> seeds = SeedArchives();
        for (size_t s = 0; s < seeds.size(); ++s) {
            const fs::path file = fs::path(arg) / ("writer-seed-" + std::to_string(s) + ".rar");
            if (!fs::exists(file, ec)) {
                std::ofstream(file, std::ios::binary)
                    .write(seeds[s].data(), static_cast<std::streamsize>(seeds[s].size()));
            }
        }
        break;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Scratch& dirs = Dirs();
    std::error_code ec;
    fs::remove_all(dirs.box, ec);
    fs::create_directories(dirs.box, ec);

    std::string bytes;
    Written written;
    bool untouched = false;
    if (input.ConsumeBool()) {
        bytes = ArchiveFromInput(input, written);
        untouched = true;
        for (int i = 0; i < 8 && input.remaining_bytes() >= 2; ++i) {
            bytes[input.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1)] = input.ConsumeIntegral<char>();
            untouched = false;
        }
    } else {
        bytes = input.ConsumeRemainingBytesAsString();
    }
    {
        std::ofstream file(dirs.archive, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            return 0;
        }
    }

    PosixUnrar unrar([](std::string_view path) -> std::optional<std::string> { return ToUtf8(path); });
    // A walk the library cannot finish is given up quickly: the stall guard is what is tried here.
    unrar.SetStallLimitMs(1000);
    const std::string archive = FromUtf8(dirs.archive.string());
    const std::string dest = FromUtf8(dirs.dest.string());

    std::vector<std::string> listed;
    bool listed_to_end = false;
    {
        RarOpenData open{.arc_name = archive, .open_mode = RarOpenMode::List};
        const RarHandle handle = unrar.OpenArchive(open);
        Check((handle != 0) == (open.open_result == kRarSuccess));
        RarHeader header;
        int code = kRarSuccess;
        while (handle != 0 && (code = unrar.ReadHeader(handle, header)) == kRarSuccess) {
            Check(header.file_name.size() <= 260);
            listed.push_back(header.file_name);
            if (unrar.ProcessFile(handle, RarOperation::Skip, std::nullopt) != kRarSuccess) {
                break;
            }
        }
        listed_to_end = handle != 0 && code == kRarEndArchive;
        Check(handle == 0 || unrar.CloseArchive(handle) == kRarSuccess);
    }

    bool extracted_all = false;
    {
        RarOpenData open{.arc_name = archive, .open_mode = RarOpenMode::Extract};
        const RarHandle handle = unrar.OpenArchive(open);
        if (handle != 0) {
            uint64_t reported = 0;
            unrar.SetProcessDataProc(handle, [&reported](const unsigned char*, int block) {
                Check(block > 0);
                reported += static_cast<uint64_t>(block);
                return 1;
            });
            RarHeader header;
            int code = kRarSuccess;
            bool all_ok = true;
            // A bounded walk: a reader that hands out headers without end is a hang.
            for (size_t n = 0; n < 100000 && (code = unrar.ReadHeader(handle, header)) == kRarSuccess; ++n) {
                const int result = unrar.ProcessFile(handle, RarOperation::Extract, dest);
                all_ok = all_ok && result == kRarSuccess;
                if (result != kRarSuccess && result != kRarECreate && result != kRarBadData) {
                    break;
                }
            }
            extracted_all = all_ok && code == kRarEndArchive;
            unrar.CloseArchive(handle);
        }
    }

    // Nothing beside the destination, and every link in it resolves inside it.
    for (const auto& entry : fs::directory_iterator(dirs.box, ec)) {
        Check(entry.path() == dirs.dest);
    }
    const fs::path real_dest = fs::exists(dirs.dest, ec) ? fs::canonical(dirs.dest, ec) : dirs.dest;
    for (auto it = fs::recursive_directory_iterator(dirs.dest, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_symlink(ec)) {
            std::error_code resolve_ec;
            const fs::path target = fs::weakly_canonical(it->path(), resolve_ec);
            // A cycle of links resolves to nothing; it leads nowhere outside either.
            Check(resolve_ec || Inside(target, real_dest));
        }
    }

    if (untouched) {
        Check(listed_to_end);
        Check(listed == written.names);
        Check(extracted_all);
        for (const auto& [path, contents] : written.files) {
            std::ifstream file(dirs.dest / path, std::ios::binary);
            std::ostringstream read;
            read << file.rdbuf();
            Check(file.is_open() && read.str() == contents);
        }
    }
    return 0;
}
