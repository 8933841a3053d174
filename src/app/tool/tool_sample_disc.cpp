#include "tool/tool_commands.h"

namespace kavlo::tool {

void AddSampleDiscCommand(CLI::App&) {}

} // namespace kavlo::tool
