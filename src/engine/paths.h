#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/system_info.h"

namespace kavlo {

// Path and text helpers shared by the install, run and uninstall procedures and the catalogue
// reader. All texts are Windows-1250 bytes; none of these functions fails.

// "C:" -> "C:\"; a path that already ends with "\" and the empty path stay as they are.
std::string PostFixDir(std::string_view path);
// Drops one trailing "\".
std::string RemoveEndSlash(std::string_view path);
// "C:\A\B\" -> "C:\A", "C:\A" -> "C:", "C:\" -> "C:"; no back-slash gives "".
std::string GetParentDir(std::string_view path);
// The text before the first ":", or the whole text.
std::string TextBeforeColon(std::string_view text);
// Removes every double quote.
std::string StripQuotes(std::string_view text);
// "C:\GAME\SETUP.EXE /U" -> "C:\GAME\SETUP.EXE": cut three characters after the last "." when the
// text has a blank in it.
std::string CutAfterExtension(std::string_view text);
// Doubles every lone "&" so a caption shows it, then cuts from the first "~" on.
std::string DoubleAmpersands(std::string_view text);
// Splits at "," or else ";" or else ":" (the first the text contains); empty pieces are kept and
// an empty text gives no element.
std::vector<std::string> SplitList(std::string_view text);
// ASCII letters and the fifteen Czech lower-case letters of Windows-1250 to capitals.
std::string UCase(std::string_view text);
// The part up to and including the last "\"; "" when there is none.
std::string DirPartOf(std::string_view path);
// Case-insensitive comparison of two Windows paths (by UCase).
bool SamePathText(std::string_view a, std::string_view b);

// The value of an environment variable as the 250-byte buffer of the menu holds it; "" when
// unset.
std::string ReadEnvVar(const SystemInfo& system, std::string_view name);

} // namespace kavlo
