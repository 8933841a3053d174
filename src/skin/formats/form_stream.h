#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "skin/surface/skin_types.h"

namespace kavlo {

// The binary form-file format ("TPF0"): a tree of components, each with its class, its name, its
// designed properties in the order they were written, and its child components.

enum class FormValueType : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};

// The 80-bit x87 extended value as stored (little-endian: 64-bit mantissa with its explicit integer
// bit, then sign and 15-bit exponent). The bytes are kept so any stored value writes back unchanged.
struct Extended80 {
    std::array<uint8_t, 10> bytes{};

    static Extended80 FromDouble(double value); // exact: every double is an extended
    double ToDouble() const;                    // exact for every value a double can hold
    bool operator==(const Extended80&) const = default;
};

struct FormValue;
struct FormProperty;
using FormProperties = std::vector<FormProperty>;

struct FormNull {
    bool operator==(const FormNull&) const = default;
};
struct FormNil {
    bool operator==(const FormNil&) const = default;
};
struct FormInteger {
    int64_t value = 0;
    FormValueType type = FormValueType::vaInt32; // vaInt8, vaInt16, vaInt32 or vaInt64
    bool operator==(const FormInteger&) const = default;
};
struct FormSingle {
    uint32_t bits = 0; // IEEE single, kept as bits so every stored value writes back unchanged
    float Value() const;
    bool operator==(const FormSingle&) const = default;
};
struct FormCurrency {
    int64_t value = 0; // in ten-thousandths
    bool operator==(const FormCurrency&) const = default;
};
struct FormDate {
    uint64_t bits = 0; // IEEE double: days since 30 December 1899
    double Value() const;
    bool operator==(const FormDate&) const = default;
};
struct FormString {
    std::string bytes;
    FormValueType type = FormValueType::vaString; // vaString, vaLString or vaUTF8String
    bool operator==(const FormString&) const = default;
};
struct FormWString {
    std::u16string units;
    bool operator==(const FormWString&) const = default;
};
struct FormIdent {
    std::string name;
    bool operator==(const FormIdent&) const = default;
};
struct FormBinary {
    std::string bytes;
    bool operator==(const FormBinary&) const = default;
};
struct FormSet {
    std::vector<std::string> names;
    bool operator==(const FormSet&) const = default;
};
struct FormList {
    std::vector<FormValue> values;
    bool operator==(const FormList&) const;
};
struct FormCollectionItem {
    bool has_order = false; // an item may be preceded by its order (an integer value)
    FormInteger order;
    FormProperties properties;
    bool operator==(const FormCollectionItem&) const;
};
struct FormCollection {
    std::vector<FormCollectionItem> items;
    bool operator==(const FormCollection&) const = default;
};

struct FormValue {
    using Data =
        std::variant<FormNull, FormNil, bool, FormInteger, Extended80, FormSingle, FormCurrency, FormDate,
                     FormString, FormWString, FormIdent, FormBinary, FormSet, FormList, FormCollection>;
    Data data;

    FormValueType Type() const;

    // Values as the writer of a form makes them: the narrowest integer type, a short string when
    // the text fits one.
    static FormValue Int(int64_t value);
    static FormValue Bool(bool value);
    static FormValue Str(std::string bytes);
    static FormValue Ident(std::string name);
    static FormValue Binary(std::string bytes);
    static FormValue Extended(double value);
    static FormValue Set(std::vector<std::string> names);

    bool operator==(const FormValue&) const = default;
};

struct FormProperty {
    std::string name; // may be dotted: "Font.Name", "DIB.Data"
    FormValue value;
    bool operator==(const FormProperty&) const = default;
};

// Filer flags of the optional prefix byte (0xF0 | flags).
enum FormFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

struct FormObject {
    uint8_t flags = 0;     // FormFilerFlag bits; 0 writes no prefix
    FormInteger child_pos; // written when flags has ffChildPos
    std::string class_name;
    std::string name;
    FormProperties properties;
    std::vector<FormObject> children;

    bool operator==(const FormObject&) const = default;
};

// Objects and values nest at most this deep; deeper data is refused rather than recursed into.
constexpr int kMaxFormDepth = 64;
// The memory the tree of one stream may take. A byte of a stream can make a value of tens of bytes, so
// a stream of a few MB could otherwise take gigabytes; the built-in window's tree takes under 2 MB.
constexpr size_t kMaxFormMemory = size_t{64} << 20;

struct FormReadResult {
    FormObject root;
    std::string error; // empty on success; otherwise says what was wrong and at which offset
    bool ok() const { return error.empty(); }
};

struct FormWriteResult {
    std::string bytes;
    std::string error; // a name or text that the format cannot hold
    bool ok() const { return error.empty(); }
};

// "TPF0" and one object with everything under it. Bytes after the object are ignored.
FormReadResult ReadFormStream(std::string_view bytes);
FormWriteResult WriteFormStream(const FormObject& root);

// Lookups. Names compare as Windows compares component and property names (ASCII case ignored).
// The object itself or the first one of that name below it, depth first.
const FormObject* FindFormObject(const FormObject& root, std::string_view name);
const FormValue* FindFormProperty(const FormProperties& properties, std::string_view name);
// Integer values; `fallback` when the property is missing or not an integer.
int64_t FormInt(const FormProperties& properties, std::string_view name, int64_t fallback);
// vaTrue / vaFalse (or the identifiers True / False).
bool FormBool(const FormProperties& properties, std::string_view name, bool fallback);
// vaString and vaLString as stored; vaUTF8String and vaWString converted to Windows-1250.
std::string FormText(const FormProperties& properties, std::string_view name, std::string_view fallback);
std::string FormIdentName(const FormProperties& properties, std::string_view name, std::string_view fallback);
// A colour as forms store it: an integer, or an identifier (clWhite, clBtnFace, clNone ...).
std::optional<TColor> FormColor(const FormProperties& properties, std::string_view name);
// The UTF-16 of a vaWString as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view units);
// vaExtended, vaSingle, vaDate, vaCurrency and integers as a double.
double FormReal(const FormProperties& properties, std::string_view name, double fallback);

} // namespace kavlo
