// `kavlo-tool catalogue`: what the menu loaded from a disc's catalogue, as JSON.

#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "main_f/catalogue.h"
#include "main_f/form1.h"
#include "platform/codepage.h"
#include "tool/tool_catalogue_summary.h"
#include "tool/tool_commands.h"
#include "tool/tool_disc.h"

namespace kavlo::tool {
namespace {

using Json = nlohmann::ordered_json;

// Catalogue texts to UTF-8 in the code page the disc's labels draw them with.
struct Utf {
    CodePage code_page;
    std::string operator()(const std::string& text) const { return ToUtf8(text, code_page); }
};

Json ItemJson(const TDemos& d, const Utf& Utf) {
    return Json{{"Name", Utf(d.Name)},
                {"FullName", Utf(d.FullName)},
                {"Title", Utf(d.Title)},
                {"Firm", Utf(d.Firm)},
                {"Describe0", Utf(d.Describe0)},
                {"Describe", Utf(d.Describe)},
                {"Text", Utf(d.Text)},
                {"TechInfo", Utf(d.TechInfo)},
                {"UnInstallName", Utf(d.UnInstallName)},
                {"InstalledDir", Utf(d.InstalledDir)},
                {"GameName", Utf(d.GameName)},
                {"Date", Utf(d.Date)},
                {"RegUninstall", Utf(d.RegUninstall)},
                {"RegKey", Utf(d.RegKey)},
                {"RegName", Utf(d.RegName)},
                {"Uninstall", Utf(d.Uninstall)},
                {"Picture", Utf(d.Picture)},
                {"SourceDir", Utf(d.SourceDir)},
                {"InstallName", Utf(d.InstallName)},
                {"SetupName", Utf(d.SetupName)},
                {"ReadmeName", Utf(d.ReadmeName)},
                {"ReadmeDVD", Utf(d.ReadmeDVD)},
                {"Param", Utf(d.Param)},
                {"InstallType", d.InstallType},
                {"DirDetect", d.DirDetect},
                {"Flags", d.Flags},
                {"NeedsInstall", d.NeedsInstall},
                {"Installed", d.Installed},
                {"CanUninstall", d.CanUninstall},
                {"Web", Utf(d.Web)},
                {"CD", d.CD}};
}

Json ItemJson(const TUpdate& u, const Utf& Utf) {
    return Json{{"Name", Utf(u.Name)},
                {"Suffix", Utf(u.Suffix)},
                {"FileName", Utf(u.FileName)},
                {"ReadmeName", Utf(u.ReadmeName)},
                {"Mode", u.Mode},
                {"Reserved", Utf(u.Reserved)}};
}

Json ItemJson(const TShot& s, const Utf& Utf) {
    return Json{{"FullName", Utf(s.FullName)},   {"Name", Utf(s.Name)},
                {"Firm", Utf(s.Firm)},           {"Date", Utf(s.Date)},
                {"Describe0", Utf(s.Describe0)}, {"Describe", Utf(s.Describe)},
                {"Text", Utf(s.Text)},           {"Web", Utf(s.Web)},
                {"Picture", Utf(s.Picture)}};
}

Json ItemJson(const TMovies& m, const Utf& Utf) {
    return Json{{"Name", Utf(m.Name)},           {"Firm", Utf(m.Firm)},
                {"TechInfo", Utf(m.TechInfo)},   {"FullName", Utf(m.FullName)},
                {"Describe0", Utf(m.Describe0)}, {"Describe", Utf(m.Describe)},
                {"FilePath", Utf(m.FilePath)},   {"Date", Utf(m.Date)},
                {"GameName", Utf(m.GameName)},   {"InstallName", Utf(m.InstallName)},
                {"InstallType", m.InstallType},  {"Flags", m.Flags},
                {"Picture", Utf(m.Picture)}};
}

template <typename T, int N> Json TableJson(const FixedTable<T, N>& table, int count, const Utf& utf) {
    Json items = Json::array();
    for (int n = 1; n <= count; ++n) {
        items.push_back(ItemJson(table[n], utf));
    }
    return items;
}

// The header as loaded, plus the keys other pages read from the catalogue later.
Json MainJson(const Catalogue& c, const Utf& Utf) {
    const CatalogueHeader& h = c.header;
    const IniFile& file = *c.CatalogueFile;
    const std::string music_key = "Music" + std::to_string(h.Version);
    Json main{{"Version", h.Version},
              {"CD", Utf(h.CD)},
              {"CDLabel", Utf(h.CDLabel)},
              {"DVD", h.DVD},
              {"NumberOfCD", h.NumberOfCD},
              {"ActualCD", h.ActualCD},
              {"SharewareCD", h.SharewareCD},
              {"UpdatesCD", h.UpdatesCD},
              {"MoviesCD", h.MoviesCD},
              {"ReadersCD", h.ReadersCD},
              {"FullsCD", h.FullsCD},
              {"DriversCD", h.DriversCD},
              {"ExtraCD", h.ExtraCD},
              {"AddonsCD", h.AddonsCD},
              {"Demos", h.Demos},
              {"Shareware", h.Shareware},
              {"Service", h.Service},
              {"Updates", h.Updates},
              {"Shots", h.Shots},
              {"Movies", h.Movies},
              {"Readers", h.Readers},
              {"Fulls", h.Fulls},
              {"Extra2", h.Extra2},
              {"Extra3", h.Extra3},
              {"Drivers", h.Drivers},
              {"Extra", h.Extra},
              {"Addons", h.Addons},
              {"DovudizEnabled", h.DovudizEnabled},
              {"Dovudiz", Utf(file.ReadString("Main", "Dovudiz", ""))},
              {"DovudizText", Utf(file.ReadString("Main", "DovudizText", ""))},
              {"DovudizAuthors", Utf(file.ReadString("Main", "DovudizAuthors", ""))},
              {"DovudizPath", Utf(file.ReadString("Main", "DovudizPath", "Dovudiz\\index.htm"))},
              {"Debug", h.Debug},
              {"Redarer", h.Redarer},
              {"AcrobatReader", Utf(file.ReadString("Main", "AcrobatReader", ""))}};
    main[music_key] = Utf(file.ReadString("Main", music_key, ""));
    main["Title"] = Utf(ComposeDiscTitles(h).window_title);
    return main;
}

Json CatalogueJson(const Catalogue& c) {
    const CatalogueHeader& h = c.header;
    const Utf utf{DiscCodePage(h.Version)};
    return Json{{"Main", MainJson(c, utf)},
                {"Demos", TableJson(c.Demos, h.Demos, utf)},
                {"Shareware", TableJson(c.Shareware, h.Shareware, utf)},
                {"Service", TableJson(c.Service, h.Service, utf)},
                {"Updates", TableJson(c.Updates, h.Updates, utf)},
                {"Drivers", TableJson(c.Drivers, h.Drivers, utf)},
                {"Shots", TableJson(c.Shots, h.Shots, utf)},
                {"Extra", TableJson(c.Extra, h.Extra, utf)},
                {"Movies", TableJson(c.Movies, h.Movies, utf)},
                {"Readers", TableJson(c.Readers, h.Readers, utf)},
                {"Addons", TableJson(c.Addons, h.Addons, utf)},
                {"Fulls", TableJson(c.Fulls, h.Fulls, utf)},
                {"Extra2", TableJson(c.Extra2, h.Extra2, utf)},
                {"Extra3", TableJson(c.Extra3, h.Extra3, utf)}};
}

} // namespace

void AddCatalogueCommand(CLI::App& app) {
    auto options = std::make_shared<DiscOptions>();
    CLI::App* command =
        app.add_subcommand("catalogue", "Print the disc's catalogue as the menu loads it (JSON)");
    AddDiscOptions(command, *options);
    auto summary = std::make_shared<bool>(false);
    command->add_flag("--summary", *summary, "A readable overview instead of JSON");
    command->callback([options, summary] {
        ToolSession session(*options);
        if (session.form().TerminateRequested()) {
            throw CLI::RuntimeError(1); // the menu would end here; its boxes are on stderr
        }
        const Catalogue& catalogue = session.form().catalogue;
        if (*summary) {
            std::cout << CatalogueSummary(session.form());
        } else {
            std::cout << CatalogueJson(catalogue).dump(2) << "\n";
        }
    });
}

} // namespace kavlo::tool
