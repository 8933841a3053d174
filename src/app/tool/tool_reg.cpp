#include "tool/tool_commands.h"

namespace kavlo::tool {

void AddRegCommand(CLI::App&) {}

} // namespace kavlo::tool
