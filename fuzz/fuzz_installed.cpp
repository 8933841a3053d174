// Any bytes as kavlo.ini on a PC where a few programs are installed: building the Installed list
// must not crash, list more than it may, or change kavlo.ini beyond taking keys out of its record
// sections.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "main_f/installed_list.h"
#include "platform/posix/posix_platform.h"
#include "platform/profile_document.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// One PC root for the whole run: its programs never change, only kavlo.ini does.
struct FuzzPc {
    FuzzPc()
        : root(std::filesystem::temp_directory_path() / ("kavlo-fuzz-installed-" + std::to_string(getpid()))),
          posix({.pc_root = (root / "pc").string(), .scan_media = false}) {
        for (const char* program : {"GAMES/A/A.EXE", "GAMES/B/GAME.EXE", "G/C.EXE"}) {
            const std::filesystem::path host = root / "pc/drive_c" / program;
            std::filesystem::create_directories(host.parent_path());
            std::ofstream(host) << "MZ";
        }
        posix.registry().WriteString(kavlo::RegRoot::LocalMachine,
                                     "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A",
                                     "UninstallString", "C:\\GAMES\\A\\UNINST.EXE");
    }
    ~FuzzPc() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    std::filesystem::path root;
    kavlo::PosixPlatform posix;
};

bool IsRecordSection(const std::string& section) {
    return section.size() == 6 && (section[0] == 'C' || section[0] == 'c') &&
           (section[1] == 'D' || section[1] == 'd') &&
           std::all_of(section.begin() + 2, section.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Sections stay and record sections only lose keys (a duplicate key line shows once the first of
// its name is gone); nothing else changes.
void CheckOnlyRecordsWent(const kavlo::ProfileDocument& before, const kavlo::ProfileDocument& after) {
    Check(before.Sections() == after.Sections());
    for (const std::string& section : before.Sections()) {
        const std::vector<std::string> keys = before.Keys(section);
        if (!IsRecordSection(section)) {
            Check(after.Keys(section) == keys);
            for (const std::string& key : keys) {
                Check(after.Get(section, key) == before.Get(section, key));
            }
            continue;
        }
        for (const std::string& key : after.Keys(section)) {
            Check(std::find(keys.begin(), keys.end(), key) != keys.end());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzPc pc;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(pc.root / "pc/drive_c/WINDOWS/kavlo.ini", std::ios::binary | std::ios::trunc) << bytes;

    kavlo::ProfileCache profiles(std::chrono::milliseconds(0));
    kavlo::IniFile settings(pc.posix.fs(), profiles, "kavlo.ini", "C:\\WINDOWS");
    kavlo::InstalledTable table;
    const int count = kavlo::ReadInstalledList(table, {pc.posix.fs(), pc.posix.registry(), settings, "0206"});

    Check(count >= 0 && count <= kavlo::kInstalledListLimit);
    for (int n = 1; n <= count; ++n) {
        const kavlo::TDemos& item = table[n];
        Check(!item.Name.empty() && !item.InstalledDir.empty());
        Check(item.CanUninstall == 1 && item.NeedsInstall == 0);
        Check(item.InstallType == 2 || item.InstallType == 4);
    }
    for (int n = count + 1; n <= kavlo::InstalledTable::kCapacity; ++n) {
        Check(table[n].Name.empty());
    }
    std::ifstream in(pc.root / "pc/drive_c/WINDOWS/kavlo.ini", std::ios::binary);
    const std::string after{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    CheckOnlyRecordsWent(kavlo::ProfileDocument::Parse(bytes), kavlo::ProfileDocument::Parse(after));
    return 0;
}
