#pragma once

#include <string>

#include "main_f/form1.h"

namespace kavlo::tool {

// The loaded catalogue as an editor reads it: the title, then every section with its items,
// where they come from and how they install (UTF-8).
std::string CatalogueSummary(TForm1& form);

} // namespace kavlo::tool
