#include "sampledisc/sample_strings.h"

#include "main_f/texts.h"
#include "platform/codepage.h"
#include "sampledisc/ini_text.h"

namespace kavlo::sample {

namespace {

// Months, the four seasons, "out now" (317) and "not announced" (318).
const char* const kTurkishDateWords[] = {
    "Ocak", "Şubat", "Mart",   "Nisan",    "Mayıs", "Haziran",  "Temmuz", "Ağustos", "Eylül",
    "Ekim", "Kasım", "Aralık", "İlkbahar", "Yaz",   "Sonbahar", "Kış",    "Çıktı",   "Açıklanmadı",
};

} // namespace

std::string TurkishStringsIni() {
    IniText ini;
    ini.Section("MAIN");
    for (const MessageSource& message : TurkishMessages()) {
        ini.Key("A" + std::to_string(message.number), message.utf8);
    }
    int number = 301;
    for (const char* word : kTurkishDateWords) {
        ini.Key("A" + std::to_string(number++), word);
    }
    return FromUtf8(ini.Text(), CodePage::Windows1254);
}

} // namespace kavlo::sample
