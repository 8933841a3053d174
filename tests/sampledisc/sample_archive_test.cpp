// The disc's archives are written by our own RAR writer; two independent readers (libarchive's bsdtar
// and unar's lsar) must read them as we meant them, or every install test would test the writer.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "rarwriter/rar_writer.h"
#include "sampledisc/loaded_sample.h"
#include "sampledisc/sample_archives.h"
#include "support/run_tool.h"

namespace kavlo {
namespace {

using rarwriter::EntryKind;
using rarwriter::HostOs;
using rarwriter::RarEntry;
using test::RunProgram;

std::string HostName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string Passed(std::size_t entries) {
    return std::to_string(entries) + " passed, 0 failed.";
}

TEST(SampleArchive, EveryArchiveItemUnpacksBitExactlyInBothReadersAndMatchesItsCatalogue) {
    test::LoadedSample s(0);
    ASSERT_TRUE(s.written) << s.error;
    std::map<std::string, std::filesystem::path> archives;
    for (const auto& file : std::filesystem::recursive_directory_iterator(s.dir / "disc")) {
        if (file.path().extension() == ".rar") {
            archives[file.path().filename().string()] = file.path();
        }
    }
    std::size_t checked = 0;
    bool large_seen = false;
    for (const sample::SampleItem& item : sample::BuildSampleCatalogue().items) {
        if (!sample::HasArchive(item)) {
            continue;
        }
        const std::string name = sample::KeyValue(item.keys, "InstallName");
        ASSERT_TRUE(archives.count(name)) << name;
        const std::string archive = archives[name].string();
        const std::vector<RarEntry> entries = sample::ArchiveEntries(item);

        const test::ToolRun lsar = RunProgram("lsar", {"-t", archive});
        EXPECT_EQ(lsar.exit_code, 0) << name << lsar.out;
        EXPECT_NE(lsar.out.find(Passed(entries.size())), std::string::npos) << name << lsar.out;

        const std::filesystem::path out = s.dir / ("unpacked-" + name);
        std::filesystem::create_directories(out);
        const test::ToolRun bsdtar = RunProgram("bsdtar", {"-xf", archive, "-C", out.string()});
        ASSERT_EQ(bsdtar.exit_code, 0) << name << bsdtar.err;
        std::uint64_t bytes = 0;
        std::size_t files = 0;
        for (const RarEntry& entry : entries) {
            const std::filesystem::path path = out / HostName(entry.name);
            if (entry.kind == EntryKind::Directory) {
                EXPECT_TRUE(std::filesystem::is_directory(path)) << path;
                continue;
            }
            EXPECT_EQ(test::ReadHostFile(path), entry.data) << path;
            const bool runs = (std::filesystem::status(path).permissions() &
                               std::filesystem::perms::owner_exec) != std::filesystem::perms::none;
            EXPECT_EQ(runs, entry.host == HostOs::Unix) << path;
            bytes += entry.data.size();
            ++files;
        }
        EXPECT_GT(files, 2u) << name;
        large_seen |= bytes > 3'000'000 && entries.size() > 200;

        // The install compares the unpacked total (demos) or counts the entries (other pages) with
        // what the catalogue states, as the menu reads it.
        const Catalogue& c = s.form.catalogue;
        for (int n = 1; n <= c.header.Demos; ++n) {
            if (c.Demos[n].InstallName == name && c.Demos[n].InstallType == 2 && c.Demos[n].DirDetect == 0) {
                EXPECT_EQ(c.Demos[n].Param, std::to_string(bytes)) << name;
            }
        }
        for (int n = 1; n <= c.header.Fulls; ++n) {
            if (c.Fulls[n].InstallName == name) {
                EXPECT_EQ(c.Fulls[n].Param, std::to_string(entries.size())) << name;
            }
        }
        ++checked;
    }
    EXPECT_EQ(checked, archives.size());
    EXPECT_GE(checked, 6u);
    EXPECT_TRUE(large_seen) << "one archive should be a full game's, a few MB in hundreds of entries";
}

// The writer's deliberate faults must be the faults readers see, and its unusual headers (links,
// 64-bit sizes, names no archiver would store, streamed data) must be read as written.
TEST(SampleArchive, WriterFaultsAndUnusualHeadersReadAsIntended) {
    test::TempDir dir;
    const auto write = [&](const std::string& file, const std::string& bytes) {
        test::WriteHostFile(dir / file, bytes);
        return (dir / file).string();
    };
    const std::string hostile = write(
        "hostile.rar", rarwriter::WriteRarArchive({
                           {.name = "..\\ESCAPE.TXT", .data = "out"},
                           {.name = "LINK", .data = "/etc", .kind = EntryKind::Symlink, .host = HostOs::Unix},
                           {.name = "HUGE.DAT", .data = "tiny", .declared_size = 6ull << 30},
                           {.name = "Z\xC3\xBCRICH.TXT", .data = "z", .unicode_name = true},
                       }));
    const test::ToolRun listed = RunProgram("bsdtar", {"-tvf", hostile});
    EXPECT_EQ(listed.exit_code, 0) << listed.err;
    EXPECT_NE(listed.out.find("../ESCAPE.TXT"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("LINK -> /etc"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find(std::to_string(6ull << 30)), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("Z\xC3\xBCRICH.TXT"), std::string::npos) << listed.out;

    const std::string damaged = write("damaged.rar", rarwriter::WriteRarArchive({
                                                         {.name = "GOOD.TXT", .data = "good"},
                                                         {.name = "BAD.TXT", .data = "bad", .crc_damage = 1},
                                                     }));
    const test::ToolRun tested = RunProgram("lsar", {"-t", damaged});
    EXPECT_NE(tested.exit_code, 0);
    EXPECT_NE(tested.out.find("1 passed, 1 failed."), std::string::npos) << tested.out;

    const std::string whole = rarwriter::WriteRarArchive({{.name = "A.DAT", .data = std::string(5000, 'a')}});
    const std::string cut = write("cut.rar", whole.substr(0, 2000));
    EXPECT_EQ(rarwriter::WriteRarArchive({{.name = "A.DAT", .data = std::string(5000, 'a')}},
                                         {.truncate_to = 2000}),
              whole.substr(0, 2000));
    EXPECT_NE(RunProgram("bsdtar", {"-xOf", cut}).exit_code, 0);
    EXPECT_NE(RunProgram("lsar", {"-t", cut}).exit_code, 0);

    // A streamed entry larger than one chunk: the CRC pass and the data pass must see the same bytes.
    std::ostringstream stream;
    rarwriter::RarWriter writer(stream);
    const auto chunk = [](std::uint64_t offset) {
        return std::string(3000, static_cast<char>('a' + offset % 26));
    };
    writer.AddGenerated("DATA\\STREAM.BIN", 10000, HostOs::Win32, chunk);
    writer.Finish();
    ASSERT_TRUE(writer.Good());
    const std::string streamed = write("streamed.rar", stream.str());
    EXPECT_NE(RunProgram("lsar", {"-t", streamed}).out.find(Passed(1)), std::string::npos);
    std::string expected;
    while (expected.size() < 10000) {
        expected += chunk(expected.size()).substr(0, 10000 - expected.size());
    }
    EXPECT_EQ(RunProgram("bsdtar", {"-xOf", streamed}).out, expected);
}

} // namespace
} // namespace kavlo
