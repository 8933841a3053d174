#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/posix/posix_platform.h"
#include "support/temp_dir.h"

namespace kavlo::test {

// A fresh PC root in a temporary directory, with an optional disc folder mapped as D:.
class PcTest : public ::testing::Test {
protected:
    explicit PcTest(bool with_disc = false) : platform_(Options(temp_, with_disc)) {}

    FileSystem& fs() { return platform_.fs(); }
    SystemInfo& system() { return platform_.system(); }
    Registry& registry() { return platform_.registry(); }
    Shortcuts& shortcuts() { return platform_.shortcuts(); }
    // The host file behind a path on drive C: ("GAMES/X/A.EXE").
    std::filesystem::path OnC(const std::string& rel) const { return temp_ / ("pc/drive_c/" + rel); }
    std::filesystem::path OnDisc(const std::string& rel) const { return temp_ / ("disc/" + rel); }
    void MakeFile(const std::filesystem::path& host, const std::string& bytes = "x") {
        WriteHostFile(host, bytes);
    }
    static bool Exists(const std::filesystem::path& host) { return std::filesystem::exists(host); }

private:
    static PosixPlatformOptions Options(const TempDir& temp, bool with_disc) {
        PosixPlatformOptions options;
        options.pc_root = (temp.path() / "pc").string();
        options.scan_media = false;
        if (with_disc) {
            std::filesystem::create_directories(temp.path() / "disc");
            options.disc_dir = (temp.path() / "disc").string();
        }
        return options;
    }

    TempDir temp_;
    PosixPlatform platform_;
};

} // namespace kavlo::test
