// The English and Czech blocks of the built-in message table. The texts are kept exactly as the
// discs have always shown them, odd spellings included: editors and users know them this way.
#include "main_f/texts.h"

namespace kavlo {

namespace {

constexpr MessageSource kEnglish[] = {
    {1, "INSTALLED"},
    {2, "DEMOS"},
    {3, "SOFTWARE"},
    {4, "EXTRA"},
    {5, "UPDATES"},
    {6, "DRIVERS"},
    {7, "SHOTS"},
    {8, "TRAILERS"},
    {10, "Install video player"},
    {11, "Would you like to delete all files in %1 ?"},
    {13, "All files are stored  in directory \\SHAREWARE"},
    {14, "Would you like to install this demo in %1 ?"},
    {15, "Can''t create directory!"},
    {16, "Directory selection"},
    {29, "Where is this game installed?"},
    {30, "Would you like to install this update to %1 ?"},
    {31, "Would you like to install this program to %1 ?"},
    {32, "Where do you want to install it?"},
    {33, "Here you can uninstall all programs installed with this engine from any CD!"},
    {34,
     "After uninstallation process some files has been left in directory %1. These are usually savegames, "
     "pictures or temporary files, that wasn't deleted. Do you want to delete them (recommended)?"},
    {35, "Do you really want to delete %1 MB ?"},
    {40, "Installing"},
    {41, "in"},
    {50, "Do you really want to quit this installation?"},
    {61, "Updates are programs released by the game developers themselves. They correct faults found in "
         "the games or add new features to them. Before you install an update, we recommend that you back "
         "up the game's installation (saved games included)."},
    {73, "BORDER PANEL"},
    {74, "EFFECTS"},
    {75, "MUSIC"},
    {76, "DATE OF RELEASE"},
    {78, "LAST UPDATE"},
    {79, "FREE GAMES"},
    {80, "Requires DivX codec (in Drivers)."},
    {81, "RUN"},
    {82, "UNINSTALL"},
    {83, "README"},
    {84, "HOMEPAGE"},
    {85, "VYPNOUT"},
    {86, "UNPLAYABLE"},
    {87, "ZAPNOUT"},
    {88, "3D SUPPORT"},
    {89, "PLAYABLE"},
    {90, "EXIT"},
    {91, "SETTINGS"},
    {92, "STATUS: DISABLED"},
    {93, "STATUS: ENABLED"},
    {94, "Enables border panel and its animations (recommended for resolution higher then 1024x768)."},
    {95, "Special effects like tranparency while loading pictures. Owners of slower computers should turn "
         "this off."},
    {96, "INSTALL"},
    {97, "NETPLAY"},
    {98, "V ČEŠTINĚ"},
    {99, "ILLUMINATION"},
};

constexpr MessageSource kCzech[] = {
    {101, "INSTALOVÁNO"},
    {102, "DEMA"},
    {103, "SOFTWARE"},
    {104, "EXTRA"},
    {105, "UPDATY"},
    {106, "OVLADAČE"},
    {107, "GALERIE"},
    {108, "VIDEA"},
    {110, "MODY"},
    {111, "Přejete si odstranit všechny soubory z %1 ?"},
    {113, "Všechny soubory najdete na CD v adresáři \\SHAREWARE"},
    {114, "Přejete si toho demo nainstalovat do %1 ?"},
    {115, "Nemohu vytvořit adresář!"},
    {116, "Vyberte si adresář, kam chcete instalovat"},
    {129, "V jakém adresáři máte tuto hru nainstalovanou?"},
    {130, "Chcete nainstalovat update do adresáře %1 ?"},
    {131, "Chcete nainstalovat tento program do %1 ?"},
    {132, "Kam chcete instalovat?"},
    {133, "V této obrazovce můžete odinstalovávat všechny nainstalované demoverze od čísla 1-98!"},
    {134, "Po odinstalaci zbylo v adresáři %1 několik souborů. Většinou se jedná uložené pozice, obrázky či "
          "dočasné soubory, které nebyly odstraněny. Chcete je všechny smazat? (doporučujeme)"},
    {135, "Opravdu chcete smazat %1 MB dat?"},
    {140, "Instaluji"},
    {141, "do"},
    {147, "Extra3"},
    {150, "Opravdu chcete přerušit instalaci?"},
    {159, "OTEVŘÍT"},
    {161, "Updaty jsou programy, které vydávají sami autoři her. Opravují chyby nalezené ve hrách nebo do "
          "nich přidávají nové funkce. Před instalací updatu doporučujeme zálohovat instalaci hry (včetně "
          "uložených pozic). Starší updaty najdete na předchozích číslech našeho CD."},
    {173, "OKRAJOVÝ PANEL"},
    {174, "EFEKTY"},
    {175, "HUDBA"},
    {176, "DATUM VYDÁNÍ"},
    {178, "DATUM AKTUALIZACE"},
    {179, "HRY ZDARMA"},
    {180, "NUTNÝ DIVX A WM9 KODEK (V OVLADAČÍCH)."},
    {181, "SPUSTIT"},
    {182, "ODINSTALOVAT"},
    {183, "INFORMACE"},
    {184, "WEBOVÁ STRÁNKA"},
    {185, "VYPNOUT"},
    {186, "NEHRATELNÉ"},
    {187, "ZAPNOUT"},
    {188, "PODPORA 3D KARET"},
    {189, "HRATELNÉ"},
    {190, "UKONČIT"},
    {191, "NASTAVENÍ"},
    {192, "STATUS: VYPNUTO"},
    {193, "STATUS: ZAPNUTO"},
    {194, "Zapíná okrajový panel a jeho animace (doporučeno pouze pro rozlišení vyšší než 1024x768)."},
    {195, "Speciální efekty, jedná se hlavně o postupný přechod při načítání obrázků. Majitelům pomalejších "
          "počítačů doporučujeme vypnout."},
    {196, "INSTALOVAT"},
    {197, "HRA PO SÍTI"},
    {198, "V ČEŠTINĚ"},
    {199, "PODSVÍCENÍ"},
};

} // namespace

std::span<const MessageSource> EnglishMessages() {
    return kEnglish;
}
std::span<const MessageSource> CzechMessages() {
    return kCzech;
}

} // namespace kavlo
