#include "main_f/texts.h"

#include <array>
#include <initializer_list>

#include "platform/codepage.h"
#include "platform/profile.h"

namespace kavlo {

namespace {

constexpr int kBlockSize = 100;
constexpr int kLanguageCount = 7;
constexpr int kTableSize = kBlockSize * kLanguageCount;

using MessageTable = std::array<std::string, kTableSize>;

CodePage BlockCodePage(int number) {
    return number / kBlockSize == static_cast<int>(Language::Turkish) ? CodePage::Windows1254
                                                                      : CodePage::Windows1250;
}

// The source literals are UTF-8; the rest of the menu works in the discs' code pages, so the
// table is converted once and then handed out as bytes.
MessageTable BuildTable() {
    MessageTable table;
    for (std::span<const MessageSource> block :
         {EnglishMessages(), CzechMessages(), TurkishMessages(), RomanianMessages(), SlovakMessages(),
          GermanMessages(), IndonesianMessages()}) {
        for (const MessageSource& entry : block) {
            if (entry.number >= 0 && entry.number < kTableSize) {
                table[entry.number] = FromUtf8(entry.utf8, BlockCodePage(entry.number));
            }
        }
    }
    return table;
}

const MessageTable& Table() {
    static const MessageTable table = BuildTable();
    return table;
}

} // namespace

const std::string& BuiltInMessage(int number) {
    static const std::string none;
    if (number < 0 || number >= kTableSize) {
        return none;
    }
    return Table()[number];
}

std::string MessageTexts::LoadString(int number) const {
    if (language_ == static_cast<int>(Language::Turkish)) {
        if (strings_ == nullptr) {
            return {};
        }
        return strings_->ReadString("MAIN", "A" + std::to_string(number), "");
    }
    return BuiltInMessage(number);
}

std::string MessageTexts::LoadSpecial(int number, std::string_view arg) const {
    std::string text = LoadString(number);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) {
        text.replace(at, 2, arg);
    }
    return text;
}

} // namespace kavlo
