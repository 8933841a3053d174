#include "tool/tool_commands.h"

namespace kavlo::tool {

void AddPathsCommand(CLI::App&) {}

} // namespace kavlo::tool
