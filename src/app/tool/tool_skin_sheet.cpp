#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/codepage.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_fonts.h"
#include "skin/controls/component_factory.h"
#include "skin/controls/dib_image.h"
#include "skin/controls/dib_image_list.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/plain_controls.h"
#include "skin/surface/win_dib.h"
#include "skin/text/font_resolver.h"
#include "skingen/resources.h"
#include "tool/tool_commands.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace kavlo::tool {

namespace {

// `kavlo-tool skin-sheet OUT.png [--scheme 0|1] [--form FILE]`: every image of the window's image lists
// on one sheet, each labelled with its index and name, drawn as the menu would show one colour scheme.
// Each image lies on a piece of that scheme's background (the picture behind the window's content), so
// what a colour key or a mask leaves out shows what it will show in the window; the scheme's own
// images are labelled in its accent colour, the other scheme's in grey. The image lists hold both
// schemes: an image whose name carries the "_I" mark (or begins with "I_") belongs to scheme 1, the
// image it stands in for belongs to scheme 0, and images with no counterpart serve both. A plain image
// list holds scheme 0 in its first half and scheme 1 in its second.
struct SheetOptions {
    std::string out;
    int scheme = 0;
    std::string form; // host path, UTF-8; empty: the program's own TFORM1
};

[[noreturn]] void Fail(const std::string& message, int code = 1) {
    std::cerr << "skin-sheet: " << message << '\n';
    throw CLI::RuntimeError(code);
}

constexpr int kSheetWidth = 1600;
constexpr int kMargin = 12;
constexpr int kGap = 10;
constexpr int kLabelHeight = 16;
// The look of a scheme: the panel colour the accent glows on, and the accent.
constexpr TColor kPanelColor[2] = {0x1F3A2B, 0x4A1D22};  // #2B3A1F, #221D4A
constexpr TColor kAccentColor[2] = {0x4AD17F, 0xFF6B7A}; // #7FD14A green, #7A6BFF indigo
constexpr TColor kOtherSchemeColor = 0x8C8C8C;
constexpr TColor kHeadingColor = 0xEAE7E4;
const FontSpec kLabelFont{.name = "DejaVu Sans", .height = -11};
const FontSpec kHeadingFont{.name = "DejaVu Sans", .height = -16, .bold = true};

bool MarkedForSchemeOne(std::string_view name) {
    auto upper = [](char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); };
    const bool prefix = name.size() > 2 && upper(name[0]) == 'I' && name[1] == '_';
    const bool suffix = name.size() > 2 && name[name.size() - 2] == '_' && upper(name.back()) == 'I';
    return prefix || suffix;
}

enum class Scheme { Zero, One, Both };

bool Serves(Scheme owner, int scheme) {
    return owner == Scheme::Both || owner == (scheme == 0 ? Scheme::Zero : Scheme::One);
}

// The scheme-1 variant of a single image follows it at +1, that of an off/on pair at +2.
std::vector<Scheme> ClassifyImages(const TDIBImageList& list) {
    auto marked = [&list](int i) {
        const TDIBImagesItem* item = list.Item(i);
        return item != nullptr && MarkedForSchemeOne(item->DisplayName());
    };
    std::vector<Scheme> schemes;
    for (int i = 0; i < list.Count(); ++i) {
        if (marked(i)) {
            schemes.push_back(Scheme::One);
        } else if (marked(i + 1) || (marked(i + 2) && marked(i + 3))) {
            schemes.push_back(Scheme::Zero);
        } else {
            schemes.push_back(Scheme::Both);
        }
    }
    return schemes;
}

// One picture on the sheet.
struct Cell {
    const TAbstractSuperDIB* image = nullptr;
    TDIBImagesItem* item = nullptr; // drawn at its natural size through the item, when set
    std::string label;              // Windows-1250
    bool own = true;                // belongs to the sheet's scheme (or to both)
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};

struct Section {
    std::string heading;
    std::vector<Cell> cells;
    std::vector<int> indexes;
    std::vector<int> own_indexes;
    int y = 0;
};

std::string DrawnName(const std::string& name) {
    return name.empty() ? std::string() : " " + name;
}

void AddCell(Section& section, Cell cell, int index) {
    section.indexes.push_back(index);
    if (cell.own) {
        section.own_indexes.push_back(index);
    }
    section.cells.push_back(std::move(cell));
}

Section DIBListSection(TDIBImageList& list, int scheme) {
    Section section{list.Name(), {}, {}, {}, 0};
    const std::vector<Scheme> schemes = ClassifyImages(list);
    for (int i = 0; i < list.Count(); ++i) {
        TDIBImagesItem* item = list.Item(i);
        const bool own = Serves(schemes[static_cast<size_t>(i)], scheme);
        AddCell(section, Cell{&item->DIB(), item, std::to_string(i) + DrawnName(item->DisplayName()), own},
                i);
    }
    return section;
}

Section PlainListSection(const TImageList& list, int scheme) {
    Section section{list.Name(), {}, {}, {}, 0};
    const bool halves = list.Count() % 2 == 0;
    for (int i = 0; i < list.Count(); ++i) {
        const bool own = !halves || (i < list.Count() / 2) == (scheme == 0);
        AddCell(section, Cell{list.Image(i), nullptr, std::to_string(i), own}, i);
    }
    return section;
}

// The picture the images of a scheme lie on: the window's background image, which the index
// arithmetic of the colour schemes puts at the design-time image + scheme. No image when the form has
// none.
struct Backdrop {
    const TMemoryDIB* image = nullptr;
    std::string list;
    int index = -1;
};

Backdrop SchemeBackground(const SkinForm& form, int scheme) {
    const auto* back = form.Find<TDIBImage>("DIBBackImage");
    if (back == nullptr || back->IndexMain().DIBImageList() == nullptr || back->IndexMain().DIBIndex() < 0) {
        return {};
    }
    const TDIBImageList& list = *back->IndexMain().DIBImageList();
    const int index = back->IndexMain().DIBIndex() + scheme;
    const TDIBImagesItem* item = list.Item(index);
    if (item == nullptr || item->DIB().Empty()) {
        return {};
    }
    return {&item->DIB(), list.Name(), index};
}

class SheetMaker {
public:
    SheetMaker(FontResolver& fonts, int scheme, const TMemoryDIB* backdrop)
        : fonts_(fonts), scheme_(scheme), backdrop_(backdrop) {}

    // Places the cells row by row; returns the sheet's size.
    std::pair<int, int> Arrange(std::vector<Section>& sections) {
        int y = kMargin;
        int width = 0;
        for (Section& section : sections) {
            section.y = y;
            y += kLabelHeight + 8;
            int x = kMargin;
            int row_height = 0;
            for (Cell& cell : section.cells) {
                const int label_width = TextWidth(cell.label);
                cell.width = std::max(static_cast<int>(cell.image->Width()), label_width);
                cell.height = cell.image->Height() + kLabelHeight;
                if (x > kMargin && x + cell.width > kSheetWidth - kMargin) {
                    x = kMargin;
                    y += row_height + kGap;
                    row_height = 0;
                }
                cell.x = x;
                cell.y = y;
                x += cell.width + kGap;
                width = std::max(width, x - kGap + kMargin);
                row_height = std::max(row_height, cell.height);
            }
            y += row_height + 2 * kGap;
        }
        return {std::max(width, 200), y};
    }

    void Draw(TWinDIB& sheet, const std::vector<Section>& sections) {
        sheet.FillRect(Rect{0, 0, sheet.Width(), sheet.Height()}, kPanelColor[scheme_]);
        for (const Section& section : sections) {
            sheet.DrawText(fonts_, Rect{kMargin, section.y, sheet.Width(), section.y + kLabelHeight + 8},
                           section.heading, kHeadingFont, kHeadingColor, kDtSingleLine | kDtNoPrefix);
            for (const Cell& cell : section.cells) {
                DrawCell(sheet, cell);
            }
        }
    }

private:
    int TextWidth(const std::string& text) {
        return Render(fonts_, kLabelFont, text, Rect{0, 0, 0x7FFF, 0x7FFF},
                      kDtSingleLine | kDtNoPrefix | kDtCalcRect)
            .box.Width();
    }

    // The background repeated over the whole sheet, shown only where an image lies; without one, the
    // panel colour the sheet already has.
    void FillBackdrop(TWinDIB& sheet, const Rect& rect) {
        if (backdrop_ == nullptr) {
            return;
        }
        const int w = backdrop_->Width(), h = backdrop_->Height();
        for (int y = std::max(rect.top, 0); y < std::min<int>(rect.bottom, sheet.Height()); ++y) {
            uint32_t* row = sheet.ScanLine(y);
            const uint32_t* tile = backdrop_->ScanLine(y % h);
            for (int x = std::max(rect.left, 0); x < std::min<int>(rect.right, sheet.Width()); ++x) {
                row[x] = tile[x % w] | 0xFF000000u;
            }
        }
    }

    void DrawCell(TWinDIB& sheet, const Cell& cell) {
        FillBackdrop(sheet,
                     Rect{cell.x, cell.y, cell.x + cell.image->Width(), cell.y + cell.image->Height()});
        if (cell.item != nullptr) {
            cell.item->DrawAs(sheet, cell.x, cell.y, 0, 100, 100);
        } else {
            cell.image->Draw(sheet, cell.x, cell.y);
        }
        const int top = cell.y + cell.image->Height();
        sheet.DrawText(fonts_, Rect{cell.x, top, cell.x + cell.width + kGap, top + kLabelHeight}, cell.label,
                       kLabelFont, cell.own ? kAccentColor[scheme_] : kOtherSchemeColor,
                       kDtSingleLine | kDtNoPrefix | kDtVCenter);
    }

    FontResolver& fonts_;
    int scheme_;
    const TMemoryDIB* backdrop_;
};

std::string FormBytes(const SheetOptions& options) {
    if (options.form.empty()) {
        const auto resource = Resource("TFORM1");
        if (resource.empty()) {
            Fail("this build carries no built-in TFORM1 stream; name one with --form");
        }
        return std::string(reinterpret_cast<const char*>(resource.data()), resource.size());
    }
    std::ifstream in(options.form, std::ios::binary);
    if (!in) {
        Fail("cannot read " + options.form);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Run(const SheetOptions& options) {
    const std::string bytes = FormBytes(options);
    PosixFileSystem fs("/nonexistent", {});
    PosixFonts fonts(fs);
    FontResolver resolver(fonts);
    // The form's timers need a message loop; the sheet is drawn without a window.
    HeadlessBackend backend;
    Application app(backend);
    const CompressorRegistry compressors = CompressorRegistry::WithStandardCompressors();
    const FormLoadResult loaded =
        LoadSkinForm(bytes, ComponentFactory::Standard(), SkinServices{app, resolver}, compressors);
    if (loaded.form == nullptr) {
        Fail("the form stream cannot be read: " + loaded.errors.front());
    }
    std::vector<std::string> errors = loaded.errors;
    std::vector<Section> sections;
    for (TComponent* component : loaded.form->Components()) {
        if (auto* list = dynamic_cast<TDIBImageList*>(component)) {
            // Every image is shown, so every image is unpacked: data that does not unpack is reported.
            for (std::string& error : list->UnpackAll()) {
                errors.push_back(std::move(error));
            }
            sections.push_back(DIBListSection(*list, options.scheme));
        } else if (const auto* plain = dynamic_cast<const TImageList*>(component)) {
            sections.push_back(PlainListSection(*plain, options.scheme));
        }
    }
    if (sections.empty()) {
        Fail("the form has no image lists");
    }
    const Backdrop backdrop = SchemeBackground(*loaded.form, options.scheme);
    SheetMaker maker(resolver, options.scheme, backdrop.image);
    const auto [width, height] = maker.Arrange(sections);
    if (height > 0xFFFF) {
        Fail("the sheet would be taller than a surface can be");
    }
    TWinDIB sheet(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
    maker.Draw(sheet, sections);
    if (!WriteSurfacePng(options.out, SurfaceBits{sheet.Bits(), sheet.Width(), sheet.Height()}, false)) {
        Fail("cannot write " + options.out);
    }
    nlohmann::json summary = {{"scheme", options.scheme}, {"width", width}, {"height", height}};
    summary["backdrop"] = backdrop.image == nullptr
                              ? nlohmann::json(nullptr)
                              : nlohmann::json{{"list", ToUtf8(backdrop.list)}, {"image", backdrop.index}};
    for (const Section& section : sections) {
        summary["lists"].push_back({{"name", ToUtf8(section.heading)},
                                    {"images", section.indexes},
                                    {"scheme_images", section.own_indexes}});
    }
    for (const std::string& error : errors) {
        summary["errors"].push_back(ToUtf8(error));
    }
    for (const std::string& warning : loaded.warnings) {
        summary["warnings"].push_back(ToUtf8(warning));
    }
    std::cout << summary.dump(2) << '\n';
}

} // namespace

void AddSkinSheetCommand(CLI::App& app) {
    auto options = std::make_shared<SheetOptions>();
    CLI::App* cmd =
        app.add_subcommand("skin-sheet", "every image of the window's image lists on one PNG sheet");
    cmd->add_option("OUT", options->out, "the PNG file to write")->required();
    cmd->add_option("--scheme", options->scheme, "colour scheme 0 (day) or 1 (night)")
        ->check(CLI::Range(0, 1));
    cmd->add_option("--form", options->form, "a form stream file instead of the program's own TFORM1");
    cmd->callback([options] { Run(*options); });
}

} // namespace kavlo::tool
