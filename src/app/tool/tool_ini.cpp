#include "tool/tool_commands.h"

namespace kavlo::tool {

void AddIniCommand(CLI::App&) {}

} // namespace kavlo::tool
