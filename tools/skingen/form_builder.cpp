#include "form_builder.h"

#include <cstdlib>

namespace kavlo::skingen {

Props& Props::Value(std::string_view name, FormValue value) {
    list_.push_back({std::string(name), std::move(value)});
    return *this;
}

Props& Props::Int(std::string_view name, int64_t value) {
    return Value(name, FormValue::Int(value));
}
Props& Props::Str(std::string_view name, std::string_view text) {
    return Value(name, FormValue::Str(std::string(text)));
}
Props& Props::Bool(std::string_view name, bool value) {
    return Value(name, FormValue::Bool(value));
}
Props& Props::Ident(std::string_view name, std::string_view ident) {
    return Value(name, FormValue::Ident(std::string(ident)));
}
Props& Props::Set(std::string_view name, std::vector<std::string> members) {
    return Value(name, FormValue::Set(std::move(members)));
}
Props& Props::Binary(std::string_view name, std::string bytes) {
    return Value(name, FormValue::Binary(std::move(bytes)));
}

Props& Props::Bounds(int left, int top, int width, int height) {
    return Int("Left", left).Int("Top", top).Int("Width", width).Int("Height", height);
}

Props& Props::Font(std::string_view face, int height, std::string_view colour, bool bold) {
    Ident("Font.Charset", "DEFAULT_CHARSET");
    // Named colours are written by name, others as numbers, as the designer does.
    if (!colour.empty() && colour.substr(0, 2) == "cl") {
        Ident("Font.Color", colour);
    } else {
        Int("Font.Color", std::strtol(std::string(colour).c_str(), nullptr, 10));
    }
    Int("Font.Height", height).Str("Font.Name", face);
    Set("Font.Style", bold ? std::vector<std::string>{"fsBold"} : std::vector<std::string>{});
    return Bool("ParentFont", false);
}

FormObject Component(std::string_view class_name, std::string_view name, Props props,
                     std::vector<FormObject> children) {
    FormObject object;
    object.class_name = std::string(class_name);
    object.name = std::string(name);
    object.properties = props.Take();
    object.children = std::move(children);
    return object;
}

} // namespace kavlo::skingen
