#include <charconv>
#include <iostream>
#include <memory>
#include <string>

#include "platform/codepage.h"
#include "platform/reg_file_registry.h"
#include "skin/formats/form_stream.h"
#include "skingen/resources.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

// `kavlo-tool form-dump [FILE]`: a form stream as indented text, close to the form designer's own
// text form, so a generated skin can be read and compared.
struct FormDumpOptions {
    std::string file; // host path, UTF-8; empty: the program's own TFORM1
};

constexpr size_t kBinaryPreview = 16;

std::string Indent(int level) {
    return std::string(static_cast<size_t>(level) * 2, ' ');
}

template <typename T> std::string Shortest(T value) {
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// A quoted text as the designer writes one: 'It''s', control characters as #13.
std::string Quoted(const std::string& utf8) {
    std::string out;
    bool open = false;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
            if (open) {
                out += '\'';
                open = false;
            }
            out += '#' + std::to_string(byte);
            continue;
        }
        if (!open) {
            out += '\'';
            open = true;
        }
        out += c == '\'' ? std::string("''") : std::string(1, c);
    }
    if (open || out.empty()) {
        out += open ? "'" : "''";
    }
    return out;
}

std::string Currency(int64_t ten_thousandths) {
    const bool negative = ten_thousandths < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(ten_thousandths) : static_cast<uint64_t>(ten_thousandths);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
}

std::string BinarySummary(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text = "{" + std::to_string(bytes.size()) + " bytes";
    for (size_t i = 0; i < bytes.size() && i < kBinaryPreview; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text += i == 0 ? ": " : " ";
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text + (bytes.size() > kBinaryPreview ? " ...}" : "}");
}

void DumpProperties(std::ostream& out, const FormProperties& properties, int level);

std::string ScalarText(const FormValue& value);

void DumpValue(std::ostream& out, const FormValue& value, int level) {
    if (const auto* collection = std::get_if<FormCollection>(&value.data)) {
        out << '<';
        for (const FormCollectionItem& item : collection->items) {
            out << '\n' << Indent(level + 1) << "item";
            if (item.has_order) {
                out << " [" << item.order.value << ']';
            }
            out << '\n';
            DumpProperties(out, item.properties, level + 2);
            out << Indent(level + 1) << "end";
        }
        out << '>';
        return;
    }
    if (const auto* list = std::get_if<FormList>(&value.data)) {
        out << '(';
        for (size_t i = 0; i < list->values.size(); ++i) {
            out << (i == 0 ? "" : " ");
            DumpValue(out, list->values[i], level);
        }
        out << ')';
        return;
    }
    out << ScalarText(value);
}

std::string ScalarText(const FormValue& value) {
    struct Visitor {
        std::string operator()(const FormNull&) const { return "Null"; }
        std::string operator()(const FormNil&) const { return "nil"; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(const FormInteger& v) const { return std::to_string(v.value); }
        std::string operator()(const Extended80& v) const { return Shortest(v.ToDouble()); }
        std::string operator()(const FormSingle& v) const { return Shortest(v.Value()) + "s"; }
        std::string operator()(const FormCurrency& v) const { return Currency(v.value) + "c"; }
        std::string operator()(const FormDate& v) const { return Shortest(v.Value()) + "d"; }
        std::string operator()(const FormString& v) const {
            return Quoted(v.type == FormValueType::vaUTF8String ? v.bytes : ToUtf8(v.bytes));
        }
        std::string operator()(const FormWString& v) const { return Quoted(Utf8FromUtf16(v.units)); }
        std::string operator()(const FormIdent& v) const { return ToUtf8(v.name); }
        std::string operator()(const FormBinary& v) const { return BinarySummary(v.bytes); }
        std::string operator()(const FormSet& v) const {
            std::string text = "[";
            for (size_t i = 0; i < v.names.size(); ++i) {
                text += (i == 0 ? "" : ", ") + ToUtf8(v.names[i]);
            }
            return text + "]";
        }
        std::string operator()(const FormList&) const { return {}; }
        std::string operator()(const FormCollection&) const { return {}; }
    };
    return std::visit(Visitor{}, value.data);
}

void DumpProperties(std::ostream& out, const FormProperties& properties, int level) {
    for (const FormProperty& property : properties) {
        out << Indent(level) << ToUtf8(property.name) << " = ";
        DumpValue(out, property.value, level);
        out << '\n';
    }
}

void DumpObject(std::ostream& out, const FormObject& object, int level) {
    const char* keyword = (object.flags & ffInline) != 0      ? "inline"
                          : (object.flags & ffInherited) != 0 ? "inherited"
                                                              : "object";
    out << Indent(level) << keyword << ' ';
    if (!object.name.empty()) {
        out << ToUtf8(object.name) << ": ";
    }
    out << ToUtf8(object.class_name);
    if ((object.flags & ffChildPos) != 0) {
        out << " [" << object.child_pos.value << ']';
    }
    out << '\n';
    DumpProperties(out, object.properties, level + 1);
    for (const FormObject& child : object.children) {
        DumpObject(out, child, level + 1);
    }
    out << Indent(level) << "end\n";
}

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "form-dump: " << message << '\n';
    throw CLI::RuntimeError(1);
}

void RunFormDump(const FormDumpOptions& options) {
    std::string bytes;
    if (options.file.empty()) {
        const auto builtin = Resource("TFORM1");
        bytes.assign(reinterpret_cast<const char*>(builtin.data()), builtin.size());
    } else if (const auto read = ReadHostBytes(options.file)) {
        bytes = *read;
    } else {
        Fail("cannot read " + options.file);
    }
    const FormReadResult form = ReadFormStream(bytes);
    if (!form.ok()) {
        Fail((options.file.empty() ? "TFORM1" : options.file) + ": " + form.error);
    }
    DumpObject(std::cout, form.root, 0);
}

} // namespace

void AddFormCommand(CLI::App& app) {
    auto options = std::make_shared<FormDumpOptions>();
    CLI::App* dump = app.add_subcommand("form-dump", "A binary form stream (TPF0) as indented text");
    dump->add_option("file", options->file,
                     "The form stream (host path); without it the program's own TFORM1");
    dump->callback([options] { RunFormDump(*options); });
}

} // namespace kavlo::tool
