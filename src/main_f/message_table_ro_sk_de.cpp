// The Romanian, Slovak and German blocks of the built-in message table. These blocks have always
// lacked most texts from index 73 up (German has no "SETTINGS" either); such captions stay empty.
// Romanian uses the cedilla forms of s and t: the comma forms do not exist in Windows-1250.
#include "main_f/texts.h"

namespace kavlo {

namespace {

constexpr MessageSource kRomanian[] = {
    {301, "INSTALATE"},
    {302, "DEMO-URI"},
    {303, "SOFTWARE"},
    {304, "EXTRA"},
    {305, "ACTUALIZĂRI"},
    {306, "DRIVERE"},
    {307, "IMAGINI"},
    {308, "TRAILERE"},
    {310, "Instalează player video"},
    {311, "Doriţi să ştergeţi toate fişierele din %1 ?"},
    {313, "Toate fişierele se află în directorul \\SHAREWARE"},
    {314, "Doriţi să instalaţi acest demo în %1 ?"},
    {315, "Nu pot crea directorul!"},
    {316, "Alegerea directorului"},
    {329, "Unde este instalat acest joc?"},
    {330, "Doriţi să instalaţi această actualizare în %1 ?"},
    {331, "Doriţi să instalaţi acest program în %1 ?"},
    {332, "Unde doriţi să îl instalaţi?"},
    {333, "Aici puteţi dezinstala toate programele instalate cu acest meniu de pe orice CD!"},
    {334, "După dezinstalare au rămas câteva fişiere în directorul %1. De obicei sunt jocuri salvate, "
          "imagini sau fişiere temporare care nu au fost şterse. Doriţi să le ştergeţi (recomandat)?"},
    {335, "Sigur doriţi să ştergeţi %1 MB ?"},
    {340, "se instalează"},
    {341, "în"},
    {350, "Sigur doriţi să întrerupeţi instalarea?"},
    {361, "Actualizările sunt programe lansate chiar de producătorii jocurilor. Ele corectează erorile "
          "găsite în jocuri sau le adaugă funcţii noi. Înainte de a instala o actualizare vă recomandăm "
          "să faceţi o copie de siguranţă a jocului instalat (inclusiv a jocurilor salvate)."},
    {381, "PORNEŞTE"},
    {382, "DEZINSTALEAZĂ"},
    {383, "CITEŞTE-MĂ"},
    {384, "PAGINA WEB"},
    {396, "INSTALEAZĂ"},
};

constexpr MessageSource kSlovak[] = {
    {401, "NAINŠTALOVANÉ"},
    {402, "DEMÁ"},
    {403, "SOFTVÉR"},
    {404, "EXTRA"},
    {405, "AKTUALIZÁCIE"},
    {406, "OVLÁDAČE"},
    {407, "GALÉRIA"},
    {408, "VIDEÁ"},
    {410, "Inštalovať videoprehrávač"},
    {411, "Želáte si odstrániť všetky súbory z %1 ?"},
    {413, "Všetky súbory nájdete v adresári \\SHAREWARE"},
    {414, "Želáte si nainštalovať toto demo do %1 ?"},
    {415, "Nemôžem vytvoriť adresár!"},
    {416, "Výber adresára"},
    {429, "V akom adresári máte túto hru nainštalovanú?"},
    {430, "Chcete nainštalovať túto aktualizáciu do %1 ?"},
    {431, "Chcete nainštalovať tento program do %1 ?"},
    {432, "Kam chcete inštalovať?"},
    {433, "Tu môžete odinštalovať všetky programy nainštalované týmto menu z ľubovoľného CD!"},
    {434, "Po odinštalovaní zostalo v adresári %1 niekoľko súborov. Väčšinou ide o uložené pozície, "
          "obrázky alebo dočasné súbory, ktoré neboli odstránené. Chcete ich všetky zmazať? (odporúčame)"},
    {435, "Naozaj chcete zmazať %1 MB dát?"},
    {440, "Inštalujem"},
    {441, "do"},
    {450, "Naozaj chcete prerušiť inštaláciu?"},
    {461, "Aktualizácie sú programy, ktoré vydávajú samotní autori hier. Opravujú chyby nájdené v hrách "
          "alebo do nich pridávajú nové funkcie. Pred inštaláciou aktualizácie odporúčame zálohovať "
          "inštaláciu hry (vrátane uložených pozícií)."},
    {481, "SPUSTIŤ"},
    {482, "ODINŠTALOVAŤ"},
    {483, "INFORMÁCIE"},
    {484, "WEBOVÁ STRÁNKA"},
    {496, "INŠTALOVAŤ"},
};

constexpr MessageSource kGerman[] = {
    {501, "INSTALLIERT"},
    {502, "DEMOS"},
    {503, "SOFTWARE"},
    {504, "EXTRA"},
    {505, "UPDATES"},
    {506, "TREIBER"},
    {507, "BILDER"},
    {508, "TRAILER"},
    {510, "Videoplayer installieren"},
    {511, "Möchten Sie alle Dateien in %1 löschen?"},
    {513, "Alle Dateien befinden sich im Verzeichnis \\SHAREWARE"},
    {514, "Möchten Sie dieses Demo in %1 installieren?"},
    {515, "Das Verzeichnis kann nicht erstellt werden!"},
    {516, "Verzeichnisauswahl"},
    {529, "Wo ist dieses Spiel installiert?"},
    {530, "Möchten Sie dieses Update in %1 installieren?"},
    {531, "Möchten Sie dieses Programm in %1 installieren?"},
    {532, "Wohin möchten Sie es installieren?"},
    {533, "Hier können Sie alle Programme deinstallieren, die mit diesem Menü von einer beliebigen CD "
          "installiert wurden!"},
    {534, "Nach der Deinstallation sind im Verzeichnis %1 einige Dateien zurückgeblieben. Meist sind es "
          "Spielstände, Bilder oder temporäre Dateien, die nicht gelöscht wurden. Möchten Sie sie löschen "
          "(empfohlen)?"},
    {535, "Möchten Sie wirklich %1 MB löschen?"},
    {540, "wird installiert"},
    {541, "nach"},
    {550, "Möchten Sie die Installation wirklich abbrechen?"},
    {561, "Updates sind Programme, die von den Spieleherstellern selbst veröffentlicht werden. Sie beheben "
          "Fehler in den Spielen oder fügen neue Funktionen hinzu. Bevor Sie ein Update installieren, "
          "empfehlen wir, die Installation des Spiels zu sichern (samt Spielständen)."},
    {581, "STARTEN"},
    {582, "DEINSTALLIEREN"},
    {583, "LIESMICH"},
    {584, "HOMEPAGE"},
    {596, "INSTALLIEREN"},
};

} // namespace

std::span<const MessageSource> RomanianMessages() {
    return kRomanian;
}
std::span<const MessageSource> SlovakMessages() {
    return kSlovak;
}
std::span<const MessageSource> GermanMessages() {
    return kGerman;
}

} // namespace kavlo
