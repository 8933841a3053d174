#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavlo {

// The values of GetVersionEx's platform identifier.
enum class OsPlatform : int { Win32s = 0, Windows9x = 1, WindowsNT = 2, Other = 3 };

// The primary screen in pixels.
struct ScreenSize {
    int width = 1024;
    int height = 768;
};

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    virtual OsPlatform Platform() const = 0;
    // Without a trailing back-slash, as the system queries return them.
    virtual std::string WindowsDirectory() const = 0;
    virtual std::string SystemDirectory() const = 0;
    virtual std::optional<std::string> Environment(std::string_view name) const = 0;
    // Whether the user belongs to the local Administrators group.
    virtual bool IsAdmin() const = 0;
    virtual LocalTime Now() const = 0;
    // Path of the running program as Windows sees it ("E:\KAVLO.EXE").
    virtual std::string ProgramPath() const = 0;
    virtual ScreenSize Screen() const = 0;
};

} // namespace kavlo
