#include "sampledisc/sample_archives.h"

#include <algorithm>

#include "platform/codepage.h"
#include "sampledisc/disc_writer.h"
#include "sampledisc/sample_setups.h"

namespace kavlo::sample {

namespace {

using rarwriter::EntryKind;
using rarwriter::HostOs;
using rarwriter::RarEntry;

// The item whose archive is a full game's: a few MB in a couple of hundred entries.
constexpr const char* kLargeArchive = "light.rar";
constexpr int kLargeLevels = 200;
constexpr std::size_t kLargeLevelBytes = 16 * 1024;

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool EndsWith(const std::string& path, const char* extension) {
    const std::string upper = UpperCase(path);
    const std::size_t length = std::string_view(extension).size();
    return upper.size() > length && upper.compare(upper.size() - length, length, extension) == 0;
}

bool IsDocument(const std::string& name) {
    for (const char* extension : {".PDF", ".HTM", ".HTML", ".TXT"}) {
        if (EndsWith(name, extension)) {
            return true;
        }
    }
    return false;
}

// Bytes that do not repeat and do not compress, as a game's packed data would be; the same for the
// same seed, so the disc is the same at every build.
std::string DataBytes(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

void AddDirectory(std::vector<RarEntry>& entries, std::string name) {
    entries.push_back({.name = std::move(name), .kind = EntryKind::Directory});
}

void AddFile(std::vector<RarEntry>& entries, std::string name, std::string data) {
    entries.push_back({.name = std::move(name), .data = std::move(data)});
}

} // namespace

std::string DocumentBytes(const std::string& path, const SampleItem& item) {
    const std::string title = KeyValue(item.keys, "FullName");
    if (EndsWith(path, ".PDF")) {
        return MinimalPdf(title);
    }
    if (EndsWith(path, ".HTM") || EndsWith(path, ".HTML")) {
        return FromUtf8(WebPage(title, item.english), CodePage::Windows1250);
    }
    return FromUtf8(ReadmeText(title, item.english + "\r\n\r\n" + item.czech), CodePage::Windows1250);
}

bool HasArchive(const SampleItem& item) {
    return EndsWith(KeyValue(item.keys, "InstallName"), ".RAR");
}

std::vector<RarEntry> ArchiveEntries(const SampleItem& item) {
    std::vector<RarEntry> entries;
    const std::string title = KeyValue(item.keys, "FullName");
    for (const std::string& program : Programs(KeyValue(item.keys, "GameName"))) {
        if (IsDocument(program)) {
            AddFile(entries, program, DocumentBytes(program, item));
        } else {
            entries.push_back(
                {.name = program, .data = GameScript(title), .host = HostOs::Unix, .attributes = 0100755});
        }
    }
    const std::string readme = KeyValue(item.keys, "ReadmeName");
    const bool has_readme = std::any_of(entries.begin(), entries.end(),
                                        [&](const RarEntry& entry) { return entry.name == readme; });
    if (!readme.empty() && !has_readme) {
        AddFile(entries, readme, DocumentBytes(readme, item));
    }
    const std::uint32_t seed = rarwriter::Crc32(title);
    AddDirectory(entries, "DATA");
    AddFile(entries, "DATA\\MAIN.PAK", DataBytes(1024 + seed % 2048, seed));
    AddFile(entries, "DATA\\CONFIG.INI",
            "[Game]\r\nTitle=" + FromUtf8(title, CodePage::Windows1250) + "\r\n");
    if (KeyValue(item.keys, "InstallName") == kLargeArchive) {
        AddDirectory(entries, "DATA\\LEVELS");
        for (int level = 1; level <= kLargeLevels; ++level) {
            AddFile(entries, "DATA\\LEVELS\\LEVEL" + std::to_string(level) + ".MAP",
                    DataBytes(kLargeLevelBytes, seed + static_cast<std::uint32_t>(level)));
        }
        AddFile(entries, "DATA\\MUSIC.PAK", DataBytes(1536 * 1024, seed ^ 0x5A5A5A5Au));
    }
    AddDirectory(entries, "SAVES");
    return entries;
}

std::uint64_t UnpackedBytes(const std::vector<RarEntry>& entries) {
    std::uint64_t total = 0;
    for (const RarEntry& entry : entries) {
        if (entry.kind != EntryKind::Directory) {
            total += entry.data.size();
        }
    }
    return total;
}

void StateArchiveTotals(SampleItem& item) {
    if (!HasArchive(item)) {
        return;
    }
    const std::vector<RarEntry> entries = ArchiveEntries(item);
    const bool demo = item.prefix == "Demo";
    const std::string key = demo ? "UnpackedSize" : "FilesInArchive";
    const std::string value = demo ? std::to_string(UnpackedBytes(entries)) : std::to_string(entries.size());
    const auto stated = std::find_if(item.keys.begin(), item.keys.end(),
                                     [&](const std::string& line) { return line.rfind(key + "=", 0) == 0; });
    if (stated != item.keys.end()) {
        *stated = key + "=" + value;
    } else if (demo || item.prefix == "Full" || item.prefix == "E2xtra" || item.prefix == "E3xtra") {
        item.keys.push_back(key + "=" + value);
    }
}

} // namespace kavlo::sample
