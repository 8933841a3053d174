#include "tool/tool_commands.h"

int main(int argc, char** argv) {
    CLI::App app{"kavlo-tool: what the menu reads from a disc, and the sample disc"};
    app.require_subcommand(1);
    kavlo::tool::AddCatalogueCommand(app);
    kavlo::tool::AddTextCommands(app);
    kavlo::tool::AddPathsCommand(app);
    kavlo::tool::AddIniCommand(app);
    kavlo::tool::AddRegCommand(app);
    kavlo::tool::AddShortcutCommand(app);
    kavlo::tool::AddSampleDiscCommand(app);
    kavlo::tool::AddBlendCommand(app);
    kavlo::tool::AddDibCommands(app);
    kavlo::tool::AddFormCommand(app);
    kavlo::tool::AddSkinSheetCommand(app);
    kavlo::tool::AddRarCommand(app);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
