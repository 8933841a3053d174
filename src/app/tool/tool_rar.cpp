#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "RARArc/rararc.h"
#include "platform/codepage.h"
#include "platform/posix/posix_unrar.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

// Tool paths are host paths; TRAR holds names as the menu does, in Windows-1250.
PosixUnrar HostUnrar() {
    return PosixUnrar([](std::string_view path) -> std::optional<std::string> { return ToUtf8(path); });
}

std::string Hex8(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

// Errors as the menu would show them, one line each, the entry's name first where there is one.
void ReportErrors(TRAR& rar, bool& failed) {
    auto current = std::make_shared<std::string>();
    rar.OnExtracting = [current](TRAR&, const RarHeader& entry) { *current = entry.file_name; };
    rar.OnError = [current, &failed](TRAR&, int code) {
        failed = true;
        if (!current->empty()) {
            std::cerr << ToUtf8(*current) << ": ";
        }
        std::cerr << TRAR::ErrorText(code) << '\n';
    };
}

int ListCommand(const std::string& archive) {
    PosixUnrar unrar = HostUnrar();
    TRAR rar(unrar);
    rar.ArchiveName = FromUtf8(archive);
    bool failed = false;
    ReportErrors(rar, failed);
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    rar.OnListFile = [&entries](TRAR&, const RarHeader& h) {
        entries.push_back({{"name", ToUtf8(h.file_name)},
                           {"size", h.unp_size},
                           {"packed", h.pack_size},
                           {"crc", Hex8(h.file_crc)},
                           {"method", h.method},
                           {"directory", (h.flags & kRarFlagDirectory) != 0},
                           {"encrypted", (h.flags & kRarFlagEncrypted) != 0},
                           {"solid", (h.flags & kRarFlagSolid) != 0}});
    };
    const bool ok = rar.ListArchive();
    std::cout << entries.dump(2) << '\n';
    return ok && !failed ? 0 : 1;
}

int ExtractCommand(const std::string& archive, const std::string& dir, const std::string& password,
                   const std::vector<std::string>& only) {
    PosixUnrar unrar = HostUnrar();
    TRAR rar(unrar);
    rar.ArchiveName = FromUtf8(archive);
    rar.TargetDir = FromUtf8(dir);
    for (const std::string& name : only) {
        rar.FilesToExtract.insert(FromUtf8(name));
    }
    bool failed = false;
    ReportErrors(rar, failed);
    if (!password.empty()) {
        rar.OnReqPassword = [&password](TRAR&, const RarHeader&, std::string& answer) {
            answer = FromUtf8(password);
        };
    }
    const bool ok = rar.ExtractArchive();
    return ok && !failed ? 0 : 1;
}

} // namespace

// `kavlo-tool rar list ARCHIVE` and `kavlo-tool rar extract ARCHIVE DIR [--password P] [--only NAME...]`,
// through the archive component the menu runs. Exit status 1 when the walk reported an error.
void AddRarCommand(CLI::App& app) {
    CLI::App* rar = app.add_subcommand("rar", "List or extract a RAR archive as the menu does");
    rar->require_subcommand(1);

    auto archive = std::make_shared<std::string>();
    CLI::App* list = rar->add_subcommand("list", "Entries as JSON, in archive order");
    list->add_option("archive", *archive, "Archive file")->required();
    list->callback([archive] { throw CLI::RuntimeError(ListCommand(*archive)); });

    struct ExtractOptions {
        std::string archive, dir, password;
        std::vector<std::string> only;
    };
    auto options = std::make_shared<ExtractOptions>();
    CLI::App* extract = rar->add_subcommand("extract", "Extract into a directory");
    extract->add_option("archive", options->archive, "Archive file")->required();
    extract->add_option("dir", options->dir, "Destination directory")->required();
    extract->add_option("--password", options->password, "Password for encrypted entries");
    extract->add_option("--only", options->only, "Extract only these entries (names as stored)");
    extract->callback([options] {
        throw CLI::RuntimeError(
            ExtractCommand(options->archive, options->dir, options->password, options->only));
    });
}

} // namespace kavlo::tool
