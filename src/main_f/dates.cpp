#include "main_f/dates.h"

#include <array>
#include <optional>

#include "main_f/texts.h"
#include "platform/codepage.h"
#include "ui/message_box.h"

namespace kavlo {

namespace {

// Date words are numbered as the Turkish strings.ini keys A301..A318 number them: months 1-12,
// seasons 13-16 (spring to winter), then the released and the not-announced word.
constexpr int kSpringWord = 13;
constexpr int kReleasedWord = 17;
constexpr int kNotAnnouncedWord = 18;
constexpr int kWordCount = 18;
constexpr int kTurkishWordBase = 300;

// Month values of the code beside 1-12: the seasons 51-54, released 0, not announced 99.
constexpr int kReleasedMonth = 0;
constexpr int kNotAnnouncedMonth = 99;
constexpr int kFirstSeasonMonth = 51;
constexpr int kLastSeasonMonth = 54;
constexpr int kNoWordMonth = -1;

// Two-digit years below this are 20xx; the discs never showed dates of the 1930s.
constexpr int kCenturyPivot = 37;

using WordList = std::array<const char*, kWordCount>;

constexpr WordList kEnglishWords = {"January", "February", "March",  "April",   "May",      "June",
                                    "July",    "August",   "Sept.",  "October", "November", "December",
                                    "Spring",  "Summer",   "Autumn", "Winter",  "Out now",  "Unknown"};
constexpr WordList kCzechWords = {"LEDEN",    "ÚNOR",  "BŘEZEN", "DUBEN", "KVĚTEN",    "ČERVEN",
                                  "ČERVENEC", "SRPEN", "ZÁŘÍ",   "ŘÍJEN", "LISTOPAD",  "PROSINEC",
                                  "JARO",     "LÉTO",  "PODZIM", "ZIMA",  "JIŽ VYŠLO", "NEOZNÁMENO"};
constexpr WordList kRomanianWords = {"Ianuarie",  "Februarie",     "Martie",     "Aprilie",    "Mai",
                                     "Iunie",     "Iulie",         "August",     "Septembrie", "Octombrie",
                                     "Noiembrie", "Decembrie",     "Primăvară",  "Vară",       "Toamnă",
                                     "Iarnă",     "A fost lansat", "Necunoscută"};
constexpr WordList kSlovakWords = {"Január", "Február", "Marec",     "Apríl",   "Máj",      "Jún",
                                   "Júl",    "August",  "September", "Október", "November", "December",
                                   "Jar",    "Leto",    "Jeseň",     "Zima",    "Už vyšlo", "Neznáme"};
constexpr WordList kGermanWords = {
    "Januar",           "Februar",  "März",     "April",    "Mai",      "Juni",   "Juli",   "August",
    "September",        "Oktober",  "November", "Dezember", "Frühling", "Sommer", "Herbst", "Winter",
    "Schon erschienen", "Unbekannt"};

// The built-in word lists by language code (Turkish reads strings.ini instead).
constexpr std::array<const WordList*, 7> kWordsByLanguage = {
    &kEnglishWords, &kCzechWords, nullptr, &kRomanianWords, &kSlovakWords, &kGermanWords, &kEnglishWords};

using ConvertedWords = std::array<std::string, kWordCount>;

// Converted once to Windows-1250, like the message table.
const std::array<ConvertedWords, 7>& BuiltInWords() {
    static const std::array<ConvertedWords, 7> converted = [] {
        std::array<ConvertedWords, 7> table;
        for (std::size_t language = 0; language < kWordsByLanguage.size(); ++language) {
            if (kWordsByLanguage[language] == nullptr) {
                continue;
            }
            for (std::size_t i = 0; i < kWordCount; ++i) {
                table[language][i] = FromUtf8((*kWordsByLanguage[language])[i]);
            }
        }
        return table;
    }();
    return converted;
}

// Word 1..18 in the disc language; empty for a language the menu does not know.
std::string DateWord(int word, const MessageTexts& texts) {
    const int language = texts.LanguageCode();
    if (language == static_cast<int>(Language::Turkish)) {
        return texts.LoadString(kTurkishWordBase + word);
    }
    if (language < 0 || language >= static_cast<int>(BuiltInWords().size())) {
        return {};
    }
    return BuiltInWords()[static_cast<std::size_t>(language)][static_cast<std::size_t>(word - 1)];
}

// A month or a two-character year: decimal digits only (the catalogue writes them zero-padded).
std::optional<int> DigitsValue(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// The month value of the code, or nullopt when its first two characters are not a number.
std::optional<int> MonthValue(std::string_view code) {
    if (code.size() > 1 && code[1] == 'Q') {
        // A quarter digit outside 1-4 names no season: shown like a month without a word.
        if (code[0] >= '1' && code[0] <= '4') {
            return kFirstSeasonMonth + (code[0] - '1');
        }
        return kNoWordMonth;
    }
    if (code[0] == '?') {
        return kNotAnnouncedMonth;
    }
    return DigitsValue(code.substr(0, 2));
}

// Characters 3 to 6 of the code; a two-digit year below the pivot gets its century.
std::optional<std::string> YearText(std::string_view code) {
    const std::string_view year = code.size() > 2 ? code.substr(2, 4) : std::string_view{};
    if (year.size() != 2) {
        return std::string(year);
    }
    const std::optional<int> value = DigitsValue(year);
    if (!value) {
        return std::nullopt;
    }
    return *value < kCenturyPivot ? "20" + std::string(year) : std::string(year);
}

std::string WordForMonth(int month, const MessageTexts& texts) {
    if (month >= 1 && month <= 12) {
        return DateWord(month, texts);
    }
    if (month >= kFirstSeasonMonth && month <= kLastSeasonMonth) {
        return DateWord(kSpringWord + month - kFirstSeasonMonth, texts);
    }
    return {};
}

// The menu has always upper-cased only a..z; accented letters keep their case ("MäRZ 2004") and
// the discs' date words are written knowing that.
void UpperCaseAsciiLetters(std::string& text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
}

std::string Malformed(const DateContext& context) {
    if (context.debug) {
        context.boxes.Show("Wrong date format", context.box_caption, MbButtons::Ok, MbIcon::None);
    }
    return {};
}

} // namespace

std::string CreateDate(std::string_view code, const DateContext& context) {
    if (code.empty()) {
        return {};
    }
    if (code == "NEXT") {
        return FromUtf8("PŘÍŠTÍ CD|DVD");
    }
    const std::optional<int> month = MonthValue(code);
    if (!month) {
        return Malformed(context);
    }
    std::string text;
    if (*month == kReleasedMonth) {
        text = DateWord(kReleasedWord, context.texts);
    } else if (*month == kNotAnnouncedMonth) {
        text = DateWord(kNotAnnouncedWord, context.texts);
    } else {
        // The year is read only where it is shown: "00" and "?" codes may be followed by anything.
        const std::optional<std::string> year = YearText(code);
        if (!year) {
            return Malformed(context);
        }
        text = WordForMonth(*month, context.texts) + " " + *year;
    }
    UpperCaseAsciiLetters(text);
    return text;
}

} // namespace kavlo
