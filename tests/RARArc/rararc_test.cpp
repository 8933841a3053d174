#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "RARArc/rararc.h"
#include "platform/codepage.h"
#include "platform/posix/posix_unrar.h"
#include "rarwriter/rar_writer.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using rarwriter::EntryKind;
using rarwriter::HostOs;
using rarwriter::RarEntry;
namespace fs = std::filesystem;

// TRAR over the real unrar calls, on host paths, recording every event.
struct Walk {
    PosixUnrar unrar{[](std::string_view path) -> std::optional<std::string> { return ToUtf8(path); }};
    TRAR rar{unrar};
    std::vector<std::string> listed;
    std::vector<std::pair<std::string, bool>> extracted;
    std::vector<std::pair<std::string, int>> errors; // entry being extracted, code
    std::map<std::string, int64_t> bytes;            // per entry, from the progress event
    std::string current;

    Walk(const fs::path& archive, const fs::path& target) {
        rar.ArchiveName = archive.string();
        rar.TargetDir = target.string();
        rar.OnListFile = [this](TRAR&, const RarHeader& h) { listed.push_back(h.file_name); };
        rar.OnExtracting = [this](TRAR&, const RarHeader& h) { current = h.file_name; };
        rar.OnExtract = [this](TRAR&, const RarHeader& h, bool ok) {
            extracted.emplace_back(h.file_name, ok);
        };
        rar.OnError = [this](TRAR&, int code) { errors.emplace_back(current, code); };
        rar.OnProcessData = [this](TRAR&, const unsigned char*, int size, int64_t position) {
            bytes[current] += size;
            EXPECT_EQ(position, bytes[current]); // the running count of the current entry
            return 1;
        };
    }
};

void WriteArchive(const fs::path& path, const std::vector<RarEntry>& entries,
                  rarwriter::ArchiveOptions options = {}) {
    test::WriteHostFile(path, rarwriter::WriteRarArchive(entries, options));
}

// Every file below `dir`, relative, with its contents.
std::map<std::string, std::string> Tree(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_symlink() || !e.is_directory()) {
            files[e.path().lexically_relative(dir).string()] =
                e.is_symlink() ? "->" + fs::read_symlink(e.path()).string() : test::ReadHostFile(e.path());
        }
    }
    return files;
}

TEST(TRARTest, ListsAndExtractsNestedEntriesWithExactProgressAndSelection) {
    test::TempDir tmp;
    const std::string big(300000, 'q'); // several blocks
    WriteArchive(tmp / "a.rar", {{.name = "GAME", .kind = EntryKind::Directory},
                                 {.name = "GAME\\Readme.txt", .data = "hello"},
                                 {.name = "GAME\\DATA\\LEVEL1.DAT", .data = big},
                                 {.name = "GAME\\empty.txt", .data = ""}});
    Walk list(tmp / "a.rar", tmp / "unused");
    EXPECT_TRUE(list.rar.ListArchive());
    EXPECT_EQ(list.listed, (std::vector<std::string>{"GAME", "GAME\\Readme.txt", "GAME\\DATA\\LEVEL1.DAT",
                                                     "GAME\\empty.txt"}));
    EXPECT_FALSE(fs::exists(tmp / "unused"));

    Walk all(tmp / "a.rar", tmp / "out");
    EXPECT_TRUE(all.rar.ExtractArchive());
    EXPECT_TRUE(all.errors.empty());
    EXPECT_EQ(Tree(tmp / "out"),
              (std::map<std::string, std::string>{
                  {"GAME/Readme.txt", "hello"}, {"GAME/DATA/LEVEL1.DAT", big}, {"GAME/empty.txt", ""}}));
    EXPECT_EQ(all.bytes["GAME\\DATA\\LEVEL1.DAT"], 300000);
    EXPECT_EQ(all.bytes["GAME\\Readme.txt"], 5);

    // The selection is case-blind; the others are skipped, not extracted.
    Walk some(tmp / "a.rar", tmp / "some");
    some.rar.FilesToExtract = {"game\\readme.TXT"};
    EXPECT_TRUE(some.rar.ExtractArchive());
    EXPECT_EQ(Tree(tmp / "some"), (std::map<std::string, std::string>{{"GAME/Readme.txt", "hello"}}));

    // Stop set from inside a progress event ends the walk at the next entry and is cleared.
    Walk stopped(tmp / "a.rar", tmp / "stopped");
    stopped.rar.OnProcessData = [](TRAR& rar, const unsigned char*, int, int64_t) {
        rar.Stop = true;
        return 1;
    };
    EXPECT_FALSE(stopped.rar.ExtractArchive());
    EXPECT_FALSE(stopped.rar.Stop);
    EXPECT_EQ(stopped.extracted.size(), 2u); // the directory, then the file whose block asked to stop
}

TEST(TRARTest, HostileEntriesAreRefusedOneByOneAndNothingLandsOutsideTheTarget) {
    test::TempDir tmp;
    WriteArchive(
        tmp / "bad.rar",
        {{.name = "..\\escape.txt", .data = "x"},
         {.name = "\\abs.txt", .data = "x"},
         {.name = "C:\\drive.txt", .data = "x"},
         {.name = "\\\\server\\share\\unc.txt", .data = "x"},
         {.name = "ok\\..\\..\\deep.txt", .data = "x"},
         {.name = "out", .data = "../..", .kind = EntryKind::Symlink, .host = HostOs::Unix},
         {.name = "inside", .data = "good.txt", .kind = EntryKind::Symlink, .host = HostOs::Unix},
         // Fine alone; "chain" would climb out through it.
         {.name = "here", .data = ".", .kind = EntryKind::Symlink, .host = HostOs::Unix},
         {.name = "chain", .data = "here/..", .kind = EntryKind::Symlink, .host = HostOs::Unix},
         {.name = "sub\\up", .data = "../good.txt", .kind = EntryKind::Symlink, .host = HostOs::Unix},
         {.name = "damaged.txt", .data = "dd", .crc_damage = 1},
         {.name = "good.txt", .data = "fine"}});
    fs::create_directories(tmp / "t" / "target");
    Walk walk(tmp / "bad.rar", tmp / "t" / "target");
    EXPECT_FALSE(walk.rar.ExtractArchive());
    EXPECT_EQ(walk.errors, (std::vector<std::pair<std::string, int>>{{"..\\escape.txt", 16},
                                                                     {"\\abs.txt", 16},
                                                                     {"C:\\drive.txt", 16},
                                                                     {"\\\\server\\share\\unc.txt", 16},
                                                                     {"ok\\..\\..\\deep.txt", 16},
                                                                     {"out", 16},
                                                                     {"chain", 16},
                                                                     {"damaged.txt", 12}}));
    EXPECT_EQ(walk.extracted.back(), std::make_pair(std::string("good.txt"), true));
    std::map<std::string, std::string> tree = Tree(tmp / "t");
    tree.erase("target/damaged.txt"); // kept as unpacked, but reported damaged
    EXPECT_EQ(tree, (std::map<std::string, std::string>{{"target/good.txt", "fine"},
                                                        {"target/inside", "->good.txt"},
                                                        {"target/here", "->."},
                                                        {"target/sub/up", "->../good.txt"}}));
    EXPECT_FALSE(fs::exists("/abs.txt"));

    // A link already standing in the target is not written through.
    test::TempDir victim;
    fs::create_directories(tmp / "pre");
    fs::create_symlink(victim / "owned.txt", tmp / "pre" / "good.txt");
    Walk through(tmp / "bad.rar", tmp / "pre");
    EXPECT_FALSE(through.rar.ExtractArchive());
    EXPECT_FALSE(fs::exists(victim / "owned.txt"));
}

TEST(TRARTest, BrokenArchivesEndWithTheLibraryCodes) {
    test::TempDir tmp;
    WriteArchive(tmp / "cut.rar",
                 {{.name = "a.bin", .data = std::string(5000, 'a')}, {.name = "b.txt", .data = "b"}},
                 {.truncate_to = 3000});
    test::WriteHostFile(tmp / "text.rar", "this is no archive at all");
    struct Case {
        fs::path archive;
        std::vector<int> codes;
    };
    for (const Case& c : std::vector<Case>{{tmp / "cut.rar", {12, 12}},
                                           {tmp / "text.rar", {13}},
                                           {tmp / "missing.rar", {15}},
                                           {"", {13}}}) {
        Walk walk(c.archive, tmp / "out");
        EXPECT_FALSE(walk.rar.ExtractArchive()) << c.archive;
        std::vector<int> codes;
        for (const auto& [name, code] : walk.errors) {
            codes.push_back(code);
        }
        EXPECT_EQ(codes, c.codes) << c.archive;
    }
    EXPECT_EQ(TRAR::ErrorText(16), "File create error");
    EXPECT_EQ(TRAR::ErrorText(99), "Unknown error");
}

} // namespace
} // namespace kavlo
