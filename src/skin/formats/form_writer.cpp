#include "skin/formats/form_stream.h"

namespace kavlo {

namespace {

// Writes a form stream from a tree. What the format cannot hold (a name longer than 255 bytes, an
// empty property name that would end the list early, an integer too wide for its type byte) is an
// error rather than bytes that read back as something else.
class FormWriter {
public:
    bool WriteObject(const FormObject& object, int depth) {
        if (depth > kMaxFormDepth) {
            return Fail("components nested too deep");
        }
        if (object.class_name.empty()) {
            return Fail("an object without a class name");
        }
        if (object.flags > 0x0F) {
            return Fail("filer flags of " + object.name + " out of range");
        }
        // A class name of 240 bytes or more starts with a byte the reader takes for the flags
        // prefix; an explicit prefix (if only 0xF0) keeps it readable.
        if (object.flags != 0 || object.class_name.size() >= 0xF0) {
            out_ += static_cast<char>(0xF0 | object.flags);
            if ((object.flags & ffChildPos) != 0 && !WriteInteger(object.child_pos)) {
                return false;
            }
        }
        if (!WriteShortString(object.class_name) || !WriteShortString(object.name) ||
            !WriteProperties(object.properties, depth)) {
            return false;
        }
        for (const FormObject& child : object.children) {
            if (!WriteObject(child, depth + 1)) {
                return false;
            }
        }
        out_ += '\0';
        return true;
    }

    std::string& bytes() { return out_; }
    const std::string& error() const { return error_; }

private:
    bool Fail(const std::string& what) {
        if (error_.empty()) {
            error_ = "form stream: " + what;
        }
        return false;
    }

    void Type(FormValueType type) { out_ += static_cast<char>(type); }
    bool WriteType(FormValueType type) {
        Type(type);
        return true;
    }

    bool AppendLe(uint64_t value, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            out_ += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return true;
    }

    bool WriteShortString(std::string_view text) {
        if (text.size() > 255) {
            return Fail("\"" + std::string(text.substr(0, 32)) + "...\" is longer than 255 bytes");
        }
        out_ += static_cast<char>(text.size());
        out_ += text;
        return true;
    }

    bool WriteLongString(std::string_view text) {
        if (text.size() > UINT32_MAX) {
            return Fail("a value longer than 4 GB");
        }
        AppendLe(text.size(), 4);
        out_ += text;
        return true;
    }

    bool WriteProperties(const FormProperties& properties, int depth) {
        for (const FormProperty& property : properties) {
            if (property.name.empty()) {
                return Fail("a property without a name");
            }
            if (!WriteShortString(property.name) || !WriteValue(property.value, depth + 1)) {
                return false;
            }
        }
        out_ += '\0';
        return true;
    }

    bool WriteInteger(const FormInteger& integer) {
        size_t size = 0;
        int64_t low = 0;
        int64_t high = 0;
        switch (integer.type) {
            case FormValueType::vaInt8:
                size = 1;
                low = INT8_MIN;
                high = INT8_MAX;
                break;
            case FormValueType::vaInt16:
                size = 2;
                low = INT16_MIN;
                high = INT16_MAX;
                break;
            case FormValueType::vaInt32:
                size = 4;
                low = INT32_MIN;
                high = INT32_MAX;
                break;
            case FormValueType::vaInt64:
                size = 8;
                low = INT64_MIN;
                high = INT64_MAX;
                break;
            default:
                return Fail("an integer with a type byte that is not an integer type");
        }
        if (integer.value < low || integer.value > high) {
            return Fail(std::to_string(integer.value) + " does not fit its integer type");
        }
        Type(integer.type);
        AppendLe(static_cast<uint64_t>(integer.value), size);
        return true;
    }

    bool WriteValue(const FormValue& value, int depth) {
        if (depth > kMaxFormDepth) {
            return Fail("values nested too deep");
        }
        return std::visit([&](const auto& v) { return Write(v, depth); }, value.data);
    }

    bool Write(const FormNull&, int) { return WriteType(FormValueType::vaNull); }
    bool Write(const FormNil&, int) { return WriteType(FormValueType::vaNil); }
    bool Write(bool b, int) { return WriteType(b ? FormValueType::vaTrue : FormValueType::vaFalse); }
    bool Write(const FormInteger& v, int) { return WriteInteger(v); }
    bool Write(const Extended80& v, int) {
        Type(FormValueType::vaExtended);
        out_.append(reinterpret_cast<const char*>(v.bytes.data()), v.bytes.size());
        return true;
    }
    bool Write(const FormSingle& v, int) { return WriteType(FormValueType::vaSingle) && AppendLe(v.bits, 4); }
    bool Write(const FormCurrency& v, int) {
        return WriteType(FormValueType::vaCurrency) && AppendLe(static_cast<uint64_t>(v.value), 8);
    }
    bool Write(const FormDate& v, int) { return WriteType(FormValueType::vaDate) && AppendLe(v.bits, 8); }
    bool Write(const FormString& v, int) {
        switch (v.type) {
            case FormValueType::vaString:
                return WriteType(v.type) && WriteShortString(v.bytes);
            case FormValueType::vaLString:
            case FormValueType::vaUTF8String:
                return WriteType(v.type) && WriteLongString(v.bytes);
            default:
                return Fail("a string with a type byte that is not a string type");
        }
    }
    bool Write(const FormWString& v, int) {
        if (v.units.size() > UINT32_MAX) {
            return Fail("a value longer than 4 GB");
        }
        Type(FormValueType::vaWString);
        AppendLe(v.units.size(), 4);
        for (char16_t unit : v.units) {
            AppendLe(unit, 2);
        }
        return true;
    }
    bool Write(const FormIdent& v, int) {
        return WriteType(FormValueType::vaIdent) && WriteShortString(v.name);
    }
    bool Write(const FormBinary& v, int) {
        return WriteType(FormValueType::vaBinary) && WriteLongString(v.bytes);
    }
    bool Write(const FormSet& v, int) {
        Type(FormValueType::vaSet);
        for (const std::string& name : v.names) {
            if (name.empty()) {
                return Fail("an empty name in a set");
            }
            if (!WriteShortString(name)) {
                return false;
            }
        }
        out_ += '\0';
        return true;
    }
    bool Write(const FormList& v, int depth) {
        Type(FormValueType::vaList);
        for (const FormValue& element : v.values) {
            if (!WriteValue(element, depth + 1)) {
                return false;
            }
        }
        Type(FormValueType::vaNull);
        return true;
    }
    bool Write(const FormCollection& v, int depth) {
        Type(FormValueType::vaCollection);
        for (const FormCollectionItem& item : v.items) {
            if (item.has_order && !WriteInteger(item.order)) {
                return false;
            }
            Type(FormValueType::vaList);
            if (!WriteProperties(item.properties, depth + 1)) {
                return false;
            }
        }
        Type(FormValueType::vaNull);
        return true;
    }

    std::string out_;
    std::string error_;
};

} // namespace

FormWriteResult WriteFormStream(const FormObject& root) {
    FormWriter writer;
    writer.bytes() = "TPF0";
    FormWriteResult result;
    if (writer.WriteObject(root, 0)) {
        result.bytes = std::move(writer.bytes());
    } else {
        result.error = writer.error();
    }
    return result;
}

} // namespace kavlo
