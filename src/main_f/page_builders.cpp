// The page builders (run once when a page opens) and the item builders (run for each item shown):
// the sections differ in which fields go where, so each builder is a short list of shared steps.

#include "engine/paths.h"
#include "main_f/form1.h"
#include "main_f/installed_list.h"
#include "platform/codepage.h"

namespace kavlo {

namespace {

// The partner page's credit when the catalogue names no authors.
constexpr std::string_view kDovudizCredit = "COURTESY OF OUR PARTNERS";

template <typename T, int N> const T* EntryOf(const FixedTable<T, N>& table, int count, int n) {
    return n >= 1 && n <= count ? &table[n] : nullptr;
}

TDemos* CurrentDemos(TForm1& f) {
    return f.DemosItem(f.state.CurrentPage, f.state.CurrentItem);
}

std::string Message(const TForm1& f, int index) {
    return f.LoadString(f.catalogue.header.Version * 100 + index);
}

bool IsTop60Disc(const CatalogueHeader& h) {
    return h.CD == "0204" && h.ActualCD == 2;
}

// --- Steps shared by the page builders.

void OpenPage(TForm1& f, PageKind kind, bool picture_shown) {
    f.state.TopItem = 1;
    f.state.CurrentItem = 1;
    f.state.CurrentPage = kind;
    f.controls.DIBImage4->SetVisible(picture_shown);
}

// Items installed or removed since the last look must show their real state in the list.
void CheckSection(TForm1& f) {
    for (int n = 1; TDemos* item = f.DemosItem(f.state.CurrentPage, n); ++n) {
        f.CheckDemo(*item);
    }
}

void ShowList(TForm1& f) {
    f.FillList();
    f.ProcessPage();
}

// The sections of installable items, with their picture and every item's state refreshed.
void OpenCheckedPage(TForm1& f, PageKind kind) {
    OpenPage(f, kind, true);
    CheckSection(f);
    ShowList(f);
}

void ShowPicture(TForm1& f, const std::string& name) {
    f.state.PictureNumber = 1;
    f.LoadSmallPicture(name);
}

// --- Steps shared by the item builders.

std::string TitleOf(const TDemos& item) {
    return item.FullName.empty() ? item.Title : item.FullName;
}

template <typename Item> std::string FullNameOrName(const Item& item) {
    return item.FullName.empty() ? item.Name : item.FullName;
}

// Texts by disc language; the Slovak discs keep theirs in Text. Null: the language has no text.
template <typename Item> const std::string* DescriptionOf(const Item& item, int language) {
    switch (language) {
        case 0:
            return &item.Describe0;
        case 1:
        case 2:
        case 3:
        case 5:
        case 6:
            return &item.Describe;
        case 4:
            return &item.Text;
        default:
            return nullptr;
    }
}

void ShowText(TForm1& f, const std::string* text) {
    if (text != nullptr) {
        f.controls.TextLabel->SetCaption(*text);
    }
}

template <typename Item> void ShowDescription(TForm1& f, const Item& item) {
    ShowText(f, DescriptionOf(item, f.catalogue.header.Version));
}

// The banner of an item kept on another disc of the set; only a set names its discs by letter.
std::string AddDisk(const CatalogueHeader& h, int cd) {
    std::string letter;
    if (h.NumberOfCD > 1 && cd >= 1 && cd <= 3) {
        letter = std::string(" (") + static_cast<char>('A' + cd - 1) + ")";
    }
    return "--------------------- NALEZNETE NA CD " + letter + " -----------------";
}

void ShowTechOrBanner(TForm1& f, int cd, const std::string& tech_info) {
    const CatalogueHeader& h = f.catalogue.header;
    f.controls.TechLabel->SetCaption(cd == h.ActualCD ? tech_info : AddDisk(h, cd));
}

void ShowDate(TForm1& f, const std::string& code) {
    f.controls.DateLabel->SetCaption(f.CreateDate(code));
}

// A program found installed offers its readme from the hard disk; otherwise only the disc's copy.
void ApplyReadmeRule(TForm1& f, const TDemos& item) {
    if (item.ReadmeName.empty() || item.NeedsInstall == 1) {
        f.ReadmeButton(!item.ReadmeDVD.empty());
        return;
    }
    f.ReadmeButton(true);
    if (f.catalogue.header.Debug &&
        !f.GetPlatform().fs.FileExists(item.InstalledDir + "\\" + item.ReadmeName)) {
        f.Boxes().Show("Readme file not found...", f.ApplicationTitle, MbButtons::Ok, MbIcon::None);
    }
}

// The play button's rule: a program to run, unless nothing is installed and there is nothing to
// install; the last step offers programs that run from the disc; some sections always offer
// InstallType 30.
struct PlayRule {
    bool runs_from_disc = true;
    bool type_30_plays = false;
};

constexpr PlayRule kDemosPlay{true, false};
constexpr PlayRule kFullsPlay{false, true};
constexpr PlayRule kExtraPlay{true, true};

void OfferPlayAndUninstall(TForm1& f, const TDemos& item, PlayRule rule) {
    bool play = !item.GameName.empty();
    if (item.CanUninstall == 0 && item.InstallName.empty() && item.InstallType != 0) {
        play = false;
    }
    if (rule.runs_from_disc && item.InstallType == 0 && !item.GameName.empty()) {
        play = true;
    }
    if (rule.type_30_plays && item.InstallType == 30) {
        play = true;
    }
    f.PlayButton(play);
    f.StopButton(item.CanUninstall == 1);
}

// A program removed by hand since the last check must not stay offered as installed.
void Recheck(TForm1& f, TDemos& item) {
    if (item.CanUninstall == 1 && !f.GetPlatform().fs.FileExists(item.InstalledDir + "\\" + item.GameName)) {
        f.CheckDemo(item);
        f.App().ProcessMessages();
        f.FillList();
    }
}

// The generic illustration stands for "the page's own one".
std::string PictureOr(const std::string& picture, const char* illustration) {
    return picture.empty() || UCase(picture) == "IKOUNI" ? std::string(illustration) : picture;
}

void ShowPictureOrHide(TForm1& f, const std::string& picture) {
    if (picture.empty()) {
        f.controls.DIBImage4->SetVisible(false);
        return;
    }
    f.controls.DIBImage4->SetVisible(true);
    ShowPicture(f, picture);
}

// Title and developer as most sections show them.
void ShowDemosTexts(TForm1& f, const TDemos& item) {
    f.controls.NameLabel->SetCaption(TitleOf(item));
    f.controls.FirmLabel->SetCaption(item.Firm);
}

// The readme and web buttons as most sections offer them.
void ShowDemosButtons(TForm1& f, const TDemos& item) {
    ApplyReadmeRule(f, item);
    f.WebButton(!item.Web.empty());
}

// The full games, Extra 2 and Extra 3 differ only in their requirements line and date.
void FillLikeFulls(TForm1& f, TDemos& item, void (*tech_and_date)(TForm1&, const TDemos&)) {
    Recheck(f, item);
    ShowDemosTexts(f, item);
    tech_and_date(f, item);
    ShowDescription(f, item);
    ShowDemosButtons(f, item);
    f.DoFlags(item.Flags);
    OfferPlayAndUninstall(f, item, kFullsPlay);
    ShowPicture(f, item.Picture);
}

// The second disc of issue 0204 carries the top games, whose TechInfo is their genre.
bool ShowGenreForDate(TForm1& f, const TDemos& item) {
    if (!IsTop60Disc(f.catalogue.header)) {
        return false;
    }
    f.controls.DateLabel->SetCaption(item.TechInfo);
    return true;
}

// The movie's requirements: the other disc's banner, the DVD player a DVD-only film needs, or the
// codec every other film needs.
std::string MovieTechText(const TForm1& f, const TMovies& movie) {
    const CatalogueHeader& h = f.catalogue.header;
    if (movie.Flags == 0) {
        return {};
    }
    if (h.MoviesCD != h.ActualCD) {
        return AddDisk(h, h.MoviesCD);
    }
    if (h.DVD == 1 && movie.Flags == 50) {
        return FromUtf8("NUTNÝ SOFTWAROVÝ DVD PŘEHRÁVAČ");
    }
    return Message(f, 80);
}

} // namespace

void TForm1::SetDemosPage() {
    controls.TextLabel->SetVisible(true);
    OpenCheckedPage(*this, PageKind::Demos);
}

void TForm1::SetAddonsPage() {
    controls.TextLabel->SetVisible(true);
    OpenCheckedPage(*this, PageKind::Addons);
}

void TForm1::SetFullsPage() {
    OpenCheckedPage(*this, PageKind::Fulls);
}

void TForm1::SetExtra2Page() {
    OpenCheckedPage(*this, PageKind::Extra2);
}

void TForm1::SetExtra3Page() {
    OpenCheckedPage(*this, PageKind::Extra3);
}

void TForm1::SetSharewarePage() {
    OpenPage(*this, PageKind::Shareware, false);
    controls.TextLabel->SetCaption(Message(*this, 13));
    FillList();
    CheckSection(*this);
    ProcessPage();
    const TDemos* first = DemosItem(PageKind::Shareware, 1);
    if (first == nullptr || first->Picture.empty()) {
        ShowPicture(*this, "iko04");
    }
}

void TForm1::SetServicePage() {
    OpenPage(*this, PageKind::Service, false);
    controls.TextLabel->SetCaption("");
    ShowList(*this);
    const TDemos* first = DemosItem(PageKind::Service, 1);
    if (first == nullptr || first->Picture.empty()) {
        ShowPicture(*this, "iko04");
    }
}

void TForm1::SetUpdatesPage() {
    OpenPage(*this, PageKind::Updates, false);
    controls.TextLabel->SetCaption(Message(*this, 61));
    ShowList(*this);
    ShowPicture(*this, "iko02");
}

void TForm1::SetDriversPage() {
    OpenPage(*this, PageKind::Drivers, false);
    ShowList(*this);
    ShowPicture(*this, "iko01");
}

void TForm1::SetReadersPage() {
    OpenPage(*this, PageKind::Readers, false);
    ShowList(*this);
}

void TForm1::SetExtraPage() {
    OpenPage(*this, PageKind::Extra, false);
    SetOff();
    ShowList(*this);
}

void TForm1::SetHotShotsPage() {
    OpenPage(*this, PageKind::Shots, true);
    FillList();
    FlagUnPlayable(true);
    ProcessPage();
}

void TForm1::SetFilmsPage() {
    OpenPage(*this, PageKind::Movies, true);
    controls.DIBImage4->SetOpacity(255);
    controls.TechLabel->SetCaption(Message(*this, 80));
    ShowList(*this);
}

// The partner's page: one entry whose texts come from the catalogue's header, no item builder.
void TForm1::SetDovudizPage() {
    SetOff();
    OpenPage(*this, PageKind::Dovudiz, true);
    ClearList();
    const IniFile* file = catalogue.CatalogueFile.get();
    auto main_value = [file](const char* key) {
        return file == nullptr ? std::string() : file->ReadString("MAIN", key, "");
    };
    const std::string name = main_value("Dovudiz");
    controls.DemosLabel[0]->SetCaption(name);
    controls.TextLabel->SetCaption(DoubleAmpersands(main_value("DovudizText")));
    const std::string authors = main_value("DovudizAuthors");
    controls.FirmLabel->SetCaption(authors.empty() ? std::string(kDovudizCredit) : DoubleAmpersands(authors));
    controls.NameLabel->SetCaption(name);
    PlayButton(true);
    FlagCZ(true);
    ShowPicture(*this, "DOVUDIZ");
    ShowList(*this);
}

void TForm1::SetInstalledPage() {
    OpenPage(*this, PageKind::Installed, true);
    FillList();
    ShowPicture(*this, "iko08");
    InstalledCount = 0;
    if (SettingsFile != nullptr) {
        InstalledCount =
            ReadInstalledList(InstalledList, InstalledListContext{platform_.fs, platform_.registry,
                                                                  *SettingsFile, catalogue.header.CD});
    }
    controls.TextLabel->SetCaption(LoadSpecial(catalogue.header.Version * 100 + 33, "2-98"));
    if (InstalledCount == 0) {
        ClearList();
        controls.HighlightDIB->SetTop(-100);
        return;
    }
    ShowList(*this);
}

void TForm1::SetDemos() {
    TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    Recheck(*this, *item);
    ShowDemosTexts(*this, *item);
    ShowTechOrBanner(*this, item->CD, item->TechInfo);
    ShowDate(*this, item->Date);
    ShowDescription(*this, *item);
    ShowDemosButtons(*this, *item);
    DoFlags(item->Flags);
    OfferPlayAndUninstall(*this, *item, kDemosPlay);
    ShowPicture(*this, item->Picture);
}

void TForm1::SetFulls() {
    if (TDemos* item = CurrentDemos(*this)) {
        FillLikeFulls(*this, *item, [](TForm1& f, const TDemos& full) {
            if (!ShowGenreForDate(f, full)) {
                ShowTechOrBanner(f, f.catalogue.header.FullsCD, full.TechInfo);
                ShowDate(f, full.Date);
            }
        });
    }
}

void TForm1::SetExtra3() {
    if (TDemos* item = CurrentDemos(*this)) {
        FillLikeFulls(*this, *item, [](TForm1& f, const TDemos& extra) {
            if (!ShowGenreForDate(f, extra)) {
                f.controls.TechLabel->SetCaption(extra.TechInfo);
                ShowDate(f, extra.Date);
            }
        });
    }
}

void TForm1::SetExtra2() {
    if (TDemos* item = CurrentDemos(*this)) {
        FillLikeFulls(*this, *item, [](TForm1& f, const TDemos&) {
            f.controls.TechLabel->SetCaption("");
            f.controls.DateLabel->SetCaption(FromUtf8("PLACENÁ INZERCE"));
        });
    }
}

void TForm1::SetShare() {
    TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    Recheck(*this, *item);
    controls.NameLabel->SetCaption(TitleOf(*item));
    controls.DateLabel->SetCaption(item->TechInfo);
    ShowDescription(*this, *item);
    ShowDemosButtons(*this, *item);
    DoFlags(item->Flags);
    OfferPlayAndUninstall(*this, *item, kDemosPlay);
    ShowPicture(*this, PictureOr(item->Picture, "iko04"));
}

void TForm1::SetAddons() {
    TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    ShowDemosTexts(*this, *item);
    ShowDescription(*this, *item);
    ReadmeButton(!item->ReadmeName.empty());
    WebButton(!item->Web.empty());
    DoFlags(item->Flags);
    // An add-on unpacks into its game, so it is never offered for uninstalling here.
    bool play = true;
    if (item->InstallType == 0) {
        item->InstalledDir = item->SourceDir;
        item->Installed = 1;
        play = !item->GameName.empty();
    }
    if (item->CanUninstall == 0 && item->InstallName.empty() && item->InstallType != 0) {
        play = false;
    }
    PlayButton(play);
    StopButton(false);
    ShowPictureOrHide(*this, item->Picture);
}

void TForm1::SetExtra() {
    TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    ShowDemosTexts(*this, *item);
    controls.TechLabel->SetCaption(item->TechInfo);
    ShowDescription(*this, *item);
    ReadmeButton(!item->ReadmeName.empty());
    WebButton(!item->Web.empty());
    DoFlags(item->Flags);
    OfferPlayAndUninstall(*this, *item, kExtraPlay);
    ShowPictureOrHide(*this, item->Picture);
}

void TForm1::SetReaders() {
    TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    controls.NameLabel->SetCaption(FullNameOrName(*item));
    controls.FirmLabel->SetCaption(item->Firm);
    // Readers write in Czech; only the Czech and Slovak discs show their texts.
    const int language = catalogue.header.Version;
    if (language == 1 || language == 4) {
        ShowDescription(*this, *item);
    }
    ShowDemosButtons(*this, *item);
    if (item->InstallType != 0 || !item->GameName.empty() || item->ReadmeName.empty()) {
        const bool runs_from_disc = item->InstallType == 0 && !item->GameName.empty();
        if (runs_from_disc) {
            item->InstalledDir = item->SourceDir;
        }
        PlayButton(runs_from_disc || !item->InstallName.empty() || item->InstallType == 30);
        StopButton(item->CanUninstall == 1);
    } else {
        // A contribution that is only a document: its readme is all there is to open.
        item->InstalledDir = item->SourceDir;
        ReadmeButton(true);
        PlayButton(false);
        StopButton(false);
    }
    ShowPicture(*this, PictureOr(item->Picture, "iko06"));
    FlagCZ(true);
}

void TForm1::SetDrivers() {
    TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    controls.NameLabel->SetCaption(FullNameOrName(*item));
    controls.FirmLabel->SetCaption(item->TechInfo);
    ShowTechOrBanner(*this, item->CD, "");
    ShowDate(*this, item->Date);
    ShowDescription(*this, *item);
    ReadmeButton(!item->ReadmeName.empty());
    PlayButton(!item->InstallName.empty() || item->InstallType == 30);
    ShowPicture(*this, item->Picture);
}

void TForm1::SetService() {
    TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    ShowDemosTexts(*this, *item);
    ShowDate(*this, item->Date);
    ShowDescription(*this, *item);
    ReadmeButton(!item->ReadmeName.empty());
    WebButton(!item->Web.empty());
    PlayButton(!item->InstallName.empty());
    ShowPicture(*this, item->Picture.empty() ? std::string("iko04") : item->Picture);
}

void TForm1::SetUpdates() {
    const TUpdate* update = EntryOf(catalogue.Updates, catalogue.header.Updates, state.CurrentItem);
    if (update == nullptr) {
        return;
    }
    controls.NameLabel->SetCaption(update->Name + " " + update->Suffix);
    ReadmeButton(!update->ReadmeName.empty());
    PlayButton(!update->FileName.empty());
}

void TForm1::SetShots() {
    const TShot* shot = EntryOf(catalogue.Shots, catalogue.header.Shots, state.CurrentItem);
    if (shot == nullptr) {
        return;
    }
    controls.NameLabel->SetCaption(FullNameOrName(*shot));
    controls.FirmLabel->SetCaption(shot->Firm);
    ShowDate(*this, shot->Date);
    ShowDescription(*this, *shot);
    WebButton(!shot->Web.empty());
    FlagUnPlayable(true);
    ShowPicture(*this, shot->Picture);
}

void TForm1::SetFilms() {
    const TMovies* movie = EntryOf(catalogue.Movies, catalogue.header.Movies, state.CurrentItem);
    if (movie == nullptr) {
        return;
    }
    controls.NameLabel->SetCaption(FullNameOrName(*movie));
    controls.FirmLabel->SetCaption(movie->Firm);
    controls.TechLabel->SetCaption(MovieTechText(*this, *movie));
    ShowDate(*this, movie->Date);
    const int language = catalogue.header.Version;
    if (language >= 0 && language <= 6) {
        ShowText(*this, language == 0 ? &movie->Describe0 : &movie->Describe);
    }
    // The one film whose release was dubbed in Czech.
    FlagCZ(movie->Name == "RUNAWAY");
    FlagUnPlayable(true);
    PlayButton(!movie->GameName.empty());
    if (movie->Picture != "NUL") {
        ShowPicture(*this, movie->Picture);
    }
}

void TForm1::SetInstalled() {
    const TDemos* item = CurrentDemos(*this);
    if (item == nullptr) {
        return;
    }
    controls.NameLabel->SetCaption(item->Name);
    controls.FirmLabel->SetCaption(item->TechInfo);
    PlayButton(item->Installed == 1);
    StopButton(item->CanUninstall == 1);
}

} // namespace kavlo
