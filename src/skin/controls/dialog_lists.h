#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "skin/controls/dialog_widgets.h"

namespace kavlo {

// The folders of one directory as the old file dialogs list them: the path from the drive root down
// to the current directory as open folders, one level deeper each, then the current directory's
// subfolders as closed ones. A press selects a line; a double click, or Enter on a line other than the
// current one, makes it the current directory. Disabled, it shows its lines greyed and takes no input.
class TDirectoryListBox : public DialogControl {
public:
    TDirectoryListBox(FontResolver& fonts, FileSystem& fs) : DialogControl(fonts), fs_(fs) {
        SetClassName("TDirectoryListBox");
    }

    // The current directory: "C:\" or "C:\GAMES\DEMO" (no back-slash after a folder).
    const std::string& Directory() const { return directory_; }
    // Lists `dir` and makes it current; false (nothing changed) when it cannot be read.
    bool SetDirectory(std::string_view dir);
    // The lines as shown: folder names, the root as "c:\".
    struct Line {
        std::string text;
        std::string path; // the directory the line stands for
        int level = 0;
        bool open = false;
    };
    const std::vector<Line>& Lines() const { return lines_; }
    int Selected() const { return selected_; }
    int TopLine() const { return top_; }
    // Called after the current directory changed.
    std::function<void(TDirectoryListBox&)> OnChange;

    bool KeyDown(uint16_t key, ShiftState shift) override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;

protected:
    void DrawPart(TWinDIB& surface, const Rect& part) override;
    void BoundsChanged() override { Scroll(top_); }

private:
    int RowHeight() const;
    int VisibleRows() const;
    bool HasScrollBar() const;
    void Select(int line);
    void Scroll(int top);
    void Open(int line);
    void DrawLine(TWinDIB& surface, const Line& line, const Rect& row, bool selected, const Rect& clip);
    void DrawScrollBar(TWinDIB& surface, const Rect& bar, const Rect& clip);

    FileSystem& fs_;
    std::string directory_;
    std::vector<Line> lines_;
    int selected_ = 0;
    int top_ = 0;
};

// The PC's drives in a combo that drops down: each drive's letter and a sign of its type. Choosing
// a drive (a press on a line of the dropped list, the arrow keys or a drive letter) reports it through
// OnChange; SetDrive changes the choice quietly (a refused drive is put back that way).
class TDriveComboBox : public DialogControl {
public:
    TDriveComboBox(FontResolver& fonts, FileSystem& fs);

    char Drive() const { return drive_; }
    // Takes the drive when the PC has it; lower case, as the control shows it.
    void SetDrive(char letter);
    const std::vector<std::string>& Drives() const { return drives_; }
    bool DroppedDown() const { return dropped_; }
    void SetDroppedDown(bool dropped);
    // How far down the list may drop (the form's client height); beyond it the list opens upwards.
    void SetDropLimit(int bottom) { drop_limit_ = bottom; }
    std::function<void(TDriveComboBox&)> OnChange;

    bool KeyDown(uint16_t key, ShiftState shift) override;
    void CharTyped(char ch) override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;

protected:
    void DrawPart(TWinDIB& surface, const Rect& part) override;
    void FocusChanged() override;

private:
    int RowHeight() const;
    int IndexOf(char letter) const;
    void Choose(int index);
    Rect EditRect() const;
    Rect ListRect() const;
    void DrawDrive(TWinDIB& surface, const std::string& root, const Rect& row, bool selected,
                   const Rect& clip);

    FileSystem& fs_;
    std::vector<std::string> drives_; // "C:\" ...
    char drive_ = 'c';
    bool dropped_ = false;
    bool drops_up_ = false;
    int drop_limit_ = 0x7FFF;
    int closed_top_ = 0;
    int closed_height_ = 0;
};

} // namespace kavlo
