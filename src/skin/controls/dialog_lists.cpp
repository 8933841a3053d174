#include "skin/controls/dialog_lists.h"

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"
#include "skin/surface/win_dib.h"
#include "skin/text/font_resolver.h"
#include "ui/events.h"

namespace kavlo {

namespace {

constexpr int kScrollBarWidth = 16;
constexpr int kIndentPerLevel = 8;
constexpr int kIconWidth = 16;
constexpr TColor kFolderYellow = 0x80FFFF; // $00BBGGRR: the old shell's folder yellow
constexpr TColor kDriveGrey = 0xC0C0C0;
constexpr TColor kLedGreen = 0x00C000;

void Fill(TWinDIB& surface, const Rect& rect, TColor color, const Rect& clip) {
    const Rect part = Intersect(rect, clip);
    if (!part.Empty()) {
        surface.FillRect(part, ColorToRGB(color));
    }
}

// A folder sign 14 x 11 with its top-left corner at (x, y); an open one shows its lid tilted forward.
void DrawFolder(TWinDIB& surface, int x, int y, bool open, const Rect& clip) {
    classic::Frame(surface, {x, y, x + 6, y + 2}, clWindowText, clWindowText, clip); // the tab
    Fill(surface, {x, y + 2, x + 14, y + 11}, clWindowText, clip);
    Fill(surface, {x + 1, y + 3, x + 13, y + 10}, kFolderYellow, clip);
    if (open) {
        Fill(surface, {x + 1, y + 5, x + 13, y + 6}, clWindowText, clip);
        Fill(surface, {x + 2, y + 6, x + 13, y + 10}, 0xC0FFFF, clip);
    }
}

// A drive sign 14 x 10 by its type: a case with a light for hard disks, a disc for CD-ROM drives, a slot
// for removable ones and a cable for network drives.
void DrawDriveSign(TWinDIB& surface, int x, int y, DriveType type, const Rect& clip) {
    Fill(surface, {x, y + 2, x + 14, y + 10}, clWindowText, clip);
    Fill(surface, {x + 1, y + 3, x + 13, y + 9}, kDriveGrey, clip);
    switch (type) {
        case DriveType::CdRom:
            Fill(surface, {x + 4, y + 4, x + 10, y + 8}, clWindow, clip);
            Fill(surface, {x + 6, y + 5, x + 8, y + 7}, clWindowText, clip);
            break;
        case DriveType::Removable:
            Fill(surface, {x + 3, y + 5, x + 11, y + 6}, clWindowText, clip);
            break;
        case DriveType::Remote:
            Fill(surface, {x + 6, y + 10, x + 8, y + 12}, clWindowText, clip);
            Fill(surface, {x + 2, y + 11, x + 12, y + 12}, clWindowText, clip);
            break;
        default:
            Fill(surface, {x + 10, y + 6, x + 12, y + 8}, kLedGreen, clip);
            break;
    }
}

// The small black triangle of a scroll or drop-down button, pointing down or up.
void DrawArrow(TWinDIB& surface, const Rect& button, bool down, bool enabled, const Rect& clip) {
    const int cx = (button.left + button.right) / 2;
    const int cy = (button.top + button.bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        const int y = down ? cy - 2 + row : cy + 1 - row;
        Fill(surface, {cx - 3 + row, y, cx + 4 - row, y + 1}, enabled ? clBtnText : clGrayText, clip);
    }
}

std::string ParentOf(const std::string& dir) {
    const size_t slash = dir.find_last_of('\\');
    if (slash == std::string::npos || slash <= 2) {
        return dir.substr(0, std::min<size_t>(dir.size(), 3));
    }
    return dir.substr(0, slash);
}

} // namespace

// ----- TDirectoryListBox

bool TDirectoryListBox::SetDirectory(std::string_view dir) {
    std::string full = fs_.FullPath(dir);
    if (full.size() > 3 && full.back() == '\\') {
        full.pop_back();
    }
    if (full.size() < 3 || full[1] != ':' || !fs_.DriveReady(full[0])) {
        return false;
    }
    const std::optional<std::vector<DirEntry>> entries = fs_.List(full);
    if (!entries) {
        return false;
    }
    std::vector<std::string> chain{full};
    while (chain.back().size() > 3) {
        chain.push_back(ParentOf(chain.back()));
    }
    std::reverse(chain.begin(), chain.end());
    std::vector<Line> lines;
    for (size_t i = 0; i < chain.size(); ++i) {
        const std::string& path = chain[i];
        std::string text = i == 0 ? std::string{static_cast<char>(std::tolower(path[0])), ':', '\\'}
                                  : path.substr(path.find_last_of('\\') + 1);
        lines.push_back({std::move(text), path, static_cast<int>(i), true});
    }
    const std::string prefix = full.size() == 3 ? full : full + "\\";
    std::vector<std::string> folders;
    for (const DirEntry& entry : *entries) {
        if ((entry.attributes & kAttrDirectory) != 0) {
            folders.push_back(entry.name);
        }
    }
    // In the order Windows lists them: alphabetical, case ignored.
    std::stable_sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        return UpperCase1250(a) < UpperCase1250(b);
    });
    for (std::string& name : folders) {
        std::string path = prefix + name;
        lines.push_back({std::move(name), std::move(path), static_cast<int>(chain.size()), false});
    }
    const bool changed = full != directory_;
    directory_ = std::move(full);
    lines_ = std::move(lines);
    selected_ = static_cast<int>(chain.size()) - 1;
    top_ = 0;
    Scroll(selected_ - VisibleRows() + 1);
    Invalidate();
    if (changed && OnChange) {
        OnChange(*this);
    }
    return true;
}

int TDirectoryListBox::RowHeight() const {
    return std::max(16, LineHeight() + 2);
}

int TDirectoryListBox::VisibleRows() const {
    return std::max(1, (Height() - 4) / RowHeight());
}

bool TDirectoryListBox::HasScrollBar() const {
    return static_cast<int>(lines_.size()) > VisibleRows();
}

void TDirectoryListBox::Scroll(int top) {
    const int limit = std::max(0, static_cast<int>(lines_.size()) - VisibleRows());
    top = std::clamp(top, 0, limit);
    if (top != top_) {
        top_ = top;
        Invalidate();
    }
}

void TDirectoryListBox::Select(int line) {
    if (lines_.empty()) {
        return;
    }
    line = std::clamp(line, 0, static_cast<int>(lines_.size()) - 1);
    if (line != selected_) {
        selected_ = line;
        Invalidate();
    }
    if (selected_ < top_) {
        Scroll(selected_);
    } else if (selected_ >= top_ + VisibleRows()) {
        Scroll(selected_ - VisibleRows() + 1);
    }
}

void TDirectoryListBox::Open(int line) {
    if (line < 0 || line >= static_cast<int>(lines_.size())) {
        return;
    }
    const std::string path = lines_[static_cast<size_t>(line)].path;
    SetDirectory(path);
}

bool TDirectoryListBox::KeyDown(uint16_t key, ShiftState) {
    switch (key) {
        case vk::Up:
            Select(selected_ - 1);
            return true;
        case vk::Down:
            Select(selected_ + 1);
            return true;
        case vk::Home:
            Select(0);
            return true;
        case vk::End:
            Select(static_cast<int>(lines_.size()) - 1);
            return true;
        case vk::Prior:
            Select(selected_ - VisibleRows());
            return true;
        case vk::Next:
            Select(selected_ + VisibleRows());
            return true;
        case vk::Return:
            // Enter opens a line it has moved to; on the current directory it is the dialog's.
            if (selected_ >= 0 && selected_ < static_cast<int>(lines_.size()) &&
                lines_[static_cast<size_t>(selected_)].path != directory_) {
                Open(selected_);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void TDirectoryListBox::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    DialogControl::MouseDown(button, shift, x, y);
    if (button != MouseButton::Left || lines_.empty()) {
        return;
    }
    if (HasScrollBar() && x >= Width() - 2 - kScrollBarWidth) {
        const int inner_top = 2;
        const int inner_bottom = Height() - 2;
        if (y < inner_top + kScrollBarWidth) {
            Scroll(top_ - 1);
        } else if (y >= inner_bottom - kScrollBarWidth) {
            Scroll(top_ + 1);
        } else {
            const int middle = (inner_top + inner_bottom) / 2;
            Scroll(y < middle ? top_ - VisibleRows() : top_ + VisibleRows());
        }
        return;
    }
    const int line = top_ + (y - 2) / RowHeight();
    if (line < 0 || line >= static_cast<int>(lines_.size())) {
        return;
    }
    Select(line);
    if (shift.double_click) {
        Open(line);
    }
}

void TDirectoryListBox::DrawLine(TWinDIB& surface, const Line& line, const Rect& row, bool selected,
                                 const Rect& clip) {
    const int icon_x = row.left + 2 + line.level * kIndentPerLevel;
    DrawFolder(surface, icon_x, row.top + (row.Height() - 11) / 2, line.open, clip);
    const int text_left = icon_x + kIconWidth + 2;
    const TextSize size = TextExtent(Fonts(), Font(), line.text);
    const Rect text_box{text_left, row.top, std::min(row.right, text_left + size.width + 4), row.bottom};
    const bool lit = selected && Enabled();
    if (lit) {
        Fill(surface, text_box, clHighlight, clip);
    }
    classic::Text(surface, Fonts(), Font(), line.text, {text_box.left + 2, row.top, row.right, row.bottom},
                  kDtSingleLine | kDtVCenter | kDtNoPrefix, lit ? clHighlightText : clWindowText, clip,
                  !Enabled());
    if (selected && Focused()) {
        classic::FocusRect(surface, text_box, clip);
    }
}

void TDirectoryListBox::DrawScrollBar(TWinDIB& surface, const Rect& bar, const Rect& clip) {
    Fill(surface, bar, 0xE0E0E0, clip);
    const Rect up{bar.left, bar.top, bar.right, bar.top + kScrollBarWidth};
    const Rect down{bar.left, bar.bottom - kScrollBarWidth, bar.right, bar.bottom};
    for (const auto& [button, points_down] : {std::pair{up, false}, std::pair{down, true}}) {
        Fill(surface, button, clBtnFace, clip);
        classic::Raised(surface, button, false, clip);
        DrawArrow(surface, button, points_down, Enabled(), clip);
    }
    const int track = down.top - up.bottom;
    const int count = static_cast<int>(lines_.size());
    const int thumb = std::max(8, track * VisibleRows() / std::max(1, count));
    const int range = std::max(1, count - VisibleRows());
    const int offset = (track - thumb) * top_ / range;
    const Rect thumb_rect{bar.left, up.bottom + offset, bar.right, up.bottom + offset + thumb};
    Fill(surface, thumb_rect, clBtnFace, clip);
    classic::Raised(surface, thumb_rect, false, clip);
}

void TDirectoryListBox::DrawPart(TWinDIB& surface, const Rect& part) {
    const Rect box = BoundsRect();
    classic::Sunken(surface, box, part);
    Rect inner{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
    if (HasScrollBar()) {
        DrawScrollBar(surface, {inner.right - kScrollBarWidth, inner.top, inner.right, inner.bottom}, part);
        inner.right -= kScrollBarWidth;
    }
    const Rect clip = Intersect(inner, part);
    Fill(surface, inner, clWindow, clip);
    const int rows = std::min(VisibleRows() + 1, static_cast<int>(lines_.size()) - top_);
    for (int i = 0; i < rows; ++i) {
        const int index = top_ + i;
        const Rect row{inner.left, inner.top + i * RowHeight(), inner.right,
                       inner.top + (i + 1) * RowHeight()};
        DrawLine(surface, lines_[static_cast<size_t>(index)], row, index == selected_, clip);
    }
}

// ----- TDriveComboBox

TDriveComboBox::TDriveComboBox(FontResolver& fonts, FileSystem& fs) : DialogControl(fonts), fs_(fs) {
    SetClassName("TDriveComboBox");
    drives_ = fs_.LogicalDrives();
}

int TDriveComboBox::RowHeight() const {
    return std::max(16, LineHeight() + 2);
}

int TDriveComboBox::IndexOf(char letter) const {
    const char upper = UpperCase1250(letter);
    for (size_t i = 0; i < drives_.size(); ++i) {
        if (UpperCase1250(drives_[i][0]) == upper) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TDriveComboBox::SetDrive(char letter) {
    if (IndexOf(letter) < 0) {
        return;
    }
    drive_ = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    Invalidate();
}

void TDriveComboBox::Choose(int index) {
    if (index < 0 || index >= static_cast<int>(drives_.size())) {
        return;
    }
    const char letter =
        static_cast<char>(std::tolower(static_cast<unsigned char>(drives_[static_cast<size_t>(index)][0])));
    if (letter == drive_) {
        return;
    }
    drive_ = letter;
    Invalidate();
    if (OnChange) {
        OnChange(*this);
    }
}

Rect TDriveComboBox::EditRect() const {
    const int top = dropped_ && drops_up_ ? Top() + Height() - closed_height_ : Top();
    return {Left(), top, Left() + Width(), top + (dropped_ ? closed_height_ : Height())};
}

Rect TDriveComboBox::ListRect() const {
    if (!dropped_) {
        return {};
    }
    const Rect edit = EditRect();
    return drops_up_ ? Rect{Left(), Top(), Left() + Width(), edit.top}
                     : Rect{Left(), edit.bottom, Left() + Width(), Top() + Height()};
}

void TDriveComboBox::SetDroppedDown(bool dropped) {
    if (dropped == dropped_) {
        return;
    }
    if (dropped) {
        closed_top_ = Top();
        closed_height_ = Height();
        const int list_height = static_cast<int>(drives_.size()) * RowHeight() + 2;
        drops_up_ = Top() + Height() + list_height > drop_limit_ && Top() - list_height >= 0;
        dropped_ = true;
        SetBounds(Left(), drops_up_ ? Top() - list_height : Top(), Width(), closed_height_ + list_height);
    } else {
        dropped_ = false;
        SetBounds(Left(), closed_top_, Width(), closed_height_);
    }
}

void TDriveComboBox::FocusChanged() {
    if (!Focused()) {
        SetDroppedDown(false);
    }
    Invalidate();
}

bool TDriveComboBox::KeyDown(uint16_t key, ShiftState shift) {
    const int current = IndexOf(drive_);
    switch (key) {
        case vk::Up:
        case vk::Left:
            if (shift.alt) {
                SetDroppedDown(!dropped_);
            } else {
                Choose(current - 1);
            }
            return true;
        case vk::Down:
        case vk::Right:
            if (shift.alt) {
                SetDroppedDown(!dropped_);
            } else {
                Choose(current + 1);
            }
            return true;
        case vk::Home:
            Choose(0);
            return true;
        case vk::End:
            Choose(static_cast<int>(drives_.size()) - 1);
            return true;
        case vk::F1 + 3: // F4 drops the list, as in every combo
            SetDroppedDown(!dropped_);
            return true;
        case vk::Return:
        case vk::Escape:
            // A dropped list closes first; the dialog gets the key only when it is closed.
            if (dropped_) {
                SetDroppedDown(false);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void TDriveComboBox::CharTyped(char ch) {
    const int index = IndexOf(ch);
    if (index >= 0) {
        Choose(index);
    }
}

void TDriveComboBox::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    DialogControl::MouseDown(button, shift, x, y);
    if (button != MouseButton::Left) {
        return;
    }
    const Rect list = ListRect();
    const int sx = x + Left();
    const int sy = y + Top();
    if (dropped_ && sx >= list.left && sx < list.right && sy >= list.top + 1 && sy < list.bottom - 1) {
        const int index = (sy - list.top - 1) / RowHeight();
        SetDroppedDown(false);
        Choose(index);
        return;
    }
    SetDroppedDown(!dropped_);
}

void TDriveComboBox::DrawDrive(TWinDIB& surface, const std::string& root, const Rect& row, bool selected,
                               const Rect& clip) {
    if (selected) {
        Fill(surface, row, clHighlight, clip);
    }
    DrawDriveSign(surface, row.left + 2, row.top + (row.Height() - 12) / 2, fs_.GetDriveType(root), clip);
    const std::string text{static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))), ':'};
    classic::Text(surface, Fonts(), Font(), text, {row.left + kIconWidth + 4, row.top, row.right, row.bottom},
                  kDtSingleLine | kDtVCenter | kDtNoPrefix, selected ? clHighlightText : clWindowText, clip,
                  !Enabled());
}

void TDriveComboBox::DrawPart(TWinDIB& surface, const Rect& part) {
    const Rect edit = EditRect();
    classic::Sunken(surface, edit, part);
    const Rect inner{edit.left + 2, edit.top + 2, edit.right - 2, edit.bottom - 2};
    const Rect button{inner.right - kScrollBarWidth, inner.top, inner.right, inner.bottom};
    const Rect field{inner.left, inner.top, button.left, inner.bottom};
    Fill(surface, field, Enabled() ? clWindow : clBtnFace, part);
    Fill(surface, button, clBtnFace, part);
    classic::Raised(surface, button, dropped_, part);
    DrawArrow(surface, button, true, Enabled(), part);
    const int current = IndexOf(drive_);
    if (current >= 0) {
        const Rect row{field.left + 1, field.top + 1, field.right - 1, field.bottom - 1};
        DrawDrive(surface, drives_[static_cast<size_t>(current)], row, Focused() && !dropped_ && Enabled(),
                  Intersect(row, part));
        if (Focused() && !dropped_) {
            classic::FocusRect(surface, row, part);
        }
    }
    if (!dropped_) {
        return;
    }
    const Rect list = ListRect();
    classic::Frame(surface, list, clWindowFrame, clWindowFrame, part);
    const Rect rows{list.left + 1, list.top + 1, list.right - 1, list.bottom - 1};
    Fill(surface, rows, clWindow, part);
    for (size_t i = 0; i < drives_.size(); ++i) {
        const int top = rows.top + static_cast<int>(i) * RowHeight();
        const Rect row{rows.left, top, rows.right, top + RowHeight()};
        DrawDrive(surface, drives_[i], row, static_cast<int>(i) == current, Intersect(row, part));
    }
}

} // namespace kavlo
