#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "skin/controls/dialog_form.h"
#include "ui/message_box.h"

namespace kavlo {

// The pages whose items the install dialogs (target directory, extraction) treat apart, by their page
// numbers.
enum class TargetPage : int {
    Demos = 1,
    Extra = 2,
    Shareware = 3,
    Drivers = 4,
    Readers = 6,
    Fulls = 10,
    Addons = 11,
    Extra2 = 13,
    Extra3 = 14,
};

// What the dialog learns from the main window when it is shown.
struct TargetDirContext {
    int main_left = 0; // the main window's place on the screen
    int main_top = 0;
    int colour_scheme = 0;
    int language = 0;  // the disc's language code L: message numbers are 100 * L + n
    int page_kind = 0; // the open page's number (TargetPage)
    // The current item's fields.
    std::string SourceDir;
    std::string Param;
    int InstallType = 0;
    std::function<std::string(int number)> LoadString;
    std::function<std::string(int number, std::string_view arg)> LoadSpecial;
    std::string box_caption; // the caption of the boxes the dialog shows
    FileSystem* fs = nullptr;
    MessageBoxes* boxes = nullptr;
};

// Creates every missing directory of `path` from the root down; when the last one cannot be made, the
// ones this call made are removed again, newest first. A path that would need more than `max_new`
// new directories is refused before anything is made: no more could be rolled back.
bool CreateDirectoryPath(FileSystem& fs, std::string_view path, int max_new = 20);

// The target-directory dialog: proposes a directory for an archive item below the folder chosen in
// its tree, lets the reader pick a drive or a folder or type a path, asks, creates the path and hands
// it back. Items with a forced directory have it proposed read-only and the dialog confirms by itself
// 100 ms after it appears.
class TForm3 : public DialogForm {
public:
    TForm3(SkinServices services, TargetDirContext context);

    // Shows the dialog and returns the accepted directory; empty on Cancel.
    std::string Execute();
    const std::string& ChosenDir() const { return chosen_dir_; }
    // The proposal: the tree's directory with the default name below it.
    std::string Proposal() const;
    const std::string& DefaultName() const { return default_name_; }
    bool TargetAllowed() const { return target_allowed_; }

    void FormShow();
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void OKButtonClick();
    void CancelButtonClick();
    void Timer1Timer();

protected:
    void Activated() override;

private:
    bool Forced() const;
    bool OnPage(std::initializer_list<TargetPage> pages) const;
    int Message(int index) const { return context_.language * 100 + index; }

    TargetDirContext context_;
    TImage& Background;
    TEdit& EditDir1;
    TDirectoryListBox& DirectoryListBox1;
    TDriveComboBox& DriveComboBox1;
    TButton& OKButton;
    TButton& CancelButton;
    TButton& NewButton;
    TimerComponent& Timer1;
    std::string default_name_;
    std::string chosen_dir_;
    bool target_allowed_ = true;
};

} // namespace kavlo
