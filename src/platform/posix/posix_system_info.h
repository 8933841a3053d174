#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system_info.h"

namespace kavlo {

// The PC's Windows folders and the process's surroundings, reported as an NT-family system would.
class PosixSystemInfo : public SystemInfo {
public:
    // `windows_host_dir` is the host folder of C:\WINDOWS; `program_path` the Windows path of the
    // running program; a `fixed_time` stands in for the clock (tests, headless runs).
    PosixSystemInfo(std::string windows_host_dir, std::string program_path,
                    std::optional<LocalTime> fixed_time);

    OsPlatform Platform() const override { return OsPlatform::WindowsNT; }
    std::string WindowsDirectory() const override { return "C:\\WINDOWS"; }
    std::string SystemDirectory() const override { return "C:\\WINDOWS\\SYSTEM"; }
    // The host environment in Windows-1250; TMP and TEMP name the PC's temporary folder, since a
    // host folder would mean nothing to a Windows path. Names are case-insensitive, as on Windows.
    std::optional<std::string> Environment(std::string_view name) const override;
    // The right the administrator test guards: writing to the Windows directory.
    bool IsAdmin() const override;
    LocalTime Now() const override;
    std::string ProgramPath() const override { return program_path_; }
    // The provider's answer (the window backend knows the display); 1024 x 768 without one.
    ScreenSize Screen() const override;

    void SetScreenProvider(std::function<ScreenSize()> provider) { screen_provider_ = std::move(provider); }

private:
    std::string windows_host_dir_;
    std::string program_path_;
    std::optional<LocalTime> fixed_time_;
    std::function<ScreenSize()> screen_provider_;
};

} // namespace kavlo
