// The input becomes a shortcut in a PC root: either its bytes as they are, or a link made by our own
// writer from strings taken from the input, then with some of its bytes overwritten. Reading must
// never crash, a shortcut read always names a target, and an untouched link reads back as written.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "sampledisc/lnk_writer.h"

namespace {

using namespace kavlo;

constexpr const char* kLinkPath = "C:\\Links\\fuzz.lnk";

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

struct FuzzPc {
    FuzzPc() {
        // Memory rather than disc when there is a tmpfs: the link is rewritten on every run, and a file
        // truncated and written again on ext4 is flushed to disk each time.
        std::error_code ec;
        const std::filesystem::path temp = std::filesystem::is_directory("/dev/shm", ec)
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (temp / "kavlo-fuzz-XXXXXX").string();
        root = mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp/kavlo-fuzz");
        platform = std::make_unique<PosixPlatform>(
            PosixPlatformOptions{.pc_root = root + "/pc", .scan_media = false});
        platform->fs().CreateDir("C:\\Links");
        host_link = platform->fs().HostPath(kLinkPath).value_or(root + "/fuzz.lnk");
    }

    ~FuzzPc() {
        platform.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    std::string root;
    std::unique_ptr<PosixPlatform> platform;
    std::string host_link;
};

FuzzPc& Pc() {
    static FuzzPc pc;
    return pc;
}

// Text that comes back unchanged from liblnk's UTF-8: no NUL, no byte the code page leaves undefined.
bool SurvivesUtf8(const std::string& text) {
    return text.find('\0') == std::string::npos && FromUtf8(ToUtf8(text)) == text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzPc& pc = Pc();
    Platform& platform = pc.platform->platform();

    std::string bytes;
    sample::LinkContents written;
    bool untouched = false;
    if (input.ConsumeBool()) {
        written.target = "C:\\" + input.ConsumeRandomLengthString(64);
        written.relative_path = input.ConsumeRandomLengthString(64);
        written.working_dir = input.ConsumeRandomLengthString(64);
        written.arguments = input.ConsumeRandomLengthString(64);
        bytes = sample::WriteShellLink(written).value_or("");
        untouched = !bytes.empty();
        for (int i = 0; i < 8 && !bytes.empty() && input.remaining_bytes() >= 2; ++i) {
            bytes[input.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1)] = input.ConsumeIntegral<char>();
            untouched = false;
        }
    } else {
        bytes = input.ConsumeRemainingBytesAsString();
    }
    // Written straight to the host: the file system's atomic write syncs and renames, which would
    // take most of each run.
    {
        std::ofstream file(pc.host_link, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            return 0;
        }
    }

    const std::optional<ShortcutInfo> link = platform.shortcuts.ReadShortcut(kLinkPath);
    Check(!link || !link->target.empty());
    if (untouched && SurvivesUtf8(written.target) && SurvivesUtf8(written.relative_path) &&
        SurvivesUtf8(written.working_dir) && SurvivesUtf8(written.arguments)) {
        Check(link.has_value());
        Check(link->target == written.target);
        Check(link->working_dir == written.working_dir);
        Check(link->arguments == written.arguments);
    }
    return 0;
}
