// Browsing the menu on a main window in a headless application: opening the Demos page (the
// install-state check of its 40 items against a PC with a realistic registry, Start menu and
// kavlo.ini), one move in its list with the panel redrawn, and opening the Installed page over a
// kavlo.ini that earlier discs filled with records.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <unistd.h>

#include "main_f/form1.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/lnk_writer.h"
#include "sampledisc/sample_disc.h"
#include "skingen/resources.h"
#include "ui/headless/headless_backend.h"

namespace {

using namespace kavlo;
namespace fs = std::filesystem;

constexpr int kDemos = 40;
constexpr int kUninstallKeys = 3000;
constexpr int kOtherShortcuts = 300;
constexpr int kIssueSections = 60;
constexpr int kOldRecords = 500;
constexpr std::string_view kIssue = "1226";
constexpr std::string_view kGamesDir = "C:\\Program Files\\Bench Games\\";
constexpr std::string_view kOldGamesDir = "C:\\Program Files\\Old Discs\\";

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "bench_browser: %s\n", what.c_str());
    std::exit(1);
}

void WriteHost(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        Fail("cannot write " + path.string());
    }
}

// Backslashes doubled, as a REGEDIT4 string holds them.
std::string RegQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

// Distinct two-word program names: the adjective runs fastest, so sorted names interleave.
std::string ProgramName(int n) {
    static const char* const adjectives[] = {
        "Amber", "Broken", "Crimson", "Distant",  "Electric", "Frozen", "Golden", "Hidden",
        "Iron",  "Jade",   "Lost",    "Midnight", "Northern", "Silent", "Velvet", "Wild"};
    static const char* const nouns[] = {"Harbour",  "Orbit",  "Circuit", "Kingdom", "Legion", "Meadow",
                                        "Outpost",  "Rally",  "Signal",  "Tower",   "Voyage", "Warden",
                                        "Frontier", "Garden", "Pilot",   "Quarry"};
    std::string name = std::string(adjectives[n % 16]) + " " + nouns[(n / 16 + 3 * n) % 16];
    if (n >= 256) {
        name += " " + std::to_string(n / 256 + 1);
    }
    return name;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Two(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// How a demo is found on the PC: the catalogue's InstallType and DirDetect, and what the PC holds.
enum class Detect { UninstallKey, Shortcut, Record, UninstallerFolder, ProgramIni, RegistryPath };

struct Demo {
    int n = 0;
    std::string name;
    Detect detect = Detect::Record;
    bool installed = false;

    std::string Dir() const { return std::string(kGamesDir) + "Demo " + Two(n); }
    std::string Game() const { return "DEMO" + Two(n) + ".EXE"; }
    std::string Key() const { return "BenchDemo" + Two(n); }
    // InstallShield's log-driven uninstaller for the demos found by their uninstall key, a program in
    // the demo's folder for the others.
    std::string Uninstaller() const {
        if (detect == Detect::UninstallKey) {
            return "C:\\WINDOWS\\IsUninst.exe -f\"" + Dir() + "\\Uninst.isu\"";
        }
        return "\"" + Dir() + "\\uninst.exe\"";
    }
};

std::vector<Demo> Demos() {
    constexpr Detect kMix[] = {
        Detect::UninstallKey, Detect::Shortcut,   Detect::Record, Detect::UninstallerFolder,
        Detect::Shortcut,     Detect::ProgramIni, Detect::Record, Detect::RegistryPath};
    std::vector<Demo> demos;
    for (int n = 1; n <= kDemos; ++n) {
        demos.push_back(Demo{n, ProgramName(n - 1), kMix[(n - 1) % 8], n % 3 != 0});
    }
    return demos;
}

// The catalogue keys that choose the check of each kind.
std::string DetectionKeys(const Demo& demo) {
    switch (demo.detect) {
        case Detect::UninstallKey:
            return "InstallType=4\r\nDirDetect=0\r\nTestName=" + demo.Game() +
                   "\r\nRegUninstall=" + demo.Key() + "\r\n";
        case Detect::Shortcut:
            return "InstallType=5\r\nDirDetect=3\r\nShortCut=Bench Games\\" + demo.name +
                   ".lnk\r\nRegUninstall=" + demo.Key() + "\r\n";
        case Detect::Record:
            return "InstallType=2\r\nDirDetect=0\r\nInstallName=demo" + Two(demo.n) +
                   ".rar\r\nUnpackedSize=1200\r\n";
        case Detect::UninstallerFolder:
            return "InstallType=5\r\nDirDetect=7\r\nRegUninstall=" + demo.Key() + "\r\n";
        case Detect::ProgramIni:
            return "InstallType=5\r\nDirDetect=6\r\nIniFile=demo" + Two(demo.n) +
                   ".ini,Paths,InstallDir\r\nRegUninstall=" + demo.Key() + "\r\n";
        case Detect::RegistryPath:
            return "InstallType=5\r\nDirDetect=2\r\nRegKey=Bench Games\\Demo " + Two(demo.n) +
                   "\r\nRegName=Path\r\nTestFile=DATA\\MAPS.DAT\r\nRegUninstall=" + demo.Key() + "\r\n";
    }
    return {};
}

std::string Catalogue(const std::vector<Demo>& demos, const std::vector<std::string>& pictures) {
    std::string text =
        "[Main]\r\nVersion=0\r\nCD=" + std::string(kIssue) + "\r\nDemos=" + std::to_string(kDemos) + "\r\n";
    for (const Demo& demo : demos) {
        text +=
            "[Demo" + std::to_string(demo.n) + "]\r\nName=" + demo.name + "\r\nFullName=" + demo.name +
            ": the demo\r\nFirm=Bench Studio " + std::to_string(demo.n % 7) +
            "\r\nDate=1126\r\nTechInfo=P4 2 GHz, 512 MB RAM, 3D card 128 MB\r\nInstallDir=DEMO" +
            Two(demo.n) + "\r\nInstallName=SETUP.EXE\r\nGameName=" + demo.Game() +
            "\r\nReadmeName=README.TXT\r\nReadmeDVD=README.TXT\r\nWeb=https://bench.example/" +
            std::to_string(demo.n) +
            "\r\nPicture=" + pictures[static_cast<size_t>(demo.n) % pictures.size()] +
            "\r\nFlags=" + std::to_string(demo.n % 38) +
            "\r\nCD=1\r\nUninstall=DE\r\nDescribe0=Three levels of the full game, a practice mode and the "
            "soundtrack's first two pieces. Item " +
            std::to_string(demo.n) + " of the disc.\r\n" + DetectionKeys(demo);
    }
    return text;
}

// The small pictures of the sample disc, by the names items give them.
std::vector<std::string> PictureNames(const fs::path& kavlo_dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kavlo_dir / "Small")) {
        std::string stem = entry.path().stem().string();
        // A picture with a gallery is stored as its first page.
        if (stem.size() > 2 && stem.ends_with("01") && fs::exists(kavlo_dir / (stem + ".jpg"))) {
            stem.resize(stem.size() - 2);
        }
        names.push_back(stem);
    }
    std::sort(names.begin(), names.end());
    if (names.empty()) {
        Fail("the sample disc has no small pictures");
    }
    return names;
}

// An old record's program: half of them are still where they were installed.
struct OldRecord {
    int n = 0;
    std::string name;
    std::string code;
    bool present = false;

    std::string Dir() const { return std::string(kOldGamesDir) + "Program " + std::to_string(n); }
    std::string Key() const { return "OldProgram" + std::to_string(n); }
};

// Issue codes MMYY over the years the series ran (98, 99, 00-20), no two alike.
std::vector<std::string> IssueCodes() {
    std::vector<std::string> codes;
    for (int k = 0; k < kIssueSections; ++k) {
        const int year_index = (7 * k) % 23;
        const int year = year_index < 2 ? 98 + year_index : year_index - 2;
        codes.push_back(Two(k % 12 + 1) + Two(year));
    }
    return codes;
}

std::vector<OldRecord> OldRecords() {
    const std::vector<std::string> codes = IssueCodes();
    std::vector<OldRecord> records;
    for (int n = 1; n <= kOldRecords; ++n) {
        records.push_back(OldRecord{n, Upper(ProgramName(kDemos + n)),
                                    codes[static_cast<size_t>(n) % codes.size()], n % 2 == 0});
    }
    return records;
}

// kavlo.ini as a long-time reader's PC has it: the switches, this disc's records and those of 60
// earlier issues.
std::string SettingsIni(const std::vector<Demo>& demos, const std::vector<OldRecord>& records) {
    std::string text =
        "[Main]\r\nLanguage=1\r\nEnhanced=1\r\nSlow=0\r\nMusic=0\r\n[CD" + std::string(kIssue) + "]\r\n";
    for (const Demo& demo : demos) {
        if (demo.detect == Detect::Record && demo.installed) {
            const std::string name = Upper(demo.name);
            text += name + "=" + demo.Dir() + "\r\n" + name + "_=" + demo.Game() + ",,DE,\r\n";
        }
    }
    for (const std::string& code : IssueCodes()) {
        text += "[CD" + code + "]\r\n";
        for (const OldRecord& record : records) {
            if (record.code != code) {
                continue;
            }
            text += record.name + "=" + record.Dir() + "\r\n" + record.name + "_=GAME.EXE," + record.Key() +
                    ",DE," + (record.n % 5 == 0 ? "11" : "") + "\r\n";
            // The first disc kept no uninstaller of its own: the registry still has it.
            if (code != "0198") {
                text += record.name + "__=" + record.Dir() + "\\uninst.exe\r\n";
            }
        }
    }
    return text;
}

std::string UninstallKey(std::string_view name) {
    return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
           std::string(name) + "]\r\n";
}

std::string GuidOf(int n) {
    static const char kHex[] = "0123456789ABCDEF";
    uint64_t x = 0x9E3779B97F4A7C15ull * static_cast<uint64_t>(n + 1);
    std::string guid = "{";
    for (int i = 0; i < 32; ++i) {
        if (i == 8 || i == 12 || i == 16 || i == 20) {
            guid += '-';
        }
        x ^= x >> 13;
        x *= 0xBF58476D1CE4E5B9ull;
        guid += kHex[x & 15];
    }
    return guid + "}";
}

// A few thousand uninstall keys as installers of both kinds leave them, a third without an
// uninstaller; the keys
// of the demos and of the old records lie among them.
std::string Registry(const std::vector<Demo>& demos, const std::vector<OldRecord>& records) {
    std::string text = "REGEDIT4\r\n\r\n";
    for (int n = 0; n < kUninstallKeys; ++n) {
        const std::string product = "Product " + std::to_string(n);
        text += UninstallKey(n % 2 == 0 ? GuidOf(n) : "Vendor " + std::to_string(n % 97) + " " + product);
        text += "\"DisplayName\"=" + RegQuoted(product) +
                "\r\n\"Publisher\"=" + RegQuoted("Vendor " + std::to_string(n % 97)) +
                "\r\n\"DisplayVersion\"=\"1." + std::to_string(n % 10) + "\"\r\n";
        if (n % 3 != 0) {
            const std::string dir = "C:\\Program Files\\Vendor " + std::to_string(n % 97) + "\\" + product;
            const std::string uninstaller = n % 3 == 1
                                                ? "\"" + dir + "\\unins000.exe\""
                                                : "C:\\WINDOWS\\IsUninst.exe -f\"" + dir + "\\Uninst.isu\"";
            text += "\"InstallLocation\"=" + RegQuoted(dir) +
                    "\r\n\"UninstallString\"=" + RegQuoted(uninstaller) + "\r\n";
        }
        text += "\r\n";
        if (const int demo = n / 70; n % 70 == 35 && demo < kDemos) {
            const Demo& d = demos[static_cast<size_t>(demo)];
            if (d.installed && d.detect != Detect::Record) {
                text += UninstallKey(d.Key()) + "\"DisplayName\"=" + RegQuoted(d.name) +
                        "\r\n\"UninstallString\"=" + RegQuoted(d.Uninstaller()) + "\r\n\r\n";
            }
        }
    }
    for (const OldRecord& record : records) {
        if (record.code == "0198") {
            text += UninstallKey(record.Key()) +
                    "\"UninstallString\"=" + RegQuoted(record.Dir() + "\\uninst.exe") + "\r\n\r\n";
        }
    }
    for (const Demo& demo : demos) {
        if (demo.detect == Detect::RegistryPath && demo.installed) {
            text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bench Games\\Demo " + Two(demo.n) +
                    "]\r\n\"Path\"=" + RegQuoted(demo.Dir() + "\\" + demo.Game()) + "\r\n\r\n";
        }
    }
    return text;
}

std::string_view FormStream() {
    const auto stream = Resource("TFORM1");
    return {reinterpret_cast<const char*>(stream.data()), stream.size()};
}

fs::path MakeTempRoot() {
    std::string pattern = (fs::temp_directory_path() / "kavlo-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        Fail("cannot make a temporary folder");
    }
    return pattern;
}

// The sample disc with a catalogue of 40 demos, a PC root that has seen years of the magazine, and
// the menu's window shown on it.
class Browser {
public:
    Browser() : root_(MakeTempRoot()), demos_(Demos()), records_(OldRecords()) {
        std::string error;
        if (!sample::WriteSampleDisc(root_ / "disc", {}, error)) {
            Fail("sample disc: " + error);
        }
        const fs::path kavlo_dir = root_ / "disc" / "KAVLO";
        WriteHost(kavlo_dir / "kavloxp.ini", Catalogue(demos_, PictureNames(kavlo_dir)));
        // Written before the platform is made, which adds the system folders to it.
        WriteHost(root_ / "pc" / "registry.reg", Registry(demos_, records_));
        posix_ = std::make_unique<PosixPlatform>(
            PosixPlatformOptions{.pc_root = (root_ / "pc").string(),
                                 .disc_dir = (root_ / "disc").string(),
                                 .scan_media = false,
                                 .fixed_time = LocalTime{2026, 12, 8, 12, 0, 0}});
        if (!posix_->ok()) {
            Fail(posix_->error());
        }
        posix_->system().SetScreenProvider([this] { return backend_.DisplaySize(); });
        WritePc();
        fonts_ = std::make_unique<FontResolver>(posix_->fonts());
        form_ = std::make_unique<TForm1>(posix_->platform(), app_, *fonts_, FormStream(),
                                         std::vector<std::string>{});
        form_->FormCreate();
        form_->Show();
        backend_.RunFor(app_, 100);
        if (form_->catalogue.header.Demos != kDemos || form_->state.CurrentPage != PageKind::Demos) {
            Fail("the Demos page did not open at start");
        }
    }

    ~Browser() {
        form_.reset();
        fonts_.reset();
        posix_.reset();
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    TForm1& Form() { return *form_; }

    // What the message loop does after a handler: the window's pending update painted through the
    // form's Paint. The list and the panel sit in a DIB container, whose changes wait in the window's
    // update region, not in the form's own PendingUpdate.
    void PaintPending() { app_.ProcessMessages(); }

    // kavlo.ini as it was before the Installed page pruned it; the INI cache trusts what it read for a
    // moment, and a page opened later than that reads the file afresh.
    void RestoreSettings() {
        WriteHost(OnC("C:\\WINDOWS\\kavlo.ini"), SettingsIni(demos_, records_));
        std::this_thread::sleep_for(ProfileCache::kDefaultRecheck + std::chrono::milliseconds(1));
    }

    static Browser& Shared() {
        static Browser browser;
        return browser;
    }

private:
    fs::path Host(const std::string& windows_path) const {
        const std::optional<std::string> host = posix_->fs().HostPath(windows_path);
        if (!host) {
            Fail("no host path for " + windows_path);
        }
        return fs::path(*host);
    }

    // A path on C: of plain ASCII names, whose host path follows from the names themselves.
    fs::path OnC(const std::string& windows_path) const {
        std::string relative = windows_path.substr(3);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        return fs::path(posix_->paths().drive_c) / relative;
    }

    void WriteLink(const fs::path& host, const std::string& dir, const std::string& program) {
        const std::optional<std::string> link =
            sample::WriteShellLink({.target = dir + "\\" + program, .working_dir = dir});
        if (!link) {
            Fail("no link to " + program);
        }
        WriteHost(host, *link);
    }

    // The Start menu, the installed demos and old programs, their INI files and kavlo.ini.
    void WritePc() {
        const std::string user_programs = posix_->registry()
                                              .ReadString(RegRoot::CurrentUser,
                                                          "\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                                                          "explorer\\Shell Folders",
                                                          "Programs")
                                              .value_or("");
        const fs::path programs = Host(user_programs);
        for (int n = 0; n < kOtherShortcuts; ++n) {
            const std::string vendor = "Vendor " + std::to_string(n % 97);
            const std::string product = "Product " + std::to_string(n);
            WriteLink(programs / vendor / (product + ".lnk"), "C:\\Program Files\\" + vendor + "\\" + product,
                      "PRODUCT.EXE");
        }
        for (const Demo& demo : demos_) {
            if (!demo.installed) {
                continue;
            }
            WriteHost(OnC(demo.Dir() + "\\" + demo.Game()), "MZ");
            WriteHost(OnC(demo.Dir() + "\\uninst.exe"), "MZ");
            WriteHost(OnC(demo.Dir() + "\\Uninst.isu"), "log");
            if (demo.detect == Detect::Shortcut) {
                WriteLink(programs / "Bench Games" / (demo.name + ".lnk"), demo.Dir(), demo.Game());
            } else if (demo.detect == Detect::ProgramIni) {
                WriteHost(OnC("C:\\WINDOWS\\demo" + Two(demo.n) + ".ini"),
                          "[Paths]\r\nInstallDir=" + demo.Dir() + "\r\n");
            } else if (demo.detect == Detect::RegistryPath) {
                WriteHost(OnC(demo.Dir() + "\\DATA\\MAPS.DAT"), "maps");
            }
        }
        for (const OldRecord& record : records_) {
            if (record.present) {
                WriteHost(OnC(record.Dir() + "\\GAME.EXE"), "MZ");
            }
        }
        WriteHost(OnC("C:\\WINDOWS\\kavlo.ini"), SettingsIni(demos_, records_));
    }

    fs::path root_;
    std::vector<Demo> demos_;
    std::vector<OldRecord> records_;
    std::unique_ptr<PosixPlatform> posix_;
    HeadlessBackend backend_{ScreenSize{1280, 1024}};
    Application app_{backend_};
    std::unique_ptr<FontResolver> fonts_;
    std::unique_ptr<TForm1> form_;
};

// The Demos page opened from another page: every item's install state checked against the registry,
// the Start menu's shortcuts and the INI files, the list filled and the window painted.
void BM_OpenDemosPage(benchmark::State& state) {
    Browser& browser = Browser::Shared();
    TForm1& form = browser.Form();
    int installed = 0;
    for (auto _ : state) {
        form.state.CurrentPage = PageKind::Installed;
        form.SelectPage(PageKind::Demos);
        browser.PaintPending();
        installed = 0;
        for (int n = 1; n <= kDemos; ++n) {
            installed += form.catalogue.Demos[n].Installed;
        }
    }
    state.counters["installed"] = benchmark::Counter(installed);
}
BENCHMARK(BM_OpenDemosPage)->Unit(benchmark::kMillisecond);

// One move in the list, from the key to the panel redrawn: down to the next item and back up again,
// each with its detail panel and the window painted.
void BM_ListMove(benchmark::State& state) {
    Browser& browser = Browser::Shared();
    TForm1& form = browser.Form();
    form.SelectPage(PageKind::Demos);
    browser.PaintPending();
    for (auto _ : state) {
        form.ScrollListDown();
        browser.PaintPending();
        form.ScrollListUp();
        browser.PaintPending();
    }
    if (form.state.CurrentItem != 1) {
        Fail("the list did not come back to its first item");
    }
    state.SetItemsProcessed(2 * state.iterations());
    state.counters["per_move"] =
        benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ListMove)->Unit(benchmark::kMicrosecond);

// The Installed page: kavlo.ini's records of every issue read, sorted and checked, the vanished
// programs' records pruned, the list filled and the window painted.
void BM_OpenInstalledPage(benchmark::State& state) {
    Browser& browser = Browser::Shared();
    TForm1& form = browser.Form();
    for (auto _ : state) {
        state.PauseTiming();
        browser.RestoreSettings();
        state.ResumeTiming();
        form.SetInstalledPage();
        browser.PaintPending();
    }
    state.counters["listed"] = benchmark::Counter(form.InstalledCount);
}
BENCHMARK(BM_OpenInstalledPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
