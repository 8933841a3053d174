#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace kavlo {

// The directory a command line is started in: the folder of its program file when that can be
// told ("\"D:\DEMO\SETUP.EXE\" /S" -> "D:\DEMO\"), the whole unquoted text when the line names no
// known program type ("RunDll32 foo"), "C:\" when nothing is left.
std::string WorkingDirOf(const FileSystem& fs, std::string_view command_line);

// The program folder hidden in an uninstaller's command line, such as
// C:\WINDOWS\UNINST.EXE -f"C:\GAMES\X\DeIsL1.isu" -c"C:\GAMES\X\_ISRES.DLL" -> "C:\GAMES\X\".
std::string UninstallerDirOf(std::string_view command_line);

} // namespace kavlo
