#include "platform/posix/posix_system_info.h"

#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "platform/codepage.h"

extern char** environ;

namespace kavlo {

namespace {

// Looks a variable up by name without regard to case; the exact spelling wins.
std::optional<std::string> HostEnvironment(const std::string& name) {
    if (const char* value = std::getenv(name.c_str())) {
        return std::string(value);
    }
    const std::string folded = UpperCase1250(name);
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        const size_t equals = text.find('=');
        if (equals != std::string_view::npos && UpperCase1250(text.substr(0, equals)) == folded) {
            return std::string(text.substr(equals + 1));
        }
    }
    return std::nullopt;
}

} // namespace

PosixSystemInfo::PosixSystemInfo(std::string windows_host_dir, std::string program_path,
                                 std::optional<LocalTime> fixed_time)
    : windows_host_dir_(std::move(windows_host_dir)), program_path_(std::move(program_path)),
      fixed_time_(fixed_time) {}

std::optional<std::string> PosixSystemInfo::Environment(std::string_view name) const {
    if (name.empty() || name.find('=') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    if (EqualsNoCase1250(name, "TMP") || EqualsNoCase1250(name, "TEMP")) {
        return WindowsDirectory() + "\\TEMP";
    }
    auto value = HostEnvironment(ToUtf8(name));
    if (!value) {
        return std::nullopt;
    }
    return FromUtf8(*value);
}

bool PosixSystemInfo::IsAdmin() const {
    return access(windows_host_dir_.c_str(), W_OK) == 0;
}

LocalTime PosixSystemInfo::Now() const {
    if (fixed_time_) {
        return *fixed_time_;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

ScreenSize PosixSystemInfo::Screen() const {
    return screen_provider_ ? screen_provider_() : ScreenSize{};
}

} // namespace kavlo
