// The extraction dialog on a live headless menu: archives written by our RAR writer onto the sample disc
// are unpacked into a folder of the PC root while the reader's input is played step by step.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "RARArc/rararc.h"
#include "live_menu.h"
#include "main_f/form1.h"
#include "platform/posix/posix_platform.h"
#include "rarwriter/rar_writer.h"
#include "sampledisc/loaded_sample.h"
#include "skin/controls/animate.h"
#include "support/temp_dir.h"
#include "ui/headless/headless_backend.h"
#include "unpack/unpack.h"

namespace kavlo {
namespace {

using rarwriter::RarEntry;
using test::TempDir;

// Writes an archive into the disc's UNPACK folder; the item's SourceDir is then "D:\UNPACK".
void WriteArchive(const std::string& name, const std::vector<RarEntry>& entries) {
    std::filesystem::create_directories(test::SharedSampleDisc() / "UNPACK");
    std::ofstream(test::SharedSampleDisc() / "UNPACK" / name, std::ios::binary)
        << rarwriter::WriteRarArchive(entries);
}

std::string Bytes(size_t size, char seed) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>(seed + static_cast<char>(i * 7 % 23));
    }
    return data;
}

// Four files in two folders and an empty folder: 1,000 + 3,000 + 2,000 + 4,000 bytes.
std::vector<RarEntry> GameEntries() {
    return {{.name = "RALLY.EXE", .data = Bytes(1000, 'a')},
            {.name = "DATA", .kind = rarwriter::EntryKind::Directory},
            {.name = "DATA\\TRACK1.DAT", .data = Bytes(3000, 'b')},
            {.name = "DATA\\TRACK2.DAT", .data = Bytes(2000, 'c')},
            {.name = "SAVES", .kind = rarwriter::EntryKind::Directory},
            {.name = "README.TXT", .data = Bytes(4000, 'd')}};
}
constexpr int64_t kGameBytes = 10000;

// The menu on the sample disc (D:) round the extraction dialog.
class UnpackMenu : public test::LiveMenu {
public:
    explicit UnpackMenu(const TempDir& dir)
        : LiveMenu(test::MenuOptions(dir, test::SharedSampleDisc())), dir_(dir) {}

    // The first item of a page becomes the current one, with its archive in D:\UNPACK; ChosenDir is
    // C:\GAMES\<target>, made as the target-directory dialog would have.
    void Item(PageKind page, const std::string& archive, int install_type, std::string param,
              const std::string& target) {
        form.state.CurrentPage = page;
        form.state.CurrentItem = 1;
        TDemos* item = form.DemosItem(page, 1);
        ASSERT_NE(item, nullptr);
        item->SourceDir = "D:\\UNPACK";
        item->InstallName = archive;
        item->InstallType = install_type;
        item->Param = std::move(param);
        std::filesystem::create_directories(C("GAMES/" + target));
        form.ChosenDir = "C:\\GAMES\\" + target;
        form.catalogue.CatalogueFile->DeleteKey("Demo1", "UnpackedSize");
    }
    std::string UnpackedSize() {
        return form.catalogue.CatalogueFile->ReadString("Demo1", "UnpackedSize", "");
    }

    TUnpackForm& Dialog() {
        auto* dialog = dynamic_cast<TUnpackForm*>(app.ModalForms().back());
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    std::string Caption(std::string_view label) { return Dialog().Skin().Find<TLabel>(label)->Caption(); }

    // Lets the 300 ms start timer fire: the walk runs and the dialog closes.
    void Start() {
        Step([this] { backend.BeginWait(400); });
    }
    // Runs `during` after every block the dialog has handled, inside the walk.
    void DuringWalk(std::function<void(TUnpackForm&)> during) {
        Check([this, during = std::move(during)] {
            TRAR& rar = Dialog().RAR();
            rar.OnProcessData = [this, dialog = &Dialog(), during, handled = rar.OnProcessData](
                                    TRAR& sender, const unsigned char* addr, int size, int64_t position) {
                const int result = handled(sender, addr, size, position);
                during(*dialog);
                return result;
            };
        });
    }
    // Runs `after` once each entry has been handled, inside the walk.
    void AfterEntry(std::function<void(TUnpackForm&)> after) {
        Check([this, after = std::move(after)] {
            TRAR& rar = Dialog().RAR();
            rar.OnExtract = [dialog = &Dialog(), after,
                             handled = rar.OnExtract](TRAR& sender, const RarHeader& header, bool result) {
                handled(sender, header, result);
                after(*dialog);
            };
        });
    }
    void Escape() { backend.QueueEvent({Dialog().Window(), KeyDownEvent{vk::Escape, {}}}); }

    UnpackOutcome Unpack() {
        const UnpackOutcome outcome = form.UnpackChosenDir();
        EXPECT_EQ(StepsLeft(), 0u);
        EXPECT_TRUE(app.ModalForms().empty());
        // What is left of the last wait must not run into the next dialog's start timer.
        backend.BeginWait(0);
        return outcome;
    }
    std::filesystem::path C(const std::string& rel) const { return dir_ / "pc" / "drive_c" / rel; }

private:
    const TempDir& dir_;
};

void ExpectGame(const std::filesystem::path& dir) {
    EXPECT_EQ(test::ReadHostFile(dir / "RALLY.EXE"), Bytes(1000, 'a'));
    EXPECT_EQ(test::ReadHostFile(dir / "DATA" / "TRACK1.DAT"), Bytes(3000, 'b'));
    EXPECT_EQ(test::ReadHostFile(dir / "DATA" / "TRACK2.DAT"), Bytes(2000, 'c'));
    EXPECT_EQ(test::ReadHostFile(dir / "README.TXT"), Bytes(4000, 'd'));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "SAVES"));
}

TEST(UnpackDialog, ByteModeCountsTheBlocksAgainstParamOrTheCatalogueAndWritesACleanCountBack) {
    TempDir dir;
    UnpackMenu menu(dir);
    WriteArchive("rally.rar", GameEntries());

    // Type 2 with the exact size in Param: the percentage climbs to 100 and the result stands.
    menu.Item(PageKind::Demos, "rally.rar", 2, std::to_string(kGameBytes), "RALLY");
    std::vector<std::string> shown;
    menu.Check([&] {
        const WindowSpec window = *menu.backend.WindowInfo(menu.Dialog().Window());
        const WindowSpec main = *menu.backend.WindowInfo(menu.form.Window());
        EXPECT_EQ(window.left, main.left + 124);
        EXPECT_EQ(window.top, main.top + 153);
        EXPECT_EQ(window.client_width, 426);
        EXPECT_EQ(window.client_height, 166);
        EXPECT_EQ(menu.Caption("PackLabel1"), "FROSTBITE RALLY Installing");
        EXPECT_EQ(menu.Caption("PackLabel2"), "IN");
        EXPECT_EQ(menu.Caption("PackLabel3"), "C:\\GAMES\\RALLY");
        EXPECT_EQ(menu.Caption("Label1"), "0%");
    });
    menu.DuringWalk([&](TUnpackForm& dialog) { shown.push_back(dialog.Percentage().Caption()); });
    menu.Start();
    UnpackOutcome outcome = menu.Unpack();
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.unpacked_bytes, kGameBytes);
    EXPECT_EQ(shown, (std::vector<std::string>{"10%", "40%", "60%", "100%"}));
    ExpectGame(menu.C("GAMES/RALLY"));
    EXPECT_EQ(menu.form.ChosenDir, "C:\\GAMES\\RALLY");
    EXPECT_TRUE(menu.Boxes().empty());
    EXPECT_EQ(menu.UnpackedSize(), "");

    // Type 3 with no "UnpackedSize": no percentage, the count is written back, and the next install
    // of the same item is measured against it.
    menu.Item(PageKind::Demos, "rally.rar", 3, "", "RALLY3");
    shown.clear();
    menu.DuringWalk([&](TUnpackForm& dialog) { shown.push_back(dialog.Percentage().Caption()); });
    menu.Start();
    outcome = menu.Unpack();
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(shown, std::vector<std::string>(4, "0%"));
    EXPECT_EQ(menu.UnpackedSize(), "10000");
    ExpectGame(menu.C("GAMES/RALLY3"));

    // A catalogue size one byte off judges the whole result incomplete: offered for deletion (No keeps
    // the files), and the directory is forgotten.
    menu.Item(PageKind::Demos, "rally.rar", 3, "", "RALLY_OFF");
    menu.form.catalogue.CatalogueFile->WriteString("Demo1", "UnpackedSize", "10001");
    menu.Answer(MbResult::No);
    menu.Start();
    outcome = menu.Unpack();
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(menu.form.ChosenDir, "");
    ASSERT_EQ(menu.Boxes().size(), 1u);
    EXPECT_EQ(menu.Boxes()[0].text, "Would you like to delete all files in C:\\GAMES\\RALLY_OFF ?");
    ExpectGame(menu.C("GAMES/RALLY_OFF"));
    EXPECT_EQ(menu.UnpackedSize(), "10001");

    // A Param that is no number gives no percentage, writes nothing back and is never judged by size.
    menu.Item(PageKind::Demos, "rally.rar", 2, "10 MB", "RALLY_TEXT");
    shown.clear();
    menu.DuringWalk([&](TUnpackForm& dialog) { shown.push_back(dialog.Percentage().Caption()); });
    menu.Start();
    outcome = menu.Unpack();
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(shown, std::vector<std::string>(4, "0%"));
    EXPECT_EQ(menu.UnpackedSize(), "");
    EXPECT_EQ(menu.form.ChosenDir, "C:\\GAMES\\RALLY_TEXT");
    ExpectGame(menu.C("GAMES/RALLY_TEXT"));
    EXPECT_EQ(menu.Boxes().size(), 1u);
}

TEST(UnpackDialog, FileModeCountsEntriesPassesAnUncreatableNameAndIgnoresEscape) {
    TempDir dir;
    UnpackMenu menu(dir);
    std::vector<RarEntry> entries = GameEntries();
    entries.insert(entries.begin() + 2, {.name = "..\\ESCAPE.TXT", .data = "out"});
    WriteArchive("tools.rar", entries);
    menu.Item(PageKind::Shareware, "tools.rar", 2, "", "TOOLS");
    std::vector<std::string> shown;
    menu.AfterEntry([&](TUnpackForm& dialog) {
        shown.push_back(dialog.Percentage().Caption());
        // Escape belongs to the Demos page: here it asks nothing and stops nothing.
        menu.Escape();
    });
    menu.Start();
    const UnpackOutcome outcome = menu.Unpack();
    EXPECT_EQ(shown, (std::vector<std::string>{"0%", "14%", "29%", "43%", "57%", "71%", "86%"}));
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.entry_count, 7u);
    EXPECT_EQ(outcome.entries_remaining, 0u);
    EXPECT_TRUE(menu.Boxes().empty());
    EXPECT_EQ(menu.form.ChosenDir, "C:\\GAMES\\TOOLS");
    ExpectGame(menu.C("GAMES/TOOLS"));
    EXPECT_FALSE(std::filesystem::exists(menu.C("GAMES/ESCAPE.TXT")));
    EXPECT_FALSE(std::filesystem::exists(menu.C("ESCAPE.TXT")));
}

// Answers the quit question with `quit`, noting whether the file-copy clip was playing while it was
// asked, and any other question with Yes.
class QuitQuestion : public MessageBoxes {
public:
    QuitQuestion(UnpackMenu& menu, MbResult quit) : menu_(menu), quit_(quit) {}
    MbResult Show(std::string_view, std::string_view, MbButtons, MbIcon) override {
        if (asked_) {
            return MbResult::Yes;
        }
        asked_ = true;
        playing_while_asked = menu_.Dialog().Skin().Find<TAnimate>("Animate1")->Active();
        return quit_;
    }
    bool playing_while_asked = true;

private:
    UnpackMenu& menu_;
    MbResult quit_;
    bool asked_ = false;
};

TEST(UnpackDialog, EscapeOnTheDemosPageGoesOnAfterNoAndOffersThePartialResultAfterYes) {
    TempDir dir;
    UnpackMenu menu(dir);
    WriteArchive("rally.rar", GameEntries());
    for (const MbResult quit : {MbResult::No, MbResult::Yes}) {
        const std::string target = quit == MbResult::No ? "GO_ON" : "QUIT";
        menu.Item(PageKind::Demos, "rally.rar", 2, std::to_string(kGameBytes), target);
        std::vector<std::string> shown;
        std::vector<int> frames; // the clip's frame at each block, 0 when it was not playing
        menu.Check([&] {
            const TAnimate& clip = *menu.Dialog().Skin().Find<TAnimate>("Animate1");
            EXPECT_EQ(clip.ClipName(), "FILECOPY0");
            EXPECT_TRUE(clip.Active()) << "the clip starts with the dialog";
            EXPECT_EQ(clip.Frame(), 1);
        });
        menu.DuringWalk([&, pressed = false](TUnpackForm& dialog) mutable {
            shown.push_back(dialog.Percentage().Caption());
            const TAnimate& clip = *dialog.Skin().Find<TAnimate>("Animate1");
            frames.push_back(clip.Active() ? clip.Frame() : 0);
            if (!pressed) {
                menu.Escape();
                pressed = true;
            }
        });
        QuitQuestion answers(menu, quit);
        menu.backend.QueuedBoxes().SetUnanswered(&answers);
        menu.Start();
        const UnpackOutcome outcome = menu.Unpack();
        menu.backend.QueuedBoxes().SetUnanswered(nullptr);
        const std::vector<MessageBoxRecord> boxes = menu.Boxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0].text, "Do you really want to quit this installation?");
        EXPECT_EQ(boxes[0].buttons, MbButtons::YesNo);
        EXPECT_FALSE(answers.playing_while_asked) << "the clip rests while the question is open";
        ASSERT_FALSE(frames.empty());
        // 300 ms at 15 frames a second went by before the walk began.
        EXPECT_GE(frames[0], 4);
        EXPECT_LE(frames[0], 6);
        if (quit == MbResult::No) {
            EXPECT_TRUE(outcome.complete);
            EXPECT_EQ(shown, (std::vector<std::string>{"10%", "40%", "60%", "100%"}));
            // After No the clip plays again, from its first frame.
            EXPECT_EQ(frames.size(), 4u);
            EXPECT_EQ(frames.back(), 1);
            EXPECT_EQ(boxes.size(), 1u);
            EXPECT_EQ(menu.form.ChosenDir, "C:\\GAMES\\GO_ON");
            ExpectGame(menu.C("GAMES/GO_ON"));
        } else {
            // The entry under way ends, the walk stops before the next, and the percentage stands.
            EXPECT_TRUE(outcome.aborted);
            EXPECT_FALSE(outcome.complete);
            EXPECT_EQ(outcome.unpacked_bytes, 4000);
            EXPECT_EQ(shown, (std::vector<std::string>{"10%", "40%"}));
            EXPECT_EQ(frames.back(), 0) << "after Yes the clip stays at rest";
            ASSERT_EQ(boxes.size(), 3u);
            EXPECT_EQ(boxes[2].text, "Would you like to delete all files in C:\\GAMES\\QUIT ?");
            EXPECT_EQ(menu.form.ChosenDir, "");
            EXPECT_FALSE(std::filesystem::exists(menu.C("GAMES/QUIT")));
            EXPECT_TRUE(std::filesystem::is_directory(menu.C("GAMES/GO_ON")));
        }
    }
}

TEST(UnpackDialog, ADamagedEntryAMissingArchiveAndAFullDiskAreShownAndNothingIsRecorded) {
    TempDir dir;
    UnpackMenu menu(dir);
    std::vector<RarEntry> entries = GameEntries();
    entries[2].crc_damage = 1; // DATA\TRACK1.DAT
    WriteArchive("damaged.rar", entries);

    // The damaged entry is reported and the walk goes on with the next; the install is not kept.
    menu.Item(PageKind::Demos, "damaged.rar", 2, std::to_string(kGameBytes), "DAMAGED");
    menu.Answer(MbResult::Ok);
    menu.Answer(MbResult::No);
    menu.Start();
    UnpackOutcome outcome = menu.Unpack();
    ASSERT_EQ(menu.Boxes().size(), 2u);
    EXPECT_EQ(menu.Boxes()[0].text, "CRC error, data damaged");
    EXPECT_EQ(menu.Boxes()[0].icon, MbIcon::Error);
    EXPECT_EQ(menu.Boxes()[1].text, "Would you like to delete all files in C:\\GAMES\\DAMAGED ?");
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(menu.form.ChosenDir, "");
    EXPECT_EQ(test::ReadHostFile(menu.C("GAMES/DAMAGED/README.TXT")), Bytes(4000, 'd'));

    // A missing archive: the listing and the extraction each show the library's open error.
    menu.Item(PageKind::Fulls, "missing.rar", 2, "", "MISSING");
    menu.Answer(MbResult::No);
    menu.Start();
    outcome = menu.Unpack();
    ASSERT_EQ(menu.Boxes().size(), 5u);
    EXPECT_EQ(menu.Boxes()[2].text, menu.Boxes()[3].text);
    EXPECT_EQ(menu.Boxes()[2].text, "File open error");
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(menu.form.ChosenDir, "");

    // Too little free space: said before anything is written, and nothing is offered for deletion.
    menu.Item(PageKind::Demos, "damaged.rar", 2, "1000000000000000", "FULL");
    outcome = menu.Unpack();
    ASSERT_EQ(menu.Boxes().size(), 6u);
    EXPECT_EQ(menu.Boxes()[5].text.rfind(
                  "There is not enough free space in C:\\GAMES\\FULL: 953674317 MB are needed, ", 0),
              0u)
        << menu.Boxes()[5].text;
    EXPECT_TRUE(outcome.refused);
    EXPECT_EQ(menu.form.ChosenDir, "");
    EXPECT_TRUE(std::filesystem::is_empty(menu.C("GAMES/FULL")));
}

} // namespace
} // namespace kavlo
