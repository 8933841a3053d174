#include "unpack/unpack.h"

#include <charconv>
#include <cmath>
#include <span>

#include "RARArc/rararc.h"
#include "engine/trees.h"
#include "platform/codepage.h"
#include "skin/controls/animate.h"
#include "skin/formats/picture.h"
#include "skingen/resources.h"

namespace kavlo {

namespace {

constexpr int kClientWidth = 426;
constexpr int kClientHeight = 166;
constexpr uint32_t kStartDelayMs = 300;
constexpr int kEastEuropeCharset = 238;
constexpr int kTurkishFontCharset = 162;
constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kBlack = 0x000000;
constexpr uint64_t kMegabyte = 1024 * 1024;

// A whole decimal number and nothing else; the catalogue's sizes are never negative.
std::optional<int64_t> Decimal(std::string_view text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || next != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::string Replace(std::string text, std::string_view mark, std::string_view value) {
    if (const size_t at = text.find(mark); at != std::string::npos) {
        text.replace(at, mark.size(), value);
    }
    return text;
}

// The numbered table has no text for a full disk, so the dialog carries one per disc language.
std::string NoSpaceText(int language, std::string_view dir, uint64_t needed, uint64_t free) {
    static constexpr const char* kTexts[] = {
        "There is not enough free space in %1: %2 MB are needed, %3 MB are free.",
        // The split keeps "\xF8" from swallowing the letter after it.
        ("Na disku nen\xED dost m\xEDsta pro %1: pot\xF8"
         "eba %2 MB, volno %3 MB."),
        "%1 icin yeterli bos alan yok: %2 MB gerekli, %3 MB bos.",
        "Spatiu liber insuficient in %1: necesar %2 MB, liber %3 MB.",
        "Na disku nie je dos\x9D miesta pre %1: treba %2 MB, vo\xBEn\xE9 %3 MB.",
        "Nicht genug freier Speicher in %1: %2 MB n\xF6tig, %3 MB frei.",
        "Ruang kosong di %1 tidak cukup: perlu %2 MB, tersedia %3 MB.",
    };
    const int index = language >= 0 && language < static_cast<int>(std::size(kTexts)) ? language : 0;
    std::string text = Replace(kTexts[index], "%1", dir);
    text = Replace(std::move(text), "%2", std::to_string((needed + kMegabyte - 1) / kMegabyte));
    return Replace(std::move(text), "%3", std::to_string(free / kMegabyte));
}

} // namespace

TUnpackForm::TUnpackForm(SkinServices services, UnpackContext context)
    : DialogForm(services), context_(std::move(context)), Background(Add<TImage>("Background")),
      PackLabel1(Add<TLabel>("PackLabel1", services.fonts)),
      PackLabel2(Add<TLabel>("PackLabel2", services.fonts)),
      PackLabel3(Add<TLabel>("PackLabel3", services.fonts)),
      Animate1(Add<TAnimate>("Animate1", services.app)), Label1(Add<TLabel>("Label1", services.fonts)),
      Timer1(Add<TimerComponent>("Timer1", services.app, TimerHandle::Kind::Timer)),
      rar_(std::make_unique<TRAR>(*context_.unrar)) {
    SetClientSize(kClientWidth, kClientHeight);
    Background.SetClassName("TImage");
    PackLabel1.SetClassName("TLabel");
    PackLabel2.SetClassName("TLabel");
    PackLabel3.SetClassName("TLabel");
    Label1.SetClassName("TLabel");
    Animate1.SetClassName("TAnimate");
    Timer1.SetClassName("TTimer");
    Skin().SetColor(0x000000);
    SetCaption(context_.box_caption);
    Background.SetBounds(0, 0, kClientWidth, kClientHeight);
    Background.SetStretch(true);
    // Turkish captions are Windows-1254 bytes, the others Windows-1250.
    const FontSpec font{.name = "Arial",
                        .height = -13,
                        .bold = true,
                        .charset = context_.language == 2 ? kTurkishFontCharset : kEastEuropeCharset};
    int top = 10;
    for (TLabel* label : {&PackLabel1, &PackLabel2, &PackLabel3}) {
        label->SetAutoSize(false);
        label->SetBounds(8, top, kClientWidth - 16, 18);
        label->SetAlignment(TAlignment::taCenter);
        label->SetTransparent(true);
        label->SetShowAccelChar(false);
        label->SetFont(font);
        top += 18;
    }
    // The background's plate ends in an accent line at y 148: the clip and the percentage stay above it.
    // The clip is drawn for this place, its soft edges on the plate's colour here.
    Animate1.SetBounds(73, 66, 280, 52);
    Animate1.SetClipSource(Resource);
    Animate1.SetRepetitions(0);
    Label1.SetAutoSize(false);
    Label1.SetBounds(8, 122, kClientWidth - 16, 18);
    Label1.SetAlignment(TAlignment::taCenter);
    Label1.SetTransparent(true);
    Label1.SetFont(font);
    Label1.SetCaption("0%");
    Timer1.Timer().SetEnabled(false);
    Timer1.Timer().SetInterval(kStartDelayMs);
    Timer1.Timer().SetOnTimer([this] { Timer1Timer(); });
    WireArchiveEvents();
}

TUnpackForm::~TUnpackForm() = default;

bool TUnpackForm::OnPage(std::initializer_list<TargetPage> pages) const {
    for (const TargetPage page : pages) {
        if (context_.page_kind == static_cast<int>(page)) {
            return true;
        }
    }
    return false;
}

std::string TUnpackForm::CatalogueSection() const {
    return "Demo" + std::to_string(context_.item_number);
}

void TUnpackForm::WireArchiveEvents() {
    rar_->OnListFile = [this](TRAR&, const RarHeader&) {
        ++entry_count_;
        Services().app.ProcessMessages();
    };
    rar_->OnProcessData = [this](TRAR&, const unsigned char*, int block_size, int64_t) {
        if (ByteMode()) {
            unpacked_bytes_ += block_size;
            if (expected_bytes_ > 0 && !aborted_) {
                ShowPercent(unpacked_bytes_, expected_bytes_);
            }
        }
        Services().app.ProcessMessages();
        return 1;
    };
    rar_->OnExtract = [this](TRAR&, const RarHeader&, bool) {
        if (!ByteMode()) {
            ShowPercent(static_cast<int64_t>(entry_count_ - entries_remaining_),
                        static_cast<int64_t>(entry_count_));
            if (entries_remaining_ > 0) {
                --entries_remaining_;
            }
        }
    };
    rar_->OnError = [this](TRAR&, int error) {
        // A file that cannot be created is passed by; the others still come.
        if (error == kRarECreate) {
            return;
        }
        failed_ = true;
        ShowError(TRAR::ErrorText(error));
        RequestClose();
    };
}

void TUnpackForm::ShowPercent(int64_t numerator, int64_t denominator) {
    const double percent = static_cast<double>(numerator) / static_cast<double>(denominator) * 100.0;
    Label1.SetCaption(std::to_string(std::llround(percent)) + "%");
}

void TUnpackForm::ShowError(std::string_view text) {
    context_.boxes->Show(text, context_.box_caption, MbButtons::Ok, MbIcon::Error);
}

void TUnpackForm::RequestClose() {
    close_requested_ = true;
    // Inside a walk the modal loop sees the result only once the walk has returned to it.
    if (!walking_) {
        SetModalResult(mrOk);
    }
}

void TUnpackForm::FormCreate() {
    SetPosition(context_.main_left + 124, context_.main_top + 153);
    Services().app.ProcessMessages();
    unpacked_bytes_ = 0;
    expected_bytes_ = 0;
    aborted_ = false;
    const bool dark_text = context_.colour_scheme == 1;
    const TColor ink = dark_text ? kBlack : kSilver;
    for (TLabel* label : {&PackLabel1, &PackLabel2, &PackLabel3, &Label1}) {
        label->SetFontColor(ink);
    }
    // A clip that cannot be opened leaves the place empty; the extraction does not depend on it.
    Animate1.SetClipName(dark_text ? "FILECOPY1" : "FILECOPY0");
    const std::span<const uint8_t> bitmap = Resource(dark_text ? "BMP4" : "BMP3");
    if (PictureResult picture = LoadPicture({reinterpret_cast<const char*>(bitmap.data()), bitmap.size()});
        picture) {
        Background.SetPicture(std::move(*picture.picture));
    }
    const bool named =
        OnPage({TargetPage::Demos, TargetPage::Extra, TargetPage::Shareware, TargetPage::Readers,
                TargetPage::Fulls, TargetPage::Extra2, TargetPage::Extra3});
    item_name_ = named ? context_.Name : std::string{};
    if (context_.language == 2) {
        // Turkish puts the verb last: "<item>'den <dir>'e kuruluyor".
        PackLabel1.SetCaption(item_name_ + "'den");
        PackLabel2.SetCaption(context_.chosen_dir + "'e kuruluyor");
        PackLabel3.SetCaption("");
    } else {
        PackLabel1.SetCaption(UpperCase1250(item_name_) + " " + context_.LoadString(Message(40)));
        PackLabel2.SetCaption(UpperCase1250(context_.LoadString(Message(41))));
        PackLabel3.SetCaption(UpperCase1250(context_.chosen_dir));
    }
    Services().app.ProcessMessages();
    entry_count_ = 0;
    entries_remaining_ = 0;
}

void TUnpackForm::Activated() {
    FormActivate();
}

void TUnpackForm::FormActivate() {
    if (OnPage({TargetPage::Demos, TargetPage::Extra, TargetPage::Shareware, TargetPage::Readers,
                TargetPage::Fulls, TargetPage::Extra2, TargetPage::Extra3})) {
        rar_->ArchiveName = context_.SourceDir + "\\" + context_.InstallName;
    }
    rar_->TargetDir = context_.chosen_dir;
    if (OnPage({TargetPage::Demos})) {
        if (context_.InstallType == 3) {
            const std::string stored =
                context_.catalogue != nullptr
                    ? context_.catalogue->ReadString(CatalogueSection(), "UnpackedSize", "")
                    : std::string{};
            // 64-bit, read as text: the INI reader's integers stop at 2 GB.
            expected_bytes_ = Decimal(stored).value_or(unpacked_bytes_);
        } else if (context_.InstallType == 2) {
            const std::optional<int64_t> param = Decimal(context_.Param);
            expected_known_ = param.has_value();
            expected_bytes_ = param.value_or(0);
        }
    }
    if (!EnoughSpace()) {
        refused_ = true;
        RequestClose();
        return;
    }
    RemoveReadOnly(*context_.fs, context_.chosen_dir);
    Animate1.SetActive(true);
    Timer1.Timer().SetEnabled(true);
}

std::optional<int64_t> TUnpackForm::SizeNeeded() {
    if (expected_bytes_ > 0) {
        return expected_bytes_;
    }
    if (rar_->ArchiveName.empty()) {
        return std::nullopt;
    }
    // The archive's own total; its errors are reported by the walks that follow.
    TRAR sizing(*context_.unrar);
    sizing.ArchiveName = rar_->ArchiveName;
    int64_t total = 0;
    sizing.OnListFile = [&total](TRAR&, const RarHeader& header) {
        total += static_cast<int64_t>(std::min<uint64_t>(header.unp_size, INT64_MAX / 2));
    };
    sizing.ListArchive();
    return total;
}

bool TUnpackForm::EnoughSpace() {
    const std::optional<int64_t> needed = SizeNeeded();
    const std::optional<uint64_t> free = context_.fs->FreeBytes(context_.chosen_dir);
    if (!needed || !free || static_cast<uint64_t>(*needed) <= *free) {
        return true;
    }
    ShowError(NoSpaceText(context_.language, context_.chosen_dir, static_cast<uint64_t>(*needed), *free));
    return false;
}

void TUnpackForm::Timer1Timer() {
    Timer1.Timer().SetEnabled(false);
    walking_ = true;
    if (OnPage({TargetPage::Demos})) {
        const bool clean = rar_->ExtractArchive();
        // Only a whole, uninterrupted count may stand as the item's size from now on.
        if (expected_bytes_ == 0 && expected_known_ && clean && !aborted_ && context_.catalogue != nullptr) {
            context_.catalogue->WriteString(CatalogueSection(), "UnpackedSize",
                                            std::to_string(unpacked_bytes_));
        }
    } else {
        rar_->ListArchive();
        entries_remaining_ = entry_count_;
        rar_->ExtractArchive();
    }
    walking_ = false;
    RequestClose();
}

bool TUnpackForm::KeyPreview(uint16_t key) {
    if (key != vk::Escape) {
        return false;
    }
    EscapePressed();
    return true;
}

void TUnpackForm::EscapePressed() {
    if (!OnPage({TargetPage::Demos}) || aborted_ || close_requested_) {
        return;
    }
    Animate1.SetActive(false);
    rar_->Stop = true;
    const MbResult answer = context_.boxes->Show(context_.LoadString(Message(50)), context_.box_caption,
                                                 MbButtons::YesNo, MbIcon::Question);
    if (answer == MbResult::Yes) {
        aborted_ = true;
        RequestClose();
        return;
    }
    rar_->Stop = false;
    Animate1.SetActive(true);
}

void TUnpackForm::FormClose() {
    Animate1.SetActive(false);
    Label1.SetCaption("100%");
}

UnpackOutcome TUnpackForm::Execute() {
    FormCreate();
    ShowModal();
    FormClose();
    UnpackOutcome outcome;
    outcome.aborted = aborted_;
    outcome.refused = refused_;
    outcome.failed = failed_;
    outcome.unpacked_bytes = unpacked_bytes_;
    outcome.expected_bytes = expected_bytes_;
    outcome.entry_count = entry_count_;
    outcome.entries_remaining = entries_remaining_;
    // An aborted walk is incomplete whatever the sizes say: without an expected size the test below
    // would pass it. So is one the library reported an error in: a damaged file has all its bytes and
    // a missing archive none, and neither may be recorded as installed.
    outcome.complete = !aborted_ && !failed_ &&
                       !(expected_known_ && unpacked_bytes_ > 0 && expected_bytes_ > 0 &&
                         unpacked_bytes_ != expected_bytes_) &&
                       !(entry_count_ > 0 && entries_remaining_ > 0);
    if (refused_) {
        // Nothing was written: nothing to offer for deletion, but nothing to record either.
        outcome.complete = false;
    } else if (!outcome.complete && context_.DeleteQuestion) {
        context_.DeleteQuestion(context_.chosen_dir);
    }
    return outcome;
}

UnpackOutcome UnpackArchive(SkinServices services, UnpackContext context) {
    TUnpackForm dialog(services, std::move(context));
    return dialog.Execute();
}

} // namespace kavlo
