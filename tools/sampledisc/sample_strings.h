#pragma once

#include <string>

namespace kavlo::sample {

// strings.ini of a Turkish disc: the menu's Turkish texts (A201..A299) and the date words
// (A301..A318), in the Turkish code page.
std::string TurkishStringsIni();

} // namespace kavlo::sample
