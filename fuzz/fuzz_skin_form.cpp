// The input describes a window: each 4-byte record makes a component of one of the factory's classes
// (placed in the last container when it is a DIB control) or gives the last component a property with
// a value taken from the record. The window is loaded, composed, shaped, its pointer moved and
// pressed over it and its fades run; whatever the sizes, links, scales and angles, nothing may crash,
// hang or touch memory it does not own.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/component_factory.h"
#include "skin/controls/dib_container.h"
#include "skin/controls/dib_image_list.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/plain_controls.h"
#include "skin/text/font_resolver.h"
#include "ui/headless/offscreen_window.h"

namespace {

using namespace kavlo;

class NoFonts : public Fonts {
public:
    int AddFontResource(std::string_view) override { return 0; }
    bool RemoveFontResource(std::string_view) override { return false; }
    void BroadcastFontChange() override {}
    std::optional<std::string> FindFace(std::string_view) const override { return std::nullopt; }
    std::vector<std::string> Families() const override { return {}; }
};

FontResolverOptions NoFontconfig() {
    FontResolverOptions options;
    options.use_fontconfig = false;
    return options;
}

struct World {
    NoFonts fonts;
    FontResolver resolver{fonts, NoFontconfig()};
    OffscreenWindow window{256, 256};
    WindowSite site{window.App(), window.Window()};
    CompressorRegistry compressors = CompressorRegistry::WithStandardCompressors();
    ComponentFactory factory = ComponentFactory::Standard();
};

constexpr std::array<const char*, 13> kClasses = {
    "TDIBContainer", "TDIBImage",    "TDIBFadeLabel", "TDIBImageList", "TDIBFormShaper",
    "TImage",        "TLabel",       "TAnimate2",     "TTimer",        "TDIBTimer",
    "TImageList",    "TDIBSettings", "TSomethingElse"};

// A small picture whose colours and size come from the record.
TMemoryDIB SmallPicture(uint8_t a, uint8_t b) {
    TMemoryDIB dib(static_cast<uint16_t>(1 + a % 9), static_cast<uint16_t>(1 + b % 7));
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            dib.SetPixel(x, y, (x * 0x9E3779B9u) ^ (y * 0x7F4A7C15u) ^ (a << 8) ^ b);
        }
    }
    return dib;
}

FormValue Ident(const std::vector<const char*>& names, uint8_t pick) {
    return FormValue::Ident(names[pick % names.size()]);
}

// The property of record (kind, a, b): a name and a value the applier may or may not like.
FormProperty MakeProperty(uint8_t kind, uint8_t a, uint8_t b, int image_lists) {
    const int16_t number = static_cast<int16_t>(a << 8 | b);
    switch (kind % 24) {
        case 0:
            return {"Left", FormValue::Int(number % 600)};
        case 1:
            return {"Top", FormValue::Int(number % 600)};
        case 2:
            return {"Width", FormValue::Int(number % 1024)};
        case 3:
            return {"Height", FormValue::Int(number % 1024)};
        case 4:
            return {"Visible", FormValue::Bool(a & 1)};
        case 5:
            return {"Enabled", FormValue::Bool(a & 1)};
        case 6:
            return {"Opacity", FormValue::Int(number % 300)};
        case 7:
            return {"Angle", FormValue::Int(number)};
        case 8:
            return {"Scale", FormValue::Extended(a == 0 ? 1e12 * b : (number / 7.0))};
        case 9:
            return {"AutoSize", FormValue::Bool(a & 1)};
        case 10:
            return {a & 1 ? "Center" : "Stretch", FormValue::Bool(b & 1)};
        case 11:
            return {a & 1 ? "IndexMain.DIBIndex" : "IndexShape.DIBIndex", FormValue::Int(number % 12)};
        case 12:
            return {a & 1 ? "IndexMain.DIBImageList" : "IndexShape.DIBImageList",
                    FormValue::Ident("List" + std::to_string(b % (image_lists + 1)))};
        case 13:
            return {"Caption",
                    FormValue::Str(std::string(static_cast<size_t>(a % 40), static_cast<char>(b | 0x20)) +
                                   (b & 1 ? "&x\r\ny" : " word"))};
        case 14:
            return {"Font.Height", FormValue::Int(number % 100)};
        case 15:
            return {a & 1 ? "FrameCount" : "FrameDelay", FormValue::Int(number % 40)};
        case 16:
            return {"Alignment", Ident({"taLeftJustify", "taRightJustify", "taCenter", "taNone"}, b)};
        case 17:
            return {"Layout", Ident({"tlTop", "tlCenter", "tlBottom"}, b)};
        case 18:
            return {a & 1 ? "WordWrap" : "Transparent", FormValue::Bool(b & 1)};
        case 19:
            return {"TransparentMode", Ident({"tmAuto", "tmFixed"}, b)};
        case 20:
            return {a & 1 ? "OffsetX" : "Active",
                    a & 1 ? FormValue::Int(number % 50) : FormValue::Bool(b & 1)};
        case 21: {
            TDIBImageList list;
            for (int i = 0; i <= a % 4; ++i) {
                list.Add().DIB().Assign(SmallPicture(static_cast<uint8_t>(a + i), b));
                list.Item(i)->DIB().SetTransparent(b & 2);
                list.Item(i)->DIB().SetMasked(b & 4);
            }
            FormProperties stored;
            list.WriteToForm(stored, nullptr);
            return stored.front();
        }
        case 22:
            return {a & 1 ? "Bitmap.Data" : "Picture.Data",
                    FormValue::Binary(a & 1 ? WriteGraphicData(SmallPicture(a, b))
                                            : WritePictureData(SmallPicture(a, b)))};
        default:
            return {"Color", FormValue::Int(static_cast<int64_t>(a) << 16 | b)};
    }
}

FormObject Describe(const uint8_t* data, size_t size, uint8_t& width, uint8_t& height) {
    FormObject root{0, {}, "TForm1", "Form1", {}, {}};
    width = size > 0 ? data[0] : 0;
    height = size > 1 ? data[1] : 0;
    root.properties = {{"ClientWidth", FormValue::Int(width)}, {"ClientHeight", FormValue::Int(height)}};
    FormObject* container = nullptr;
    FormObject* last = nullptr;
    int image_lists = 0;
    for (size_t at = 2; at + 4 <= size; at += 4) {
        const uint8_t op = data[at];
        if (op < 64) {
            const std::string class_name = kClasses[op % kClasses.size()];
            FormObject object{0, {}, class_name, "", {}, {}};
            object.name = class_name == "TDIBImageList" ? "List" + std::to_string(++image_lists)
                                                        : "C" + std::to_string(at);
            const bool dib_control = class_name == "TDIBImage" || class_name == "TDIBFadeLabel";
            // Now and then a DIB control lands on the form, where it cannot live.
            FormObject& parent =
                dib_control && container != nullptr && (data[at + 1] & 7) != 0 ? *container : root;
            parent.children.push_back(std::move(object));
            last = &parent.children.back();
            if (class_name == "TDIBContainer") {
                container = last;
            }
            // Pointers into `children` go stale when the vector grows: keep them to the last slots.
            if (&parent == &root) {
                container = nullptr;
                for (FormObject& child : root.children) {
                    if (child.class_name == "TDIBContainer") {
                        container = &child;
                    }
                }
                last = &root.children.back();
            }
            continue;
        }
        FormObject& target = last != nullptr ? *last : root;
        target.properties.push_back(MakeProperty(data[at + 1], data[at + 2], data[at + 3], image_lists));
    }
    return root;
}

} // namespace

// A window of a few hundred components says all a bigger one would; long inputs (the seed corpus
// holds whole files) would only make each run slow.
constexpr size_t kMaxInput = 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    size = std::min(size, kMaxInput);
    uint8_t width = 0;
    uint8_t height = 0;
    const FormObject root = Describe(data, size, width, height);
    FormLoadResult loaded = LoadSkinForm(root, world.factory,
                                         SkinServices{world.window.App(), world.resolver}, world.compressors);
    if (loaded.form == nullptr) {
        __builtin_trap(); // a form object always makes a form
    }
    SkinForm& form = *loaded.form;
    form.SetSite(&world.site);
    form.Paint(Rect{0, 0, width, height});
    form.Compose(Rect{width / 3, height / 4, width / 2 + 7, height});
    for (int step = 0; step < 6; ++step) {
        const int x = (step * 37 + width / 2) % (width + 10) - 5;
        const int y = (step * 53 + height / 3) % (height + 10) - 5;
        form.PointerMove({}, x, y);
        if (step % 2 == 0) {
            form.PointerDown(MouseButton::Left, {}, x, y);
        } else {
            form.PointerUp(MouseButton::Left, {}, x, y);
        }
    }
    form.PointerLeave();
    world.window.RunFor(120);
    form.SetSite(nullptr);
    return 0;
}
