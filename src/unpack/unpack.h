#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dir/dir.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/unrar.h"
#include "skin/controls/dialog_form.h"
#include "ui/message_box.h"

namespace kavlo {

class TRAR;
class TAnimate;

// What the extraction dialog learns from the main window when it is shown: what the target-directory
// dialog learns, and more of the item and the disc.
struct UnpackContext : TargetDirContext {
    int item_number = 0;
    std::string Name;
    std::string InstallName;
    // Where the archive goes: the directory the reader accepted.
    std::string chosen_dir;
    // Asks whether to delete the tree and deletes it on Yes (the uninstall's question).
    std::function<void(std::string_view dir)> DeleteQuestion;
    IniFile* catalogue = nullptr; // "UnpackedSize" is read from and written back to it
    Unrar* unrar = nullptr;
};

// How an extraction ended.
struct UnpackOutcome {
    bool complete = true; // false: the caller must forget the directory
    bool aborted = false; // the reader confirmed ESC
    bool refused = false; // not started: too little free space
    bool failed = false;  // the library reported an error other than a file it could not create
    int64_t unpacked_bytes = 0;
    int64_t expected_bytes = 0;
    uint64_t entry_count = 0;
    uint64_t entries_remaining = 0;
};

// The modal extraction dialog: unpacks the current item's archive into the chosen directory with a
// percentage (byte mode on the Demos page, file mode elsewhere), lets the reader abort with ESC on the
// Demos page, and judges the result; an incomplete one is offered for deletion.
class TUnpackForm : public DialogForm {
public:
    TUnpackForm(SkinServices services, UnpackContext context);
    ~TUnpackForm() override;

    // Shows the dialog, runs the extraction and returns how it ended.
    UnpackOutcome Execute();

    const std::string& ItemName() const { return item_name_; }
    TLabel& Percentage() { return Label1; }
    TRAR& RAR() { return *rar_; }

    void FormCreate();
    void FormActivate();
    void Timer1Timer();
    void FormClose();
    void EscapePressed();

protected:
    void Activated() override;
    bool KeyPreview(uint16_t key) override;

private:
    bool OnPage(std::initializer_list<TargetPage> pages) const;
    bool ByteMode() const { return entry_count_ == 0; }
    int Message(int index) const { return context_.language * 100 + index; }
    std::string CatalogueSection() const;
    // The size the extraction will write, when it can be known before: the expected bytes, else the
    // archive's own total.
    std::optional<int64_t> SizeNeeded();
    bool EnoughSpace();
    void ShowPercent(int64_t numerator, int64_t denominator);
    void ShowError(std::string_view text);
    void RequestClose();
    void WireArchiveEvents();

    UnpackContext context_;
    TImage& Background;
    TLabel& PackLabel1;
    TLabel& PackLabel2;
    TLabel& PackLabel3;
    TAnimate& Animate1;
    TLabel& Label1;
    TimerComponent& Timer1;
    std::unique_ptr<TRAR> rar_;
    std::string item_name_;
    int64_t unpacked_bytes_ = 0;
    int64_t expected_bytes_ = 0;
    bool expected_known_ = true; // false when the catalogue's size is not a number
    uint64_t entry_count_ = 0;
    uint64_t entries_remaining_ = 0;
    bool aborted_ = false;
    bool refused_ = false;
    bool failed_ = false;
    bool close_requested_ = false;
    bool walking_ = false;
};

// The road from the install procedure: shows the extraction dialog for the item in `context` and
// reports whether the chosen directory holds a complete result.
UnpackOutcome UnpackArchive(SkinServices services, UnpackContext context);

} // namespace kavlo
