#include "tool/tool_commands.h"

namespace kavlo::tool {

void AddCatalogueCommand(CLI::App&) {}

} // namespace kavlo::tool
