#include "platform/posix/posix_shortcuts.h"

#include <cstdint>
#include <liblnk.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/codepage.h"

namespace kavlo {

namespace {

// A shortcut is a few kilobytes; anything this large is no link the shell made.
constexpr off_t kMaxLinkBytes = 1 << 20;

// Link flags that say which parts follow the 76-byte header.
constexpr uint32_t kHasIdList = 0x01;
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kStringFlags[] = {0x04, 0x08, 0x10, 0x20, 0x40}; // name .. icon location, in file order
constexpr uint32_t kIsUnicode = 0x80;
constexpr size_t kHeaderSize = 76;

uint32_t Le(std::string_view bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// One opened link; liblnk's handles are freed however reading ends. liblnk reads the host file itself:
// libbfio's memory ranges copy past their end when a read asks for more than they hold.
class LinkFile {
public:
    explicit LinkFile(const std::string& host_path) {
        liblnk_error_t* error = nullptr;
        // The ANSI strings of a link are in the code page of the system that made it; the menu's
        // shortcuts come from Central European Windows.
        open_ = liblnk_file_initialize(&file_, &error) == 1 &&
                liblnk_file_set_ascii_codepage(file_, LIBLNK_CODEPAGE_WINDOWS_1250, &error) == 1 &&
                liblnk_file_open(file_, host_path.c_str(), LIBLNK_OPEN_READ, &error) == 1;
        liblnk_error_free(&error);
    }
    ~LinkFile() {
        liblnk_error_t* error = nullptr;
        if (open_) {
            liblnk_file_close(file_, &error);
        }
        if (file_ != nullptr) {
            liblnk_file_free(&file_, &error);
        }
        liblnk_error_free(&error);
    }
    LinkFile(const LinkFile&) = delete;
    LinkFile& operator=(const LinkFile&) = delete;

    bool open() const { return open_; }

    // A string of the link in Windows-1250; empty when the link lacks it or it cannot be read.
    template <typename SizeGetter, typename Getter> std::string Text(SizeGetter get_size, Getter get) {
        liblnk_error_t* error = nullptr;
        size_t size = 0;
        std::string text;
        if (get_size(file_, &size, &error) == 1 && size > 0) {
            std::vector<uint8_t> utf8(size);
            if (get(file_, utf8.data(), utf8.size(), &error) == 1) {
                // The size counts the terminating NUL, and a hostile link may hold earlier ones.
                std::string value(reinterpret_cast<const char*>(utf8.data()), utf8.size());
                text = FromUtf8(value.substr(0, value.find('\0')));
            }
        }
        liblnk_error_free(&error);
        return text;
    }

private:
    liblnk_file_t* file_ = nullptr;
    bool open_ = false;
};

// A relative path in a link is taken from the folder the link lies in, as the shell resolves it.
std::string Resolve(const FileSystem& fs, std::string_view link_path, const std::string& relative) {
    const std::string link = fs.FullPath(link_path);
    return fs.FullPath(link.substr(0, link.find_last_of('\\') + 1) + relative);
}

// Reading a pipe or a device would block or never end, so only a regular file of a link's size is
// read.
bool IsLinkSizedFile(const std::string& host_path) {
    struct stat info {};
    return stat(host_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxLinkBytes;
}

} // namespace

bool ShellLinkPartsFit(std::string_view bytes) {
    const size_t size = bytes.size();
    if (size < kHeaderSize) {
        return false;
    }
    const uint32_t flags = Le(bytes, 20, 4);
    size_t at = kHeaderSize;
    // Skips a part whose length is stored in its first `width` bytes; `counted` adds the field itself.
    auto skip = [&](size_t width, size_t unit, bool counted) {
        if (at + width > size) {
            return false;
        }
        at += static_cast<size_t>(Le(bytes, at, width)) * unit + (counted ? width : 0);
        return at <= size;
    };
    if ((flags & kHasIdList) != 0 && !skip(2, 1, true)) {
        return false;
    }
    if ((flags & kHasLinkInfo) != 0 && !skip(4, 1, false)) {
        return false;
    }
    for (uint32_t flag : kStringFlags) {
        if ((flags & flag) != 0 && !skip(2, (flags & kIsUnicode) != 0 ? 2 : 1, true)) {
            return false;
        }
    }
    // Extra data blocks up to the terminal one, whose size is under four.
    while (at + 4 <= size && Le(bytes, at, 4) >= 4) {
        if (!skip(4, 1, false)) {
            return false;
        }
    }
    return true;
}

std::optional<ShortcutInfo> PosixShortcuts::ReadShortcut(std::string_view link_path) const {
    const std::optional<std::string> host = fs_.HostPath(link_path);
    if (!host || !IsLinkSizedFile(*host)) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = fs_.ReadFile(link_path);
    if (!bytes || !ShellLinkPartsFit(*bytes)) {
        return std::nullopt;
    }
    LinkFile link(*host);
    if (!link.open()) {
        return std::nullopt;
    }
    ShortcutInfo info;
    info.target = link.Text(liblnk_file_get_utf8_local_path_size, liblnk_file_get_utf8_local_path);
    if (info.target.empty()) {
        info.target = link.Text(liblnk_file_get_utf8_network_path_size, liblnk_file_get_utf8_network_path);
    }
    if (info.target.empty()) {
        const std::string relative =
            link.Text(liblnk_file_get_utf8_relative_path_size, liblnk_file_get_utf8_relative_path);
        if (!relative.empty()) {
            info.target = Resolve(fs_, link_path, relative);
        }
    }
    if (info.target.empty()) {
        return std::nullopt;
    }
    info.arguments = link.Text(liblnk_file_get_utf8_command_line_arguments_size,
                               liblnk_file_get_utf8_command_line_arguments);
    info.working_dir =
        link.Text(liblnk_file_get_utf8_working_directory_size, liblnk_file_get_utf8_working_directory);
    return info;
}

} // namespace kavlo
