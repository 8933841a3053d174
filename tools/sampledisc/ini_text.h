#pragma once

#include <string>
#include <string_view>

namespace kavlo::sample {

// Builds the text of an INI file the way the editors write one: UTF-8 here, CR LF line ends.
class IniText {
public:
    IniText& Section(std::string_view name);
    IniText& Key(std::string_view name, std::string_view value);
    IniText& Key(std::string_view name, int value);
    IniText& Comment(std::string_view text);
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

} // namespace kavlo::sample
