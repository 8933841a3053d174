#include "state_dump.h"

#include <cstdio>
#include <fstream>

#include "platform/codepage.h"
#include "skin/controls/dialog_form.h"
#include "skin/controls/dib_image.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/plain_controls.h"
#include "skin/text/label_text.h"

namespace kavlo {

namespace {

using Json = nlohmann::ordered_json;

std::string Utf(std::string_view text) {
    return ToUtf8(text);
}

std::string HexColour(TColor color) {
    const TColor rgb = ColorToRGB(color);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    return text;
}

Json WindowJson(TForm1& form) {
    Json window = Json::object();
    const std::optional<WindowSpec> info = form.App().GetBackend().WindowInfo(form.Window());
    if (!info) {
        return window;
    }
    window["left"] = info->left;
    window["top"] = info->top;
    window["width"] = info->client_width;
    window["height"] = info->client_height;
    window["title"] = Utf(info->title);
    window["shaped"] = !info->shape.empty();
    window["visible"] = info->visible;
    return window;
}

Json MenuStateJson(const TForm1& form) {
    const MenuState& s = form.state;
    Json state = Json::object();
    for (const auto& [name, value] : {std::pair<const char*, const std::string*>{"DiscDrive", &s.DiscDrive},
                                      {"DiscDir", &s.DiscDir},
                                      {"OsName", &s.OsName},
                                      {"SystemDir", &s.SystemDir},
                                      {"WindowsDir", &s.WindowsDir},
                                      {"TempDir", &s.TempDir},
                                      {"ProgramFilesDir", &s.ProgramFilesDir},
                                      {"CommonDesktopDir", &s.CommonDesktopDir},
                                      {"CommonProgramsDir", &s.CommonProgramsDir},
                                      {"UserDesktopDir", &s.UserDesktopDir},
                                      {"UserProgramsDir", &s.UserProgramsDir},
                                      {"CommonFilesDir", &s.CommonFilesDir}}) {
        state[name] = Utf(*value);
    }
    state["Language"] = form.catalogue.header.Version;
    state["Debug"] = form.catalogue.header.Debug ? 1 : 0;
    state["ColourScheme"] = s.ColourScheme;
    state["Enhanced"] = s.Enhanced ? 1 : 0;
    state["Slow"] = s.Slow ? 1 : 0;
    state["Music"] = s.Music ? 1 : 0;
    state["InstallTest"] = s.InstallTest ? 1 : 0;
    state["FullScreen"] = form.FullScreen ? 1 : 0;
    state["MusicPlaying"] = form.MusicPlaying ? 1 : 0;
    state["CurrentPage"] = static_cast<int>(s.CurrentPage);
    state["PageCount"] = s.PageCount;
    state["SelectedSlot"] = s.SelectedSlot;
    state["PreviousSlot"] = s.PreviousSlot;
    state["PressedSlot"] = s.PressedSlot;
    state["ColumnStep"] = s.ColumnStep;
    state["TopItem"] = s.TopItem;
    state["CurrentItem"] = s.CurrentItem;
    state["PreviousItem"] = s.PreviousItem;
    state["ItemCount"] = form.AssignTempNumber(s.CurrentPage);
    state["InstalledCount"] = form.InstalledCount;
    state["PictureNumber"] = s.PictureNumber;
    state["PictureCount"] = s.PictureCount;
    state["HasGallery"] = s.HasGallery;
    state["PointerOnPicture"] = s.PointerOnPicture;
    // Captions are drawn in the disc's code page: Turkish discs use their own.
    const CodePage captions =
        form.catalogue.header.Version == 2 ? CodePage::Windows1254 : CodePage::Windows1250;
    Json pages = Json::array();
    for (int slot = 1; slot <= s.PageCount && slot <= static_cast<int>(s.PageTable.size()); ++slot) {
        const TPage& page = s.PageTable[static_cast<size_t>(slot - 1)];
        pages.push_back(Json{{"caption", ToUtf8(page.caption, captions)}, {"kind", page.kind}});
    }
    state["PageTable"] = std::move(pages);
    return state;
}

// What the dialog widgets hold beyond a control's place: texts, the focus, the lists' lines.
void AddDialogFields(Json& out, const TControl& control) {
    const auto* widget = dynamic_cast<const DialogControl*>(&control);
    if (widget == nullptr) {
        return;
    }
    const CodePage code_page = CodePageOfCharset(widget->Font().charset);
    out["focused"] = widget->Focused();
    if (const auto* button = dynamic_cast<const TButton*>(widget)) {
        out["caption"] = ToUtf8(button->Caption(), code_page);
        out["default"] = button->Framed();
    } else if (const auto* edit = dynamic_cast<const TEdit*>(widget)) {
        out["text"] = ToUtf8(edit->Text(), code_page);
        out["readOnly"] = edit->ReadOnly();
    } else if (const auto* list = dynamic_cast<const TDirectoryListBox*>(widget)) {
        out["directory"] = ToUtf8(list->Directory(), code_page);
        Json lines = Json::array();
        for (const TDirectoryListBox::Line& line : list->Lines()) {
            lines.push_back(ToUtf8(line.text, code_page));
        }
        out["items"] = std::move(lines);
        out["selected"] = list->Selected();
    } else if (const auto* combo = dynamic_cast<const TDriveComboBox*>(widget)) {
        out["drive"] = std::string(1, combo->Drive());
        Json drives = Json::array();
        for (const std::string& root : combo->Drives()) {
            drives.push_back(ToUtf8(root, code_page));
        }
        out["items"] = std::move(drives);
        out["droppedDown"] = combo->DroppedDown();
    }
}

void AddControlFields(Json& out, const TControl& control) {
    out["visible"] = control.Visible();
    out["left"] = control.Left();
    out["top"] = control.Top();
    out["width"] = control.Width();
    out["height"] = control.Height();
    if (const auto* image = dynamic_cast<const TDIBImage*>(&control)) {
        out["image"] = image->IndexMain().DIBIndex();
    }
    if (const auto* dib = dynamic_cast<const TDIBControl*>(&control)) {
        out["opacity"] = dib->Opacity();
    }
    if (const auto* text = dynamic_cast<const LabelText*>(&control)) {
        out["caption"] = ToUtf8(text->Caption(), CodePageOfCharset(text->Font().charset));
        out["fontColor"] = HexColour(text->FontColor());
    }
    if (const auto* animate = dynamic_cast<const TAnimate*>(&control)) {
        out["clip"] = Utf(animate->ClipName());
        out["frame"] = animate->Frame();
        out["playing"] = animate->Active();
    }
    out["tag"] = control.Tag();
    out["enabled"] = control.Enabled();
    AddDialogFields(out, control);
}

Json ComponentsJson(const SkinForm& form) {
    Json components = Json::object();
    for (const TComponent* component : form.Components()) {
        if (component->Name().empty()) {
            continue;
        }
        Json entry = Json::object();
        entry["class"] = component->ClassName();
        if (const auto* control = dynamic_cast<const TControl*>(component)) {
            AddControlFields(entry, *control);
        } else if (const auto* timer = dynamic_cast<const TimerComponent*>(component)) {
            entry["tag"] = timer->Tag();
            entry["enabled"] = timer->Timer().Enabled();
            entry["interval"] = timer->Timer().Interval();
        } else {
            entry["tag"] = component->Tag();
        }
        components[Utf(component->Name())] = std::move(entry);
    }
    return components;
}

// The running modal dialogs, each with its window and components, the innermost last.
Json DialogsJson(TForm1& form) {
    Json dialogs = Json::array();
    for (const ModalForm* modal : form.App().ModalForms()) {
        const auto* dialog = dynamic_cast<const DialogForm*>(modal);
        if (dialog == nullptr) {
            continue;
        }
        Json window = Json::object();
        if (const std::optional<WindowSpec> info = form.App().GetBackend().WindowInfo(dialog->Window())) {
            window = Json{{"title", Utf(info->title)},
                          {"left", info->left},
                          {"top", info->top},
                          {"width", info->client_width},
                          {"height", info->client_height}};
        }
        dialogs.push_back(
            Json{{"window", std::move(window)}, {"components", ComponentsJson(dialog->Skin())}});
    }
    return dialogs;
}

Json EventJson(const LoggedEvent& event) {
    if (const auto* box = std::get_if<LoggedMessageBox>(&event)) {
        return Json{{"kind", "messagebox"},
                    {"caption", Utf(box->caption)},
                    {"text", Utf(box->text)},
                    {"buttons", box->buttons},
                    {"answer", box->answer}};
    }
    if (const auto* process = std::get_if<LoggedProcess>(&event)) {
        return Json{{"kind", "process"},
                    {"commandLine", Utf(process->command_line)},
                    {"workingDir", Utf(process->working_dir)},
                    {"wait", process->wait}};
    }
    const auto& shell = std::get<LoggedShell>(event);
    return Json{{"kind", "shell"},
                {"verb", Utf(shell.verb)},
                {"file", Utf(shell.file)},
                {"params", Utf(shell.params)},
                {"dir", Utf(shell.dir)}};
}

} // namespace

Json StateDump(TForm1& form, std::optional<int> exit_code) {
    Json dump = Json::object();
    dump["window"] = WindowJson(form);
    dump["application"] = Json{{"title", Utf(form.ApplicationTitle)}};
    dump["MenuState"] = MenuStateJson(form);
    dump["components"] = ComponentsJson(form.Skin());
    dump["dialogs"] = DialogsJson(form);
    const TForm1::MusicStatus player = form.PlayerStatus();
    dump["player"] = Json{
        {"loaded", player.loaded}, {"ready", player.ready}, {"track", player.track}, {"mode", player.mode}};
    Json events = Json::array();
    for (const LoggedEvent& event : form.GetPlatform().events.Events()) {
        events.push_back(EventJson(event));
    }
    dump["events"] = std::move(events);
    if (exit_code) {
        dump["exitCode"] = *exit_code;
    }
    return dump;
}

bool WriteStateDump(TForm1& form, const std::string& file, std::optional<int> exit_code) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << StateDump(form, exit_code).dump(2) << "\n";
    return static_cast<bool>(out);
}

namespace {

// Lays a composed dialog over the window's picture where the dialog stands on the screen. Both
// pictures keep their bottom row first.
void LayOver(std::vector<uint32_t>& picture, int width, int height, DialogForm& dialog, int x, int y) {
    SkinForm& skin = dialog.Skin();
    skin.Compose(skin.PendingUpdate());
    const TWinDIB& surface = skin.Surface();
    for (int row = 0; row < surface.Height(); ++row) {
        const int target_row = y + row;
        if (target_row < 0 || target_row >= height) {
            continue;
        }
        const uint32_t* source =
            surface.Bits() + static_cast<size_t>(surface.Height() - 1 - row) * surface.Width();
        uint32_t* target = picture.data() + static_cast<size_t>(height - 1 - target_row) * width;
        for (int column = 0; column < surface.Width(); ++column) {
            if (x + column >= 0 && x + column < width) {
                target[x + column] = source[column];
            }
        }
    }
}

} // namespace

// The window as the screen shows it: open dialogs lie over it where they stand.
bool WriteScreenshot(TForm1& form, const std::string& file) {
    SkinForm& skin = form.Skin();
    skin.Compose(skin.PendingUpdate());
    const TWinDIB& surface = skin.Surface();
    const int width = surface.Width();
    const int height = surface.Height();
    std::vector<uint32_t> picture(surface.Bits(), surface.Bits() + static_cast<size_t>(width) * height);
    const std::optional<WindowSpec> window = form.App().GetBackend().WindowInfo(form.Window());
    for (ModalForm* modal : form.App().ModalForms()) {
        if (auto* dialog = dynamic_cast<DialogForm*>(modal); dialog != nullptr && window) {
            LayOver(picture, width, height, *dialog, dialog->Left() - window->left,
                    dialog->Top() - window->top);
        }
    }
    return WriteSurfacePng(file, SurfaceBits{picture.data(), width, height}, false);
}

} // namespace kavlo
