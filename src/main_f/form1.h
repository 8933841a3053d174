#pragma once

#include <memory>
#include <string>
#include <vector>

#include "main_f/catalogue.h"
#include "main_f/menu_state.h"
#include "main_f/texts.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "ui/message_box.h"

namespace kavlo {

// The main window: owner of the menu's state, the catalogue tables and the INI readers.
class TForm1 {
public:
    // `args` are the program's arguments after its own path.
    TForm1(Platform& platform, MessageBoxes& boxes, std::vector<std::string> args);

    void FormCreate();
    void FormShow();
    void FormDestroy();

    // Install-state check of one item; the catalogue load calls it for some sections.
    void CheckDemo(TDemos& item);

    // The menu's numbered texts and release dates in the disc's language.
    MessageTexts Texts() const { return MessageTexts(catalogue.header.Version, catalogue.StringsFile.get()); }
    std::string LoadString(int number) const { return Texts().LoadString(number); }
    std::string LoadSpecial(int number, std::string_view arg) const {
        return Texts().LoadSpecial(number, arg);
    }
    std::string CreateDate(std::string_view code);

    // A termination request takes effect when the message loop next runs.
    bool TerminateRequested() const { return terminate_requested_; }

    MenuState state;
    Catalogue catalogue;
    std::unique_ptr<IniFile> SettingsFile;

    std::string ApplicationTitle = "Kavlo CD v2";
    std::string Caption;
    std::string CDNumberLabel;
    bool DebugLabelsVisible = false;
    int PictureCount = 0;

private:
    bool FindDisc();
    void RegisterFonts();
    void LoadSystemInfo();
    bool IsAdmin() const;
    void LoadData();
    void ReadSwitches();
    void LoadCatalogue();
    std::string ShellFolder(RegRoot root, std::string_view name) const;
    void ShowBox(std::string_view text, MbIcon icon);

    Platform& platform_;
    MessageBoxes& boxes_;
    ProfileCache profiles_;
    std::vector<std::string> args_;
    std::vector<std::string> registered_fonts_;
    bool terminate_requested_ = false;
};

} // namespace kavlo
