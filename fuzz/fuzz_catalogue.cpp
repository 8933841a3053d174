// The input becomes the disc's catalogue: its first two bytes say how much of the rest goes to
// kavloxp.ini, the remainder is kavloxp2.ini. Loading must never crash or write past a table.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include <unistd.h>

#include "main_f/catalogue.h"
#include "platform/posix/posix_platform.h"
#include "platform/profile.h"
#include "ui/message_box.h"

namespace {

using namespace kavlo;

struct FuzzDisc {
    FuzzDisc() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavlo-fuzz-XXXXXX").string();
        root = mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp/kavlo-fuzz");
        std::filesystem::create_directories(std::filesystem::path(root) / "disc" / "KAVLO");
        platform = std::make_unique<PosixPlatform>(
            PosixPlatformOptions{.pc_root = root + "/pc", .disc_dir = root + "/disc", .scan_media = false});
        state.DiscDrive = platform->platform().system.ProgramPath().substr(0, 2);
        state.DiscDir = state.DiscDrive + "\\KAVLO\\";
        state.WindowsDir = "C:\\WINDOWS\\";
    }

    ~FuzzDisc() {
        platform.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    std::string root;
    std::unique_ptr<PosixPlatform> platform;
    MenuState state;
};

FuzzDisc& Disc() {
    static FuzzDisc disc;
    return disc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDisc& disc = Disc();
    Platform& platform = disc.platform->platform();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t split = input.size();
    std::string_view rest = input;
    if (input.size() >= 2) {
        rest = input.substr(2);
        split = (static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8) % (rest.size() + 1);
    }
    platform.fs.WriteFileAtomic(disc.state.DiscDir + "kavloxp.ini", rest.substr(0, split));
    platform.fs.WriteFileAtomic(disc.state.DiscDir + "kavloxp2.ini", rest.substr(split));

    // A fresh cache per input: two inputs written within one clock tick must not share a parse.
    ProfileCache cache;
    IniFile settings(platform.fs, cache, "C:\\WINDOWS\\kavlo.ini", "C:\\WINDOWS");
    QueuedMessageBoxes boxes;
    auto catalogue = std::make_unique<Catalogue>();
    int checks = 0;
    CatalogueContext context{platform, cache, boxes, disc.state, &settings, [&checks](TDemos&) { ++checks; }};
    ReadCatalogue(*catalogue, context);

    // Every count must be usable as a bound of its table by the pages that list the items.
    const CatalogueHeader& h = catalogue->header;
    const std::pair<int, int> counts[] = {
        {h.Demos, 40}, {h.Shareware, 30}, {h.Service, 30}, {h.Updates, 50}, {h.Drivers, 30},
        {h.Shots, 60}, {h.Extra, 40},     {h.Movies, 70},  {h.Readers, 40}, {h.Addons, 40},
        {h.Fulls, 40}, {h.Extra2, 100},   {h.Extra3, 100}};
    for (const auto& [count, capacity] : counts) {
        if (count < 0 || count > capacity) {
            __builtin_trap();
        }
    }
    if (h.Version < 0 || h.Version > 6) {
        __builtin_trap();
    }
    // Label writes under random issue codes would otherwise pile up in kavlo.ini.
    platform.fs.DeleteFile("C:\\WINDOWS\\kavlo.ini");
    return 0;
}
