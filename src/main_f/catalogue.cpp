// Opening the disc's catalogue, its "Main" header, the titles it gives the window, and the
// order in which the sections are loaded.

#include "main_f/catalogue.h"

#include "main_f/catalogue_sections.h"

namespace kavlo {
namespace {

using catalogue_detail::ClampCount;
using catalogue_detail::DemosKind;
using catalogue_detail::LoadDemosSection;
using catalogue_detail::SectionSource;

constexpr const char* kMain = "Main";

// A count key with the capacity of the table it fills.
struct CountKey {
    const char* key;
    int CatalogueHeader::*field;
    int capacity;
};

constexpr CountKey kCountKeys[] = {
    {"Demos", &CatalogueHeader::Demos, 40},     {"Shareware", &CatalogueHeader::Shareware, 30},
    {"Service", &CatalogueHeader::Service, 30}, {"Updates", &CatalogueHeader::Updates, 50},
    {"Shots", &CatalogueHeader::Shots, 60},     {"Movies", &CatalogueHeader::Movies, 70},
    {"Readers", &CatalogueHeader::Readers, 40}, {"Fulls", &CatalogueHeader::Fulls, 40},
    {"Extra2", &CatalogueHeader::Extra2, 100},  {"Extra3", &CatalogueHeader::Extra3, 100},
    {"Drivers", &CatalogueHeader::Drivers, 30}, {"Extra", &CatalogueHeader::Extra, 40},
    {"Addons", &CatalogueHeader::Addons, 40},
};

struct DiscKey {
    const char* key;
    int CatalogueHeader::*field;
};

constexpr DiscKey kDiscKeys[] = {
    {"SharewareCD", &CatalogueHeader::SharewareCD}, {"UpdatesCD", &CatalogueHeader::UpdatesCD},
    {"MoviesCD", &CatalogueHeader::MoviesCD},       {"ReadersCD", &CatalogueHeader::ReadersCD},
    {"FullsCD", &CatalogueHeader::FullsCD},         {"DriversCD", &CatalogueHeader::DriversCD},
    {"ExtraCD", &CatalogueHeader::ExtraCD},         {"AddonsCD", &CatalogueHeader::AddonsCD},
};

// The capacities above must match the tables' own.
static_assert(decltype(Catalogue::Demos)::kCapacity == 40 &&
              decltype(Catalogue::Shareware)::kCapacity == 30 &&
              decltype(Catalogue::Service)::kCapacity == 30 &&
              decltype(Catalogue::Updates)::kCapacity == 50 && decltype(Catalogue::Shots)::kCapacity == 60 &&
              decltype(Catalogue::Movies)::kCapacity == 70 && decltype(Catalogue::Readers)::kCapacity == 40 &&
              decltype(Catalogue::Fulls)::kCapacity == 40 && decltype(Catalogue::Extra2)::kCapacity == 100 &&
              decltype(Catalogue::Extra3)::kCapacity == 100 &&
              decltype(Catalogue::Drivers)::kCapacity == 30 && decltype(Catalogue::Extra)::kCapacity == 40 &&
              decltype(Catalogue::Addons)::kCapacity == 40);

void ReadCounts(const IniFile& file, CatalogueHeader& header) {
    for (const CountKey& count : kCountKeys) {
        header.*count.field = ClampCount(file.ReadInteger(kMain, count.key, 0), count.capacity);
    }
}

void ReadDiscNumbers(const IniFile& file, CatalogueHeader& header) {
    header.DVD = file.ReadInteger(kMain, "DVD", 0);
    header.ActualCD = file.ReadInteger(kMain, "ActualCD", 1);
    header.NumberOfCD = file.ReadInteger(kMain, "NumberOfCD", 1);
    for (const DiscKey& disc : kDiscKeys) {
        header.*disc.field = file.ReadInteger(kMain, disc.key, 1);
    }
    header.CD = file.ReadString(kMain, "CD", "");
    header.CDLabel = file.ReadString(kMain, "CDLabel", "");
}

// Later discs find the label of this issue under the code. Without a code there is no
// key to write under, and an empty key name would leave a nameless line in kavlo.ini.
void RecordDiscLabel(const CatalogueHeader& header, IniFile* settings) {
    if (settings != nullptr && !header.CDLabel.empty() && !header.CD.empty()) {
        settings->WriteString(kMain, header.CD, header.CDLabel); // a read-only kavlo.ini is no error
    }
}

int ReadLanguage(const IniFile& file) {
    const int version = file.ReadInteger(kMain, "Version", 1);
    return version >= 0 && version <= 6 ? version : 1;
}

void OpenReaders(Catalogue& catalogue, const CatalogueContext& context) {
    FileSystem& fs = context.platform.fs;
    const std::string& dir = context.state.DiscDir;
    const std::string& windows_dir = context.state.WindowsDir;
    catalogue.CatalogueFile =
        std::make_unique<IniFile>(fs, context.profiles, dir + "kavloxp.ini", windows_dir);
    catalogue.header.Redarer = catalogue.CatalogueFile->ReadInteger(kMain, "Redarer", 0);
    catalogue.CatalogueFile2 =
        std::make_unique<IniFile>(fs, context.profiles, dir + "kavloxp2.ini", windows_dir);
    catalogue.StringsFile = std::make_unique<IniFile>(fs, context.profiles, dir + "strings.ini", windows_dir);
}

void ReadHeader(Catalogue& catalogue, const CatalogueContext& context) {
    const IniFile& file = *catalogue.CatalogueFile;
    CatalogueHeader& header = catalogue.header;
    ReadCounts(file, header);
    ReadDiscNumbers(file, header);
    header.DovudizEnabled = file.ReadInteger(kMain, "DovudizEnabled", 0);
    RecordDiscLabel(header, context.SettingsFile);
    header.Debug = file.ReadBool(kMain, "Debug", false);
    header.Version = ReadLanguage(file);
}

template <typename T, int N, typename LoadItem>
void LoadEach(const SectionSource& source, FixedTable<T, N>& table, int count, LoadItem load) {
    for (int n = 1; n <= count; ++n) {
        load(source, n, table[n]);
    }
}

void LoadSections(Catalogue& catalogue, const SectionSource& source) {
    CatalogueHeader& header = catalogue.header;
    LoadEach(source, catalogue.Updates, header.Updates, catalogue_detail::LoadUpdate);
    header.Shareware = LoadDemosSection(source, DemosKind::Share, catalogue.Shareware, header.Shareware);
    header.Service = LoadDemosSection(source, DemosKind::Service, catalogue.Service, header.Service);
    header.Drivers = LoadDemosSection(source, DemosKind::Driver, catalogue.Drivers, header.Drivers);
    LoadEach(source, catalogue.Shots, header.Shots, catalogue_detail::LoadShot);
    header.Extra = LoadDemosSection(source, DemosKind::Extra, catalogue.Extra, header.Extra);
    LoadEach(source, catalogue.Movies, header.Movies, catalogue_detail::LoadMovie);
    header.Readers = LoadDemosSection(source, DemosKind::Reader, catalogue.Readers, header.Readers);
    header.Demos = LoadDemosSection(source, DemosKind::Demo, catalogue.Demos, header.Demos);
    header.Addons = LoadDemosSection(source, DemosKind::Addon, catalogue.Addons, header.Addons);
    header.Fulls = LoadDemosSection(source, DemosKind::Full, catalogue.Fulls, header.Fulls);
    header.Extra2 = LoadDemosSection(source, DemosKind::E2xtra, catalogue.Extra2, header.Extra2);
    header.Extra3 = LoadDemosSection(source, DemosKind::E3xtra, catalogue.Extra3, header.Extra3);
}

} // namespace

DiscTitles ComposeDiscTitles(const CatalogueHeader& header) {
    // Short codes give short parts rather than a failure: the title is only a caption.
    const std::string mm = header.CD.substr(0, std::min<size_t>(2, header.CD.size()));
    const std::string yy = header.CD.size() > 2 ? header.CD.substr(2, 2) : std::string();
    DiscTitles titles;
    if (header.DVD != 0) {
        titles.window_title = "Kavlo DVD " + mm + "-20" + yy;
    } else {
        std::string suffix;
        if (header.NumberOfCD > 1 && header.ActualCD >= 1 && header.ActualCD <= 3) {
            suffix = std::string(" (") + static_cast<char>('A' + header.ActualCD - 1) + ")";
        }
        titles.window_title = "Kavlo CD " + mm + "-20" + yy + suffix;
    }
    titles.application_title = titles.window_title + (header.Debug ? " - DEBUG MODE" : "");
    titles.disc_number = mm + yy;
    return titles;
}

CatalogueLoadResult ReadCatalogue(Catalogue& catalogue, const CatalogueContext& context) {
    CatalogueLoadResult result;
    if (!context.platform.fs.FileExists(context.state.DiscDir + "kavloxp.ini")) {
        context.boxes.Show("Where is my KAVLOXP.INI?????", "Error", MbButtons::Ok, MbIcon::Error);
        result.terminate_requested = true;
    }
    OpenReaders(catalogue, context);
    ReadHeader(catalogue, context);
    result.titles = ComposeDiscTitles(catalogue.header);
    const SectionSource source{catalogue.header, *catalogue.CatalogueFile, *catalogue.CatalogueFile2,
                               context.state.DiscDrive, context.CheckDemo};
    LoadSections(catalogue, source);
    return result;
}

} // namespace kavlo
