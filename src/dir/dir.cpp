#include "dir/dir.h"

#include <cctype>
#include <span>

#include "platform/codepage.h"
#include "skin/formats/picture.h"
#include "skingen/resources.h"

namespace kavlo {

namespace {

constexpr int kClientWidth = 323;
constexpr int kClientHeight = 199;
constexpr uint32_t kSelfConfirmMs = 100;
constexpr int kEastEuropeCharset = 238;
constexpr int kMaxNameLength = 50;

// Copy(text, first, count) with Delphi's 1-based index: nothing past the end.
std::string Copy(std::string_view text, size_t first, size_t count) {
    if (first < 1 || first > text.size()) {
        return {};
    }
    return std::string(text.substr(first - 1, count));
}

// The last folder of a disc path, the drive ("D:\") left out.
std::string LastComponent(std::string_view source_dir) {
    std::string rest = Copy(source_dir, 4, std::string_view::npos);
    if (!rest.empty() && rest.back() == '\\') {
        rest.pop_back();
    }
    const size_t slash = rest.find_last_of('\\');
    return slash == std::string::npos ? rest : rest.substr(slash + 1);
}

std::string RootOf(char letter) {
    return std::string{UpperCase1250(letter), ':', '\\'};
}

} // namespace

bool CreateDirectoryPath(FileSystem& fs, std::string_view path, int max_new) {
    // Every directory of the path from the root down: C:\, C:\GAMES\, C:\GAMES\X.
    std::vector<std::string> steps;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' || i + 1 == path.size()) {
            steps.emplace_back(path.substr(0, i + 1));
        }
    }
    if (steps.empty()) {
        return false;
    }
    int missing = 0;
    for (const std::string& step : steps) {
        missing += fs.DirectoryExists(step) ? 0 : 1;
    }
    if (missing > max_new) {
        return false;
    }
    std::vector<std::string> created;
    bool last_made = false;
    for (const std::string& step : steps) {
        // One that exists already fails harmlessly; only the whole path must be made here.
        last_made = fs.CreateDir(step);
        if (last_made) {
            created.push_back(step);
        }
    }
    if (last_made) {
        return true;
    }
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        fs.RemoveDir(*it);
    }
    return false;
}

TForm3::TForm3(SkinServices services, TargetDirContext context)
    : DialogForm(services), context_(std::move(context)), Background(Add<TImage>("Background")),
      EditDir1(Add<TEdit>("EditDir1", services.fonts)),
      DirectoryListBox1(Add<TDirectoryListBox>("DirectoryListBox1", services.fonts, *context_.fs)),
      DriveComboBox1(Add<TDriveComboBox>("DriveComboBox1", services.fonts, *context_.fs)),
      OKButton(Add<TButton>("OKButton", services.fonts)),
      CancelButton(Add<TButton>("CancelButton", services.fonts)),
      NewButton(Add<TButton>("NewButton", services.fonts)),
      Timer1(Add<TimerComponent>("Timer1", services.app, TimerHandle::Kind::Timer)) {
    SetClientSize(kClientWidth, kClientHeight);
    Background.SetClassName("TImage");
    Timer1.SetClassName("TTimer");
    Skin().SetColor(0x000000);
    SetCaption("Directory selection");
    const FontSpec font{.name = "Arial", .height = -12, .charset = kEastEuropeCharset};
    Background.SetBounds(0, 0, kClientWidth, kClientHeight);
    Background.SetStretch(true);
    EditDir1.SetBounds(26, 24, 175, 22);
    EditDir1.SetFont(font);
    EditDir1.SetText("C:\\");
    DirectoryListBox1.SetBounds(24, 56, 177, 97);
    DirectoryListBox1.SetFont(font);
    DriveComboBox1.SetBounds(24, 160, 177, 20);
    DriveComboBox1.SetFont(font);
    for (auto [button, caption, top] :
         {std::tuple{&OKButton, "&OK", 32}, std::tuple{&CancelButton, "&Cancel", 64},
          std::tuple{&NewButton, "", 96}}) {
        button->SetBounds(226, top, 75, 25);
        button->SetFont(font);
        button->SetCaption(caption);
    }
    OKButton.SetDefault(true);
    CancelButton.SetCancel(true);
    NewButton.SetVisible(false);
    Timer1.Timer().SetEnabled(false);
    Timer1.Timer().SetInterval(kSelfConfirmMs);
    Timer1.Timer().SetOnTimer([this] { Timer1Timer(); });
    OKButton.handlers.OnClick = [this](TControl&) { OKButtonClick(); };
    CancelButton.handlers.OnClick = [this](TControl&) { CancelButtonClick(); };
    DriveComboBox1.OnChange = [this](TDriveComboBox&) { DriveComboBox1Change(); };
    DirectoryListBox1.OnChange = [this](TDirectoryListBox&) { DirectoryListBox1Change(); };
}

bool TForm3::OnPage(std::initializer_list<TargetPage> pages) const {
    for (const TargetPage page : pages) {
        if (context_.page_kind == static_cast<int>(page)) {
            return true;
        }
    }
    return false;
}

bool TForm3::Forced() const {
    return OnPage({TargetPage::Demos, TargetPage::Readers}) && context_.InstallType == 3;
}

std::string TForm3::Proposal() const {
    const std::string& dir = DirectoryListBox1.Directory();
    return dir.size() == 3 ? dir + default_name_ : dir + "\\" + default_name_;
}

void TForm3::FormShow() {
    SetPosition(context_.main_left + 158, context_.main_top + 129);
    const std::span<const uint8_t> bitmap = Resource(context_.colour_scheme == 1 ? "BMP2" : "BMP1");
    if (PictureResult picture = LoadPicture({reinterpret_cast<const char*>(bitmap.data()), bitmap.size()});
        picture) {
        Background.SetPicture(std::move(*picture.picture));
    }

    const std::string& source = context_.SourceDir;
    switch (static_cast<TargetPage>(context_.page_kind)) {
        case TargetPage::Demos:
            default_name_ = Copy(source, 10, kMaxNameLength);
            break;
        case TargetPage::Extra:
            default_name_ = "Return To Chaos";
            break;
        case TargetPage::Shareware:
            default_name_ = "Software\\" + LastComponent(source);
            break;
        case TargetPage::Readers:
            default_name_ = "Readers\\" + LastComponent(source);
            break;
        case TargetPage::Fulls:
            default_name_ = Copy(source, 4, kMaxNameLength);
            break;
        case TargetPage::Extra2:
            default_name_ = "Freegames\\" + LastComponent(source);
            break;
        case TargetPage::Extra3:
            default_name_ = "Demoscena\\" + LastComponent(source);
            break;
        default:
            default_name_.clear();
            break;
    }
    if (OnPage({TargetPage::Demos})) {
        SetCaption(context_.LoadString(Message(16)));
    } else if (OnPage({TargetPage::Extra, TargetPage::Shareware, TargetPage::Readers, TargetPage::Fulls,
                       TargetPage::Extra2, TargetPage::Extra3})) {
        SetCaption(context_.LoadString(Message(32)));
    }
    if (context_.language == 0) {
        NewButton.SetCaption("New");
    } else if (context_.language == 1) {
        NewButton.SetCaption("Nov\xFD");
    }

    DriveComboBox1.SetDrive('c');
    DirectoryListBox1.SetDirectory("c:\\");
    target_allowed_ = true;
    OKButton.SetEnabled(true);

    if (Forced()) {
        default_name_ = Copy(context_.Param, 4, std::string_view::npos);
        EditDir1.SetReadOnly(true);
        DirectoryListBox1.SetEnabled(false);
        EditDir1.SetText("C:\\" + default_name_);
        // "?" in place of the drive leaves the drive to the reader.
        DriveComboBox1.SetEnabled(!context_.Param.empty() && context_.Param[0] == '?');
    } else {
        EditDir1.SetText(Proposal());
    }
}

std::string TForm3::Execute() {
    FormShow();
    ShowModal();
    return chosen_dir_;
}

void TForm3::Activated() {
    Timer1.Timer().SetEnabled(true);
}

void TForm3::Timer1Timer() {
    Timer1.Timer().SetEnabled(false);
    if (Forced()) {
        OKButtonClick();
    }
}

void TForm3::DirectoryListBox1Change() {
    EditDir1.SetText(Proposal());
}

void TForm3::DriveComboBox1Change() {
    const std::string previous = DirectoryListBox1.Directory();
    const char drive = DriveComboBox1.Drive();
    if (!DirectoryListBox1.SetDirectory(RootOf(drive))) {
        context_.boxes->Show("Drive not ready!", context_.box_caption, MbButtons::Ok, MbIcon::Error);
        if (!previous.empty()) {
            DriveComboBox1.SetDrive(previous[0]);
        }
        return;
    }
    target_allowed_ = context_.fs->GetDriveType(RootOf(drive)) != DriveType::CdRom;
    OKButton.SetEnabled(target_allowed_);
}

void TForm3::OKButtonClick() {
    int question = 0;
    if (OnPage({TargetPage::Demos})) {
        question = Message(14);
    } else if (OnPage({TargetPage::Extra, TargetPage::Shareware, TargetPage::Readers, TargetPage::Fulls,
                       TargetPage::Extra2, TargetPage::Extra3})) {
        question = Message(31);
    }
    const bool yes =
        question != 0 &&
        context_.boxes->Show(context_.LoadSpecial(question, UpperCase1250(EditDir1.Text())),
                             context_.box_caption, MbButtons::YesNo, MbIcon::Question) == MbResult::Yes;
    if (!yes) {
        EditDir1.SetText(Proposal());
        return;
    }
    std::string dir = EditDir1.Text();
    if (!dir.empty() && dir.back() == '\\') {
        dir.pop_back();
        EditDir1.SetText(dir);
    }
    if (!dir.empty() && (context_.fs->DirectoryExists(dir) || CreateDirectoryPath(*context_.fs, dir))) {
        chosen_dir_ = dir;
        SetModalResult(mrOk);
        return;
    }
    context_.boxes->Show(context_.LoadString(Message(15)), context_.box_caption, MbButtons::Ok,
                         MbIcon::Error);
    EditDir1.SetText(Proposal());
}

void TForm3::CancelButtonClick() {
    chosen_dir_.clear();
    SetModalResult(mrCancel);
}

} // namespace kavlo
