#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <string>

namespace kavlo {

// One catalogue item: a demo, program, driver, full game, extra...
struct TDemos {
    std::string Name;
    std::string FullName;
    std::string Title;
    std::string Firm;
    std::string Describe0;
    std::string Describe;
    std::string Text;
    std::string TechInfo;
    std::string UnInstallName;
    std::string InstalledDir;
    std::string GameName;
    std::string Date;
    std::string RegUninstall;
    std::string RegKey;
    std::string RegName;
    std::string Uninstall;
    std::string Picture;
    std::string SourceDir;
    std::string InstallName;
    std::string SetupName;
    std::string ReadmeName;
    std::string ReadmeDVD;
    std::string Param;
    int32_t InstallType = 0;
    int32_t DirDetect = 0;
    int32_t Flags = 0;
    uint8_t NeedsInstall = 0;
    uint8_t Installed = 0;
    uint8_t CanUninstall = 0;
    std::string Web;
    uint8_t CD = 0;
};

struct TUpdate {
    std::string Name;
    std::string Suffix;
    std::string FileName;
    std::string ReadmeName;
    uint8_t Mode = 0;
    std::string Reserved; // loading leaves it empty
};

struct TShot {
    std::string FullName;
    std::string Name;
    std::string Firm;
    std::string Date;
    std::string Describe0;
    std::string Describe;
    std::string Text;
    std::string Web;
    std::string Picture;
};

struct TMovies {
    std::string Name;
    std::string Firm;
    std::string TechInfo;
    std::string FullName;
    std::string Describe0;
    std::string Describe;
    std::string FilePath;
    std::string Date;
    std::string GameName;
    std::string InstallName;
    uint8_t InstallType = 0;
    uint8_t Flags = 0;
    std::string Picture;
};

// A table of fixed capacity whose entries are numbered from 1, as the catalogue numbers items.
template <typename T, int N> class FixedTable {
public:
    static constexpr int kCapacity = N;

    T& operator[](int n) {
        assert(n >= 1 && n <= N);
        return items_[static_cast<size_t>(n - 1)];
    }
    const T& operator[](int n) const {
        assert(n >= 1 && n <= N);
        return items_[static_cast<size_t>(n - 1)];
    }

private:
    std::array<T, N> items_{};
};

} // namespace kavlo
