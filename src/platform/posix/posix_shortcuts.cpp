#include "platform/posix/posix_shortcuts.h"

#include <cstdint>
#include <liblnk.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/codepage.h"

namespace kavlo {

namespace {

// One opened link; liblnk's handles are freed however reading ends.
class LinkFile {
public:
    explicit LinkFile(const std::string& host_path) {
        liblnk_error_t* error = nullptr;
        if (liblnk_file_initialize(&file_, &error) != 1) {
            liblnk_error_free(&error);
            file_ = nullptr;
            return;
        }
        // The ANSI strings of a link are in the code page of the system that made it; the menu's
        // shortcuts come from Central European Windows.
        open_ = liblnk_file_set_ascii_codepage(file_, LIBLNK_CODEPAGE_WINDOWS_1250, &error) == 1 &&
                liblnk_file_open(file_, host_path.c_str(), LIBLNK_OPEN_READ, &error) == 1;
        liblnk_error_free(&error);
    }
    ~LinkFile() {
        liblnk_error_t* error = nullptr;
        if (open_) {
            liblnk_file_close(file_, &error);
            liblnk_error_free(&error);
        }
        if (file_ != nullptr) {
            liblnk_file_free(&file_, &error);
            liblnk_error_free(&error);
        }
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

// liblnk would block on a pipe and read a device, so only a regular file is handed to it.
bool IsRegularFile(const std::string& host_path) {
    struct stat info {};
    return stat(host_path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

std::optional<ShortcutInfo> PosixShortcuts::ReadShortcut(std::string_view link_path) const {
    const std::optional<std::string> host = fs_.HostPath(link_path);
    if (!host || !IsRegularFile(*host)) {
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
