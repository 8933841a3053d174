#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kavlo {

class IniFile;

// Disc languages (the catalogue's Version); a message number is language * 100 + index.
enum class Language : int {
    English = 0,
    Czech = 1,
    Turkish = 2,
    Romanian = 3,
    Slovak = 4,
    German = 5,
    Indonesian = 6,
};

// One entry of the built-in message table as written in the source (UTF-8).
struct MessageSource {
    int number = 0;
    const char* utf8 = "";
};

// The blocks of the built-in table, one per language, in source form.
std::span<const MessageSource> EnglishMessages();
std::span<const MessageSource> CzechMessages();
std::span<const MessageSource> TurkishMessages();
std::span<const MessageSource> RomanianMessages();
std::span<const MessageSource> SlovakMessages();
std::span<const MessageSource> GermanMessages();
std::span<const MessageSource> IndonesianMessages();

// The built-in table's text for a message number, in the block's code page (Windows-1254 for the
// Turkish block, Windows-1250 for the rest); empty when the table has none.
const std::string& BuiltInMessage(int number);

// The menu's texts for one disc language. Cheap to make: the catalogue owns the strings reader,
// so the caller builds one whenever the reader may have been replaced (a catalogue reload).
class MessageTexts {
public:
    // `strings` is the disc's strings.ini reader; null when the disc has none.
    MessageTexts(int language, const IniFile* strings) : language_(language), strings_(strings) {}

    int LanguageCode() const { return language_; }

    // The text of a message number (language * 100 + index); empty when there is none.
    std::string LoadString(int number) const;
    // The text with `arg` in place of its first "%1"; a text without "%1" drops the argument.
    std::string LoadSpecial(int number, std::string_view arg) const;

private:
    int language_ = 1;
    const IniFile* strings_ = nullptr;
};

} // namespace kavlo
