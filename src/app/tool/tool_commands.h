#pragma once

#include <CLI/CLI.hpp>

namespace kavlo::tool {

// Each subcommand family lives in its own file and adds itself to the command line here.
void AddCatalogueCommand(CLI::App& app);
void AddTextCommands(CLI::App& app); // text, special, date
void AddPathsCommand(CLI::App& app);
void AddIniCommand(CLI::App& app);
void AddRegCommand(CLI::App& app);
void AddShortcutCommand(CLI::App& app);
void AddSampleDiscCommand(CLI::App& app);
void AddBlendCommand(CLI::App& app);
void AddDibCommands(CLI::App& app); // dib-decode, dib-encode
void AddFormCommand(CLI::App& app);
void AddSkinSheetCommand(CLI::App& app);
void AddRarCommand(CLI::App& app); // rar list, rar extract

} // namespace kavlo::tool
