// The Installed page's list: what kavlo.ini recorded from every disc of the series, with the stale
// records pruned.

#include "main_f/installed_list.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/paths.h"
#include "main_f/install_state.h"

namespace kavlo {

namespace {

// One key of a record section: the item's name and the issue code of the disc it came from. Name
// and code stay apart, so a name holding a list separator cannot be cut in two.
struct Entry {
    std::string name;
    std::string code;
    std::string upper_name;
    std::string upper_section;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The issue code of a record section "CD" + MMYY. Only the years the series has run (1998 to 2020)
// count; [Main] and other sections too short for a code drop out here, and so does a code whose
// characters are not digits, which would otherwise give a disc name or a section to prune by chance.
std::optional<std::string> IssueCodeOf(std::string_view section) {
    if (section.size() < 6) {
        return std::nullopt;
    }
    const std::string_view code = section.substr(2, 4);
    if (!std::all_of(code.begin(), code.end(), IsDigit)) {
        return std::nullopt;
    }
    const int year = (code[2] - '0') * 10 + (code[3] - '0');
    if (year > 20 && year < 98) {
        return std::nullopt;
    }
    return std::string(code);
}

// Every item key of the kept sections, sorted by name and then by disc; an item installed from
// several discs appears once per disc.
std::vector<Entry> CollectEntries(const IniFile& settings) {
    const std::vector<std::string> sections = settings.ReadSections();
    std::vector<Entry> entries;
    // A kavlo.ini of one section has never recorded an install alongside its switches.
    if (sections.size() <= 1) {
        return entries;
    }
    for (const std::string& section : sections) {
        const std::optional<std::string> code = IssueCodeOf(section);
        if (!code) {
            continue;
        }
        for (std::string& key : settings.ReadSection(section)) {
            // "Name_" and "Name__" belong to the item "Name"; a nameless key names no item.
            if (key.empty() || key.back() == '_') {
                continue;
            }
            std::string upper_name = UCase(key);
            entries.push_back({std::move(key), *code, std::move(upper_name), UCase(section)});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.upper_name, a.upper_section) < std::tie(b.upper_name, b.upper_section);
    });
    return entries;
}

// "KAVLO 02-06" for issue 0206; codes that are no month read the label recorded at start.
std::string DiscNameOf(const std::string& code, const IniFile& settings) {
    const int month = (code[0] - '0') * 10 + (code[1] - '0');
    if (month >= 1 && month <= 12) {
        return "KAVLO " + code.substr(0, 2) + "-" + code.substr(2, 2);
    }
    return settings.ReadString("Main", code, "");
}

std::string ElementOr(const std::vector<std::string>& elements, std::size_t index) {
    return index < elements.size() ? elements[index] : std::string();
}

// Discs 10 and up mark programs that run only from the disc they came from; the rest of the
// number is the disc of the set.
void ApplyDiscNumber(TDemos& item, const std::string& disc_text, const std::string& code,
                     const std::string& issue) {
    int disc = disc_text.empty() ? 0 : ParseProfileInteger(disc_text).value_or(0);
    if (disc >= 10) {
        disc -= 10;
        if (code != issue) {
            item.Installed = 0;
        }
    }
    if (disc > 0) {
        item.TechInfo += "-" + std::to_string(disc);
    }
}

bool ProgramStillThere(const FileSystem& fs, const TDemos& item) {
    return !item.InstalledDir.empty() &&
           fs.FileExists(item.InstalledDir + "\\" + CutAfterExtension(TextBeforeColon(item.GameName)));
}

// Fills `item` from the records of one entry; false when the entry is not listed.
bool FillEntry(TDemos& item, const Entry& entry, const InstalledListContext& context) {
    IniFile& settings = context.SettingsFile;
    const std::string section = "CD" + entry.code;
    item.Installed = 1;
    item.Name = entry.name;
    item.InstalledDir = settings.ReadString(section, item.Name, "");
    item.TechInfo = DiscNameOf(entry.code, settings);

    const std::vector<std::string> record = SplitList(settings.ReadString(section, item.Name + "_", ""));
    if (record.empty()) {
        return false;
    }
    item.GameName = record[0];
    item.Uninstall = ElementOr(record, 2);
    ApplyDiscNumber(item, ElementOr(record, 3), entry.code, context.issue);

    item.UnInstallName = settings.ReadString(section, item.Name + "__", "");
    item.RegUninstall = ElementOr(record, 1);
    // The first disc of the series recorded no uninstaller of its own: the registry still has it.
    if (entry.code == "0198" && item.UnInstallName.empty()) {
        item.UnInstallName = UninstallStringOf(context.registry, item.RegUninstall);
    }
    item.InstallType = item.UnInstallName.empty() ? 2 : 4;

    if (ProgramStillThere(context.fs, item)) {
        item.CanUninstall = 1;
        item.NeedsInstall = 0;
        return true;
    }
    settings.DeleteKeys(section, {item.Name, item.Name + "_", item.Name + "__"});
    return false;
}

} // namespace

int ReadInstalledList(InstalledTable& table, const InstalledListContext& context) {
    for (int n = 1; n <= InstalledTable::kCapacity; ++n) {
        table[n] = TDemos{};
    }
    static_assert(kInstalledListLimit <= InstalledTable::kCapacity);
    const std::vector<Entry> entries = CollectEntries(context.SettingsFile);
    const std::size_t walked = std::min(entries.size(), static_cast<std::size_t>(kInstalledListLimit));
    int count = 0;
    for (std::size_t i = 0; i < walked; ++i) {
        TDemos item;
        if (FillEntry(item, entries[i], context)) {
            table[++count] = std::move(item);
        }
    }
    return count;
}

} // namespace kavlo
