#include "tool/tool_commands.h"

namespace kavlo::tool {

void AddTextCommands(CLI::App&) {}

} // namespace kavlo::tool
