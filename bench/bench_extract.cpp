// Extraction of a ~200 MB archive of mixed files (stored entries, as the disc's are) through TRAR,
// against bsdtar extracting the same archive; and the longest wait between two progress events, in
// which the menu lets its messages run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "RARArc/rararc.h"
#include "platform/codepage.h"
#include "platform/posix/posix_unrar.h"
#include "rarwriter/rar_writer.h"

extern char** environ;

namespace {

using namespace kavlo;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Cheap bytes that do not repeat within a file: a 64-bit mix of the offset.
std::string Noise(uint64_t seed, uint64_t offset, size_t size) {
    std::string out(size, '\0');
    uint64_t x = seed * 0x9E3779B97F4A7C15ull + offset;
    for (size_t i = 0; i + 8 <= size; i += 8) {
        x ^= x >> 33;
        x *= 0xFF51AFD7ED558CCDull;
        x ^= x >> 29;
        std::copy_n(reinterpret_cast<const char*>(&x), 8, out.data() + i);
    }
    return out;
}

// The archive, written once per run: a game's tree of many small files, some middling ones, a few
// large data files (about 200 MB in all).
struct Fixture {
    Fixture() {
        char pattern[] = "/tmp/kavlo-bench-extract-XXXXXX";
        root = mkdtemp(pattern) != nullptr ? fs::path(pattern)
                                           : fs::temp_directory_path() / "kavlo-bench-extract";
        archive = root / "game.rar";
        std::ofstream out(archive, std::ios::binary);
        rarwriter::RarWriter writer(out);
        writer.Add({.name = "GAME", .kind = rarwriter::EntryKind::Directory});
        uint64_t seed = 1;
        const auto add = [&](const std::string& name, uint64_t size) {
            writer.AddGenerated(name, size, rarwriter::HostOs::Win32,
                                [s = seed++](uint64_t offset) { return Noise(s, offset, 1 << 20); });
            total += size;
        };
        for (int i = 0; i < 400; ++i) {
            add("GAME\\SOUNDS\\FX" + std::to_string(i) + ".WAV", 4096 + static_cast<uint64_t>(i) * 331);
        }
        for (int i = 0; i < 40; ++i) {
            add("GAME\\GFX\\LEVEL" + std::to_string(i) + ".PAK", 1'500'000 + static_cast<uint64_t>(i) * 7919);
        }
        for (int i = 0; i < 4; ++i) {
            add("GAME\\DATA\\WORLD" + std::to_string(i) + ".DAT", 30'000'000);
        }
        writer.Finish();
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path root;
    fs::path archive;
    uint64_t total = 0;
};

Fixture& Archive() {
    static Fixture fixture;
    return fixture;
}

void FreshTarget(const fs::path& target) {
    std::error_code ec;
    fs::remove_all(target, ec);
    fs::create_directories(target);
}

void BM_ExtractTRAR(benchmark::State& state) {
    Fixture& fixture = Archive();
    const fs::path target = fixture.root / "trar";
    PosixUnrar unrar([](std::string_view path) -> std::optional<std::string> { return ToUtf8(path); });
    TRAR rar(unrar);
    rar.ArchiveName = FromUtf8(fixture.archive.string());
    rar.TargetDir = FromUtf8(target.string());
    Clock::time_point last;
    Clock::duration longest{};
    int64_t events = 0;
    rar.OnProcessData = [&](TRAR&, const unsigned char*, int, int64_t) {
        const Clock::time_point now = Clock::now();
        longest = std::max(longest, now - last);
        last = now;
        ++events;
        return 1;
    };
    bool ok = true;
    for (auto _ : state) {
        state.PauseTiming();
        FreshTarget(target);
        state.ResumeTiming();
        last = Clock::now();
        ok = rar.ExtractArchive() && ok;
    }
    if (!ok) {
        state.SkipWithError("the extraction failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fixture.total));
    state.counters["longest_gap_ms"] = std::chrono::duration<double, std::milli>(longest).count();
    state.counters["events"] = static_cast<double>(events) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ExtractTRAR)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_ExtractBsdtar(benchmark::State& state) {
    Fixture& fixture = Archive();
    const fs::path target = fixture.root / "bsdtar";
    std::string archive = fixture.archive.string();
    std::string dir = target.string();
    bool ok = true;
    for (auto _ : state) {
        state.PauseTiming();
        FreshTarget(target);
        state.ResumeTiming();
        std::string program = "bsdtar";
        std::string x = "-xf";
        std::string c = "-C";
        char* argv[] = {program.data(), x.data(), archive.data(), c.data(), dir.data(), nullptr};
        pid_t pid = 0;
        int status = -1;
        ok = posix_spawnp(&pid, "bsdtar", nullptr, nullptr, argv, environ) == 0 &&
             ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    if (!ok) {
        state.SkipWithError("bsdtar failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fixture.total));
}
BENCHMARK(BM_ExtractBsdtar)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

BENCHMARK_MAIN();
