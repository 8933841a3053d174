// The classes of the standard factory and how each takes its stored properties.

#include <array>
#include <cmath>
#include <cstdint>

#include "platform/codepage.h"
#include "skin/controls/component_factory.h"
#include "skin/controls/dib_container.h"
#include "skin/controls/dib_fade_label.h"
#include "skin/controls/dib_form_shaper.h"
#include "skin/controls/dib_image.h"
#include "skin/controls/dib_image_list.h"
#include "skin/controls/dib_settings.h"
#include "skin/controls/plain_controls.h"

namespace kavlo {

namespace {

namespace fv = form_value;

// One property being applied: its name, value and the component, with the checks every applier makes.
struct Prop {
    TComponent& component;
    const FormProperty& property;
    LoadState& state;

    bool Is(std::string_view name) const { return EqualsNoCase1250(property.name, name); }
    const FormValue& Value() const { return property.value; }
    // Records that the value has the wrong type or range; the property counts as taken.
    bool Bad(std::string_view what) const {
        state.errors.push_back(component.Name() + "." + property.name + " " + std::string(what));
        return true;
    }
    template <class T> std::optional<T> IntIn(int64_t low, int64_t high) const {
        const auto value = fv::Int(Value());
        if (!value || *value < low || *value > high) {
            return std::nullopt;
        }
        return static_cast<T>(*value);
    }
};

// Hands a converted value to the setter, or reports why the stored one does not fit.
template <class Value, class Setter>
bool Take(const Prop& p, const std::optional<Value>& value, const char* complaint, Setter set) {
    if (!value) {
        return p.Bad(complaint);
    }
    set(*value);
    return true;
}

template <class Setter> bool TakeBool(const Prop& p, Setter set) {
    return Take(p, fv::Bool(p.Value()), "is not a boolean", set);
}

template <class Setter> bool TakeColor(const Prop& p, Setter set) {
    return Take(p, fv::Color(p.Value()), "is not a colour", set);
}

template <class T, class Setter> bool TakeInt(const Prop& p, int64_t low, int64_t high, Setter set) {
    return Take(p, p.IntIn<T>(low, high), "is not a number in range", set);
}

template <class Setter> bool TakeText(const Prop& p, Setter set) {
    return Take(p, fv::Text(p.Value()), "is not text", set);
}

// An enumeration stored by its identifier; names[i] is the value i.
template <class E, size_t N, class Setter>
bool TakeEnum(const Prop& p, const std::array<const char*, N>& names, Setter set) {
    const auto ident = fv::Ident(p.Value());
    for (size_t i = 0; ident && i < N; ++i) {
        if (EqualsNoCase1250(*ident, names[i])) {
            set(static_cast<E>(i));
            return true;
        }
    }
    return p.Bad("is not one of its values");
}

constexpr std::array<const char*, 3> kAlignments = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr std::array<const char*, 3> kLayouts = {"tlTop", "tlCenter", "tlBottom"};
constexpr std::array<const char*, 2> kTransparentModes = {"tmAuto", "tmFixed"};
constexpr std::array<const char*, 2> kBorderPositions = {"bdUnderControls", "bdOverControls"};

struct NamedCharset {
    const char* name;
    int charset;
};
constexpr NamedCharset kCharsets[] = {
    {"ANSI_CHARSET", 0},          {"DEFAULT_CHARSET", 1},   {"SYMBOL_CHARSET", 2},
    {"SHIFTJIS_CHARSET", 128},    {"HANGEUL_CHARSET", 129}, {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},
    {"HEBREW_CHARSET", 177},      {"ARABIC_CHARSET", 178},  {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},     {"THAI_CHARSET", 222},    {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

// Font.* into a font and its colour.
bool TakeFont(const Prop& p, FontSpec font, TColor color, const std::function<void(FontSpec, TColor)>& set) {
    if (p.Is("Font.Name")) {
        const auto name = fv::Text(p.Value());
        if (!name) {
            return p.Bad("is not text");
        }
        font.name = *name;
    } else if (p.Is("Font.Height")) {
        const auto height = p.IntIn<int>(-32768, 32767);
        if (!height) {
            return p.Bad("is not a font height");
        }
        font.height = *height;
    } else if (p.Is("Font.Size")) {
        // Points at the 96 pixels per inch the layout was designed for.
        const auto size = p.IntIn<int>(-32768, 32767);
        if (!size) {
            return p.Bad("is not a font size");
        }
        font.height = -(*size * 96 + 36) / 72;
    } else if (p.Is("Font.Color")) {
        const auto value = fv::Color(p.Value());
        if (!value) {
            return p.Bad("is not a colour");
        }
        color = *value;
    } else if (p.Is("Font.Charset")) {
        std::optional<int> charset = p.IntIn<int>(0, 255);
        if (const auto ident = fv::Ident(p.Value())) {
            for (const NamedCharset& named : kCharsets) {
                if (EqualsNoCase1250(*ident, named.name)) {
                    charset = named.charset;
                }
            }
        }
        if (!charset) {
            return p.Bad("is not a character set");
        }
        font.charset = *charset;
    } else if (p.Is("Font.Style")) {
        const auto* set_value = std::get_if<FormSet>(&p.Value().data);
        if (set_value == nullptr) {
            return p.Bad("is not a set of styles");
        }
        font.bold = font.italic = font.underline = false;
        for (const std::string& style : set_value->names) {
            font.bold |= EqualsNoCase1250(style, "fsBold");
            font.italic |= EqualsNoCase1250(style, "fsItalic");
            font.underline |= EqualsNoCase1250(style, "fsUnderline");
        }
    } else {
        return false;
    }
    set(std::move(font), color);
    return true;
}

bool ApplyComponent(const Prop& p) {
    if (p.Is("Tag")) {
        return TakeInt<int>(p, INT32_MIN, INT32_MAX, [&](int tag) { p.component.SetTag(tag); });
    }
    return false;
}

// Properties every control has that change nothing this program draws or routes; they stay with the
// component without a warning.
constexpr std::array<const char*, 10> kInertControlProperties = {
    "ParentFont", "ParentColor", "ParentShowHint", "ShowHint",   "Hint",
    "TabOrder",   "TabStop",     "HelpContext",    "DragCursor", "DragMode"};

// The clip settings of an animation window, kept for whoever plays the clips.
// Clip sources the menu never stores and the platform's timing switch: kept for whoever reads them.
constexpr std::array<const char*, 5> kClipProperties = {"CommonAVI", "FileName", "ResName", "ResID",
                                                        "Timers"};

template <size_t N> bool KeepIfNamed(const Prop& p, const std::array<const char*, N>& names) {
    for (const char* name : names) {
        if (p.Is(name)) {
            p.component.Kept().push_back(p.property);
            return true;
        }
    }
    return false;
}

bool ApplyControl(const Prop& p) {
    auto& control = static_cast<TControl&>(p.component);
    if (KeepIfNamed(p, kInertControlProperties)) {
        return true;
    }
    const auto coordinate = [&](auto set) { return TakeInt<int>(p, -32768, 32767, set); };
    if (p.Is("Left")) {
        return coordinate([&](int v) { control.SetLeft(v); });
    }
    if (p.Is("Top")) {
        return coordinate([&](int v) { control.SetTop(v); });
    }
    if (p.Is("Width")) {
        return coordinate([&](int v) { control.SetWidth(v); });
    }
    if (p.Is("Height")) {
        return coordinate([&](int v) { control.SetHeight(v); });
    }
    if (p.Is("Visible")) {
        return TakeBool(p, [&](bool v) { control.SetVisible(v); });
    }
    if (p.Is("Enabled")) {
        return TakeBool(p, [&](bool v) { control.SetEnabled(v); });
    }
    if (p.Is("Cursor")) {
        const auto cursor = fv::Cursor(p.Value());
        if (!cursor) {
            return p.Bad("is not a cursor");
        }
        control.SetCursor(*cursor);
        return true;
    }
    return ApplyComponent(p);
}

// "<prefix>.DIBImageList" and "<prefix>.DIBIndex" of an image link.
bool ApplyLink(const Prop& p, std::string_view prefix, TDIBImageLink& link) {
    const std::string list_name = std::string(prefix) + ".DIBImageList";
    const std::string index_name = std::string(prefix) + ".DIBIndex";
    if (p.Is(index_name)) {
        return TakeInt<int>(p, -1, INT32_MAX, [&](int index) { link.SetDIBIndex(index); });
    }
    if (p.Is(list_name)) {
        const auto name = fv::Ident(p.Value());
        if (!name) {
            return p.Bad("is not a component name");
        }
        p.state.Refer<TDIBImageList>(p.component, list_name, *name,
                                     [&link](TDIBImageList* list) { link.SetDIBImageList(list); });
        return true;
    }
    return false;
}

bool ApplyDIBControl(const Prop& p) {
    auto& control = static_cast<TDIBControl&>(p.component);
    if (p.Is("Opacity")) {
        return TakeInt<uint8_t>(p, 0, 255, [&](uint8_t v) { control.SetOpacity(v); });
    }
    if (p.Is("Angle")) {
        return TakeInt<int16_t>(p, -32768, 32767, [&](int16_t v) { control.SetAngle(v); });
    }
    if (p.Is("Scale") || p.Is("ScaleX") || p.Is("ScaleY")) {
        const auto scale = fv::Real(p.Value());
        if (!scale || !std::isfinite(*scale)) {
            return p.Bad("is not a percentage");
        }
        if (p.Is("Scale")) {
            control.SetScale(*scale);
        } else if (p.Is("ScaleX")) {
            control.SetScaleX(*scale);
        } else {
            control.SetScaleY(*scale);
        }
        return true;
    }
    if (p.Is("DIBTabOrder")) {
        return TakeInt<int>(p, -1, INT32_MAX, [&](int v) { control.SetDIBTabOrder(v); });
    }
    return ApplyControl(p);
}

bool ApplyDIBImage(const Prop& p) {
    auto& image = static_cast<TDIBImage&>(p.component);
    if (ApplyLink(p, "IndexMain", image.IndexMain())) {
        return true;
    }
    if (p.Is("AutoSize")) {
        return TakeBool(p, [&](bool v) { image.SetAutoSize(v); });
    }
    if (p.Is("Center")) {
        return TakeBool(p, [&](bool v) { image.SetCenter(v); });
    }
    if (p.Is("Stretch")) {
        return TakeBool(p, [&](bool v) { image.SetStretch(v); });
    }
    return ApplyDIBControl(p);
}

// The text properties shared by the fade label and the plain label.
bool ApplyLabelText(const Prop& p, LabelText& label) {
    if (TakeFont(p, label.Font(), label.FontColor(), [&label](FontSpec font, TColor color) {
            label.SetFont(std::move(font));
            label.SetFontColor(color);
        })) {
        return true;
    }
    if (p.Is("Caption")) {
        return TakeText(p, [&](std::string v) { label.SetCaption(std::move(v)); });
    }
    if (p.Is("Color")) {
        return TakeColor(p, [&](TColor v) { label.SetColor(v); });
    }
    if (p.Is("Alignment")) {
        return TakeEnum<TAlignment>(p, kAlignments, [&](TAlignment v) { label.SetAlignment(v); });
    }
    if (p.Is("Layout")) {
        return TakeEnum<TTextLayout>(p, kLayouts, [&](TTextLayout v) { label.SetLayout(v); });
    }
    if (p.Is("WordWrap")) {
        return TakeBool(p, [&](bool v) { label.SetWordWrap(v); });
    }
    if (p.Is("AutoSize")) {
        return TakeBool(p, [&](bool v) { label.SetAutoSize(v); });
    }
    if (p.Is("ParentColor")) {
        return TakeBool(p, [&](bool v) { label.SetParentColor(v); });
    }
    if (p.Is("Transparent")) {
        return TakeBool(p, [&](bool v) { label.SetTransparent(v); });
    }
    if (p.Is("ShowAccelChar")) {
        return TakeBool(p, [&](bool v) { label.SetShowAccelChar(v); });
    }
    return false;
}

bool ApplyFadeLabel(const Prop& p) {
    auto& label = static_cast<TDIBFadeLabel&>(p.component);
    if (ApplyLabelText(p, label)) {
        return true;
    }
    if (p.Is("ColorHighlighted")) {
        return TakeColor(p, [&](TColor v) { label.SetColorHighlighted(v); });
    }
    if (p.Is("FrameCount")) {
        return TakeInt<int>(p, 0, INT32_MAX, [&](int v) { label.SetFrameCount(v); });
    }
    if (p.Is("FrameDelay")) {
        return TakeInt<uint32_t>(p, 0, UINT32_MAX, [&](uint32_t v) { label.SetFrameDelay(v); });
    }
    return ApplyDIBControl(p);
}

bool ApplyContainer(const Prop& p) {
    auto& container = static_cast<TDIBContainer&>(p.component);
    if (p.Is("Color")) {
        return TakeColor(p, [&](TColor v) { container.SetColor(v); });
    }
    if (p.Is("BorderDrawPosition")) {
        return TakeEnum<TBorderDrawPosition>(
            p, kBorderPositions, [&](TBorderDrawPosition v) { container.SetBorderDrawPosition(v); });
    }
    return ApplyControl(p);
}

bool ApplyImageList(const Prop& p) {
    auto& list = static_cast<TDIBImageList&>(p.component);
    if (p.Is("DIBImages")) {
        const FormProperties one{p.property};
        for (std::string& error : list.ReadFromForm(one, p.state.compressors, p.state.pixels)) {
            p.state.errors.push_back(std::move(error));
        }
        return true;
    }
    return ApplyComponent(p);
}

bool ApplyShaper(const Prop& p) {
    auto& shaper = static_cast<TDIBFormShaper&>(p.component);
    if (ApplyLink(p, "IndexShape", shaper.IndexShape())) {
        return true;
    }
    if (p.Is("Active")) {
        return TakeBool(p, [&](bool v) { shaper.SetActive(v); });
    }
    if (p.Is("Bitmap.Data")) {
        const auto* data = std::get_if<FormBinary>(&p.Value().data);
        PictureResult picture = data != nullptr ? ReadGraphicData(data->bytes, &p.state.pixels)
                                                : PictureResult::Fail("not binary");
        if (!picture) {
            return p.Bad(": " + picture.error);
        }
        shaper.SetBitmap(std::move(*picture.picture));
        return true;
    }
    if (p.Is("TransparentColor")) {
        return TakeColor(p, [&](TColor v) { shaper.SetTransparentColor(ColorToRGB(v)); });
    }
    if (p.Is("TransparentMode")) {
        return TakeEnum<TTransparentMode>(p, kTransparentModes,
                                          [&](TTransparentMode v) { shaper.SetTransparentMode(v); });
    }
    if (p.Is("OffsetX")) {
        return TakeInt<int>(p, -32768, 32767, [&](int v) { shaper.SetOffset(v, shaper.OffsetY()); });
    }
    if (p.Is("OffsetY")) {
        return TakeInt<int>(p, -32768, 32767, [&](int v) { shaper.SetOffset(shaper.OffsetX(), v); });
    }
    if (p.Is("ClientAreaOnly")) {
        return TakeBool(p, [&](bool v) { shaper.SetClientAreaOnly(v); });
    }
    if (p.Is("ControlToShape")) {
        // Only whole windows take an outline here; the window the form gives the shaper is its own.
        p.component.Kept().push_back(p.property);
        return true;
    }
    return ApplyComponent(p);
}

bool ApplySettings(const Prop& p) {
    auto& settings = static_cast<TDIBSettings&>(p.component);
    if (p.Is("DIBCompressor")) {
        return TakeText(p, [&](std::string v) { settings.SetDIBCompressor(std::move(v)); });
    }
    return ApplyComponent(p);
}

bool ApplyTimer(const Prop& p) {
    auto& timer = static_cast<TimerComponent&>(p.component).Timer();
    if (p.Is("Enabled")) {
        return TakeBool(p, [&](bool v) { timer.SetEnabled(v); });
    }
    if (p.Is("Interval")) {
        return TakeInt<uint32_t>(p, 0, UINT32_MAX, [&](uint32_t v) { timer.SetInterval(v); });
    }
    return ApplyComponent(p);
}

bool ApplyImage(const Prop& p) {
    auto& image = static_cast<TImage&>(p.component);
    if (p.Is("Picture.Data")) {
        const auto* data = std::get_if<FormBinary>(&p.Value().data);
        PictureResult picture = data != nullptr ? ReadPictureData(data->bytes, &p.state.pixels)
                                                : PictureResult::Fail("not binary");
        if (!picture) {
            return p.Bad(": " + picture.error);
        }
        image.SetPicture(std::move(*picture.picture));
        return true;
    }
    if (p.Is("AutoSize")) {
        return TakeBool(p, [&](bool v) { image.SetAutoSize(v); });
    }
    if (p.Is("Center")) {
        return TakeBool(p, [&](bool v) { image.SetCenter(v); });
    }
    if (p.Is("Stretch")) {
        return TakeBool(p, [&](bool v) { image.SetStretch(v); });
    }
    if (p.Is("Transparent")) {
        return TakeBool(p, [&](bool v) { image.SetTransparent(v); });
    }
    return ApplyControl(p);
}

bool ApplyLabel(const Prop& p) {
    auto& label = static_cast<TLabel&>(p.component);
    return ApplyLabelText(p, label) || ApplyControl(p);
}

bool ApplyAnimate(const Prop& p) {
    auto& animate = static_cast<TAnimate&>(p.component);
    if (p.Is("Transparent")) {
        return TakeBool(p, [&](bool v) { animate.SetTransparent(v); });
    }
    if (p.Is("Color")) {
        return TakeColor(p, [&](TColor v) { animate.SetColor(v); });
    }
    if (p.Is("ClipName")) {
        return TakeText(p, [&](const std::string& v) { animate.SetClipName(v); });
    }
    if (p.Is("Active")) {
        return TakeBool(p, [&](bool v) { animate.SetActive(v); });
    }
    if (p.Is("Repetitions")) {
        return TakeInt<int>(p, 0, 0x7FFFFFFF, [&](int v) { animate.SetRepetitions(v); });
    }
    if (p.Is("StartFrame")) {
        return TakeInt<int>(p, 1, 0x7FFFFFFF, [&](int v) { animate.SetStartFrame(v); });
    }
    if (p.Is("StopFrame")) {
        return TakeInt<int>(p, 0, 0x7FFFFFFF, [&](int v) { animate.SetStopFrame(v); });
    }
    if (p.Is("Center")) {
        return TakeBool(p, [&](bool v) { animate.SetCenter(v); });
    }
    if (p.Is("AutoSize")) {
        return TakeBool(p, [&](bool v) { animate.SetAutoSize(v); });
    }
    return KeepIfNamed(p, kClipProperties) || ApplyControl(p);
}

bool ApplyPlainImageList(const Prop& p) {
    auto& list = static_cast<TImageList&>(p.component);
    if (p.Is("Width")) {
        return TakeInt<int>(p, 1, 0xFFFF, [&](int v) { list.SetSize(v, list.Height()); });
    }
    if (p.Is("Height")) {
        return TakeInt<int>(p, 1, 0xFFFF, [&](int v) { list.SetSize(list.Width(), v); });
    }
    if (p.Is("Masked")) {
        return TakeBool(p, [&](bool v) { list.SetMasked(v); });
    }
    if (p.Is("Bitmap")) {
        const auto* data = std::get_if<FormBinary>(&p.Value().data);
        const std::string error =
            data != nullptr ? list.ReadData(data->bytes, &p.state.pixels) : "is not binary data";
        if (!error.empty()) {
            return p.Bad(": " + error);
        }
        return true;
    }
    return ApplyComponent(p);
}

ComponentFactory::Applier Wrap(bool (*apply)(const Prop&)) {
    return [apply](TComponent& component, const FormProperty& property, LoadState& state) {
        return apply(Prop{component, property, state});
    };
}

// A component of the form itself.
template <class T, class... Args> ComponentFactory::Creator OnForm(Args... args) {
    return [args...](const Placement& where, LoadState&) -> TComponent* {
        return &where.form.Adopt(std::make_unique<T>(args...));
    };
}

// A plain control: on a container when the stream puts it there, else on the form.
template <class Make> ComponentFactory::Creator Plain(Make make) {
    return [make](const Placement& where, LoadState& state) -> TComponent* {
        auto control = make(state);
        if (where.container == nullptr) {
            return &where.form.Adopt(std::move(control));
        }
        TComponent& placed = where.container->AddGraphic(std::move(control));
        where.form.Enlist(placed);
        return &placed;
    };
}

// A DIB control: only a container can hold one.
template <class T> ComponentFactory::Creator InContainer(const char* class_name) {
    return [class_name](const Placement& where, LoadState& state) -> TComponent* {
        if (where.container == nullptr) {
            state.errors.push_back(std::string(class_name) + " can only be placed on a TDIBContainer");
            return nullptr;
        }
        T& control = where.container->Add<T>();
        where.form.Enlist(control);
        return &control;
    };
}

} // namespace

ComponentFactory ComponentFactory::Standard() {
    ComponentFactory factory;
    factory.Register("TDIBImage", InContainer<TDIBImage>("TDIBImage"), Wrap(ApplyDIBImage));
    factory.Register("TDIBFadeLabel", InContainer<TDIBFadeLabel>("TDIBFadeLabel"), Wrap(ApplyFadeLabel));
    factory.Register(
        "TDIBContainer",
        [](const Placement& where, LoadState& state) -> TComponent* {
            return &where.form.Adopt(std::make_unique<TDIBContainer>(state.services));
        },
        Wrap(ApplyContainer));
    factory.Register("TDIBImageList", OnForm<TDIBImageList>(), Wrap(ApplyImageList));
    factory.Register("TDIBFormShaper", OnForm<TDIBFormShaper>(), Wrap(ApplyShaper));
    factory.Register("TDIBSettings", OnForm<TDIBSettings>(), Wrap(ApplySettings));
    for (const auto& [name, kind] : {std::pair{"TTimer", TimerHandle::Kind::Timer},
                                     std::pair{"TDIBTimer", TimerHandle::Kind::DIBTimer}}) {
        factory.Register(
            name,
            [kind = kind](const Placement& where, LoadState& state) -> TComponent* {
                return &where.form.Adopt(std::make_unique<TimerComponent>(state.services.app, kind));
            },
            Wrap(ApplyTimer));
    }
    factory.Register("TImage", Plain([](LoadState&) { return std::make_unique<TImage>(); }),
                     Wrap(ApplyImage));
    factory.Register("TLabel",
                     Plain([](LoadState& state) { return std::make_unique<TLabel>(state.services.fonts); }),
                     Wrap(ApplyLabel));
    // The menu's animation windows are stored under a derived class name of the same control.
    for (const char* name : {"TAnimate", "TAnimate2"}) {
        factory.Register(
            name,
            [](const Placement& where, LoadState& state) -> TComponent* {
                return &where.form.Adopt(std::make_unique<TAnimate>(state.services.app));
            },
            Wrap(ApplyAnimate));
    }
    factory.Register("TImageList", OnForm<TImageList>(), Wrap(ApplyPlainImageList));
    return factory;
}

} // namespace kavlo
