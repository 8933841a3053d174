// Loading a full catalogue (every table at capacity, every key present) against the floor of
// reading and parsing the same file once.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "main_f/catalogue.h"
#include "platform/posix/posix_platform.h"
#include "platform/profile.h"
#include "platform/profile_document.h"
#include "ui/message_box.h"

namespace {

using namespace kavlo;

const char* const kItemKeys[] = {"Name",         "FullName",   "Firm",        "Describe0", "Describe1",
                                 "TechInfo",     "InstallDir", "GameName",    "Date",      "SetupName",
                                 "ReadmeName",   "ReadmeDVD",  "Web",         "Picture",   "InstallName",
                                 "RegUninstall", "RegKey",     "RegName",     "Uninstall", "UnInstallName",
                                 "TestName",     "ShortCut",   "UnpackedSize"};

struct Section {
    const char* count_key;
    const char* prefix;
    int capacity;
};

const Section kSections[] = {
    {"Demos", "Demo", 40},     {"Shareware", "Share", 30}, {"Service", "Service", 30},
    {"Drivers", "Driver", 30}, {"Shots", "Shot", 60},      {"Extra", "Extra", 40},
    {"Movies", "Movie", 70},   {"Readers", "Reader", 40},  {"Addons", "Addon", 40},
    {"Fulls", "Full", 40},     {"Extra2", "E2xtra", 100},  {"Extra3", "E3xtra", 100}};

std::string FullCatalogue() {
    std::string text = "[Main]\r\nVersion=1\r\nCD=0204\r\nCDLabel=KAVLO0204\r\nDVD=1\r\nUpdates=50\r\n";
    for (const Section& s : kSections) {
        text += std::string(s.count_key) + "=" + std::to_string(s.capacity) + "\r\n";
    }
    text += "[Updates]\r\n";
    for (int n = 1; n <= 50; ++n) {
        text += "Update" + std::to_string(n) + "=Patch & fix " + std::to_string(n) + ";1.0" +
                std::to_string(n) + ";patch" + std::to_string(n) + ".exe;readme.txt;0\r\n";
    }
    for (const Section& s : kSections) {
        for (int n = 1; n <= s.capacity; ++n) {
            text += "[" + std::string(s.prefix) + std::to_string(n) + "]\r\n";
            for (const char* key : kItemKeys) {
                text +=
                    std::string(key) + "=Value of " + key + " for item " + std::to_string(n) + " & more\r\n";
            }
            text += "InstallType=2\r\nDirDetect=3\r\nFlags=5\r\nCD=1\r\n";
        }
    }
    return text;
}

class BenchDisc {
public:
    BenchDisc() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavlo-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root_ = pattern;
        std::filesystem::create_directories(root_ / "disc" / "KAVLO");
        std::ofstream(root_ / "disc" / "KAVLO" / "kavloxp.ini", std::ios::binary) << FullCatalogue();
        platform_ = std::make_unique<PosixPlatform>(PosixPlatformOptions{
            .pc_root = (root_ / "pc").string(), .disc_dir = (root_ / "disc").string(), .scan_media = false});
        state.DiscDrive = platform().system.ProgramPath().substr(0, 2);
        state.DiscDir = state.DiscDrive + "\\KAVLO\\";
        state.WindowsDir = "C:\\WINDOWS\\";
    }
    ~BenchDisc() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    Platform& platform() { return platform_->platform(); }

    MenuState state;

private:
    std::filesystem::path root_;
    std::unique_ptr<PosixPlatform> platform_;
};

// The floor: the catalogue's bytes read and parsed once.
void BM_ReadAndParseCatalogue(benchmark::State& bench) {
    BenchDisc disc;
    for (auto _ : bench) {
        auto bytes = disc.platform().fs.ReadFile(disc.state.DiscDir + "kavloxp.ini");
        ProfileDocument document = ProfileDocument::Parse(bytes.value_or(""));
        benchmark::DoNotOptimize(document);
    }
}
BENCHMARK(BM_ReadAndParseCatalogue)->Unit(benchmark::kMillisecond);

// The whole load as the window's show step runs it, with a fresh reader cache each time so the
// file is read and parsed within the measured time too.
void BM_LoadFullCatalogue(benchmark::State& bench) {
    BenchDisc disc;
    auto catalogue = std::make_unique<Catalogue>();
    QueuedMessageBoxes boxes;
    for (auto _ : bench) {
        ProfileCache cache;
        IniFile settings(disc.platform().fs, cache, "C:\\WINDOWS\\kavlo.ini", "C:\\WINDOWS");
        CatalogueContext context{disc.platform(), cache, boxes, disc.state, &settings, [](TDemos&) {}};
        CatalogueLoadResult result = ReadCatalogue(*catalogue, context);
        benchmark::DoNotOptimize(result);
        if (catalogue->header.Extra3 != 100) {
            bench.SkipWithError("the catalogue did not load in full");
            break;
        }
    }
}
BENCHMARK(BM_LoadFullCatalogue)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
