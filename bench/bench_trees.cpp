// The tree walks of the install and uninstall procedures on a tree of 100,000 files in 1,111
// folders: SizeofTree (the leftovers' size) against `du -sb`, and SearchTree (finding where a setup
// put its program) against `find -iname`, each on the same host tree through the PC's file system.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "engine/trees.h"
#include "platform/posix/posix_platform.h"

namespace {

using namespace kavlo;
namespace fs = std::filesystem;

constexpr int kBranches = 10;        // folders per level, three levels deep
constexpr int kFilesPerFolder = 100; // in each of the 1,000 deepest folders

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "bench_trees: %s\n", what.c_str());
    std::exit(1);
}

// A PC root whose drive C: holds GAMES\ with the tree; files are sparse, so the sizes are real and
// the disk stays empty. The program searched for sits, in lower case, in the last folder walked.
struct Tree {
    Tree() {
        char pattern[] = "/tmp/kavlo-bench-trees-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            Fail("no temporary folder");
        }
        root = pattern;
        const fs::path games = root / "pc" / "drive_c" / "Games";
        for (int a = 0; a < kBranches; ++a) {
            for (int b = 0; b < kBranches; ++b) {
                for (int c = 0; c < kBranches; ++c) {
                    const fs::path dir = games / ("Studio " + std::to_string(a)) /
                                         ("Title " + std::to_string(b)) / ("Data" + std::to_string(c));
                    fs::create_directories(dir);
                    for (int f = 0; f < kFilesPerFolder; ++f) {
                        const std::string file = (dir / ("Level" + std::to_string(f) + ".dat")).string();
                        const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
                        const off_t size = (a * 1000 + b * 100 + c * 10 + f) % 4096;
                        if (fd < 0 || ftruncate(fd, size) != 0) {
                            Fail("cannot write " + file);
                        }
                        close(fd);
                        bytes += static_cast<uint64_t>(size);
                    }
                }
            }
        }
        const fs::path last = games / ("Studio " + std::to_string(kBranches - 1)) /
                              ("Title " + std::to_string(kBranches - 1)) /
                              ("Data" + std::to_string(kBranches - 1));
        std::fclose(std::fopen((last / "racer.exe").c_str(), "w"));
        host_tree = games.string();
    }
    ~Tree() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    fs::path root;
    std::string host_tree;
    uint64_t bytes = 0;
};

Tree& TheTree() {
    static Tree tree;
    return tree;
}

PosixPlatform& ThePc() {
    static PosixPlatform pc(
        PosixPlatformOptions{.pc_root = (TheTree().root / "pc").string(), .scan_media = false});
    if (!pc.ok()) {
        Fail(pc.error());
    }
    return pc;
}

void RunHost(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        Fail("failed: " + command);
    }
}

void BM_SizeofTree(benchmark::State& state) {
    const FileSystem& fs = ThePc().fs();
    for (auto _ : state) {
        const uint64_t size = SizeofTree(fs, "C:\\GAMES");
        if (size != TheTree().bytes) {
            Fail("SizeofTree measured " + std::to_string(size) + " bytes");
        }
        benchmark::DoNotOptimize(size);
    }
}

void BM_DuFloor(benchmark::State& state) {
    const std::string command = "du -sb '" + TheTree().host_tree + "' >/dev/null";
    for (auto _ : state) {
        RunHost(command);
    }
}

void BM_SearchTree(benchmark::State& state) {
    const FileSystem& fs = ThePc().fs();
    for (auto _ : state) {
        const std::string found = SearchTree(fs, "C:\\GAMES", "RACER.EXE", 5);
        if (found != "C:\\GAMES\\Studio 9\\Title 9\\Data9\\") {
            Fail("SearchTree found '" + found + "'");
        }
        benchmark::DoNotOptimize(found);
    }
}

void BM_FindFloor(benchmark::State& state) {
    const std::string command = "find '" + TheTree().host_tree + "' -iname RACER.EXE >/dev/null";
    for (auto _ : state) {
        RunHost(command);
    }
}

BENCHMARK(BM_SizeofTree)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DuFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchTree)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
