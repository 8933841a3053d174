#pragma once

#include <array>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/launch.h"
#include "main_f/catalogue.h"
#include "main_f/menu_state.h"
#include "main_f/texts.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "player/el_player.h"
#include "skin/controls/dib_container.h"
#include "skin/controls/dib_fade_label.h"
#include "skin/controls/dib_form_shaper.h"
#include "skin/controls/dib_image.h"
#include "skin/controls/dib_image_list.h"
#include "skin/controls/plain_controls.h"
#include "skin/controls/skin_form.h"
#include "skin/text/font_resolver.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "unpack/unpack.h"

namespace kavlo {

// The controls of the window that the menu's own code addresses, found by name once the form is
// loaded. The form owns them.
struct TForm1Controls {
    TImage* Image4 = nullptr;
    TImage* Image1 = nullptr;
    TLabel* CDNumberLabel = nullptr;
    TLabel* DebugLabel1 = nullptr;
    TLabel* DebugLabel2 = nullptr;
    TDIBContainer* DIBContainer1 = nullptr;
    std::array<TAnimate*, 10> Animate{};
    TDIBImage* DIBBackImage = nullptr;
    TDIBImage* CoverUp = nullptr;
    TDIBImage* CoverDown = nullptr;
    TDIBImage* DIBImage1 = nullptr; // the enlarged picture's frame
    TDIBImage* DIBImage2 = nullptr; // the enlarged picture
    TDIBImage* DIBImage3 = nullptr;
    TDIBImage* DIBImage4 = nullptr; // the small picture
    TDIBImage* DIBImage5 = nullptr;
    TDIBImage* LeftArrow = nullptr;
    TDIBImage* RightArrow = nullptr;
    // The list.
    TDIBImage* HighlightDIB = nullptr;
    std::array<TDIBFadeLabel*, 10> DemosLabel{};
    std::array<TDIBImage*, 10> Play{};
    TDIBImage* Up1 = nullptr;
    TDIBImage* Down1 = nullptr;
    TDIBFadeLabel* PositionLabel = nullptr;
    TDIBImage* UpperArrow = nullptr;
    TDIBImage* LowerArrow = nullptr;
    // The icon column.
    std::array<TDIBImage*, 14> DIBSection{};
    std::array<TDIBFadeLabel*, 14> IconLabel{};
    TDIBImage* Up2 = nullptr;
    TDIBImage* Down2 = nullptr;
    // The detail panel.
    TDIBFadeLabel* NameLabel = nullptr;
    TDIBFadeLabel* FirmLabel = nullptr;
    TDIBFadeLabel* DateLabel = nullptr;
    TDIBFadeLabel* TextLabel = nullptr;
    TDIBFadeLabel* TechLabel = nullptr;
    TDIBFadeLabel* HelpLabel = nullptr;
    TDIBFadeLabel* HelpLabel2 = nullptr;
    TDIBImage* Flag_Playable = nullptr;
    TDIBImage* Flag_Unplayable = nullptr;
    TDIBImage* Flag_CZ = nullptr;
    TDIBImage* Flag_Net = nullptr;
    TDIBImage* Flag_3D = nullptr;
    TImage* ReadmeImage = nullptr;
    TImage* WebImage = nullptr;
    TImage* PlayImage = nullptr;
    TImage* StopImage = nullptr;
    // Corner spots and their indicators.
    TDIBImage* ExitSpot = nullptr;
    TDIBImage* SetupSpot = nullptr;
    TDIBImage* IndigoSpot = nullptr;
    TDIBImage* ExitDIB = nullptr;
    TDIBImage* SetupDIB = nullptr;
    TDIBImage* IndigoDIB = nullptr;
    // Non-visual components.
    TDIBImageList* DIBImageList1 = nullptr;
    TDIBImageList* DIBImageList2 = nullptr;
    TImageList* ControlsImageList = nullptr;
    TElPlayerMan* ElPlayerMan1 = nullptr;
    TDIBFormShaper* DIBFormShaper1 = nullptr;
    TimerComponent* StartTimer = nullptr;
    TimerComponent* MusicTimer = nullptr;
    TimerComponent* ScrollDownTimer = nullptr;
    TimerComponent* ScrollUpTimer = nullptr;
    TimerComponent* AnimationTimer = nullptr;
    TimerComponent* DIBTimer1 = nullptr;
    TimerComponent* DIBTimer2 = nullptr;
    TimerComponent* DIBTimer3 = nullptr;
    TimerComponent* DIBTimer4 = nullptr;
    TimerComponent* Timer1 = nullptr; // the install poll
};

// The main window: owner of the menu's state, the catalogue tables, the INI readers and the skin
// window built from the form stream, and the place where the window's handlers live.
class TForm1 {
public:
    // `form_stream` is the window's "TPF0" form; `args` are the program's arguments after its own path.
    // Throws std::runtime_error when the form lacks a control the menu needs (a broken build).
    TForm1(Platform& platform, Application& app, FontResolver& fonts, std::string_view form_stream,
           std::vector<std::string> args);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The program entry's steps: creation, the first show (the window appears), closing.
    void FormCreate();
    void Show();
    void Close();

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

    // Settings and window modes.
    void SwitchMode();
    void ChangeCharsets();
    void ApplicationActivate();
    void ApplicationDeActivate();
    void RestoreScreen();
    void SetFullScreen();
    void MinimalizeScreen();
    void DebugLabel1Click(TControl& sender);
    void DebugLabel2Click(TControl& sender);
    void Image4MouseDown(TControl& sender, MouseButton button, ShiftState shift, int x, int y);

    // The icon column and its pages.
    void LoadPages();
    void AddPage(PageKind kind);
    void SetSlot(int slot, const std::string& caption, int base_image, PageKind kind);
    void MainButtonClick(int slot);
    void SelectPage(PageKind kind);
    void ProcessPage();
    void PressIcon(int slot);
    void UnpressIcon(int slot);
    void SetOpacity(int slot, int delta);
    void StartColumnScroll(bool down);
    void DIBSectionClick(int slot);
    void SectionMouseMove(int slot, TControl& sender, ShiftState shift, int x, int y);
    void IconLabelMouseMove(int slot, TControl& sender, ShiftState shift, int x, int y);
    void Up2MouseMove(TControl& sender, ShiftState shift, int x, int y);
    void Down2MouseMove(TControl& sender, ShiftState shift, int x, int y);
    void ScrollUpTimerTimer();
    void ScrollDownTimerTimer();
    void ScreenImageMouseMove(TControl& sender, ShiftState shift, int x, int y);
    void ExitSpotClick(TControl& sender);
    void SetupSpotClick(TControl& sender);
    void IndigoSpotClick(TControl& sender);
    void SpotMouseMove(TControl& sender, ShiftState shift, int x, int y);

    // The item list.
    int AssignTempNumber(PageKind kind) const;
    // Item `item` of a page whose list holds TDemos records; null on other pages or past the list.
    TDemos* DemosItem(PageKind page, int item);
    const TDemos* DemosItem(PageKind page, int item) const;
    std::vector<std::string> AssignTempNamesList(PageKind kind) const;
    int FindPosition(char letter) const;
    void FillList();
    void ClearList();
    void HighLight(int row);
    void Bold();
    void Unbold();
    void HideQuickBars();
    void SelectRow(int row);
    void ScrollListDown();
    void ScrollListUp();
    void Down1Click(TControl& sender);
    void Up1Click(TControl& sender);
    void CheckBounds();
    void JumpToItem();
    void MoveArrows(TControl& sender, int x, int y);
    void DemosLabelClick(int row);
    void FormKeyDown(uint16_t key, ShiftState shift);
    void FormMouseWheelUp(ShiftState shift, int x, int y);
    void FormMouseWheelDown(ShiftState shift, int x, int y);
    void Up1MouseMove(TControl& sender, ShiftState shift, int x, int y);
    void Down1MouseMove(TControl& sender, ShiftState shift, int x, int y);
    void PlayClick(int row);
    void PlayMouseEnter(int row);
    void PlayMouseLeave(int row);

    // The detail panel.
    void SetOff();
    void DoFlags(int code);
    void FlagPlayable(bool on);
    void FlagUnPlayable(bool on);
    void FlagCZ(bool on);
    void Flag3D(bool on);
    void FlagNet(bool on);
    void ReadmeButton(bool on);
    void WebButton(bool on);
    void PlayButton(bool on);
    void StopButton(bool on);
    void FlagMouseMove(TControl& sender, ShiftState shift, int x, int y);
    void TechLabelMouseEnter(TControl& sender);
    void DateLabelMouseMove(TControl& sender, ShiftState shift, int x, int y);
    void ActionCoverMouseMove(TControl& sender, ShiftState shift, int x, int y);
    void ReadmeDIBImageClick(TControl& sender);
    void WebDIBImageClick(TControl& sender);
    void PlayDIBImageClick(TControl& sender);
    void StopDIBImageClick(TControl& sender);

    // The page builders and the item builders.
    void SetDemosPage();
    void SetAddonsPage();
    void SetFullsPage();
    void SetExtra2Page();
    void SetExtra3Page();
    void SetSharewarePage();
    void SetServicePage();
    void SetUpdatesPage();
    void SetDriversPage();
    void SetReadersPage();
    void SetExtraPage();
    void SetHotShotsPage();
    void SetFilmsPage();
    void SetDovudizPage();
    void SetInstalledPage();
    void SetDemos();
    void SetAddons();
    void SetFulls();
    void SetExtra2();
    void SetExtra3();
    void SetShare();
    void SetService();
    void SetUpdates();
    void SetDrivers();
    void SetReaders();
    void SetExtra();
    void SetShots();
    void SetFilms();
    void SetInstalled();

    // The picture gallery.
    uint8_t LoadSmallPicture(std::string name);
    bool ImageLoaded(const std::string& name) const;
    bool NextPicture(const std::string& name) const;
    bool PrevPicture(const std::string& name) const;
    void SetControlOpacity(TDIBControl& image, int delta);
    void DIBImage4Click(TControl& sender);
    void RightArrowClick(TControl& sender);
    void LeftArrowClick(TControl& sender);
    void DIBImage4MouseEnter(TControl& sender);
    void DIBImage4MouseLeave(TControl& sender);
    void DIBImage4MouseMove(TControl& sender, ShiftState shift, int x, int y);
    void DIBImage1MouseDown(TControl& sender, MouseButton button, ShiftState shift, int x, int y);

    // The settings page.
    void SetSettingsPage();
    void SetSettings();
    void ToggleSetting(int row);

    // Launching (launching.cpp).
    void RunProc(TDemos& item);
    void QuickRun(int item);
    // Modal dialog with one button per choice: 11 + the index of the pressed one, 2 when closed.
    int ChoiceDialog(std::string_view question, const std::vector<std::string>& choices);
    // The target-directory dialog for the current item: the accepted directory, kept in ChosenDir too;
    // empty when the reader cancels.
    std::string ChooseTargetDir();
    // The extraction dialog for the current item into ChosenDir; an incomplete result empties it.
    UnpackOutcome UnpackChosenDir();
    void SponsorClick(TControl& sender);
    void Image1Click(TControl& sender);
    Launcher& Launch() { return launcher_; }

    // Installing (install.cpp).
    void InstallProc(TDemos& item);

    // Uninstalling (uninstall.cpp).
    void UninstallProc(TDemos& item);
    void DeleteQuestion(std::string_view dir);
    void DeleteLeftovers(std::string_view dir);
    void ApplyDelete();

    // Timers: the install poll, the enlarged picture's fades (gallery.cpp), the small picture's fades
    // (hover.cpp).
    void Timer1Timer();
    void DIBTimer1Timer();
    void DIBTimer2Timer();
    void DIBTimer3Timer();
    void DIBTimer4Timer();

    // The border's clips (border.cpp).
    void StartTimerTimer();
    void AnimationTimerTimer();
    // Animate1Start ... Animate10Start (Animate8Open): the clip window `number` shows itself.
    void AnimateStart(int number);
    // The mode switch's part: the clip windows get their clips and show with the frame, or hide.
    void ShowBorderClips();

    // Background music (music.cpp).
    void LoadMusic();
    void LoadMusic2();
    void PlayMusic();
    void StopMusic();
    void MusicTimerTimer();
    // What the state dump shows of the player: the plug-in loaded, the player ready, the current track
    // (1 or 2) and the player mode as the plug-in reports it (0 when nothing is open).
    struct MusicStatus {
        bool loaded = false;
        bool ready = false;
        int track = 1;
        int mode = 0;
    };
    MusicStatus PlayerStatus() const;
    // The window minimised and restored: while minimised the music stays paused, as while the menu is
    // inactive, and a restore brings it back only to an active menu.
    void ApplicationMinimize();
    void ApplicationRestore();

private:
    // The form's player; null when the form has none (the music then stays silent).
    TElPlayer* Player() const;
    void LoadTrack(int track);
    // After any player error: the menu stops trying until the next load.
    void MusicFailed();
    // The music poll starts a full interval from now, unless the window is minimised.
    void RestartMusicPoll();
    void HoldMusic();
    // Closing: playback stops and the plug-in is released.
    void UnloadMusic();
    bool player_ready_ = false;
    int music_track_ = 1;
    bool app_active_ = false;
    bool minimised_ = false;

public:
    // A termination request takes effect when the message loop next runs.
    bool TerminateRequested() const { return terminate_requested_; }

    SkinForm& Skin() { return *skin_; }
    const SkinForm& Skin() const { return *skin_; }
    WindowId Window() const { return window_; }
    Application& App() { return app_; }
    Platform& GetPlatform() { return platform_; }
    MessageBoxes& Boxes() { return boxes_; }
    // What loading the form could not take, and classes, properties or handlers it did not know.
    const std::vector<std::string>& LayoutNotes() const { return layout_notes_; }

    MenuState state;
    Catalogue catalogue;
    std::unique_ptr<IniFile> SettingsFile;
    TForm1Controls controls;

    std::string ApplicationTitle = "Kavlo CD v2";
    std::string Caption;
    // Where the reader chose to install the current item; empty after a cancelled choice.
    std::string ChosenDir;
    // What earlier discs installed on this PC, as the Installed page lists it.
    FixedTable<TDemos, 50> InstalledList;
    int InstalledCount = 0;
    // Never set: the menu keeps its window mode while other programs run.
    bool FullScreen = false;
    bool MusicPlaying = false;
    // The border's clip scheduler draws from it; seeded by the program (fixed for repeatable runs).
    std::mt19937 random{std::random_device{}()};

private:
    // Startup.
    bool FindDisc();
    void RegisterFonts();
    void LoadSystemInfo();
    bool IsAdmin() const;
    void LoadData();
    void ReadSwitches();
    void LoadCatalogue();
    void PrepareControls();
    std::string ShellFolder(RegRoot root, std::string_view name) const;
    void ShowBox(std::string_view text, MbIcon icon);

    // Launching: the launcher learns the disc once its catalogue is read; an item's version choice.
    void ConfigureLauncher();
    std::string ChooseVersion(const TDemos& item);

    // Installing: the steps of InstallProc and the play button's actions by page.
    void InstallArchive(TDemos& item);
    void RecordInstall(const TDemos& item);
    void SearchInstalledProgram(TDemos& item);
    void FinishInstall(TDemos& item);
    void PlayMovie(const TMovies& movie);
    void PlayService(const TDemos& item);
    void BringToFront();

    // Pages and the list.
    void HideUnusedSlots();
    void RedrawSchemeImages();
    void RedrawArrows();
    void ShowNeutralFlag();
    std::string PageCaption(PageKind kind) const;
    PageKind SlotKind(int slot) const;
    void RunItemBuilder();
    void MoveColumn(int dy);
    std::string ItemName(PageKind kind, int item) const;
    void JumpToLetter(char letter);
    void ShowItem(int current, int top);
    void SetRowColours(TDIBFadeLabel& row, TColor colour, TColor fade_to);
    // The settings page's three switches in their resting (or, with `hover`, lit) look.
    void ShowSettingSwitches(bool hover);
    void ShowSettingSwitch(int row, bool hover);
    bool SettingOn(int row) const;

    // Layout.
    void LoadLayout(std::string_view form_stream);
    void FindControls();
    void WireEvents();
    void OpenWindow();
    void HandleEvent(const Event& event);
    void ApplyCaption();
    void PlaceWindow(int width, int height);
    // Where the window stands on the screen now.
    ScreenRect WindowPlace() const;
    // What the target-directory and extraction dialogs learn of the window, the disc and the item.
    void FillDialogContext(TargetDirContext& context);

    // The gallery.
    // The current item's picture name on a page whose items have pictures; empty on the others.
    std::string CurrentPicture(PageKind page) const;
    // Loads full-size picture `number` of `name` into the enlarged view; false (view unchanged) when
    // it does not load.
    bool ShowFullSizePicture(const std::string& name, int number);

    Platform& platform_;
    Application& app_;
    FontResolver& fonts_;
    LoggedMessageBoxes boxes_;
    Launcher launcher_;
    ProfileCache profiles_;
    std::vector<std::string> args_;
    std::vector<std::string> registered_fonts_;
    bool terminate_requested_ = false;
    bool destroyed_ = false;
    // The item and page an install started on: restored when it ends, and what the install poll checks.
    int install_item_ = 0;
    PageKind install_page_ = PageKind::None;

    std::unique_ptr<SkinForm> skin_;
    std::vector<std::string> layout_notes_;
    WindowId window_ = kNoWindow; // opened by the first show
    ScreenRect bounds_;           // where the window is or will appear
    std::unique_ptr<WindowSite> site_;
};

} // namespace kavlo
