#pragma once

#include <functional>
#include <memory>
#include <string>

#include "main_f/menu_state.h"
#include "main_f/records.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "ui/message_box.h"

namespace kavlo {

// The "Main" section of kavloxp.ini, kept under the keys' own names. Counts are already clamped
// to their table's capacity (0 for a negative count), so every reader may trust them as bounds.
struct CatalogueHeader {
    int Version = 1;
    std::string CD;
    std::string CDLabel;
    int DVD = 0;
    int NumberOfCD = 1;
    int ActualCD = 1;
    int SharewareCD = 1;
    int UpdatesCD = 1;
    int MoviesCD = 1;
    int ReadersCD = 1;
    int FullsCD = 1;
    int DriversCD = 1;
    int ExtraCD = 1;
    int AddonsCD = 1;

    int Demos = 0;
    int Shareware = 0;
    int Service = 0;
    int Updates = 0;
    int Shots = 0;
    int Movies = 0;
    int Readers = 0;
    int Fulls = 0;
    int Extra2 = 0;
    int Extra3 = 0;
    int Drivers = 0;
    int Extra = 0;
    int Addons = 0;

    int DovudizEnabled = 0;
    bool Debug = false;
    int Redarer = 0;
};

// The disc's catalogue as the main window holds it: the header, the three readers that stay open
// for later look-ups, and one fixed table per section (item n in entry n).
struct Catalogue {
    CatalogueHeader header;
    std::unique_ptr<IniFile> CatalogueFile;
    std::unique_ptr<IniFile> CatalogueFile2;
    std::unique_ptr<IniFile> StringsFile;

    FixedTable<TDemos, 40> Demos;
    FixedTable<TDemos, 30> Shareware;
    FixedTable<TDemos, 30> Service;
    FixedTable<TDemos, 30> Drivers;
    FixedTable<TUpdate, 50> Updates;
    FixedTable<TShot, 60> Shots;
    FixedTable<TDemos, 40> Extra;
    FixedTable<TDemos, 40> Readers;
    FixedTable<TDemos, 40> Addons;
    FixedTable<TDemos, 40> Fulls;
    FixedTable<TMovies, 70> Movies;
    FixedTable<TDemos, 100> Extra2;
    FixedTable<TDemos, 100> Extra3;
};

// What loading needs from the main window.
struct CatalogueContext {
    Platform& platform;
    ProfileCache& profiles;
    MessageBoxes& boxes;
    // DiscDrive ("E:") and DiscDir (the disc's \KAVLO\ directory, with its back-slash).
    const MenuState& state;
    // kavlo.ini; receives the disc label. May be null (nothing is recorded then).
    IniFile* SettingsFile = nullptr;
    // The install-state check, run on the items of the sections that are checked while loading.
    std::function<void(TDemos&)> CheckDemo;
};

// The texts the main window shows for the disc.
struct DiscTitles {
    std::string window_title;      // caption of the main window
    std::string application_title; // task bar; carries " - DEBUG MODE" in debug mode
    std::string disc_number;       // MM + YY for the disc-number label
};

struct CatalogueLoadResult {
    // kavloxp.ini was missing: the box has been shown and the program should end once the show
    // step returns to the message loop. The tables are still loaded (all counts 0).
    bool terminate_requested = false;
    DiscTitles titles;
};

// Title, application title and disc-number label from the header's CD, DVD, NumberOfCD,
// ActualCD and Debug values.
DiscTitles ComposeDiscTitles(const CatalogueHeader& header);

// Opens the three readers from DiscDir and fills the header and every table. Entries beyond the
// new counts keep whatever an earlier load left there, so a reload never shrinks the tables.
CatalogueLoadResult ReadCatalogue(Catalogue& catalogue, const CatalogueContext& context);

} // namespace kavlo
