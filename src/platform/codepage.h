#pragma once

#include <string>
#include <string_view>

namespace kavlo {

enum class CodePage { Windows1250 = 1250, Windows1254 = 1254 };

// Bytes of the code page to UTF-8; the few undefined bytes become U+FFFD.
std::string ToUtf8(std::string_view bytes, CodePage cp = CodePage::Windows1250);
// UTF-8 to the code page; a character the code page lacks (or a malformed sequence) becomes "?".
std::string FromUtf8(std::string_view utf8, CodePage cp = CodePage::Windows1250);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t code_point);

// Case folding of Windows-1250 names, as Windows compares file, section and key names: ASCII and
// every accented small letter that has a capital in the code page ("ž" -> "Ž", "ł" -> "Ł").
char UpperCase1250(char c);
std::string UpperCase1250(std::string_view bytes);
bool EqualsNoCase1250(std::string_view a, std::string_view b);

} // namespace kavlo
