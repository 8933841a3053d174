#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/codepage.h"
#include "skin/formats/form_stream.h"

namespace kavlo {

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;

uint64_t Mantissa(const Extended80& e) {
    uint64_t m = 0;
    for (int i = 7; i >= 0; --i) {
        m = (m << 8) | e.bytes[static_cast<size_t>(i)];
    }
    return m;
}

Extended80 MakeExtended(bool negative, unsigned exponent, uint64_t mantissa) {
    Extended80 e;
    for (size_t i = 0; i < 8; ++i) {
        e.bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    }
    const unsigned top = (negative ? 0x8000u : 0u) | (exponent & 0x7FFFu);
    e.bytes[8] = static_cast<uint8_t>(top & 0xFF);
    e.bytes[9] = static_cast<uint8_t>(top >> 8);
    return e;
}

struct NamedColor {
    const char* name;
    TColor color;
};

// The standard colours and the Windows system colours (0x80000000 | COLOR_ index).
constexpr NamedColor kNamedColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
};

template <typename T> const T* As(const FormValue* value) {
    return value == nullptr ? nullptr : std::get_if<T>(&value->data);
}

} // namespace

Extended80 Extended80::FromDouble(double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const unsigned exponent = static_cast<unsigned>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    if (exponent == 0x7FF) {
        return MakeExtended(negative, 0x7FFF, kIntegerBit | (fraction << 11));
    }
    if (exponent == 0) {
        if (fraction == 0) {
            return MakeExtended(negative, 0, 0);
        }
        // A subnormal double (fraction x 2^-1074) is a normal extended: its leading 1 moves up to the
        // integer bit.
        const int shift = std::countl_zero(fraction);
        return MakeExtended(negative, static_cast<unsigned>(kExtendedBias + 63 - 1074 - shift),
                            fraction << shift);
    }
    return MakeExtended(negative, exponent - kDoubleBias + kExtendedBias, kIntegerBit | (fraction << 11));
}

double Extended80::ToDouble() const {
    const unsigned top = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
    const bool negative = (top & 0x8000) != 0;
    const int exponent = static_cast<int>(top & 0x7FFF);
    const uint64_t mantissa = Mantissa(*this);
    double magnitude = 0;
    if (exponent == 0x7FFF) {
        const uint64_t fraction = (mantissa << 1) >> 12;
        magnitude = (mantissa << 1) == 0
                        ? std::numeric_limits<double>::infinity()
                        : std::bit_cast<double>((uint64_t{0x7FF} << 52) | (uint64_t{1} << 51) | fraction);
    } else if (mantissa != 0) {
        // An exponent of 0 marks the denormals, which share the smallest normal exponent.
        const int unbiased = (exponent == 0 ? 1 : exponent) - kExtendedBias - 63;
        magnitude = std::ldexp(static_cast<double>(mantissa), unbiased);
    }
    return negative ? -magnitude : magnitude;
}

float FormSingle::Value() const {
    return std::bit_cast<float>(bits);
}

double FormDate::Value() const {
    return std::bit_cast<double>(bits);
}

bool FormList::operator==(const FormList& other) const {
    return values == other.values;
}

bool FormCollectionItem::operator==(const FormCollectionItem& other) const {
    return has_order == other.has_order && (!has_order || order == other.order) &&
           properties == other.properties;
}

FormValueType FormValue::Type() const {
    struct Visitor {
        FormValueType operator()(const FormNull&) const { return FormValueType::vaNull; }
        FormValueType operator()(const FormNil&) const { return FormValueType::vaNil; }
        FormValueType operator()(bool b) const { return b ? FormValueType::vaTrue : FormValueType::vaFalse; }
        FormValueType operator()(const FormInteger& v) const { return v.type; }
        FormValueType operator()(const Extended80&) const { return FormValueType::vaExtended; }
        FormValueType operator()(const FormSingle&) const { return FormValueType::vaSingle; }
        FormValueType operator()(const FormCurrency&) const { return FormValueType::vaCurrency; }
        FormValueType operator()(const FormDate&) const { return FormValueType::vaDate; }
        FormValueType operator()(const FormString& v) const { return v.type; }
        FormValueType operator()(const FormWString&) const { return FormValueType::vaWString; }
        FormValueType operator()(const FormIdent&) const { return FormValueType::vaIdent; }
        FormValueType operator()(const FormBinary&) const { return FormValueType::vaBinary; }
        FormValueType operator()(const FormSet&) const { return FormValueType::vaSet; }
        FormValueType operator()(const FormList&) const { return FormValueType::vaList; }
        FormValueType operator()(const FormCollection&) const { return FormValueType::vaCollection; }
    };
    return std::visit(Visitor{}, data);
}

FormValue FormValue::Int(int64_t value) {
    FormValueType type = FormValueType::vaInt64;
    if (value >= INT8_MIN && value <= INT8_MAX) {
        type = FormValueType::vaInt8;
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        type = FormValueType::vaInt16;
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        type = FormValueType::vaInt32;
    }
    return {FormInteger{value, type}};
}

FormValue FormValue::Bool(bool value) {
    return {value};
}

FormValue FormValue::Ident(std::string name) {
    return {FormIdent{std::move(name)}};
}

FormValue FormValue::Binary(std::string bytes) {
    return {FormBinary{std::move(bytes)}};
}

FormValue FormValue::Extended(double value) {
    return {Extended80::FromDouble(value)};
}

FormValue FormValue::Set(std::vector<std::string> names) {
    return {FormSet{std::move(names)}};
}

FormValue FormValue::Str(std::string bytes) {
    const FormValueType type = bytes.size() <= 255 ? FormValueType::vaString : FormValueType::vaLString;
    return {FormString{std::move(bytes), type}};
}

const FormObject* FindFormObject(const FormObject& root, std::string_view name) {
    if (EqualsNoCase1250(root.name, name)) {
        return &root;
    }
    for (const FormObject& child : root.children) {
        if (const FormObject* found = FindFormObject(child, name)) {
            return found;
        }
    }
    return nullptr;
}

const FormValue* FindFormProperty(const FormProperties& properties, std::string_view name) {
    for (const FormProperty& property : properties) {
        if (EqualsNoCase1250(property.name, name)) {
            return &property.value;
        }
    }
    return nullptr;
}

int64_t FormInt(const FormProperties& properties, std::string_view name, int64_t fallback) {
    const FormInteger* value = As<FormInteger>(FindFormProperty(properties, name));
    return value != nullptr ? value->value : fallback;
}

bool FormBool(const FormProperties& properties, std::string_view name, bool fallback) {
    const FormValue* value = FindFormProperty(properties, name);
    if (const bool* b = As<bool>(value)) {
        return *b;
    }
    if (const FormIdent* ident = As<FormIdent>(value)) {
        if (EqualsNoCase1250(ident->name, "True")) {
            return true;
        }
        if (EqualsNoCase1250(ident->name, "False")) {
            return false;
        }
    }
    return fallback;
}

std::string FormText(const FormProperties& properties, std::string_view name, std::string_view fallback) {
    const FormValue* value = FindFormProperty(properties, name);
    if (const FormString* text = As<FormString>(value)) {
        return text->type == FormValueType::vaUTF8String ? FromUtf8(text->bytes) : text->bytes;
    }
    if (const FormWString* wide = As<FormWString>(value)) {
        return FromUtf8(Utf8FromUtf16(wide->units));
    }
    return std::string(fallback);
}

std::string FormIdentName(const FormProperties& properties, std::string_view name,
                          std::string_view fallback) {
    const FormIdent* ident = As<FormIdent>(FindFormProperty(properties, name));
    return ident != nullptr ? ident->name : std::string(fallback);
}

std::optional<TColor> FormColor(const FormProperties& properties, std::string_view name) {
    const FormValue* value = FindFormProperty(properties, name);
    if (const FormInteger* integer = As<FormInteger>(value)) {
        return static_cast<TColor>(integer->value);
    }
    if (const FormIdent* ident = As<FormIdent>(value)) {
        for (const NamedColor& named : kNamedColors) {
            if (EqualsNoCase1250(ident->name, named.name)) {
                return named.color;
            }
        }
    }
    return std::nullopt;
}

std::string Utf8FromUtf16(std::u16string_view units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

double FormReal(const FormProperties& properties, std::string_view name, double fallback) {
    const FormValue* value = FindFormProperty(properties, name);
    if (const Extended80* e = As<Extended80>(value)) {
        return e->ToDouble();
    }
    if (const FormSingle* s = As<FormSingle>(value)) {
        return s->Value();
    }
    if (const FormDate* d = As<FormDate>(value)) {
        return d->Value();
    }
    if (const FormCurrency* c = As<FormCurrency>(value)) {
        return static_cast<double>(c->value) / 10000.0;
    }
    if (const FormInteger* i = As<FormInteger>(value)) {
        return static_cast<double>(i->value);
    }
    return fallback;
}

} // namespace kavlo
