// Items of the TDemos sections: which keys each section reads, how each value is treated, the
// composed disc paths, the Param choice and the steps that follow the keys.

#include <array>
#include <climits>
#include <span>

#include "engine/paths.h"
#include "main_f/catalogue_sections.h"

namespace kavlo::catalogue_detail {
namespace {

enum class Treat : uint8_t { NotRead, Raw, Amp, Upper, AmpUpper };

// Short names so the tables below read as columns: A = ampersands doubled and upper-cased,
// a = ampersands doubled, U = upper-cased, R = stored as read, N = not read by the section.
constexpr Treat A = Treat::AmpUpper;
constexpr Treat a = Treat::Amp;
constexpr Treat U = Treat::Upper;
constexpr Treat R = Treat::Raw;
constexpr Treat N = Treat::NotRead;

constexpr size_t kKinds = 10;

// Columns: Demo, Share, Service, Driver, Extra, Reader, Addon, Full, E2xtra, E3xtra.
struct TextRow {
    const char* key;
    std::string TDemos::*field;
    std::array<Treat, kKinds> treat;
};

// "Describe" + Version and "InstallDir" are not here: their keys and values are composed.
constexpr TextRow kTextRows[] = {
    {"Name", &TDemos::Name, {A, A, A, A, A, A, A, A, A, A}},
    {"FullName", &TDemos::FullName, {A, A, A, U, A, A, A, A, A, A}},
    {"Firm", &TDemos::Firm, {A, A, N, N, A, A, A, A, A, A}},
    {"Describe0", &TDemos::Describe0, {a, N, a, a, a, N, a, a, a, a}},
    {"TechInfo", &TDemos::TechInfo, {A, A, N, A, A, N, A, A, A, A}},
    {"GameName", &TDemos::GameName, {R, R, R, N, U, R, U, R, R, R}},
    {"Date", &TDemos::Date, {R, N, R, R, N, N, N, N, N, N}},
    {"SetupName", &TDemos::SetupName, {R, R, N, N, N, R, N, R, R, R}},
    {"ReadmeName", &TDemos::ReadmeName, {R, R, R, R, R, R, R, R, R, R}},
    {"ReadmeDVD", &TDemos::ReadmeDVD, {R, R, R, R, R, R, R, R, R, R}},
    {"Web", &TDemos::Web, {R, R, R, N, R, R, R, R, R, R}},
    {"Picture", &TDemos::Picture, {R, R, R, R, R, R, R, R, R, R}},
    {"InstallName", &TDemos::InstallName, {R, R, R, R, R, R, R, R, R, R}},
    {"RegUninstall", &TDemos::RegUninstall, {R, R, N, N, R, R, N, R, R, R}},
    {"RegKey", &TDemos::RegKey, {R, R, N, N, N, N, N, R, R, R}},
    {"RegName", &TDemos::RegName, {R, R, N, N, N, N, N, R, R, R}},
    {"Uninstall", &TDemos::Uninstall, {R, R, N, N, N, R, N, R, R, R}},
    {"UnInstallName", &TDemos::UnInstallName, {R, N, N, N, N, N, N, R, R, R}},
};

constexpr int kNoKey = INT_MIN;

// Integer keys with their defaults; kNoKey where the section does not read the key.
struct IntegerRow {
    const char* key;
    int32_t TDemos::*field;
    std::array<int, kKinds> def;
};

constexpr int X = kNoKey;
constexpr IntegerRow kIntegerRows[] = {
    {"InstallType", &TDemos::InstallType, {0, 0, X, 0, 5, 0, 5, 0, 0, 0}},
    {"DirDetect", &TDemos::DirDetect, {0, 0, X, X, X, 0, X, 0, 0, 0}},
    {"Flags", &TDemos::Flags, {0, X, X, X, 1, X, 0, 0, 0, 0}},
};

enum class SourceRule { AsRead, Demos, Software, Readers, Drivers, Root, RootNoEndSlash };
enum class CdRule { NotRead, DefaultOne, DefaultDriversCD };

struct ParamKey {
    int value;
    const char* key;
    const char* def;
};

struct KindTraits {
    const char* prefix;
    SourceRule source;
    CdRule cd;
    bool sets_title;
    bool sets_needs_install;
    bool clears_can_uninstall;
    bool checks_while_loading;
    std::span<const ParamKey> param_by_install_type;
    std::span<const ParamKey> param_by_dir_detect;
};

constexpr ParamKey kDemoByType[] = {{0, "TestName", ""},     {4, "TestName", ""},      {10, "TestName", ""},
                                    {1, "AfterInstall", ""}, {2, "UnpackedSize", "0"}, {3, "ForcedDir", ""}};
constexpr ParamKey kDemoByDetect[] = {{2, "TestFile", ""},   {3, "ShortCut", ""},        {6, "IniFile", ""},
                                      {8, "SearchFile", ""}, {9, "DesktopShortCut", ""}, {10, "IniFile", ""}};
constexpr ParamKey kForcedDirOnly[] = {{3, "ForcedDir", ""}};
constexpr ParamKey kCommonByDetect[] = {{3, "ShortCut", ""},
                                        {6, "IniFile", ""},
                                        {8, "SearchFile", ""},
                                        {9, "DesktopShortCut", ""},
                                        {10, "IniFile", ""}};
constexpr ParamKey kFullByType[] = {{0, "TestName", ""},  {4, "TestName", ""},        {7, "TestName", ""},
                                    {10, "TestName", ""}, {2, "FilesInArchive", "0"}, {3, "ForcedDir", ""}};
constexpr ParamKey kExtraByType[] = {{0, "TestName", ""},
                                     {4, "TestName", ""},
                                     {10, "TestName", ""},
                                     {2, "FilesInArchive", "0"},
                                     {3, "ForcedDir", ""}};
constexpr ParamKey kE2xtraByDetect[] = {{3, "ShortCut", ""},        {15, "ShortCut", ""},
                                        {6, "IniFile", ""},         {8, "SearchFile", ""},
                                        {9, "DesktopShortCut", ""}, {10, "IniFile", ""}};

// In DemosKind order.
constexpr KindTraits kTraits[kKinds] = {
    {"Demo", SourceRule::Demos, CdRule::DefaultOne, true, false, true, false, kDemoByType, kDemoByDetect},
    {"Share", SourceRule::Software, CdRule::NotRead, false, true, true, true, kForcedDirOnly,
     kCommonByDetect},
    {"Service", SourceRule::AsRead, CdRule::NotRead, false, false, false, false, {}, {}},
    {"Driver", SourceRule::Drivers, CdRule::DefaultDriversCD, false, true, false, false, {}, {}},
    {"Extra", SourceRule::Root, CdRule::DefaultOne, false, true, false, true, {}, {}},
    {"Reader", SourceRule::Readers, CdRule::NotRead, false, true, true, true, kForcedDirOnly,
     kCommonByDetect},
    {"Addon", SourceRule::Root, CdRule::DefaultOne, false, true, false, false, {}, {}},
    {"Full", SourceRule::RootNoEndSlash, CdRule::DefaultOne, true, false, true, true, kFullByType,
     kCommonByDetect},
    {"E2xtra", SourceRule::Root, CdRule::DefaultOne, true, false, true, true, kExtraByType, kE2xtraByDetect},
    {"E3xtra", SourceRule::Root, CdRule::DefaultOne, true, false, true, true, kExtraByType, kCommonByDetect},
};

std::string Treated(std::string value, Treat treat) {
    switch (treat) {
        case Treat::Amp:
            return DoubleAmpersands(value);
        case Treat::Upper:
            return UCase(value);
        case Treat::AmpUpper:
            return UCase(DoubleAmpersands(value));
        case Treat::Raw:
        case Treat::NotRead:
            break;
    }
    return value;
}

// The second disc of issue 0204 keeps shareware and readers' items in its root, and its
// catalogue's InstallDir values are written for that layout.
bool IsRootLayoutDisc(const CatalogueHeader& header) {
    return header.CD == "0204" && header.ActualCD == 2;
}

std::string ComposeSourceDir(const SectionSource& source, SourceRule rule, const std::string& value) {
    const std::string& drive = source.disc_drive;
    switch (rule) {
        case SourceRule::AsRead:
            return value;
        case SourceRule::Demos:
            return drive + "\\DEMOS\\" + value;
        case SourceRule::Software:
            return IsRootLayoutDisc(source.header) ? drive + "\\" + value : drive + "\\Software\\" + value;
        case SourceRule::Readers:
            return IsRootLayoutDisc(source.header) ? drive + "\\" + value : drive + "\\Readers\\" + value;
        case SourceRule::Drivers:
            return drive + "\\Drivers\\" + value;
        case SourceRule::Root:
            return drive + "\\" + value;
        case SourceRule::RootNoEndSlash:
            return RemoveEndSlash(drive + "\\" + value);
    }
    return value;
}

void ReadTexts(const IniFile& file, const std::string& section, size_t column, TDemos& item) {
    for (const TextRow& row : kTextRows) {
        if (row.treat[column] != Treat::NotRead) {
            item.*row.field = Treated(file.ReadString(section, row.key, ""), row.treat[column]);
        }
    }
}

void ReadIntegers(const IniFile& file, const std::string& section, size_t column, TDemos& item) {
    for (const IntegerRow& row : kIntegerRows) {
        if (row.def[column] != kNoKey) {
            item.*row.field = file.ReadInteger(section, row.key, row.def[column]);
        }
    }
}

void ReadCd(const SectionSource& source, const IniFile& file, const std::string& section, CdRule rule,
            TDemos& item) {
    if (rule == CdRule::NotRead) {
        return;
    }
    const int def = rule == CdRule::DefaultDriversCD ? source.header.DriversCD : 1;
    item.CD = LowByte(file.ReadInteger(section, "CD", def));
}

// A key chosen by DirDetect is read after the one chosen by InstallType, so it wins.
void ReadParam(const IniFile& file, const std::string& section, const KindTraits& traits, TDemos& item) {
    for (const ParamKey& choice : traits.param_by_install_type) {
        if (choice.value == item.InstallType) {
            item.Param = file.ReadString(section, choice.key, choice.def);
        }
    }
    for (const ParamKey& choice : traits.param_by_dir_detect) {
        if (choice.value == item.DirDetect) {
            item.Param = file.ReadString(section, choice.key, choice.def);
        }
    }
}

void ReadKeys(const SectionSource& source, const IniFile& file, const std::string& section, DemosKind kind,
              TDemos& item) {
    const size_t column = static_cast<size_t>(kind);
    const KindTraits& traits = kTraits[column];
    ReadTexts(file, section, column, item);
    // Readers' texts sit under the Czech key whatever the disc language.
    const std::string describe_key =
        kind == DemosKind::Reader ? "Describe1" : DescribeKey(source.header.Version);
    item.Describe = DoubleAmpersands(file.ReadString(section, describe_key, ""));
    item.SourceDir = ComposeSourceDir(source, traits.source, file.ReadString(section, "InstallDir", ""));
    ReadIntegers(file, section, column, item);
    ReadCd(source, file, section, traits.cd, item);
    ReadParam(file, section, traits, item);
    // The catalogue writes "*" for each blank of an uninstall key's name.
    for (char& c : item.RegUninstall) {
        if (c == '*') {
            c = ' ';
        }
    }
    if (traits.sets_title) {
        item.Title = item.Name;
    }
}

// On one CD of a set, a demo stored on another disc of the set stays listed but cannot be
// installed from here.
void ClearOtherDiscDemo(const CatalogueHeader& header, TDemos& item) {
    if (header.DVD == 0 && item.CD != header.ActualCD) {
        item.InstallName.clear();
        item.SourceDir.clear();
    }
}

} // namespace

bool LoadDemosItem(const SectionSource& source, DemosKind kind, int n, TDemos& item) {
    const KindTraits& traits = kTraits[static_cast<size_t>(kind)];
    const std::string section = traits.prefix + std::to_string(n);
    const IniFile& file = kind == DemosKind::Driver ? EitherFile(source, section) : source.first;
    ReadKeys(source, file, section, kind, item);
    if (kind == DemosKind::Driver && source.header.Version != 1 &&
        item.Name.find("CZ") != std::string::npos) {
        return false;
    }
    if (kind == DemosKind::Demo) {
        ClearOtherDiscDemo(source.header, item);
    }
    if (traits.sets_needs_install) {
        item.NeedsInstall = 1;
    }
    if (traits.clears_can_uninstall) {
        item.CanUninstall = 0;
    }
    item.Text = item.Describe;
    if (traits.checks_while_loading && source.check_demo) {
        source.check_demo(item);
    }
    return true;
}

} // namespace kavlo::catalogue_detail
