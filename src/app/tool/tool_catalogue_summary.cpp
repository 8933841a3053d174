#include "tool/tool_catalogue_summary.h"

#include <sstream>

#include "tool/tool_disc.h"

namespace kavlo::tool {
namespace {

class Summary {
public:
    explicit Summary(TForm1& form) : form_(form), code_page_(DiscCodePage(form.catalogue.header.Version)) {}

    std::string Text() {
        const CatalogueHeader& h = form_.catalogue.header;
        out_ << Utf(form_.Caption) << "   (language " << h.Version << ", issue " << Utf(h.CD) << ", disc "
             << h.ActualCD << " of " << h.NumberOfCD << (h.DVD ? ", DVD" : "") << ")\n";
        const Catalogue& c = form_.catalogue;
        Items("Demos", c.Demos, h.Demos);
        Items("Full games", c.Fulls, h.Fulls);
        Items("Extra 3", c.Extra3, h.Extra3);
        Movies(c.Movies, h.Movies);
        Items("Add-ons", c.Addons, h.Addons);
        Shots(c.Shots, h.Shots);
        Items("Extra", c.Extra, h.Extra);
        Items("Shareware", c.Shareware, h.Shareware);
        Items("Service", c.Service, h.Service);
        Items("Readers' work", c.Readers, h.Readers);
        Updates(c.Updates, h.Updates);
        Items("Drivers", c.Drivers, h.Drivers);
        Items("Extra 2", c.Extra2, h.Extra2);
        return out_.str();
    }

private:
    std::string Utf(const std::string& text) const { return ToUtf8(text, code_page_); }

    void Heading(const char* name, int count) { out_ << "\n" << name << " (" << count << ")\n"; }

    template <int N> void Items(const char* name, const FixedTable<TDemos, N>& table, int count) {
        Heading(name, count);
        for (int n = 1; n <= count; ++n) {
            const TDemos& d = table[n];
            out_ << "  " << n << ". " << Utf(d.Name);
            if (!d.Firm.empty()) {
                out_ << " - " << Utf(d.Firm);
            }
            if (!d.Date.empty()) {
                out_ << " - " << Utf(form_.CreateDate(d.Date));
            }
            out_ << "\n     type " << d.InstallType << ", detect " << d.DirDetect << ", disc " << int{d.CD};
            if (!d.SourceDir.empty()) {
                out_ << ", from " << Utf(d.SourceDir)
                     << (d.InstallName.empty() ? "" : "\\" + Utf(d.InstallName));
            }
            out_ << "\n";
        }
    }

    void Movies(const FixedTable<TMovies, 70>& table, int count) {
        Heading("Movies", count);
        for (int n = 1; n <= count; ++n) {
            out_ << "  " << n << ". " << Utf(table[n].Name) << " - " << Utf(table[n].FilePath) << "\n";
        }
    }

    void Shots(const FixedTable<TShot, 60>& table, int count) {
        Heading("Screenshots", count);
        for (int n = 1; n <= count; ++n) {
            out_ << "  " << n << ". " << Utf(table[n].Name) << " - " << Utf(form_.CreateDate(table[n].Date))
                 << "\n";
        }
    }

    void Updates(const FixedTable<TUpdate, 50>& table, int count) {
        Heading("Updates", count);
        for (int n = 1; n <= count; ++n) {
            out_ << "  " << n << ". " << Utf(table[n].Name) << " " << Utf(table[n].Suffix) << " - Updates\\"
                 << Utf(table[n].FileName) << "\n";
        }
    }

    TForm1& form_;
    CodePage code_page_;
    std::ostringstream out_;
};

} // namespace

std::string CatalogueSummary(TForm1& form) {
    return Summary(form).Text();
}

} // namespace kavlo::tool
