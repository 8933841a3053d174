#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "main_f/form1.h"

namespace kavlo {

// The menu's state as editors' tools and tests read it: the window, the application, the main
// window's state, every component and the event log; `exit_code` once the program has ended.
nlohmann::ordered_json StateDump(TForm1& form, std::optional<int> exit_code);
bool WriteStateDump(TForm1& form, const std::string& file, std::optional<int> exit_code);
// The window as composed now, as PNG.
bool WriteScreenshot(TForm1& form, const std::string& file);

} // namespace kavlo
