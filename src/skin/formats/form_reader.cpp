
#include "skin/formats/form_stream.h"

namespace kavlo {

namespace {

constexpr std::string_view kSignature = "TPF0";

bool IsIntegerType(FormValueType type) {
    return type == FormValueType::vaInt8 || type == FormValueType::vaInt16 ||
           type == FormValueType::vaInt32 || type == FormValueType::vaInt64;
}

// Reads one form stream. Every read checks the bytes left first, so cut or lying data ends in an
// error, never in a read past the end; nesting is bounded by kMaxFormDepth, and what the tree takes
// in memory by kMaxFormMemory.
class FormReader {
public:
    explicit FormReader(std::string_view data) : data_(data) {}

    bool ReadSignature() {
        if (data_.substr(0, kSignature.size()) != kSignature) {
            return Fail("not a form stream (no TPF0 signature)");
        }
        pos_ = kSignature.size();
        return true;
    }

    bool ReadObject(FormObject& object, int depth) {
        if (depth > kMaxFormDepth) {
            return Fail("components nested too deep");
        }
        uint8_t first = 0;
        if (!PeekByte(first)) {
            return false;
        }
        if ((first & 0xF0) == 0xF0) {
            ++pos_;
            object.flags = first & 0x0F;
            if ((object.flags & ffChildPos) != 0 && !ReadInteger(object.child_pos)) {
                return false;
            }
        }
        if (!ReadShortString(object.class_name)) {
            return false;
        }
        if (object.class_name.empty()) {
            return Fail("an object without a class name");
        }
        if (!ReadShortString(object.name) || !ReadProperties(object.properties, depth)) {
            return false;
        }
        for (;;) {
            uint8_t next = 0;
            if (!PeekByte(next)) {
                return false;
            }
            if (next == 0) {
                ++pos_;
                return true;
            }
            if (!Take(sizeof(FormObject))) {
                return false;
            }
            object.children.emplace_back();
            if (!ReadObject(object.children.back(), depth + 1)) {
                return false;
            }
        }
    }

    const std::string& error() const { return error_; }

private:
    bool Fail(const std::string& what) {
        if (error_.empty()) {
            error_ = "form stream: " + what + " at offset " + std::to_string(pos_);
        }
        return false;
    }

    // Counts memory the tree is about to take.
    bool Take(size_t bytes) {
        if (bytes > kMaxFormMemory - taken_) {
            return Fail("the form takes more than " + std::to_string(kMaxFormMemory >> 20) + " MB of memory");
        }
        taken_ += bytes;
        return true;
    }

    bool Need(size_t count) {
        if (data_.size() - pos_ < count) {
            return Fail("data ends early");
        }
        return true;
    }

    bool PeekByte(uint8_t& byte) {
        if (!Need(1)) {
            return false;
        }
        byte = static_cast<uint8_t>(data_[pos_]);
        return true;
    }

    bool ReadByte(uint8_t& byte) {
        if (!PeekByte(byte)) {
            return false;
        }
        ++pos_;
        return true;
    }

    bool ReadLe(size_t count, uint64_t& value) {
        if (!Need(count)) {
            return false;
        }
        value = 0;
        for (size_t i = 0; i < count; ++i) {
            value |= static_cast<uint64_t>(static_cast<uint8_t>(data_[pos_ + i])) << (8 * i);
        }
        pos_ += count;
        return true;
    }

    bool ReadBytes(uint64_t count, std::string& bytes) {
        if (count > data_.size() - pos_) {
            return Fail("a length of " + std::to_string(count) + " passes the end of the data");
        }
        if (!Take(static_cast<size_t>(count))) {
            return false;
        }
        bytes.assign(data_.substr(pos_, static_cast<size_t>(count)));
        pos_ += static_cast<size_t>(count);
        return true;
    }

    bool ReadShortString(std::string& text) {
        uint8_t length = 0;
        return ReadByte(length) && ReadBytes(length, text);
    }

    bool ReadLongString(std::string& text) {
        uint64_t length = 0;
        return ReadLe(4, length) && ReadBytes(length, text);
    }

    bool ReadProperties(FormProperties& properties, int depth) {
        for (;;) {
            std::string name;
            if (!ReadShortString(name)) {
                return false;
            }
            if (name.empty()) {
                return true;
            }
            if (!Take(sizeof(FormProperty))) {
                return false;
            }
            properties.push_back({std::move(name), {}});
            if (!ReadValue(properties.back().value, depth + 1)) {
                return false;
            }
        }
    }

    bool ReadInteger(FormInteger& integer) {
        uint8_t type = 0;
        if (!ReadByte(type)) {
            return false;
        }
        integer.type = static_cast<FormValueType>(type);
        if (!IsIntegerType(integer.type)) {
            return Fail("an integer expected");
        }
        return ReadIntegerBody(integer);
    }

    bool ReadIntegerBody(FormInteger& integer) {
        uint64_t bits = 0;
        switch (integer.type) {
            case FormValueType::vaInt8:
                if (!ReadLe(1, bits)) {
                    return false;
                }
                integer.value = static_cast<int8_t>(bits);
                return true;
            case FormValueType::vaInt16:
                if (!ReadLe(2, bits)) {
                    return false;
                }
                integer.value = static_cast<int16_t>(bits);
                return true;
            case FormValueType::vaInt32:
                if (!ReadLe(4, bits)) {
                    return false;
                }
                integer.value = static_cast<int32_t>(bits);
                return true;
            default:
                if (!ReadLe(8, bits)) {
                    return false;
                }
                integer.value = static_cast<int64_t>(bits);
                return true;
        }
    }

    bool ReadValue(FormValue& value, int depth) {
        if (depth > kMaxFormDepth) {
            return Fail("values nested too deep");
        }
        uint8_t type = 0;
        if (!ReadByte(type)) {
            return false;
        }
        return ReadValueBody(static_cast<FormValueType>(type), value, depth);
    }

    bool ReadValueBody(FormValueType type, FormValue& value, int depth) {
        uint64_t bits = 0;
        switch (type) {
            case FormValueType::vaNull:
                value.data = FormNull{};
                return true;
            case FormValueType::vaNil:
                value.data = FormNil{};
                return true;
            case FormValueType::vaFalse:
            case FormValueType::vaTrue:
                value.data = type == FormValueType::vaTrue;
                return true;
            case FormValueType::vaInt8:
            case FormValueType::vaInt16:
            case FormValueType::vaInt32:
            case FormValueType::vaInt64: {
                FormInteger integer{0, type};
                if (!ReadIntegerBody(integer)) {
                    return false;
                }
                value.data = integer;
                return true;
            }
            case FormValueType::vaExtended: {
                Extended80 extended;
                if (!Need(extended.bytes.size())) {
                    return false;
                }
                for (uint8_t& byte : extended.bytes) {
                    byte = static_cast<uint8_t>(data_[pos_++]);
                }
                value.data = extended;
                return true;
            }
            case FormValueType::vaSingle:
                if (!ReadLe(4, bits)) {
                    return false;
                }
                value.data = FormSingle{static_cast<uint32_t>(bits)};
                return true;
            case FormValueType::vaCurrency:
                if (!ReadLe(8, bits)) {
                    return false;
                }
                value.data = FormCurrency{static_cast<int64_t>(bits)};
                return true;
            case FormValueType::vaDate:
                if (!ReadLe(8, bits)) {
                    return false;
                }
                value.data = FormDate{bits};
                return true;
            default:
                return ReadCompoundValue(type, value, depth);
        }
    }

    // Values with a length or with values inside them.
    bool ReadCompoundValue(FormValueType type, FormValue& value, int depth) {
        switch (type) {
            case FormValueType::vaString: {
                FormString text{{}, type};
                if (!ReadShortString(text.bytes)) {
                    return false;
                }
                value.data = std::move(text);
                return true;
            }
            case FormValueType::vaLString:
            case FormValueType::vaUTF8String: {
                FormString text{{}, type};
                if (!ReadLongString(text.bytes)) {
                    return false;
                }
                value.data = std::move(text);
                return true;
            }
            case FormValueType::vaWString:
                return ReadWideString(value);
            case FormValueType::vaIdent: {
                FormIdent ident;
                if (!ReadShortString(ident.name)) {
                    return false;
                }
                value.data = std::move(ident);
                return true;
            }
            case FormValueType::vaBinary: {
                FormBinary binary;
                if (!ReadLongString(binary.bytes)) {
                    return false;
                }
                value.data = std::move(binary);
                return true;
            }
            case FormValueType::vaSet:
                return ReadSet(value);
            case FormValueType::vaList:
                return ReadList(value, depth);
            case FormValueType::vaCollection:
                return ReadCollection(value, depth);
            default:
                --pos_;
                return Fail("unknown value type " + std::to_string(static_cast<int>(type)));
        }
    }

    bool ReadWideString(FormValue& value) {
        uint64_t count = 0;
        if (!ReadLe(4, count)) {
            return false;
        }
        if (count > (data_.size() - pos_) / 2) {
            return Fail("a length of " + std::to_string(count) + " characters passes the end of the data");
        }
        if (!Take(static_cast<size_t>(count) * 2)) {
            return false;
        }
        FormWString wide;
        wide.units.resize(static_cast<size_t>(count));
        for (char16_t& unit : wide.units) {
            unit = static_cast<char16_t>(static_cast<uint8_t>(data_[pos_]) |
                                         (static_cast<uint8_t>(data_[pos_ + 1]) << 8));
            pos_ += 2;
        }
        value.data = std::move(wide);
        return true;
    }

    bool ReadSet(FormValue& value) {
        FormSet set;
        for (;;) {
            std::string name;
            if (!ReadShortString(name)) {
                return false;
            }
            if (name.empty()) {
                value.data = std::move(set);
                return true;
            }
            if (!Take(sizeof(std::string))) {
                return false;
            }
            set.names.push_back(std::move(name));
        }
    }

    bool ReadList(FormValue& value, int depth) {
        FormList list;
        for (;;) {
            uint8_t next = 0;
            if (!PeekByte(next)) {
                return false;
            }
            if (next == static_cast<uint8_t>(FormValueType::vaNull)) {
                ++pos_;
                value.data = std::move(list);
                return true;
            }
            if (!Take(sizeof(FormValue))) {
                return false;
            }
            list.values.emplace_back();
            if (!ReadValue(list.values.back(), depth + 1)) {
                return false;
            }
        }
    }

    bool ReadCollection(FormValue& value, int depth) {
        FormCollection collection;
        for (;;) {
            uint8_t next = 0;
            if (!PeekByte(next)) {
                return false;
            }
            if (next == static_cast<uint8_t>(FormValueType::vaNull)) {
                ++pos_;
                value.data = std::move(collection);
                return true;
            }
            if (!Take(sizeof(FormCollectionItem))) {
                return false;
            }
            FormCollectionItem& item = collection.items.emplace_back();
            if (IsIntegerType(static_cast<FormValueType>(next))) {
                item.has_order = true;
                if (!ReadInteger(item.order)) {
                    return false;
                }
            }
            uint8_t list = 0;
            if (!ReadByte(list)) {
                return false;
            }
            if (list != static_cast<uint8_t>(FormValueType::vaList)) {
                --pos_;
                return Fail("a collection item does not start with a list");
            }
            if (!ReadProperties(item.properties, depth + 1)) {
                return false;
            }
        }
    }

    std::string_view data_;
    size_t pos_ = 0;
    size_t taken_ = 0;
    std::string error_;
};

} // namespace

FormReadResult ReadFormStream(std::string_view bytes) {
    FormReader reader(bytes);
    FormReadResult result;
    if (!reader.ReadSignature() || !reader.ReadObject(result.root, 0)) {
        result.root = {};
        result.error = reader.error();
    }
    return result;
}

} // namespace kavlo
