#include "sampledisc/sample_disc.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "platform/codepage.h"
#include "sampledisc/disc_writer.h"
#include "sampledisc/font_rename.h"
#include "sampledisc/illustrations.h"
#include "sampledisc/ini_text.h"
#include "sampledisc/movie_writer.h"
#include "sampledisc/sample_archives.h"
#include "sampledisc/sample_items.h"
#include "sampledisc/sample_pictures.h"
#include "sampledisc/sample_setups.h"
#include "sampledisc/sample_strings.h"

namespace kavlo::sample {

namespace {

const char* const kFontDir = "/usr/share/fonts/truetype/dejavu/";

// Count keys of [Main] in the order the editors keep them, with the item prefix of each.
const std::pair<const char*, const char*> kSections[] = {
    {"Demos", "Demo"},   {"Shareware", "Share"}, {"Service", "Service"}, {"Drivers", "Driver"},
    {"Shots", "Shot"},   {"Extra", "Extra"},     {"Movies", "Movie"},    {"Readers", "Reader"},
    {"Addons", "Addon"}, {"Fulls", "Full"},      {"Extra2", "E2xtra"},   {"Extra3", "E3xtra"},
};

// The description of an item in each disc language; languages without a written text get a line
// that names the item, so every disc language shows something.
std::string Describe(const SampleItem& item, int language) {
    const std::string name = KeyValue(item.keys, "FullName");
    switch (language) {
        case 0:
            return item.english;
        case 1:
            return item.czech;
        case 2:
            return name + " bu ayki diskimizde.";
        case 3:
            return name + " pe discul acestei luni.";
        case 4:
            return name + " na disku tohto mesiaca.";
        case 5:
            return name + " auf der Heft-CD dieses Monats.";
        default:
            return name + " di cakram bulan ini.";
    }
}

// Turkish texts are written in the Turkish code page: a Turkish disc draws them with that character set.
std::string Encode(const std::string& utf8, bool turkish) {
    return FromUtf8(utf8, turkish ? CodePage::Windows1254 : CodePage::Windows1250);
}

void AddItem(std::string& file, const SampleItem& item, int number) {
    file += Encode("\r\n[" + item.prefix + std::to_string(number) + "]\r\n", false);
    for (const std::string& key : item.keys) {
        file += Encode(key + "\r\n", false);
    }
    for (int language = 0; language <= 6; ++language) {
        file += Encode("Describe" + std::to_string(language) + "=" + Describe(item, language) + "\r\n",
                       language == 2);
    }
}

std::string MainSection(const SampleCatalogue& catalogue, int language, bool first_catalogue) {
    IniText main;
    main.Section("Main");
    main.Key("Version", language);
    if (first_catalogue) {
        std::map<std::string, int> counts;
        for (const SampleItem& item : catalogue.items) {
            ++counts[item.prefix];
        }
        for (const auto& [count_key, prefix] : kSections) {
            main.Key(count_key, counts[prefix]);
        }
        main.Key("Updates", static_cast<int>(catalogue.updates.size()));
    }
    std::string text = Encode(main.Text(), false);
    if (first_catalogue) {
        for (const std::string& key : catalogue.main_keys) {
            text += Encode(key + "\r\n", key.rfind("Music2=", 0) == 0);
        }
    }
    return text;
}

std::string UpdatesSection(const SampleCatalogue& catalogue) {
    IniText updates;
    updates.Section("Updates");
    for (size_t i = 0; i < catalogue.updates.size(); ++i) {
        updates.Key("Update" + std::to_string(i + 1), catalogue.updates[i]);
    }
    return Encode(updates.Text(), false);
}

// kavloxp.ini and kavloxp2.ini: items marked for the second catalogue live only there, and the
// second file also repeats one driver under another name, which the first file's entry overrides.
void WriteCatalogues(DiscWriter& disc, const SampleCatalogue& catalogue, int language) {
    std::string first = MainSection(catalogue, language, true);
    std::string second = MainSection(catalogue, language, false);
    std::map<std::string, int> numbers;
    for (const SampleItem& item : catalogue.items) {
        const int number = ++numbers[item.prefix];
        AddItem(item.in_second_catalogue ? second : first, item, number);
    }
    SampleItem shadow{
        "Driver", {"Name=Old GeoMax", "FullName=Old GeoMax Driver", "InstallDir=GEOMAXOLD"}, "", ""};
    AddItem(second, shadow, 1);
    first += UpdatesSection(catalogue);
    disc.Write("KAVLO\\kavloxp.ini", first);
    disc.Write("KAVLO\\kavloxp2.ini", second);
}

// The item's folder on the disc, as the menu composes it from "InstallDir".
std::string SourceDir(const SampleItem& item) {
    std::string dir = KeyValue(item.keys, "InstallDir");
    if (item.prefix == "Demo") {
        return "DEMOS\\" + dir;
    }
    if (item.prefix == "Share") {
        return "Software\\" + dir;
    }
    if (item.prefix == "Reader") {
        return "Readers\\" + dir;
    }
    if (item.prefix == "Driver") {
        return "Drivers\\" + dir;
    }
    if (item.prefix == "Service") {
        return "Servis\\" + dir; // service items name their folder below the disc's Servis
    }
    while (!dir.empty() && (dir.front() == '\\' || dir.back() == '\\')) {
        dir.erase(dir.front() == '\\' ? 0 : dir.size() - 1, 1);
    }
    return dir;
}

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool IsMedia(const std::string& name) {
    const std::string upper = UpperCase(name);
    for (const char* ext : {".AVI", ".MPG", ".WMV"}) {
        if (upper.find(ext) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool EndsWith(const std::string& path, const char* extension) {
    const std::string upper = UpperCase(path);
    const size_t length = std::string_view(extension).size();
    return upper.size() > length && upper.compare(upper.size() - length, length, extension) == 0;
}

void WriteDocument(DiscWriter& disc, const std::string& path, const SampleItem& item) {
    disc.Write(path, DocumentBytes(path, item));
}

// What an item runs straight from the disc: a document, a film or a program.
void WriteRunnable(DiscWriter& disc, const std::string& path, const SampleItem& item) {
    if (IsMedia(path)) {
        disc.Write(path, TinyAvi(KeyValue(item.keys, "FullName")));
    } else if (EndsWith(path, ".PDF") || EndsWith(path, ".HTM") || EndsWith(path, ".HTML")) {
        WriteDocument(disc, path, item);
    } else {
        disc.WriteScript(path, GameScript(KeyValue(item.keys, "FullName")));
    }
}

void WriteItemFiles(DiscWriter& disc, const SampleItem& item) {
    if (item.prefix == "Shot") {
        return; // screenshots are pictures only
    }
    const std::string dir = SourceDir(item);
    if (item.prefix == "Movie") {
        disc.Write(dir + "\\" + KeyValue(item.keys, "GameName"), TinyAvi(KeyValue(item.keys, "FullName")));
        return;
    }
    const std::string type = KeyValue(item.keys, "InstallType");
    for (const char* key : {"ReadmeDVD", "ReadmeName"}) {
        const std::string doc = KeyValue(item.keys, key);
        const bool on_disc = key == std::string("ReadmeDVD") || type == "0" || type == "30" || type.empty();
        if (!doc.empty() && on_disc) {
            WriteDocument(disc, dir + "\\" + doc, item);
        }
    }
    const std::string install = KeyValue(item.keys, "InstallName");
    if (HasArchive(item)) {
        disc.Write(dir + "\\" + install, rarwriter::WriteRarArchive(ArchiveEntries(item)));
    } else if (HasSetupProgram(item)) {
        disc.WriteScript(dir + "\\" + install, SetupScript(item));
    } else if (!install.empty() && !IsMedia(install)) {
        disc.WriteScript(dir + "\\" + install, SimpleSetupScript(KeyValue(item.keys, "FullName")));
    }
    const std::string game = KeyValue(item.keys, "GameName");
    if ((type == "0" || type == "20" || type == "30" || item.prefix == "Service") && !game.empty()) {
        WriteRunnable(disc, dir + "\\" + game, item);
    }
}

void WriteUpdates(DiscWriter& disc, const SampleCatalogue& catalogue) {
    for (const std::string& update : catalogue.updates) {
        std::vector<std::string> parts;
        size_t start = 0;
        while (start <= update.size()) {
            const size_t end = std::min(update.find(';', start), update.size());
            parts.push_back(update.substr(start, end - start));
            start = end + 1;
        }
        if (parts.size() > 2) {
            disc.WriteScript("Updates\\" + parts[2], SimpleSetupScript(parts[0] + " " + parts[1]));
        }
        if (parts.size() > 3 && !parts[3].empty()) {
            disc.Write("Updates\\" + parts[3],
                       ReadmeText(parts[0] + " " + parts[1], "What the update mends."));
        }
    }
}

// The window's labels ask for their faces by these family names. Renaming also keeps the DejaVu
// licence, which wants changed fonts to carry other names.
void WriteFont(DiscWriter& disc, const char* file, const FontNaming& naming, std::string_view disc_path) {
    const std::string from = std::string(kFontDir) + file;
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        disc.Fail("cannot read " + from);
        return;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::optional<std::string> renamed = RenameFont(bytes, naming);
    if (!renamed) {
        disc.Fail("cannot rename the font " + from);
        return;
    }
    disc.Write(disc_path, *renamed);
}

void WriteDiscExtras(DiscWriter& disc) {
    disc.Write("KAVLO.EXE", "The menu of this disc is started with kavlo --disc.\r\n");
    WriteFont(disc, "DejaVuSans.ttf", {"Square721 AT", "Square721 AT", "Square721AT"}, "KAVLO\\bb.jpg");
    WriteFont(disc, "DejaVuSans-Bold.ttf",
              {"Square721 BdEx AT", "Square721 BdEx AT Bold", "Square721BdExAT-Bold"}, "KAVLO\\bc.jpg");
    disc.Write("Dovudiz\\index.htm",
               WebPage("Pixel Workshop",
                       "How a rally track is built: sketch, blocks, textures, lights, test drive."));
    disc.WriteScript("Redarer\\REDARER.exe", GameScript("The partner's program"));
    // The reader that MAIN names for PCs without one; the service page offers the same setup.
    disc.WriteScript("Servis\\PDFREAD\\SETUP.EXE", PdfReaderSetupScript());
}

// The plug-in and the tracks are built files, not drawn ones: copied as the build left them into the
// menu's own folder, where it looks for them.
void WriteMusic(DiscWriter& disc, const std::filesystem::path& music_dir) {
    if (music_dir.empty()) {
        return;
    }
    for (const char* name : kDiscMusicFiles) {
        std::ifstream in(music_dir / name, std::ios::binary);
        if (in) {
            disc.Write(std::string("KAVLO\\") + name,
                       std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
        }
    }
}

} // namespace

bool WriteSampleDisc(const std::filesystem::path& out, const SampleDiscOptions& options, std::string& error) {
    if (options.language < 0 || options.language > 6) {
        error = "the disc language must be 0..6";
        return false;
    }
    DiscWriter disc(out);
    const SampleCatalogue catalogue = BuildSampleCatalogue();
    WriteCatalogues(disc, catalogue, options.language);
    disc.Write("KAVLO\\strings.ini", TurkishStringsIni());
    for (const SampleItem& item : catalogue.items) {
        WriteItemFiles(disc, item);
    }
    WriteUpdates(disc, catalogue);
    WriteItemPictures(disc, catalogue);
    WriteIllustrations(disc);
    WriteDiscExtras(disc);
    WriteMusic(disc, options.music_dir);
    error = disc.Error();
    return !disc.Failed();
}

} // namespace kavlo::sample
