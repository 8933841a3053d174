#include "platform/posix/posix_unrar.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/codepage.h"

extern char** environ;

namespace kavlo {

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kBlockSize = 64 * 1024;
// What one read of the archive file asks for. Stored entries come out in blocks of this size, so it sets
// both the cost per block (calls, the progress event) and how often the event comes.
constexpr size_t kReadSize = 1024 * 1024;

// CRC-32 eight bytes at a step (slicing by 8): at a byte a step the check took half of an
// extraction's time. libarchive does not check stored entries, so this check is ours.
uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc) {
    static const auto tables = [] {
        std::vector<std::array<uint32_t, 256>> t(8);
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i) {
            for (size_t k = 1; k < 8; ++k) {
                t[k][i] = t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8);
            }
        }
        return t;
    }();
    crc = ~crc;
    for (; size >= 8; data += 8, size -= 8) {
        const uint32_t lo = crc ^ (uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 |
                                   uint32_t{data[3]} << 24);
        crc = tables[7][lo & 0xFF] ^ tables[6][(lo >> 8) & 0xFF] ^ tables[5][(lo >> 16) & 0xFF] ^
              tables[4][lo >> 24] ^ tables[3][data[4]] ^ tables[2][data[5]] ^ tables[1][data[6]] ^
              tables[0][data[7]];
    }
    for (; size > 0; ++data, --size) {
        crc = tables[0][(crc ^ *data) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

// What a RAR 4 file header says beyond what libarchive hands out: the stored CRC, method, host, flags.
struct Rar4Entry {
    std::string name; // Windows-1250
    uint32_t flags = 0;
    uint64_t pack_size = 0;
    uint64_t unp_size = 0;
    uint32_t host_os = 0;
    uint32_t crc = 0;
    uint32_t time = 0;
    uint32_t version = 0;
    uint32_t method = 0;
    uint32_t attributes = 0;
};

uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    }
    return v;
}

// Walks the block chain of a RAR 4 archive; stops quietly at the first block that does not fit.
std::vector<Rar4Entry> ScanRar4(FILE* file) {
    std::vector<Rar4Entry> entries;
    uint64_t pos = 7;
    std::string head(7, '\0');
    while (std::fseek(file, static_cast<long>(pos), SEEK_SET) == 0 &&
           std::fread(head.data(), 1, 7, file) == 7) {
        const uint32_t type = static_cast<unsigned char>(head[2]);
        const uint32_t flags = Le(head, 3, 2);
        const uint32_t size = Le(head, 5, 2);
        if (size < 7) {
            break;
        }
        std::string block(size, '\0');
        if (std::fseek(file, static_cast<long>(pos), SEEK_SET) != 0 ||
            std::fread(block.data(), 1, size, file) != size) {
            break;
        }
        uint64_t add = (flags & 0x8000) != 0 && size >= 11 ? Le(block, 7, 4) : 0;
        if (type == 0x74 && size >= 32) {
            Rar4Entry e;
            e.flags = flags;
            e.pack_size = Le(block, 7, 4);
            e.unp_size = Le(block, 11, 4);
            e.host_os = static_cast<unsigned char>(block[15]);
            e.crc = Le(block, 16, 4);
            e.time = Le(block, 20, 4);
            e.version = static_cast<unsigned char>(block[24]);
            e.method = static_cast<unsigned char>(block[25]);
            const uint32_t name_size = Le(block, 26, 2);
            e.attributes = Le(block, 28, 4);
            size_t name_at = 32;
            if ((flags & 0x100) != 0 && size >= 40) {
                e.pack_size |= static_cast<uint64_t>(Le(block, 32, 4)) << 32;
                e.unp_size |= static_cast<uint64_t>(Le(block, 36, 4)) << 32;
                name_at = 40;
            }
            if (name_at + name_size > size) {
                break;
            }
            std::string raw = block.substr(name_at, name_size);
            if ((flags & 0x200) != 0) {
                // A Unicode name: the ANSI form, a zero, then the packed form; our writer and most
                // archivers put plain UTF-8 behind the zero when there is no ANSI part.
                const size_t zero = raw.find('\0');
                raw = zero == std::string::npos ? FromUtf8(raw) : raw.substr(0, zero);
            }
            e.name = raw;
            add = e.pack_size;
            entries.push_back(std::move(e));
        } else if (type == 0x7B) {
            break;
        }
        // A damaged 64-bit size could wrap the position back to a block already read: the walk would
        // never end.
        const uint64_t next = pos + size + add;
        if (next <= pos) {
            break;
        }
        pos = next;
    }
    return entries;
}

// A name that stays below the destination: relative, no drive, no "..", no empty path.
std::optional<std::vector<std::string>> SafeComponents(std::string_view name) {
    if (name.empty() || name[0] == '\\' || name[0] == '/' || (name.size() >= 2 && name[1] == ':')) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            if (part == "..") {
                return std::nullopt;
            }
            if (!part.empty() && part != ".") {
                parts.push_back(ToUtf8(part));
            }
            part.clear();
        } else if (name[i] == ':') {
            return std::nullopt; // a drive inside a name, or an alternate data stream
        } else {
            part += name[i];
        }
    }
    if (parts.empty()) {
        return std::nullopt;
    }
    return parts;
}

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

// Opens (making them) the directories of `parts[0..count)` below `root`, never through a link.
Fd OpenDirs(const std::string& root, const std::vector<std::string>& parts, size_t count) {
    Fd dir(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (size_t i = 0; i < count && dir.ok(); ++i) {
        ::mkdirat(dir.get(), parts[i].c_str(), 0755);
        dir = Fd(::openat(dir.get(), parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return dir;
}

// True when a link stored at `parts` pointing at `target` resolves below the destination. Its ".." parts
// must all come first: they then climb only the real folders that hold the link, while a ".." after a
// name could climb out of whatever an earlier link made that name lead to ("here" -> ".", then
// "out" -> "here/..").
bool LinkStaysInside(const std::vector<std::string>& parts, std::string_view target) {
    if (target.empty() || target[0] == '/' || target[0] == '\\' || (target.size() >= 2 && target[1] == ':')) {
        return false;
    }
    int depth = static_cast<int>(parts.size()) - 1;
    bool named = false;
    std::string part;
    for (size_t i = 0; i <= target.size(); ++i) {
        if (i == target.size() || target[i] == '/' || target[i] == '\\') {
            if (part == "..") {
                if (named || --depth < 0) {
                    return false;
                }
            } else if (!part.empty() && part != ".") {
                named = true;
            }
            part.clear();
        } else {
            part += target[i];
        }
    }
    return true;
}

} // namespace

struct UnrarWalk {
    std::string host_path;
    std::string arc_name;
    FILE* file = nullptr;
    archive* reader = nullptr;
    std::vector<Rar4Entry> rar4;
    bool is_rar4 = false;
    size_t index = 0;     // entries read so far
    bool pending = false; // a header was read and its data not yet processed
    bool dead = false;    // the reader failed fatally; no more headers
    RarHeader header;
    archive_entry* entry = nullptr;
    RarProcessDataProc data_proc;
    RarChangeVolProc vol_proc;
    std::string password;
    Clock::time_point last_progress = Clock::now();
    int stall_limit_ms = 5000;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(kBlockSize);
    // The archive's bytes as read; libarchive keeps pointing into them until the next read, so each
    // walk has its own.
    std::vector<char> chunk = std::vector<char>(kReadSize);

    ~UnrarWalk() {
        if (reader != nullptr) {
            archive_read_free(reader);
        }
        if (file != nullptr) {
            std::fclose(file);
        }
    }
    void Progress() { last_progress = Clock::now(); }
    bool Stalled() const { return Clock::now() - last_progress > std::chrono::milliseconds(stall_limit_ms); }

    static la_ssize_t Read(archive*, void* self, const void** out) {
        auto* walk = static_cast<UnrarWalk*>(self);
        if (walk->Stalled()) {
            return -1;
        }
        *out = walk->chunk.data();
        const size_t got = std::fread(walk->chunk.data(), 1, walk->chunk.size(), walk->file);
        return std::ferror(walk->file) ? -1 : static_cast<la_ssize_t>(got);
    }
    static la_int64_t Seek(archive*, void* self, la_int64_t offset, int whence) {
        auto* walk = static_cast<UnrarWalk*>(self);
        if (walk->Stalled() || std::fseek(walk->file, static_cast<long>(offset), whence) != 0) {
            return ARCHIVE_FATAL;
        }
        return std::ftell(walk->file);
    }
    static la_int64_t Skip(archive*, void* self, la_int64_t request) {
        auto* walk = static_cast<UnrarWalk*>(self);
        if (walk->Stalled() || std::fseek(walk->file, static_cast<long>(request), SEEK_CUR) != 0) {
            return 0;
        }
        return request;
    }
};

PosixUnrar::PosixUnrar(const FileSystem& fs)
    : host_path_([&fs](std::string_view path) { return fs.HostPath(fs.FullPath(path)); }) {}
PosixUnrar::PosixUnrar(HostPathFn host_path) : host_path_(std::move(host_path)) {}
PosixUnrar::~PosixUnrar() = default;

UnrarWalk* PosixUnrar::Find(RarHandle handle) {
    auto it = walks_.find(handle);
    return it == walks_.end() ? nullptr : it->second.get();
}

RarHandle PosixUnrar::OpenArchive(RarOpenData& data) {
    data.comment.clear();
    data.comment_state = kRarNoComment;
    const std::optional<std::string> host = host_path_(data.arc_name);
    auto walk = std::make_unique<UnrarWalk>();
    walk->stall_limit_ms = stall_limit_ms_;
    walk->arc_name = data.arc_name;
    if (!host || (walk->file = std::fopen(host->c_str(), "rb")) == nullptr) {
        data.open_result = kRarEOpen;
        return 0;
    }
    walk->host_path = *host;
    char signature[8] = {};
    const size_t got = std::fread(signature, 1, sizeof signature, walk->file);
    static constexpr char kRar4[] = "Rar!\x1a\x07\x00";
    static constexpr char kRar5[] = "Rar!\x1a\x07\x01\x00";
    walk->is_rar4 = got >= 7 && std::equal(kRar4, kRar4 + 7, signature);
    const bool is_rar5 = got >= 8 && std::equal(kRar5, kRar5 + 8, signature);
    if (!walk->is_rar4 && !is_rar5) {
        data.open_result = kRarBadArchive;
        return 0;
    }
    if (walk->is_rar4) {
        walk->rar4 = ScanRar4(walk->file);
    }
    std::fseek(walk->file, 0, SEEK_SET);
    walk->reader = archive_read_new();
    archive_read_support_format_rar(walk->reader);
    archive_read_support_format_rar5(walk->reader);
    archive_read_set_callback_data(walk->reader, walk.get());
    archive_read_set_read_callback(walk->reader, &UnrarWalk::Read);
    archive_read_set_seek_callback(walk->reader, &UnrarWalk::Seek);
    archive_read_set_skip_callback(walk->reader, &UnrarWalk::Skip);
    if (archive_read_open1(walk->reader) != ARCHIVE_OK) {
        data.open_result = kRarBadArchive;
        return 0;
    }
    data.open_result = kRarSuccess;
    const RarHandle handle = next_handle_++;
    walks_[handle] = std::move(walk);
    return handle;
}

int PosixUnrar::ReadHeader(RarHandle handle, RarHeader& header) {
    UnrarWalk* walk = Find(handle);
    if (walk == nullptr) {
        return kRarBadArchive;
    }
    if (walk->pending) {
        if (const int skipped = ProcessFile(handle, RarOperation::Skip, std::nullopt);
            skipped != kRarSuccess) {
            return skipped;
        }
    }
    if (walk->dead) {
        return kRarBadData;
    }
    walk->Progress();
    const int r = archive_read_next_header(walk->reader, &walk->entry);
    if (r == ARCHIVE_EOF) {
        return kRarEndArchive;
    }
    if (r < ARCHIVE_WARN) {
        walk->dead = true;
        return kRarBadData;
    }
    RarHeader h;
    h.arc_name = walk->arc_name;
    const char* utf8 = archive_entry_pathname_utf8(walk->entry);
    const char* raw = archive_entry_pathname(walk->entry);
    h.file_name = utf8 != nullptr ? FromUtf8(utf8) : raw != nullptr ? std::string(raw) : std::string();
    h.unp_size = static_cast<uint64_t>(std::max<la_int64_t>(0, archive_entry_size(walk->entry)));
    h.pack_size = h.unp_size;
    h.method = 0x30;
    if (archive_entry_filetype(walk->entry) == AE_IFDIR) {
        h.flags |= kRarFlagDirectory;
        h.file_attr = 0x10;
    }
    if (archive_entry_is_encrypted(walk->entry) > 0) {
        h.flags |= kRarFlagEncrypted;
    }
    if (walk->is_rar4 && walk->index < walk->rar4.size()) {
        const Rar4Entry& e = walk->rar4[walk->index];
        h.file_name = e.name;
        h.flags = (e.flags & (kRarFlagEncrypted | kRarFlagComment | kRarFlagSolid)) |
                  ((e.flags & 0xE0) == 0xE0 ? uint32_t{kRarFlagDirectory} : 0u);
        h.pack_size = e.pack_size;
        h.unp_size = e.unp_size;
        h.host_os = e.host_os;
        h.file_crc = e.crc;
        h.file_time = e.time;
        h.unp_ver = e.version;
        h.method = e.method;
        h.file_attr = e.attributes;
    }
    for (char& c : h.file_name) {
        c = c == '/' ? '\\' : c;
    }
    h.file_name.resize(std::min<size_t>(h.file_name.size(), 260));
    walk->header = h;
    header = h;
    walk->pending = true;
    ++walk->index;
    return kRarSuccess;
}

namespace {

// Hands the entry's data from libarchive to `out` (may be -1: discard) block by block, as libarchive
// holds it (no copy); a RAR 4 entry's data is checked against its header's CRC.
int CopyData(UnrarWalk& walk, int out, bool check_crc) {
    uint32_t crc = 0;
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int r = archive_read_data_block(walk.reader, &block, &size, &offset);
        if (r == ARCHIVE_EOF) {
            break;
        }
        if (r < ARCHIVE_OK) {
            if (r == ARCHIVE_FATAL || walk.Stalled()) {
                walk.dead = true;
            }
            return kRarBadData;
        }
        walk.Progress();
        const auto* bytes = static_cast<const unsigned char*>(block);
        if (check_crc) {
            crc = Crc32(bytes, size, crc);
        }
        if (out < 0 || size == 0) {
            continue;
        }
        for (size_t done = 0; done < size;) {
            const ssize_t w = ::pwrite(out, bytes + done, size - done,
                                       static_cast<off_t>(offset) + static_cast<off_t>(done));
            if (w <= 0) {
                return kRarEWrite;
            }
            done += static_cast<size_t>(w);
        }
        // The event takes at most an int's worth at a time.
        for (size_t done = 0; walk.data_proc && done < size;) {
            const int piece = static_cast<int>(std::min<size_t>(size - done, 1u << 30));
            if (walk.data_proc(bytes + done, piece) == 0) {
                return kRarUnknown;
            }
            done += static_cast<size_t>(piece);
        }
    }
    return check_crc && crc != walk.header.file_crc ? kRarBadData : kRarSuccess;
}

// The second back end for an entry libarchive cannot decode: `unar` extracts it alone into a private
// folder, and its bytes are then handed on as the unpacked blocks.
int ExtractWithUnar(UnrarWalk& walk, int out) {
    char temp[] = "/tmp/kavlo-unar-XXXXXX";
    if (::mkdtemp(temp) == nullptr) {
        return kRarECreate;
    }
    const std::string index = std::to_string(walk.index - 1);
    std::vector<std::string> args = {"unar", "-q", "-f", "-D", "-o", temp, "-i"};
    if (!walk.password.empty()) {
        args.insert(args.end(), {"-p", walk.password});
    }
    args.push_back(walk.host_path);
    args.push_back(index);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "unar", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int result = kRarBadData;
    if (spawned == 0) {
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (walk.Stalled()) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                status = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::error_code ec;
        for (const auto& found : std::filesystem::recursive_directory_iterator(temp, ec)) {
            if (status == 0 && found.is_regular_file() && !found.is_symlink()) {
                Fd in(::open(found.path().c_str(), O_RDONLY | O_CLOEXEC));
                result = in.ok() ? kRarSuccess : kRarERead;
                ssize_t got = 0;
                while (in.ok() && (got = ::read(in.get(), walk.buffer.data(), walk.buffer.size())) > 0) {
                    if (::write(out, walk.buffer.data(), static_cast<size_t>(got)) != got) {
                        result = kRarEWrite;
                        break;
                    }
                    if (walk.data_proc && walk.data_proc(walk.buffer.data(), static_cast<int>(got)) == 0) {
                        result = kRarUnknown;
                        break;
                    }
                }
                break;
            }
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(temp, ec);
    return result;
}

} // namespace

int PosixUnrar::ProcessFile(RarHandle handle, RarOperation operation,
                            std::optional<std::string_view> dest_dir) {
    UnrarWalk* walk = Find(handle);
    if (walk == nullptr || !walk->pending) {
        return kRarBadArchive;
    }
    walk->pending = false;
    walk->Progress();
    const RarHeader& h = walk->header;
    const bool directory = (h.flags & kRarFlagDirectory) != 0;
    const bool encrypted = (h.flags & kRarFlagEncrypted) != 0;
    if (operation != RarOperation::Extract) {
        // A skipped entry's data is passed over; a tested one is read and checked.
        if (operation == RarOperation::Skip || directory || encrypted) {
            return archive_read_data_skip(walk->reader) < ARCHIVE_WARN ? (walk->dead = true, kRarBadData)
                                                                       : kRarSuccess;
        }
        return CopyData(*walk, -1, walk->is_rar4);
    }
    const std::optional<std::vector<std::string>> parts = SafeComponents(h.file_name);
    const std::optional<std::string> root = host_path_(dest_dir ? *dest_dir : std::string_view("."));
    std::error_code ec;
    if (root) {
        std::filesystem::create_directories(*root, ec);
    }
    const bool link = archive_entry_filetype(walk->entry) == AE_IFLNK;
    const char* link_target = link ? archive_entry_symlink(walk->entry) : nullptr;
    if (!parts || !root || (link && (link_target == nullptr || !LinkStaysInside(*parts, link_target)))) {
        archive_read_data_skip(walk->reader);
        return kRarECreate;
    }
    Fd dir = OpenDirs(*root, *parts, directory ? parts->size() : parts->size() - 1);
    if (!dir.ok()) {
        archive_read_data_skip(walk->reader);
        return kRarECreate;
    }
    if (directory) {
        return archive_read_data_skip(walk->reader) < ARCHIVE_WARN ? kRarBadData : kRarSuccess;
    }
    const std::string& leaf = parts->back();
    if (link) {
        ::unlinkat(dir.get(), leaf.c_str(), 0);
        const bool made = ::symlinkat(link_target, dir.get(), leaf.c_str()) == 0;
        archive_read_data_skip(walk->reader);
        return made ? kRarSuccess : kRarECreate;
    }
    // O_NOFOLLOW: a link already standing at the entry's place is not written through.
    Fd out(::openat(dir.get(), leaf.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!out.ok()) {
        archive_read_data_skip(walk->reader);
        return kRarECreate;
    }
    if (encrypted) {
        archive_read_data_skip(walk->reader);
        return walk->password.empty() ? kRarMissingPassword : ExtractWithUnar(*walk, out.get());
    }
    // A program packed on a Unix system keeps its run bit, as it had where it was packed.
    if ((archive_entry_perm(walk->entry) & 0111) != 0) {
        ::fchmod(out.get(), 0755);
    }
    int result = CopyData(*walk, out.get(), walk->is_rar4);
    if (result == kRarBadData && !walk->dead && walk->is_rar4 &&
        std::string_view(archive_error_string(walk->reader) ? archive_error_string(walk->reader) : "")
                .find("nsupported") != std::string_view::npos) {
        ::ftruncate(out.get(), 0);
        result = ExtractWithUnar(*walk, out.get());
    }
    return result;
}

void PosixUnrar::SetProcessDataProc(RarHandle handle, RarProcessDataProc proc) {
    if (UnrarWalk* walk = Find(handle)) {
        walk->data_proc = std::move(proc);
    }
}

void PosixUnrar::SetChangeVolProc(RarHandle handle, RarChangeVolProc proc) {
    if (UnrarWalk* walk = Find(handle)) {
        walk->vol_proc = std::move(proc);
    }
}

void PosixUnrar::SetPassword(RarHandle handle, std::string_view password) {
    if (UnrarWalk* walk = Find(handle)) {
        walk->password = password;
    }
}

int PosixUnrar::CloseArchive(RarHandle handle) {
    return walks_.erase(handle) > 0 ? kRarSuccess : kRarEClose;
}

} // namespace kavlo
