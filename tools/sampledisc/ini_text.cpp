#include "sampledisc/ini_text.h"

namespace kavlo::sample {

IniText& IniText::Section(std::string_view name) {
    if (!text_.empty()) {
        text_ += "\r\n";
    }
    text_ += "[";
    text_ += name;
    text_ += "]\r\n";
    return *this;
}

IniText& IniText::Key(std::string_view name, std::string_view value) {
    text_ += name;
    text_ += "=";
    text_ += value;
    text_ += "\r\n";
    return *this;
}

IniText& IniText::Key(std::string_view name, int value) {
    return Key(name, std::to_string(value));
}

IniText& IniText::Comment(std::string_view text) {
    text_ += "; ";
    text_ += text;
    text_ += "\r\n";
    return *this;
}

} // namespace kavlo::sample
